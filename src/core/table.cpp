#include "core/table.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "core/number_format.h"
#include "core/word_bytes.h"

namespace fulgor {
namespace {

static_assert(std::endian::native == std::endian::little,
              "inline texts are read straight from the slot's bytes");

constexpr std::size_t kInlineMax = 6;
// Long texts remembered for reuse, by hash: a fixed few, so that a show of
// texts all different costs no more than this.
constexpr std::size_t kRecentLongTexts = 4096;

// Where a long text is remembered among the recent ones. Texts of up to 16
// bytes, most of a show's, are mixed from two words that between them hold
// every byte, in a few instructions; longer ones take the library's hash.
std::size_t recentIndex(std::string_view text) {
    static_assert(kRecentLongTexts == 1 << 12 && kInlineMax >= 3);
    if (text.size() > 16) return std::hash<std::string_view>{}(text) % kRecentLongTexts;
    std::uint64_t head = 0;
    std::uint64_t tail = 0;
    // A long text has more than kInlineMax bytes, so at least four.
    const std::size_t half = text.size() >= 8 ? 8 : 4;
    std::memcpy(&head, text.data(), half);
    std::memcpy(&tail, text.data() + text.size() - half, half);
    const std::uint64_t mixed =
        head * 0x9E37'79B9'7F4A'7C15ULL ^ (tail + text.size()) * 0xC2B2'AE3D'27D4'EB4FULL;
    return static_cast<std::size_t>((mixed ^ (mixed >> 29)) >> 52);
}

}  // namespace

Table::Table(int rows, int columns) {
    resize(rows, columns);
}

void Table::resize(int rows, int columns) {
    assert(rows >= 0 && columns >= 0);
    if (columns == m_columns) {
        m_slots.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns),
                       kEmptyText);
    } else {
        Slots slots(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns), kEmptyText);
        int keepRows = std::min(rows, m_rows);
        int keepColumns = std::min(columns, m_columns);
        for (int r = 0; r < keepRows; ++r) {
            std::copy_n(m_slots.begin() + static_cast<std::ptrdiff_t>(index(r, 0)), keepColumns,
                        slots.begin() + static_cast<std::ptrdiff_t>(r) * columns);
        }
        m_slots = std::move(slots);
    }
    m_rows = rows;
    m_columns = columns;
    if (m_slots.empty()) forgetLongTexts();
}

void Table::forgetLongTexts() {
    m_pool = std::string();
    m_recentLongTexts.clear();
}

void Table::clear() {
    std::fill(m_slots.begin(), m_slots.end(), kEmptyText);
    forgetLongTexts();
}

void Table::dropRows() {
    m_slots.clear();
    m_rows = 0;
    m_pool.clear();
    std::fill(m_recentLongTexts.begin(), m_recentLongTexts.end(), kEmptyText);
}

void Table::takeRows(Table& other) {
    assert(other.m_columns == m_columns);
    const std::uint64_t base = m_pool.size();
    if (base + other.m_pool.size() > kOffsetMask) throw std::length_error("Table::takeRows");
    m_pool.append(other.m_pool);
    const std::size_t first = m_slots.size();
    m_slots.insert(m_slots.end(), other.m_slots.begin(), other.m_slots.end());
    // The taken pooled texts now stand `base` bytes further on.
    for (std::size_t i = first; i < m_slots.size(); ++i) {
        const std::uint64_t slot = m_slots[i];
        if (isTextSlot(slot) && !(slot & kInlineBit)) m_slots[i] = slot + base;
    }
    m_rows += other.m_rows;
    other.dropRows();
}

std::uint64_t Table::encodeNumber(double x) {
    return std::isfinite(x) ? std::bit_cast<std::uint64_t>(x + 0.0) : kEmptyText;
}

std::uint64_t Table::encodeText(std::string_view text) {
    if (text.size() > kInlineMax) return encodeLongText(text);
    return kEmptyText | (static_cast<std::uint64_t>(text.size()) << 48) |
           shortTextWord(text.data(), text.size());
}

