// Converts a large SD show database through the same code as the sd2pd and
// sd2talsen commands, and times opening it as the SD tab does (the view's row
// order and the first screen of rows, not every row).
//   bench_sd_show [EVENTS]   (default 1,000,000)
// Goals: sd2pd and sd2talsen each under 2 s.

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli.h"
#include "bench_support.h"
#include "platform/sd_database.h"

using namespace fulgor;
using namespace fulgor::bench;

namespace {

// A show of `events` cues, one a tenth of a second apart, every 50th unaddressed.
bool generateShow(const std::string& path, int events) {
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) return false;
    const char* schema =
        "CREATE TABLE Events (CUE SMALLINT, TIME INTEGER, HH TINYINT, MM TINYINT, SS TINYINT, "
        "FF TINYINT, NEXT INTEGER, \"Event Description\" VARCHAR(52), PFT TINYINT, "
        "ADDR SMALLINT, CGHZ SMALLINT, POS SMALLINT, ANGLE VARCHAR(10), QTY SMALLINT, CAL REAL, "
        "TYPE VARCHAR(36), DUR REAL, \"Effect Description\" VARCHAR(52), REF VARCHAR(16), "
        "MFG VARCHAR(6), MAGAZINE VARCHAR(6), PRICE1 CURRENCY, PRICE2 CURRENCY, PRICE3 CURRENCY, "
        "CUSTOM1 VARCHAR(12), CUSTOM2 VARCHAR(12)); BEGIN;";
    bool ok = sqlite3_exec(db, schema, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* insert = nullptr;
    ok = ok && sqlite3_prepare_v2(db,
                                  "INSERT INTO Events (CUE, TIME, HH, MM, SS, FF, "
                                  "\"Event Description\", PFT, ADDR, CGHZ, POS, ANGLE, QTY, CAL, "
                                  "\"Effect Description\", PRICE1) VALUES "
                                  "(?, ?, ?, ?, ?, ?, 'Finale row', 25, ?, 12, ?, '45', 1, 3, "
                                  "'Red peony with crackling tail', 9.5)",
                                  -1, &insert, nullptr) == SQLITE_OK;
    for (int i = 0; ok && i < events; ++i) {
        int frames = i * 3;
        int h = frames / 108000 % 100, m = frames / 1800 % 60, s = frames / 30 % 60,
            f = frames % 30;
        sqlite3_bind_int(insert, 1, i % 65536);
        sqlite3_bind_int64(insert, 2, (std::int64_t(h) << 24) | (m << 16) | (s << 8) | f);
        sqlite3_bind_int(insert, 3, h);
        sqlite3_bind_int(insert, 4, m);
        sqlite3_bind_int(insert, 5, s);
        sqlite3_bind_int(insert, 6, f);
        if (i % 50 == 49) {
            sqlite3_bind_null(insert, 7);
        } else {
            sqlite3_bind_int(insert, 7, i % 4096);
        }
        sqlite3_bind_int(insert, 8, i % 100);
        ok = sqlite3_step(insert) == SQLITE_DONE && sqlite3_reset(insert) == SQLITE_OK;
    }
    sqlite3_finalize(insert);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

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
    if (!generateShow(show, events)) {
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
