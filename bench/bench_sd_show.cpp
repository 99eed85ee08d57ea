// Converts a large SD show database through the same code as the sd2pd and
// sd2talsen commands, and times opening it as the SD tab does (the view's row
// order and the first screen of rows, not every row).
//   bench_sd_show [EVENTS]   (default 1,000,000)
// Goals: sd2pd and sd2talsen each under 2 s.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli.h"
#include "bench_support.h"
#include "platform/sd_database.h"
#include "sd_show_generator.h"

using namespace fulgor;
using namespace fulgor::bench;

namespace {

double timeCommand(const std::vector<std::string>& args, int& status) {
    std::ostringstream out, err;
    cli::Io io{out, err};
    Stopwatch clock;
    status = cli::run(args, io);
    double seconds = clock.seconds();
    if (status != 0 && status != 3) std::fprintf(stderr, "%s", err.str().c_str());
    return seconds;
}

}  // namespace

int main(int argc, char* argv[]) {
    int events = argc > 1 ? std::atoi(argv[1]) : 1'000'000;
    auto folder = std::filesystem::temp_directory_path() / "fulgor-bench";
    std::filesystem::create_directories(folder);
    const std::string show = (folder / "show.scx").string();
    Stopwatch generateClock;
    if (!generateSdShow(show, events)) {
        std::fprintf(stderr, "cannot generate %s\n", show.c_str());
        return 1;
    }
    std::printf("events               %d (generated in %.2f s, %.1f MiB)\n", events,
                generateClock.seconds(),
                mib(static_cast<double>(std::filesystem::file_size(show))));

    Stopwatch openClock;
    auto db = SdDatabase::open(show, SdDatabase::Access::ReadWrite);
    if (!db) {
        std::fprintf(stderr, "%s\n", db.error().c_str());
        return 1;
    }
    auto ids = db.value()->viewRowIds();
    for (int row = 0; ids && row < 40 && row < static_cast<int>(ids.value().size()); ++row)
        (void)db.value()->readRow(ids.value()[static_cast<std::size_t>(row)]);
    std::printf("open, first screen   %.3f s\n", openClock.seconds());

    int pdStatus = 0, talsenStatus = 0;
    double pd = timeCommand({"sd2pd", show, "-o", (folder / "show.pd").string()}, pdStatus);
    std::printf("sd2pd                %.3f s  status %d (goal < 2 s)\n", pd, pdStatus);
    double talsen =
        timeCommand({"sd2talsen", show, "-o", (folder / "show.csv").string()}, talsenStatus);
    std::printf("sd2talsen            %.3f s  status %d (goal < 2 s)\n", talsen, talsenStatus);
    std::printf(
        "sd2pd, sorted        %.3f s\n",
        timeCommand({"sd2pd", show, "--sort", "[TIME] DESC", "-o", (folder / "sorted.pd").string()},
                    pdStatus));
    std::printf("peak resident        %.1f MiB\n", mib(peakResidentBytes()));
    return 0;
}