// Kept out of line: the short texts' path, most cells', then saves and
// restores none of the registers this one needs on every call.
[[gnu::noinline]] std::uint64_t Table::encodeLongText(std::string_view text) {
    // A show repeats its effects' sizes and notes over and over: a long text
    // met again lately takes the pool's copy instead of adding another.
    if (m_recentLongTexts.empty()) m_recentLongTexts.assign(kRecentLongTexts, kEmptyText);
    std::uint64_t& recent = m_recentLongTexts[recentIndex(text)];
    if (recent != kEmptyText && decodeText(recent) == text) return recent;
    // A text viewing this pool would dangle once the pool grows: copy it first.
    if (text.data() >= m_pool.data() && text.data() < m_pool.data() + m_pool.size()) {
        std::string copy(text);
        return encodeText(copy);
    }
    std::uint64_t offset = m_pool.size();
    std::uint64_t length = text.size();
    if (length >= kLongText) {
        m_pool.append(reinterpret_cast<const char*>(&length), sizeof length);
        length = kLongText;
    }
    m_pool.append(text);
    assert(offset <= kOffsetMask);
    recent = kTagMask | (length << 35) | offset;
    return recent;
}

void Table::prefetchLongTexts(int row) const {
    const std::size_t begin = index(row, 0);
    const auto pool = reinterpret_cast<std::uintptr_t>(m_pool.data());
    for (std::size_t i = begin; i < begin + static_cast<std::size_t>(m_columns); ++i) {
        const std::uint64_t slot = m_slots[i];
        // Worked out without a branch: a row's mix of numbers, short texts
        // and long ones would be mispredicted cell after cell. A cell without
        // a pooled text asks for the pool's start, which costs nothing.
        const std::uint64_t pooled =
            static_cast<std::uint64_t>(isTextSlot(slot)) & ~(slot >> 51) & 1;
        __builtin_prefetch(reinterpret_cast<const char*>(pool + ((slot & kOffsetMask) & -pooled)));
    }
}

void Table::prefetchRow(int row) const {
    // The row's first and last cells: asking for every cache line between
    // them too measured slower in sorts of a million rows.
    const std::uint64_t* first = m_slots.data() + index(row, 0);
    __builtin_prefetch(first);
    __builtin_prefetch(first + m_columns - 1);
}

void Table::appendRowText(int row, char separator, std::string& out) const {
    const std::uint64_t* slot = m_slots.data() + index(row, 0);
    for (int column = 0; column < m_columns; ++column, ++slot) {
        if (column > 0) out.push_back(separator);
        if (isTextSlot(*slot)) {
            out.append(decodeText(*slot));
        } else {
            appendShortestText(std::bit_cast<double>(*slot), out);
        }
    }
}

void Table::setCell(int row, int column, const Cell& value) {
    if (value.isNumber()) {
        setNumber(row, column, value.number());
    } else {
        setText(row, column, value.text());
    }
}

void Table::setText(int row, int column, std::string_view text) {
    std::size_t i = index(row, column);
    m_slots[i] = encodeText(text);
}

void Table::setNumber(int row, int column, double x) {
    assert(std::isfinite(x));
    m_slots[index(row, column)] = encodeNumber(x);
}

void Table::reserveRows(int rows) {
    m_slots.reserve(static_cast<std::size_t>(std::max(rows, 0)) *
                    static_cast<std::size_t>(m_columns));
}

std::span<const std::byte> Table::rowRoom(std::size_t fromRow, std::size_t toRow) const {
    const auto columns = static_cast<std::size_t>(m_columns);
    const std::size_t end = std::min(toRow * columns, m_slots.capacity());
    const std::size_t begin = std::min(fromRow * columns, end);
    return std::as_bytes(std::span(m_slots.data() + begin, end - begin));
}

void Table::appendRows(int count) {
    insertRows(m_rows, count);
}

void Table::appendRow(std::span<const Cell> cells) {
    assert(cells.size() <= static_cast<std::size_t>(m_columns));
    for (const Cell& cell : cells)
        m_slots.push_back(cell.isNumber() ? encodeNumber(cell.number()) : encodeText(cell.text()));
    if (cells.size() < static_cast<std::size_t>(m_columns))
        m_slots.resize(m_slots.size() + static_cast<std::size_t>(m_columns) - cells.size(),
                       kEmptyText);
    ++m_rows;
}

