// Reading a Jet/ACE table through mdbtools into a SQLite copy.

#include <glib.h>  // mdbtools.h needs glib's types declared first
#include <mdbtools.h>
#include <sqlite3.h>

#include <memory>
#include <vector>

#include "platform/sd_database.h"

namespace fulgor {
namespace {

// The declared type that carries a Jet column type's filter code in the copy.
const char* declaredType(int jetType) {
    switch (jetType) {
        case MDB_BYTE:
            return "BYTE";
        case MDB_INT:
            return "SHORT";
        case MDB_LONGINT:
            return "LONG";
        case MDB_FLOAT:
            return "SINGLE";
        case MDB_TEXT:
            return "TEXT";
        case MDB_MEMO:
            return "LONGTEXT";
        case MDB_DOUBLE:
            return "DOUBLE";
        case MDB_MONEY:
            return "CURRENCY";
        case MDB_DATETIME:
            return "DATETIME";
        case MDB_BOOL:
            return "BOOLEAN";
        default:
            return "BINARY";
    }
}

bool isNumber(int jetType) {
    switch (jetType) {
        case MDB_BOOL:
        case MDB_BYTE:
        case MDB_INT:
        case MDB_LONGINT:
        case MDB_MONEY:
        case MDB_FLOAT:
        case MDB_DOUBLE:
        case MDB_NUMERIC:
            return true;
        default:
            return false;
    }
}

bool isBinary(int jetType) {
    return jetType == MDB_OLE || jetType == MDB_BINARY || jetType == MDB_COMPLEX ||
           jetType == MDB_REPID;
}

struct MdbCloser {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
struct TableCloser {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};

}  // namespace

Status copyJetTable(const std::string& path, std::string_view table, sqlite3* into,
                    std::string& copiedName) {
    auto fail = [&](std::string_view cause) {
        return Error{"Cannot read the Jet database \"" + path + "\": " + std::string(cause) + "."};
    };
    std::unique_ptr<MdbHandle, MdbCloser> mdb(mdb_open(path.c_str(), MDB_NOFLAGS));
    if (!mdb) return fail("mdbtools cannot open it");
    mdb_set_date_fmt(mdb.get(), "%Y-%m-%d %H:%M:%S");
    if (!mdb_read_catalog(mdb.get(), MDB_TABLE)) return fail("its table list cannot be read");
    const MdbCatalogEntry* entry = nullptr;
    for (guint i = 0; i < mdb->num_catalog; ++i) {
        auto* candidate = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (candidate->object_type == MDB_TABLE && sameFieldName(candidate->object_name, table)) {
            entry = candidate;
            break;
        }
    }
    if (!entry) {
        return Error{"Cannot open \"" + path + "\": it has no table \"" + std::string(table) +
                     "\"."};
    }
    copiedName = entry->object_name;
    std::unique_ptr<MdbTableDef, TableCloser> def(
        mdb_read_table(const_cast<MdbCatalogEntry*>(entry)));
    if (!def || !mdb_read_columns(def.get())) return fail("the table's fields cannot be read");

    const unsigned columnCount = def->num_cols;
    std::string create = "CREATE TABLE " + quoteSqlName(copiedName) + " (";
    std::string insert = "INSERT INTO " + quoteSqlName(copiedName) + " VALUES (";
    std::vector<int> types(columnCount);
    std::vector<std::vector<char>> buffers(columnCount);
    std::vector<int> lengths(columnCount);
    for (unsigned c = 0; c < columnCount; ++c) {
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(def->columns, c));
        types[c] = column->col_type;
        create +=
            (c ? ", " : "") + quoteSqlName(column->name) + " " + declaredType(column->col_type);
        insert += c ? ", ?" : "?";
        if (!isBinary(types[c])) {
            buffers[c].assign(MDB_BIND_SIZE, 0);
            mdb_bind_column(def.get(), static_cast<int>(c + 1), buffers[c].data(), &lengths[c]);
        }
    }
    create += ")";
    insert += ")";
    if (sqlite3_exec(into, create.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        return fail(sqlite3_errmsg(into));
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(into, insert.c_str(), -1, &raw, nullptr) != SQLITE_OK)
        return fail(sqlite3_errmsg(into));
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(raw, sqlite3_finalize);
    sqlite3_exec(into, "BEGIN", nullptr, nullptr, nullptr);
    mdb_rewind_table(def.get());
    while (mdb_fetch_row(def.get())) {
        for (unsigned c = 0; c < columnCount; ++c) {
            int index = static_cast<int>(c + 1);
            // mdbtools gives every value as text, and a null as no text at all.
            if (isBinary(types[c]) || lengths[c] <= 0) {
                sqlite3_bind_null(raw, index);
            } else {
                char* end = nullptr;
                double number = isNumber(types[c]) ? g_ascii_strtod(buffers[c].data(), &end) : 0;
                if (end && end != buffers[c].data() && *end == '\0') {
                    sqlite3_bind_double(raw, index, number);
                } else {
                    sqlite3_bind_text(raw, index, buffers[c].data(), lengths[c], SQLITE_TRANSIENT);
                }
            }
        }
        if (sqlite3_step(raw) != SQLITE_DONE) return fail(sqlite3_errmsg(into));
        sqlite3_reset(raw);
    }
    sqlite3_exec(into, "COMMIT", nullptr, nullptr, nullptr);
    return {};
}

}  // namespace fulgor
