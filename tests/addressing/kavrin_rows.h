#pragma once
// Kavrin tables for the shot, conflict and panel text tests, written as rows of texts.

#include <initializer_list>
#include <string>

#include "core/script_columns.h"
#include "core/table.h"

namespace fulgor::test {

struct KavrinRow {
    std::string time = "";
    std::string mod = "1";
    std::string pin = "1";
    std::string shot = "1";
    std::string pos = "1";
    std::string err = "";
    std::string line = "";
};

inline Table kavrinTable(std::initializer_list<KavrinRow> rows) {
    Table t(static_cast<int>(rows.size()), kavrin::ColumnCount);
    int r = 0;
    for (const KavrinRow& row : rows) {
        t.setText(r, kavrin::Time, row.time);
        t.setText(r, kavrin::Mod, row.mod);
        t.setText(r, kavrin::Pin, row.pin);
        t.setText(r, kavrin::Shot, row.shot);
        t.setText(r, kavrin::Pos, row.pos);
        t.setText(r, kavrin::Err, row.err);
        t.setText(r, kavrin::Line, row.line);
        t.setText(r, kavrin::Notes, "row " + std::to_string(r));
        ++r;
    }
    return t;
}

// A show of `count` rows, each at its own time, all on valid addresses.
inline Table distinctTimes(int count) {
    Table t(count, kavrin::ColumnCount);
    for (int r = 0; r < count; ++r) {
        t.setNumber(r, kavrin::Time, r * 0.5);
        t.setNumber(r, kavrin::Mod, 1 + r % 12);
        t.setNumber(r, kavrin::Pin, 1);
        t.setNumber(r, kavrin::Pos, 1);
    }
    return t;
}

}  // namespace fulgor::test
