#pragma once
// A generator of large SD show databases for the benchmarks: cues a tenth of
// a second apart, every 50th one without an address.

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace fulgor::bench {

// A show of `events` cues, one a tenth of a second apart, every 50th unaddressed.
inline bool generateSdShow(const std::string& path, int events) {
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

}  // namespace fulgor::bench
