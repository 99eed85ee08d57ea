#pragma once
// SD show databases made by the tests: SQLite files with an "Events" table of
// the show-design program's fields.

#include <sqlite3.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace fulgor::test {

// The fields of "Events" in their stored order, with their declared types.
inline const char* const kSdShowTable =
    "CREATE TABLE Events (CUE SMALLINT, TIME INTEGER, HH TINYINT, MM TINYINT, SS TINYINT, "
    "FF TINYINT, NEXT INTEGER, \"Event Description\" VARCHAR(52), PFT TINYINT, ADDR SMALLINT, "
    "CGHZ SMALLINT, POS SMALLINT, ANGLE VARCHAR(10), QTY SMALLINT, CAL REAL, TYPE VARCHAR(36), "
    "DUR REAL, \"Effect Description\" VARCHAR(52), REF VARCHAR(16), MFG VARCHAR(6), "
    "MAGAZINE VARCHAR(6), PRICE1 CURRENCY, PRICE2 CURRENCY, PRICE3 CURRENCY, "
    "CUSTOM1 VARCHAR(12), CUSTOM2 VARCHAR(12))";

// Runs SQL on the database at `path`, creating it when needed.
inline void execSql(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    char* message = nullptr;
    int status = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    std::string error = message ? message : "";
    sqlite3_free(message);
    sqlite3_close(db);
    if (status != SQLITE_OK) throw std::runtime_error(error + " in " + sql);
}

struct SdShowEvent {
    int cue = 1;
    int h = 0, m = 0, s = 0, f = 0;
    std::optional<int> addr = std::nullopt;  // none: NULL
    int pft = 0;
    double cal = 3;
    int cghz = 12;
    int qty = 1;
    std::string effect = "Comet";
    std::string event = "";
    std::string angle = "";
};

inline std::string sqlText(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    return quoted + "'";
}

// A show database holding `events` in this stored order.
inline void writeSdShow(const std::string& path, const std::vector<SdShowEvent>& events) {
    std::string sql = std::string(kSdShowTable) + ";BEGIN;";
    for (const SdShowEvent& e : events) {
        long code = (long(e.h) << 24) + (e.m << 16) + (e.s << 8) + e.f;
        sql +=
            "INSERT INTO Events (CUE, TIME, HH, MM, SS, FF, \"Event Description\", PFT, ADDR, "
            "CGHZ, POS, ANGLE, QTY, CAL, \"Effect Description\", PRICE1) VALUES (" +
            std::to_string(e.cue) + "," + std::to_string(code) + "," + std::to_string(e.h) + "," +
            std::to_string(e.m) + "," + std::to_string(e.s) + "," + std::to_string(e.f) + "," +
            sqlText(e.event) + "," + std::to_string(e.pft) + "," +
            (e.addr ? std::to_string(*e.addr) : "NULL") + "," + std::to_string(e.cghz) + ",1," +
            (e.angle.empty() ? "NULL" : sqlText(e.angle)) + "," + std::to_string(e.qty) + "," +
            std::to_string(e.cal) + "," + sqlText(e.effect) + ",9.5);";
    }
    execSql(path, sql + "COMMIT;");
}

}  // namespace fulgor::test
