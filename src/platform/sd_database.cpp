#include "platform/sd_database.h"

#include <sqlite3.h>

#include <cassert>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace fulgor {
namespace {

enum class FileKind { Sqlite, Jet, Other };

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

Result<FileKind> fileKind(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return Error{"Cannot open " + quoted(path) + ": " + std::strerror(errno) + "."};
    char head[20] = {};
    file.read(head, sizeof head);
    std::string_view bytes(head, static_cast<std::size_t>(file.gcount()));
    if (bytes.starts_with(std::string_view("SQLite format 3\0", 16))) return FileKind::Sqlite;
    if (bytes.size() >= 19 &&
        (bytes.substr(4, 15) == "Standard Jet DB" || bytes.substr(4, 15) == "Standard ACE DB"))
        return FileKind::Jet;
    return FileKind::Other;
}

// A prepared statement, finalized when it goes.
class Statement {
public:
    Statement(sqlite3* db, const std::string& sql) {
        m_status =
            sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &m_stmt, nullptr);
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return m_status == SQLITE_OK; }
    sqlite3_stmt* get() const { return m_stmt; }

private:
    sqlite3_stmt* m_stmt = nullptr;
    int m_status = SQLITE_OK;
};

Error sqlError(sqlite3* db, const std::string& path, std::string_view doing) {
    return Error{"Cannot " + std::string(doing) + " " + quoted(path) + ": " + sqlite3_errmsg(db) +
                 "."};
}

void bindView(sqlite3_stmt* stmt, const SdViewSql& view) {
    int index = 1;
    for (const SdBinding& binding : view.bindings) {
        if (binding.isText) {
            sqlite3_bind_text(stmt, index, binding.text.data(),
                              static_cast<int>(binding.text.size()), SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_double(stmt, index, binding.number);
        }
        ++index;
    }
}

// One column's value, through the statement's own value object: one call into
// the library to find the column, where asking its type, number, text and
// length each would look it up again (a fifth of a large conversion's time).
// The object is "unprotected", which is safe because only the thread that
// steps the statement reads it, and only until the next step.
SdValue columnValue(sqlite3_stmt* stmt, int column) {
    sqlite3_value* value = sqlite3_column_value(stmt, column);
    switch (sqlite3_value_type(value)) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return SdValue::of(sqlite3_value_double(value));
        case SQLITE_TEXT: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
            return SdValue::of(
                std::string_view(text, static_cast<std::size_t>(sqlite3_value_bytes(value))));
        }
        default:  // NULL, and a binary value the show's fields never hold
            return SdValue::null();
    }
}

// The view's events, its statement made at the first next() to read only the
// fields looked up before it: SQLite takes every column a statement reads out
// of every row, and a conversion reads fewer than half the show's fields.
class SqliteEventSource : public SdEventSource {
public:
    SqliteEventSource(sqlite3* db, std::string path, std::span<const SdField> fields,
                      std::string table, SdViewSql view, std::int64_t count)
        : m_db(db),
          m_path(std::move(path)),
          m_fields(fields),
          m_table(std::move(table)),
          m_view(std::move(view)),
          m_count(count),
          m_columnOf(fields.size(), -1) {}

    std::int64_t rowCount() const override { return m_count; }
    std::optional<int> fieldIndex(std::string_view name) const override {
        std::optional<int> field = findSdField(m_fields, name);
        if (field && m_columnOf[static_cast<std::size_t>(*field)] < 0) {
            assert(!m_rows);
            m_columnOf[static_cast<std::size_t>(*field)] = static_cast<int>(m_read.size());
            m_read.push_back(*field);
        }
        return field;
    }
    Result<bool> next() override {
        if (!m_rows) {
            std::string columns;
            for (int field : m_read)
                columns += (columns.empty() ? "" : ", ") +
                           quoteSqlName(m_fields[static_cast<std::size_t>(field)].name);
            m_rows = std::make_unique<Statement>(
                m_db, "SELECT " + (columns.empty() ? "rowid" : columns) + " FROM " +
                          quoteSqlName(m_table) + m_view.clause);
            if (!m_rows->ok()) return sqlError(m_db, m_path, "read the events of");
            bindView(m_rows->get(), m_view);
        }
        int status = sqlite3_step(m_rows->get());
        if (status == SQLITE_ROW) return true;
        if (status == SQLITE_DONE) return false;
        return sqlError(m_db, m_path, "read the events of");
    }
    using SdEventSource::value;
    SdValue value(int field) const override {
        const int column = m_columnOf[static_cast<std::size_t>(field)];
        assert(column >= 0);
        return columnValue(m_rows->get(), column);
    }

private:
    sqlite3* m_db;
    std::string m_path;
    std::span<const SdField> m_fields;
    std::string m_table;
    SdViewSql m_view;
    std::int64_t m_count;
    mutable std::vector<int> m_columnOf;  // a field's column in the statement, or -1
    mutable std::vector<int> m_read;      // the fields the statement reads, in order
    std::unique_ptr<Statement> m_rows;
};

}  // namespace

