#pragma once
// The table store behind every script grid: rows by columns of cells, rows and
// columns counted from 0.
//
// Cells are kept compactly so that a show of a million cues fits in memory a
// few times the size of its file: every cell takes 8 bytes, a number as its
// double, a text of up to 6 bytes inside those 8 bytes, a longer text as a
// reference into one shared text pool of the table, where cells of a long
// text met again lately share its one copy.

#include <bit>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/cell.h"

namespace fulgor {

// Every sort of the scripts' grids orders by at most four columns.
inline constexpr std::size_t kMaxSortKeys = 4;

struct SortKey {
    int column = 0;
    bool numeric = false;  // compare by cellNumber, else by cellText (byte order)
    bool descending = false;
};

class Table {
public:
    Table() = default;
    Table(int rows, int columns);

    int rowCount() const { return m_rows; }
    int columnCount() const { return m_columns; }

    // New bounds: cells inside both the old and the new bounds keep their
    // values, new cells are empty. Zero rows leaves an empty table.
    void resize(int rows, int columns);
    // Every cell becomes empty; the bounds stay.
    void clear();
    // Removes every row but keeps the room made for rows and long texts: for a
    // table filled and emptied again and again, as a file read a part at a time.
    void dropRows();

    // Preconditions for all cell access: 0 <= row < rowCount(), 0 <= column < columnCount().
    // The returned cell views the table's storage until the table next changes.
    Cell cell(int row, int column) const;
    // A word for the cell's value as stored: cells with equal tokens hold
    // equal values (equal values may still differ in token: a long text held
    // twice). For a pass that meets a few values again and again and would
    // rather not decode and look up each one anew.
    std::uint64_t valueToken(int row, int column) const;
    void setCell(int row, int column, const Cell& value);
    void setText(int row, int column, std::string_view text);
    // Precondition: x is finite.
    void setNumber(int row, int column, double x);

    // Appends the row's cells joined by `separator`, as a script's line holds
    // them: a text as it is, a number in its shortest decimal form. The one
    // pass a writer makes over every cell, reading the row where it lies.
    void appendRowText(int row, char separator, std::string& out) const;

    // Makes room for `rows` rows in all, so that appending up to them never
    // moves the cells already held.
    void reserveRows(int rows);
    // The memory that rows [fromRow, toRow) will take once appended, as far
    // as the room made for rows reaches; nothing beyond it. For bringing its
    // pages in on another thread (see bringPagesIn) while this one appends.
    std::span<const std::byte> rowRoom(std::size_t fromRow, std::size_t toRow) const;
    // New rows are empty; later rows move down (insert) or up (delete).
    void appendRows(int count = 1);
    // Appends one row whose first cells hold `cells` (at most columnCount()),
    // the others empty: how a file's rows are read in. The cells' texts must
    // not view this table's own cells, which the appending may move.
    void appendRow(std::span<const Cell> cells);
    // Appends the rows of `other`, which has as many columns, and empties it
    // as dropRows does: for rows read apart, on another thread, and joined on.
    // A long text both tables hold may then be held twice.
    void takeRows(Table& other);
    // Precondition: 0 <= before <= rowCount().
    void insertRows(int before, int count = 1);
    // Precondition: 0 <= first, first + count <= rowCount().
    void deleteRows(int first, int count = 1);

    // Row sets, each given as row indices in ascending order, each once, all
    // in range. Every one works in one pass over the table, however many rows
    // the set holds.
    // A copy of the listed rows, in the order listed.
    Table copyRows(std::span<const int> rows) const;
    // Removes the listed rows; the others keep their order.
    void deleteRows(std::span<const int> rows);
    // Inserts the rows of `source` (same column count, one row per entry of
    // `at`) so that source row i stands at index at[i] of the resulting table;
    // the undoing of deleteRows(at) given copyRows(at).
    void insertRows(std::span<const int> at, const Table& source);

    // A table of the listed columns alone, in the order listed.
    Table copyColumns(std::span<const int> columns) const;

    // Sorts rows first..last (inclusive) by at most kMaxSortKeys keys in order
    // of precedence. The sort is stable: rows equal in every key keep their order. Gives the
    // order as permuteRows takes it (row first + i came from row first +
    // order[i]), or nothing when no row moved. More keys throw std::length_error.
    std::vector<int> sortRows(int first, int last, std::span<const SortKey> keys);
    std::vector<int> sortRows(std::span<const SortKey> keys) {
        return sortRows(0, m_rows - 1, keys);
    }
    // How sortRows moves the rows it has ordered: in place by default,
    // taking no more memory than a word a row; or into a fresh copy of the
    // cells, which holds them twice while the sort runs but moves a million
    // rows in half the time (each row is read once, in the new order, and
    // on two threads). For an owner with that memory to spare.
    enum class RowMoving { InPlace, ThroughCopy };
    void setRowMoving(RowMoving moving) { m_rowMoving = moving; }
    // Reorders rows first .. first + from.size() - 1 so that row first + i
    // holds what row first + from[i] held; `from` is a permutation of 0..n-1.
    void permuteRows(int first, std::span<const int> from);
    // Undoes permuteRows(first, from).
    void unpermuteRows(int first, std::span<const int> from);

