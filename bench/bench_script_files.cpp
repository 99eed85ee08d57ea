// Reads and writes a large Talsen script through the same code as File Open
// and File Save, and reports rows per second and memory.
//   bench_script_files [ROWS]   (default 1,000,000)
// Goals: read plus write under 2 s; the loaded table at most 3 times the file.

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "bench_support.h"
#include "talsen_generator.h"
#include "files/file_io.h"
#include "files/talsen_file.h"

using namespace fulgor;
using namespace fulgor::bench;

int main(int argc, char* argv[]) {
    int rows = argc > 1 ? std::atoi(argv[1]) : 1'000'000;
    auto folder = std::filesystem::temp_directory_path() / "fulgor-bench";
    std::filesystem::create_directories(folder);
    const std::string input = (folder / "input.csv").string();
    const std::string output = (folder / "output.csv").string();
    {
        std::string text = generateTalsenScript(rows, 42);
        if (!writeFileAtomically(input, text)) return 1;
    }
    double fileBytes = static_cast<double>(std::filesystem::file_size(input));
    double before = residentBytes();

    Stopwatch readClock;
    Result<TalsenScript> script = readTalsenFile(input);
    double readSeconds = readClock.seconds();
    if (!script) {
        std::fprintf(stderr, "%s\n", script.error().c_str());
        return 1;
    }
    double loaded = residentBytes() - before;

    Stopwatch writeClock;
    Status saved = SaveTalsenScript(output, script.value());
    double writeSeconds = writeClock.seconds();
    if (!saved) {
        std::fprintf(stderr, "%s\n", saved.error().c_str());
        return 1;
    }
    bool same = readFileBytes(output).value() == readFileBytes(input).value();

    std::printf("rows                 %d\n", script.value().table.rowCount());
    std::printf("file                 %.1f MiB\n", mib(fileBytes));
    std::printf("read                 %.3f s  (%.0f rows/s)\n", readSeconds, rows / readSeconds);
    std::printf("write                %.3f s  (%.0f rows/s)\n", writeSeconds, rows / writeSeconds);
    std::printf("read + write         %.3f s  (goal < 2 s)\n", readSeconds + writeSeconds);
    std::printf("table storage        %.1f MiB = %.2f x file\n",
                mib(static_cast<double>(script.value().table.memoryBytes())),
                static_cast<double>(script.value().table.memoryBytes()) / fileBytes);
    std::printf("resident after load  %.1f MiB = %.2f x file (goal <= 3)\n", mib(loaded),
                loaded / fileBytes);
    std::printf("peak resident        %.1f MiB\n", mib(peakResidentBytes()));
    std::printf("written file identical to the one read: %s\n", same ? "yes" : "NO");
    std::filesystem::remove_all(folder);
    return same ? 0 : 1;
}