Result<std::unique_ptr<SdDatabase>> SdDatabase::open(const std::string& path, Access access,
                                                     std::string_view table) {
    Result<FileKind> kind = fileKind(path);
    if (!kind) return Error{kind.error()};
    if (kind.value() == FileKind::Other) {
        return Error{"Cannot open " + quoted(path) +
                     ": it is not an SD show database (neither a SQLite nor a Jet database)."};
    }
    std::unique_ptr<SdDatabase> db(new SdDatabase);
    db->m_path = path;
    db->m_jet = kind.value() == FileKind::Jet;
    db->m_readOnly = db->m_jet || access == Access::ReadOnly;
    std::string table_name(table);
    if (db->m_jet) {
        if (sqlite3_open_v2(":memory:", &db->m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            return sqlError(db->m_db, path, "make a copy of");
        Status copied = copyJetTable(path, table, db->m_db, table_name);
        if (!copied) return Error{copied.error()};
    } else {
        // One thread uses a connection: no locking on every value read.
        int flags =
            (db->m_readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
        if (sqlite3_open_v2(path.c_str(), &db->m_db, flags, nullptr) != SQLITE_OK)
            return sqlError(db->m_db, path, "open");
        // A show only read, as the command line's conversions read it, is
        // mapped into memory: SQLite then reads its pages where they lie
        // instead of copying each out of the system's cache, a seventh to a
        // quarter of such a conversion's time on a million events. The pages
        // read count as the program's memory, at most the file's size (this
        // SQLite maps at most 2 GiB and reads past that the plain way). The
        // price: a file cut short by another program, or a disk failing,
        // while it is read ends the program with a bus error instead of a
        // message. The window, which writes to its show, keeps to plain reads.
        if (db->m_readOnly)
            sqlite3_exec(db->m_db, "PRAGMA mmap_size = 2147418112", nullptr, nullptr, nullptr);
    }
    Status loaded = db->load(table_name);
    if (!loaded) return Error{loaded.error()};
    return db;
}

SdDatabase::~SdDatabase() {
    sqlite3_close(m_db);
}

Status SdDatabase::load(std::string_view table) {
    Statement find(m_db,
                   "SELECT name FROM sqlite_master WHERE type IN ('table', 'view') AND name = ? "
                   "COLLATE NOCASE");
    if (!find.ok()) return sqlError(m_db, m_path, "read");
    sqlite3_bind_text(find.get(), 1, table.data(), static_cast<int>(table.size()),
                      SQLITE_TRANSIENT);
    int found = sqlite3_step(find.get());
    if (found == SQLITE_ERROR || found == SQLITE_NOTADB || found == SQLITE_CORRUPT)
        return sqlError(m_db, m_path, "read");
    if (found != SQLITE_ROW) {
        return Error{"Cannot open " + quoted(m_path) + ": it has no table \"" + std::string(table) +
                     "\"."};
    }
    m_table = reinterpret_cast<const char*>(sqlite3_column_text(find.get(), 0));

    Statement columns(m_db, "SELECT name, type FROM pragma_table_info(?)");
    if (!columns.ok()) return sqlError(m_db, m_path, "read the fields of");
    sqlite3_bind_text(columns.get(), 1, m_table.data(), static_cast<int>(m_table.size()),
                      SQLITE_TRANSIENT);
    while (sqlite3_step(columns.get()) == SQLITE_ROW) {
        auto text = [&](int c) {
            const unsigned char* t = sqlite3_column_text(columns.get(), c);
            return t ? std::string(reinterpret_cast<const char*>(t)) : std::string();
        };
        m_fields.push_back({text(0), sdTypeOfDeclared(text(1))});
    }
    setView({}, {});
    // A table without row ids cannot be shown or edited row by row.
    Statement probe(m_db, "SELECT rowid FROM " + quoteSqlName(m_table) + " LIMIT 1");
    if (!probe.ok()) return sqlError(m_db, m_path, "read the rows of");
    return {};
}

void SdDatabase::setView(std::span<const SdCondition> conditions,
                         std::span<const SdSortTerm> sort) {
    m_view = buildSdViewSql(m_fields, conditions, sort);
}

Result<std::vector<std::int64_t>> SdDatabase::viewRowIds() const {
    Statement rows(m_db, "SELECT rowid FROM " + quoteSqlName(m_table) + m_view.clause);
    if (!rows.ok()) return sqlError(m_db, m_path, "read the rows of");
    bindView(rows.get(), m_view);
    std::vector<std::int64_t> ids;
    int status;
    while ((status = sqlite3_step(rows.get())) == SQLITE_ROW)
        ids.push_back(sqlite3_column_int64(rows.get(), 0));
    if (status != SQLITE_DONE) return sqlError(m_db, m_path, "read the rows of");
    return ids;
}

Result<std::unique_ptr<SdEventSource>> SdDatabase::viewEvents() const {
    std::string where = m_view.clause.substr(0, m_view.clause.find(" ORDER BY "));
    Statement count(m_db, "SELECT count(*) FROM " + quoteSqlName(m_table) + where);
    if (!count.ok()) return sqlError(m_db, m_path, "count the events of");
    bindView(count.get(), m_view);
    if (sqlite3_step(count.get()) != SQLITE_ROW)
        return sqlError(m_db, m_path, "count the events of");
    std::int64_t n = sqlite3_column_int64(count.get(), 0);

    return std::unique_ptr<SdEventSource>(
        std::make_unique<SqliteEventSource>(m_db, m_path, m_fields, m_table, m_view, n));
}

Result<std::vector<SdCell>> SdDatabase::readRow(std::int64_t rowId) const {
    Statement row(m_db, "SELECT * FROM " + quoteSqlName(m_table) + " WHERE rowid = ?");
    if (!row.ok()) return sqlError(m_db, m_path, "read a row of");
    sqlite3_bind_int64(row.get(), 1, rowId);
    if (sqlite3_step(row.get()) != SQLITE_ROW) return sqlError(m_db, m_path, "read a row of");
    std::vector<SdCell> cells(m_fields.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        SdValue value = columnValue(row.get(), static_cast<int>(i));
        cells[i] = {value.kind, value.number, std::string(value.text)};
    }
    return cells;
}

Status SdDatabase::updateRow(std::int64_t rowId, std::span<const std::pair<int, SdCell>> changes) {
    if (changes.empty()) return {};
    std::string sql = "UPDATE " + quoteSqlName(m_table) + " SET ";
    for (std::size_t i = 0; i < changes.size(); ++i) {
        if (i > 0) sql += ", ";
        sql += quoteSqlName(m_fields[static_cast<std::size_t>(changes[i].first)].name) + " = ?";
    }
    sql += " WHERE rowid = ?";
    Statement update(m_db, sql);
    if (!update.ok()) return sqlError(m_db, m_path, "write to");
    int index = 1;
    for (const auto& [field, cell] : changes) {
        if (cell.kind == SdValue::Kind::Number) {
            sqlite3_bind_double(update.get(), index, cell.number);
        } else if (cell.kind == SdValue::Kind::Text) {
            sqlite3_bind_text(update.get(), index, cell.text.data(),
                              static_cast<int>(cell.text.size()), SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_null(update.get(), index);
        }
        ++index;
    }
    sqlite3_bind_int64(update.get(), index, rowId);
    if (sqlite3_step(update.get()) != SQLITE_DONE) return sqlError(m_db, m_path, "write to");
    return {};
}

}  // namespace fulgor