    // Hints that the row's long texts are read soon (the row's cells are read
    // now). It changes nothing; it pays where a sort has left the pool bytes of
    // neighbouring rows far apart.
    void prefetchLongTexts(int row) const;
    // Hints that the row's cells are read soon, for a pass that visits rows
    // out of their stored order. Precondition: columnCount() > 0.
    void prefetchRow(int row) const;

    // Bytes held by the table's storage.
    std::size_t memoryBytes() const;
    // Bytes of the pool, which keeps the texts too long to sit inside their
    // cells (a repeated one mostly once).
    std::size_t longTextBytes() const { return m_pool.size(); }
    // Makes room in the pool for `bytes` more such texts at once, so that filling
    // a large table does not move the texts it already holds again and again.
    void reserveLongText(std::size_t bytes) { m_pool.reserve(m_pool.size() + bytes); }

    friend bool operator==(const Table& a, const Table& b);

private:
    // Leaves a new slot as it finds it: a copy of the cells made to be
    // overwritten whole need not be cleared first, a pass over every cell.
    template <class T>
    struct UnclearedAllocator : std::allocator<T> {
        template <class U>
        struct rebind {
            using other = UnclearedAllocator<U>;
        };
        template <class U>
        void construct(U* at) noexcept {
            ::new (static_cast<void*>(at)) U;
        }
        template <class U, class... Args>
        void construct(U* at, Args&&... args) {
            ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
        }
    };
    using Slots = std::vector<std::uint64_t, UnclearedAllocator<std::uint64_t>>;

    // A slot is a double unless its top 12 bits are all set, a pattern only NaN
    // and infinity share, and neither is ever stored. Tagged slots hold text:
    //   bit 51 set:   inline text, length in bits 48..50, bytes in bits 0..47
    //   bit 51 clear: pooled text, length in bits 35..50, pool offset in bits 0..34;
    //                 length kLongText means an 8-byte length prefix at the offset.
    static constexpr std::uint64_t kTagMask = 0xFFF0'0000'0000'0000ULL;
    static constexpr std::uint64_t kInlineBit = 1ULL << 51;
    static constexpr std::uint64_t kEmptyText = kTagMask | kInlineBit;
    static constexpr std::uint64_t kLongText = 0xFFFF;
    static constexpr std::uint64_t kOffsetMask = (1ULL << 35) - 1;
    static bool isTextSlot(std::uint64_t slot) { return (slot & kTagMask) == kTagMask; }

    std::size_t index(int row, int column) const;
    // permuteRows with `places` as its working room, one word a row.
    void permuteRowsIn(int first, std::span<const int> from, std::span<std::uint64_t> places);
    // permuteRows through a fresh copy of the cells (RowMoving::ThroughCopy).
    void permuteRowsThroughCopy(int first, std::span<const int> from);
    std::uint64_t encodeText(std::string_view text);
    // A finite number's slot; an infinite or NaN one, which is never stored,
    // becomes the empty text.
    static std::uint64_t encodeNumber(double x);
    std::uint64_t encodeLongText(std::string_view text);
    void forgetLongTexts();
    std::string_view decodeText(const std::uint64_t& slot) const;

    int m_rows = 0;
    int m_columns = 0;
    RowMoving m_rowMoving = RowMoving::InPlace;
    Slots m_slots;                       // row-major
    std::string m_pool;                  // texts longer than the inline limit
    // Slots of long texts lately added to the pool, by the text's hash; empty
    // until the first long text.
    std::vector<std::uint64_t> m_recentLongTexts;
};

// Reading a cell is defined here, so that a pass over a million rows reads
// each in a few instructions, without a call.

inline std::size_t Table::index(int row, int column) const {
    assert(row >= 0 && row < m_rows && column >= 0 && column < m_columns);
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(m_columns) +
           static_cast<std::size_t>(column);
}

inline std::string_view Table::decodeText(const std::uint64_t& slot) const {
    if (slot & kInlineBit) {
        auto length = static_cast<std::size_t>((slot >> 48) & 0x7);
        return {reinterpret_cast<const char*>(&slot), length};
    }
    std::uint64_t length = (slot >> 35) & 0xFFFF;
    std::size_t offset = static_cast<std::size_t>(slot & kOffsetMask);
    if (length == kLongText) {
        std::uint64_t longLength;
        std::memcpy(&longLength, m_pool.data() + offset, sizeof longLength);
        return {m_pool.data() + offset + sizeof longLength, static_cast<std::size_t>(longLength)};
    }
    return {m_pool.data() + offset, static_cast<std::size_t>(length)};
}

inline Cell Table::cell(int row, int column) const {
    const std::uint64_t& slot = m_slots[index(row, column)];
    if (isTextSlot(slot)) return Cell::text(decodeText(slot));
    return Cell::number(std::bit_cast<double>(slot));
}

inline std::uint64_t Table::valueToken(int row, int column) const {
    return m_slots[index(row, column)];
}

}  // namespace fulgor
