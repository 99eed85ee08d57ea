#pragma once
// The SD show database (".scx"): a SQLite file, or a Jet/Access file read
// into an in-memory copy that cannot be changed. It serves one table (the
// show's "Events"), its fields in their stored order, the view under the
// parsed sort and filter, the events of that view for the conversions, and
// the rows the grid shows and edits. Plain C++ over the SQLite C API and
// mdbtools: the command line uses it without Qt.
//
// Every name that reaches SQL is a field of the table, quoted; every value
// the user typed is a bound parameter.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/sd_event_source.h"
#include "conversion/sd_fields.h"
#include "conversion/sd_view.h"
#include "core/result.h"

struct sqlite3;

namespace fulgor {

// One stored value, owning its text.
struct SdCell {
    SdValue::Kind kind = SdValue::Kind::Null;
    double number = 0;
    std::string text;

    SdValue value() const { return {kind, number, text}; }
};

class SdDatabase {
public:
    enum class Access { ReadWrite, ReadOnly };

    // Opens `table` of the database at `path`. A file starting as a SQLite
    // database is opened in place (ReadOnly never changes it); one starting as
    // a Jet or ACE database is copied into memory and is read-only whatever
    // `access` says. Fails, naming the file and the cause, when the file cannot
    // be read, is neither kind of database, or has no such table.
    static Result<std::unique_ptr<SdDatabase>> open(const std::string& path, Access access,
                                                    std::string_view table = kSdEventsTable);
    ~SdDatabase();
    SdDatabase(const SdDatabase&) = delete;
    SdDatabase& operator=(const SdDatabase&) = delete;

    const std::string& path() const { return m_path; }
    bool isJet() const { return m_jet; }
    bool readOnly() const { return m_readOnly; }
    std::span<const SdField> fields() const { return m_fields; }

    // Replaces the view's filter and sort (as parsed by sd_view.h against
    // fields()); the view starts with neither: all rows in stored order.
    void setView(std::span<const SdCondition> conditions, std::span<const SdSortTerm> sort);

    // The rows of the view, in its order, as row ids for readRow/updateRow.
    Result<std::vector<std::int64_t>> viewRowIds() const;
    // The events of the view for a conversion, read as it walks them. The
    // source must not outlive the database.
    Result<std::unique_ptr<SdEventSource>> viewEvents() const;

    // The stored values of one row, one per field. Fails when it is gone.
    Result<std::vector<SdCell>> readRow(std::int64_t rowId) const;
    // Writes the given fields of one row. Precondition: !readOnly().
    Status updateRow(std::int64_t rowId, std::span<const std::pair<int, SdCell>> changes);

private:
    SdDatabase() = default;
    Status load(std::string_view table);

    sqlite3* m_db = nullptr;
    std::string m_path;
    std::string m_table;  // the table's own spelling
    bool m_jet = false;
    bool m_readOnly = false;
    std::vector<SdField> m_fields;
    SdViewSql m_view;
};

// Copies `table` of the Jet/ACE file at `path` into the open SQLite database
// `into`, with declared types that carry the Jet types' filter codes (Byte ->
// 17, Integer -> 2, Long Integer -> 3, Single -> 4, Text -> 202, others none).
// OLE and binary fields are copied empty. Fails naming the file and the cause.
Status copyJetTable(const std::string& path, std::string_view table, sqlite3* into,
                    std::string& copiedName);

}  // namespace fulgor