void Table::insertRows(int before, int count) {
    assert(before >= 0 && before <= m_rows && count >= 0);
    auto at = m_slots.begin() + static_cast<std::ptrdiff_t>(before) * m_columns;
    m_slots.insert(at, static_cast<std::size_t>(count) * static_cast<std::size_t>(m_columns),
                   kEmptyText);
    m_rows += count;
}

void Table::deleteRows(int first, int count) {
    assert(first >= 0 && count >= 0 && first + count <= m_rows);
    auto from = m_slots.begin() + static_cast<std::ptrdiff_t>(first) * m_columns;
    m_slots.erase(from, from + static_cast<std::ptrdiff_t>(count) * m_columns);
    m_rows -= count;
}

Table Table::copyColumns(std::span<const int> columns) const {
    Table copy(m_rows, static_cast<int>(columns.size()));
    for (int r = 0; r < m_rows; ++r)
        for (std::size_t i = 0; i < columns.size(); ++i)
            copy.setCell(r, static_cast<int>(i), cell(r, columns[i]));
    return copy;
}

Table Table::copyRows(std::span<const int> rows) const {
    Table copy(static_cast<int>(rows.size()), m_columns);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (int c = 0; c < m_columns; ++c) copy.setCell(static_cast<int>(i), c, cell(rows[i], c));
    }
    return copy;
}

void Table::deleteRows(std::span<const int> rows) {
    assert(std::is_sorted(rows.begin(), rows.end()));
    const auto width = static_cast<std::size_t>(m_columns);
    std::size_t kept = 0;  // rows moved to the front so far
    std::size_t next = 0;  // next entry of `rows`
    for (int r = 0; r < m_rows; ++r) {
        if (next < rows.size() && rows[next] == r) {
            ++next;
            continue;
        }
        if (kept != static_cast<std::size_t>(r))
            std::copy_n(m_slots.begin() + static_cast<std::ptrdiff_t>(r * width), width,
                        m_slots.begin() + static_cast<std::ptrdiff_t>(kept * width));
        ++kept;
    }
    assert(next == rows.size());
    m_slots.resize(kept * width);
    m_rows = static_cast<int>(kept);
}

void Table::insertRows(std::span<const int> at, const Table& source) {
    assert(source.m_columns == m_columns && source.m_rows == static_cast<int>(at.size()));
    assert(std::is_sorted(at.begin(), at.end()));
    const auto width = static_cast<std::size_t>(m_columns);
    const int total = m_rows + static_cast<int>(at.size());
    m_slots.resize(static_cast<std::size_t>(total) * width, kEmptyText);
    // Walk from the end so that every old row moves once, to its final place.
    int from = m_rows - 1;
    std::size_t next = at.size();
    for (int to = total - 1; to >= 0; --to) {
        if (next > 0 && at[next - 1] == to) {
            --next;
            std::fill_n(m_slots.begin() + static_cast<std::ptrdiff_t>(to * width), width,
                        kEmptyText);
            continue;
        }
        if (from != to)
            std::copy_n(m_slots.begin() + static_cast<std::ptrdiff_t>(from * width), width,
                        m_slots.begin() + static_cast<std::ptrdiff_t>(to * width));
        --from;
    }
    m_rows = total;
    for (std::size_t i = 0; i < at.size(); ++i) {
        for (int c = 0; c < m_columns; ++c) setCell(at[i], c, source.cell(static_cast<int>(i), c));
    }
}

std::size_t Table::memoryBytes() const {
    return (m_slots.capacity() + m_recentLongTexts.capacity()) * sizeof(std::uint64_t) +
           m_pool.capacity();
}

bool operator==(const Table& a, const Table& b) {
    if (a.m_rows != b.m_rows || a.m_columns != b.m_columns) return false;
    for (int r = 0; r < a.m_rows; ++r) {
        for (int c = 0; c < a.m_columns; ++c) {
            if (!(a.cell(r, c) == b.cell(r, c))) return false;
        }
    }
    return true;
}

}  // namespace fulgor
