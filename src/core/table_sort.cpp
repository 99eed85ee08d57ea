// Sorting a table's rows and moving them into a new order: the sort behind
// every grid's header click and every command that orders a script.

#include "core/table.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cmath>
#include <deque>
#include <limits>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>

#include "core/in_order_worker.h"
#include "core/key_sort.h"
#include "core/number_format.h"
#include "core/token_memo.h"

namespace fulgor {

namespace {

// Ranks the texts of one sort key in byte order, equal texts sharing a rank,
// so that a sort compares small numbers instead of texts. Each distinct text
// gets a slot as it is first met; only the few distinct ones are compared.
class TextRanker {
public:
    int slotOf(const Cell& cell) {
        if (!cell.isNumber()) return slotOf(cell.text());
        // A number cell's text is made here, and kept only when it is new.
        std::string text = shortestText(cell.number());
        if (auto it = m_slotOf.find(text); it != m_slotOf.end()) return it->second;
        return slotOf(m_numberTexts.emplace_back(std::move(text)));
    }
    // Forgets every text, keeping the storage for the next ones.
    void clear() {
        m_slotOf.clear();
        m_texts.clear();
        m_numberTexts.clear();
    }
    // The rank of the text in each slot.
    std::vector<int> ranks() const {
        std::vector<int> byText(m_texts.size());
        std::iota(byText.begin(), byText.end(), 0);
        std::sort(byText.begin(), byText.end(),
                  [&](int a, int b) { return m_texts[a] < m_texts[b]; });
        std::vector<int> rankOfSlot(m_texts.size());
        for (std::size_t rank = 0; rank < byText.size(); ++rank)
            rankOfSlot[byText[rank]] = static_cast<int>(rank);
        return rankOfSlot;
    }

private:
    int slotOf(std::string_view text) {
        auto [it, added] = m_slotOf.try_emplace(text, static_cast<int>(m_texts.size()));
        if (added) m_texts.push_back(text);
        return it->second;
    }

    std::unordered_map<std::string_view, int> m_slotOf;
    std::vector<std::string_view> m_texts;
    std::deque<std::string> m_numberTexts;  // text keys over number cells
};

// Turns one sort key's cells into numbers that order as the key does: a
// number as it is, a text as its rank in byte order among the texts read,
// either negated for a descending key. Texts are ranked only once every cell
// is read, so a cell's value is read first and made final after; clear()
// starts over for another set of rows, keeping the storage.
class KeyValues {
public:
    explicit KeyValues(const SortKey& key) : m_key(key) {}
    double read(const Cell& cell) {
        return m_key.numeric ? cellNumber(cell) : m_ranker.slotOf(cell);
    }
    void rankTexts() {
        if (!m_key.numeric) m_rankOfSlot = m_ranker.ranks();
    }
    double sortValue(double read) const {
        double value = m_key.numeric ? read : m_rankOfSlot[static_cast<std::size_t>(read)];
        return m_key.descending ? -value : value;
    }
    void clear() {
        if (!m_key.numeric) m_ranker.clear();
    }

private:
    SortKey m_key;
    TextRanker m_ranker;
    std::vector<int> m_rankOfSlot;
};

// Orders each run of `order` that ties on the leading key (`lead`, the keys
// in the same order) by the remaining keys, then by index. A run's keys are
// read in one visit to each of its rows and travel with it in a record of
// fixed size, so comparing two rows reads memory side by side.
template <std::size_t TieKeyCount>
void breakTies(const Table& table, int first, std::span<int> order,
               std::span<const std::uint64_t> lead, std::span<const SortKey> tieKeys) {
    struct Record {
        std::array<double, TieKeyCount> key;
        int row;
    };
    std::vector<KeyValues> values(tieKeys.begin(), tieKeys.end());
    std::vector<Record> records;
    // The rows of a run lie scattered over the table, and most runs are a
    // handful of rows: asking for the rows of the coming runs, some places
    // ahead in `order`, lets their reads from memory overlap. A row that ties
    // with no other is never read, so it is not asked for.
    constexpr std::size_t kRowsAhead = 16;
    auto tied = [&](std::size_t at) {
        return (at > 0 && lead[at - 1] == lead[at]) ||
               (at + 1 < order.size() && lead[at + 1] == lead[at]);
    };
    std::size_t asked = 0;  // places of `order` before this one have been asked for
    auto askAhead = [&](std::size_t at) {
        for (const std::size_t until = std::min(order.size(), at + kRowsAhead); asked < until;
             ++asked)
            if (tied(asked)) table.prefetchRow(first + order[asked]);
    };
    for (std::size_t begin = 0; begin < order.size();) {
        std::size_t end = begin + 1;
        while (end < order.size() && lead[end] == lead[begin]) ++end;
        const std::size_t runStart = begin;
        const std::span<int> run = order.subspan(begin, end - begin);
        begin = end;
        if (run.size() < 2) continue;
        records.resize(run.size());
        for (std::size_t i = 0; i < run.size(); ++i) {
            askAhead(runStart + i);
            records[i].row = run[i];
            for (std::size_t k = 0; k < TieKeyCount; ++k)
                records[i].key[k] = values[k].read(table.cell(first + run[i], tieKeys[k].column));
        }
        for (std::size_t k = 0; k < TieKeyCount; ++k) {
            values[k].rankTexts();
            for (Record& record : records) record.key[k] = values[k].sortValue(record.key[k]);
            values[k].clear();
        }
        std::sort(records.begin(), records.end(), [](const Record& a, const Record& b) {
            for (std::size_t k = 0; k < TieKeyCount; ++k) {
                if (a.key[k] < b.key[k]) return true;
                if (b.key[k] < a.key[k]) return false;
            }
            return a.row < b.row;
        });
        for (std::size_t i = 0; i < run.size(); ++i) run[i] = records[i].row;
    }
}

// Each row's value under `key`, from row `first` on, as a 64-bit number that
// orders as the key does.
void readSortKeys(const Table& table, int first, const SortKey& key, std::span<std::uint64_t> out) {
    KeyValues values(key);
    TokenMemo<double> memo;
    for (std::size_t r = 0; r < out.size(); ++r) {
        const int row = first + static_cast<int>(r);
        out[r] = std::bit_cast<std::uint64_t>(memo.get(table.valueToken(row, key.column), [&] {
            return values.read(table.cell(row, key.column));
        }));
    }
    values.rankTexts();
    for (std::uint64_t& value : out)
        value = orderedKey(values.sortValue(std::bit_cast<double>(value)));
}

// The bits that hold every number below `distinct`.
int bitsFor(std::uint64_t distinct) {
    return std::bit_width(distinct > 0 ? distinct - 1 : 0);
}

// Room for one key's values and rows, shared by the keys of one sort so that
// each key reuses the memory the one before it touched. The values are made
// room for only when a key needs them (see valuesFor): the keys of a sort by
// position, the grid's largest, need none.
struct PackScratch {
    std::vector<std::uint64_t> values;
    std::span<int> rows;
    std::span<std::uint64_t> valuesFor(std::size_t count) {
        values.resize(count);
        return values;
    }
};

// Replaces each of the sorted `values` by its rank among the distinct ones,
// 0 for the first, and gives how many distinct ones there are.
std::uint64_t rankSorted(std::span<std::uint64_t> values) {
    std::uint64_t rank = 0;
    std::uint64_t last = values.empty() ? 0 : values[0];
    for (std::uint64_t& value : values) {
        if (value != last) ++rank;
        last = std::exchange(value, rank);
    }
    return values.empty() ? 0 : rank + 1;
}

// Shifts the lead of each row up by `bits` and puts the row's rank there:
// ranks[i] is the rank of row rows[i].
void packRanks(std::span<std::uint64_t> lead, std::span<const std::uint64_t> ranks,
               std::span<const int> rows, int bits) {
    for (std::size_t i = 0; i < ranks.size(); ++i) {
        std::uint64_t& packed = lead[static_cast<std::size_t>(rows[i])];
        packed = (packed << bits) | ranks[i];
    }
}

// When every value under the number key `key` is a whole number of
// hundredths, as a script's times and costs are, puts each row's hundredths,
// counted from the least, in a room made for them in its lead, and gives the
// bits taken: they order the rows as their ranks would, with no sort to rank
// them. Gives nothing and leaves the lead as it was when a value is no such
// number or the hundredths would take more than `room` bits. The counts are
// kept in `held`, the order's own room, while the least and the most are
// learnt: the sort's memory then stays that of its lead and order, and the
// column is read once. A count too large for that room (past 2^31
// hundredths, about 250 days) has the column read again for it instead.
std::optional<int> packHundredths(const Table& table, int first, const SortKey& key,
                                  std::span<std::uint64_t> lead, int room, std::span<int> held) {
    // Far below 2^53: every such count of hundredths, and its quotient by
    // 100, is exact, so that the hundredths order as the values do.
    constexpr double kLimit = 1e15;
    constexpr std::int64_t kNone = std::numeric_limits<std::int64_t>::min();
    auto hundredthsOf = [&](const Cell& cell) {
        const double value = cellNumber(cell);
        const double x = key.descending ? -value : value;
        const double scaled = x * 100;
        if (!(std::fabs(scaled) < kLimit)) return kNone;
        const auto hundredths = static_cast<std::int64_t>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
        return static_cast<double>(hundredths) / 100 == x ? hundredths : kNone;
    };
    TokenMemo<std::int64_t> memo;
    auto hundredthsAt = [&](std::size_t r) {
        const int row = first + static_cast<int>(r);
        return memo.get(table.valueToken(row, key.column),
                        [&] { return hundredthsOf(table.cell(row, key.column)); });
    };
    constexpr std::int64_t kHeldMost = std::numeric_limits<int>::max();
    constexpr std::int64_t kHeldLeast = std::numeric_limits<int>::min();
    std::int64_t least = std::numeric_limits<std::int64_t>::max();
    std::int64_t most = kNone;
    for (std::size_t r = 0; r < lead.size(); ++r) {
        const std::int64_t hundredths = hundredthsAt(r);
        if (hundredths == kNone) return std::nullopt;
        least = std::min(least, hundredths);
        most = std::max(most, hundredths);
        held[r] = static_cast<int>(std::clamp(hundredths, kHeldLeast, kHeldMost));
    }
    const int bits = bitsFor(static_cast<std::uint64_t>(most - least) + 1);
    if (bits > room) return std::nullopt;
    const bool allHeld = least >= kHeldLeast && most <= kHeldMost;
    for (std::size_t r = 0; r < lead.size(); ++r) {
        const std::int64_t hundredths = allHeld ? held[r] : hundredthsAt(r);
        lead[r] = (lead[r] << bits) | static_cast<std::uint64_t>(hundredths - least);
    }
    return bits;
}

// Makes room in each row's lead for its rank under `key` and puts the rank
// there, giving the bits taken; when the ranks would take more than `room`
// bits, gives nothing and leaves the lead as it was.
std::optional<int> packKey(const Table& table, int first, const SortKey& key,
                           std::span<std::uint64_t> lead, int room, PackScratch& scratch) {
    const std::size_t count = lead.size();
    const std::span<int> rows = scratch.rows;
    if (key.numeric) {
        if (const std::optional<int> bits = packHundredths(table, first, key, lead, room, rows))
            return bits;
        // The values are sorted once with their rows; counting the changes
        // along the sorted values ranks every row.
        const std::span<std::uint64_t> values = scratch.valuesFor(count);
        readSortKeys(table, first, key, values);
        std::iota(rows.begin(), rows.end(), 0);
        sortByKey(values, rows);
        const int bits = bitsFor(rankSorted(values));
        if (bits > room) return std::nullopt;
        packRanks(lead, values, rows, bits);
        return bits;
    }
    // A text key's few distinct texts are ranked among themselves alone.
    TextRanker ranker;
    TokenMemo<int> memo;
    for (std::size_t r = 0; r < count; ++r) {
        const int row = first + static_cast<int>(r);
        rows[r] = memo.get(table.valueToken(row, key.column),
                           [&] { return ranker.slotOf(table.cell(row, key.column)); });
    }
    const std::vector<int> rankOfSlot = ranker.ranks();
    const int bits = bitsFor(rankOfSlot.size());
    if (bits > room) return std::nullopt;
    const auto highest = static_cast<std::uint64_t>(rankOfSlot.size()) - 1;
    for (std::size_t r = 0; r < count; ++r) {
        const auto rank = static_cast<std::uint64_t>(rankOfSlot[static_cast<std::size_t>(rows[r])]);
        lead[r] = (lead[r] << bits) | (key.descending ? highest - rank : rank);
    }
    return bits;
}

// Replaces each of `values` by its rank among the distinct ones, 0 for the
// least, when there are at most kFewValues of them and fewer than half as
// many as values, and gives how many there are; a small hash table ranks
// them, where a sort would move every value. Gives nothing otherwise, and
// `values` stay as they were. `slots` is room for one int a value.
constexpr std::size_t kFewValues = 4096;
std::optional<std::uint64_t> rankFewValues(std::span<std::uint64_t> values, std::span<int> slots) {
    constexpr int kHashBits = 14;  // a table four times kFewValues
    constexpr std::size_t kHashMask = (std::size_t{1} << kHashBits) - 1;
    const std::size_t limit = std::min(kFewValues, (values.size() - 1) / 2);
    std::vector<std::uint64_t> distinct;
    std::vector<int> slotAt(kHashMask + 1, -1);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::uint64_t value = values[i];
        auto at = static_cast<std::size_t>((value * 0x9E37'79B9'7F4A'7C15ULL) >> (64 - kHashBits));
        while (slotAt[at] >= 0 && distinct[static_cast<std::size_t>(slotAt[at])] != value)
            at = (at + 1) & kHashMask;
        if (slotAt[at] < 0) {
            if (distinct.size() == limit) return std::nullopt;
            slotAt[at] = static_cast<int>(distinct.size());
            distinct.push_back(value);
        }
        slots[i] = slotAt[at];
    }
    // Each slot's value becomes its rank.
    std::vector<std::uint64_t> ascending = distinct;
    std::sort(ascending.begin(), ascending.end());
    for (std::uint64_t& value : distinct)
        value = static_cast<std::uint64_t>(
            std::lower_bound(ascending.begin(), ascending.end(), value) - ascending.begin());
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = distinct[static_cast<std::size_t>(slots[i])];
    return distinct.size();
}

// How many rows of the sorted `lead` share their key with another row.
std::size_t tiedRows(std::span<const std::uint64_t> lead) {
    std::size_t tied = 0;
    for (std::size_t begin = 0; begin < lead.size();) {
        std::size_t end = begin + 1;
        while (end < lead.size() && lead[end] == lead[begin]) ++end;
        if (end - begin > 1) tied += end - begin;
        begin = end;
    }
    return tied;
}

// Tables from this many rows share the breaking of ties with a helper thread.
constexpr std::size_t kRowsWorthAHelper = std::size_t{1} << 16;

// The index nearest the middle of `lead` (sorted) where a run of equal keys
// begins; 0 when the whole is one run.
std::size_t runBoundaryNearMiddle(std::span<const std::uint64_t> lead) {
    const std::size_t middle = lead.size() / 2;
    std::size_t after = middle;
    while (after < lead.size() && lead[after] == lead[after - 1]) ++after;
    std::size_t before = middle;
    while (before > 0 && lead[before] == lead[before - 1]) --before;
    if (after == lead.size()) return before;
    if (before == 0) return after;
    return after - middle < middle - before ? after : before;
}

// The stable order of `count` rows from `first` by `keys`. The rows are first
// sorted by a 64-bit key each, the lead: the leading key's value.
//
// Where most rows tie on that, as in a sort by position, the lead becomes the
// rows' ranks under the leading keys side by side (a leading key of few
// values is ranked so at once, without that first sort), as many keys as fit, and
// when every key fits and room is left, the row's own index after them, so
// that no two rows tie; the rows are sorted by that lead. Each key is read
// down the table in its stored order, which is kind to memory.
//
// Then only runs that still tie on the lead are sorted by the keys left over
// (by index when there are none), reading their rows where the sort put them,
// scattered over the table: cheap where such runs are few. `lead` is left
// with a word a row, for the caller to use again.
std::vector<int> sortedOrder(const Table& table, int first, std::size_t count,
                             std::span<const SortKey> keys, std::vector<std::uint64_t>& lead) {
    std::vector<int> order(count);
    lead.assign(count, 0);
    readSortKeys(table, first, keys[0], lead);
    std::size_t packedKeys = 1;
    // A leading key of few values, as a position, is ranked row by row, the
    // order's room holding each row's slot meanwhile. So few values leave
    // more than half of the rows tied, and the lead is packed below.
    const std::optional<std::uint64_t> fewValues =
        keys.size() > 1 ? rankFewValues(lead, order) : std::nullopt;
    if (!fewValues) {
        std::iota(order.begin(), order.end(), 0);
        sortByKey(lead, order);
    }
    // Packing costs a sort per number key; breaking ties, a scattered read
    // per tied row. On a million rows packing was the faster with every row
    // tied (a sort by position) and the slower with a quarter or nearly half
    // of them tied (sorts by time), so it waits for more than half.
    if (keys.size() > 1 && (fewValues || tiedRows(lead) > count / 2)) {
        // The order's own room holds each key's rows while the keys are
        // packed; it starts afresh before the rows are sorted by the lead.
        PackScratch scratch{{}, order};
        const int leadBits = bitsFor(fewValues ? *fewValues : rankSorted(lead));
        if (!fewValues) {
            packRanks(scratch.valuesFor(count), lead, order, leadBits);
            std::swap(lead, scratch.values);
        }
        int room = 64 - leadBits;
        for (; packedKeys < keys.size(); ++packedKeys) {
            const std::optional<int> bits =
                packKey(table, first, keys[packedKeys], lead, room, scratch);
            if (!bits) break;
            room -= *bits;
        }
        const int rowBits = bitsFor(count);
        const bool untied = packedKeys == keys.size() && rowBits <= room;
        if (untied)
            for (std::size_t r = 0; r < count; ++r) lead[r] = (lead[r] << rowBits) | r;
        std::iota(order.begin(), order.end(), 0);
        sortByKey(lead, order);
        if (untied) return order;
    }
    const std::span<const SortKey> tieKeys = keys.subspan(packedKeys);
    auto breakAllTies = [&](std::span<int> part, std::span<const std::uint64_t> partLead) {
        switch (tieKeys.size()) {
            case 0:
                breakTies<0>(table, first, part, partLead, tieKeys);
                break;
            case 1:
                breakTies<1>(table, first, part, partLead, tieKeys);
                break;
            case 2:
                breakTies<2>(table, first, part, partLead, tieKeys);
                break;
            default:
                breakTies<kMaxSortKeys - 1>(table, first, part, partLead, tieKeys);
                break;
        }
    };
    // Runs are ordered each on its own, so a large table's are shared with a
    // helper thread: it takes those after the run boundary nearest the middle.
    const std::size_t split = count >= kRowsWorthAHelper ? runBoundaryNearMiddle(lead) : 0;
    if (split == 0) {
        breakAllTies(order, lead);
        return order;
    }
    const std::span<int> all(order);
    const std::span<const std::uint64_t> allLead(lead);
    InOrderWorker helper(1);
    static_cast<void>(helper.alongside(
        [&] {
            breakAllTies(all.subspan(split), allLead.subspan(split));
            return Status{};
        },
        [&] { breakAllTies(all.first(split), allLead.first(split)); }));
    return order;
}

}  // namespace

std::vector<int> Table::sortRows(int first, int last, std::span<const SortKey> keys) {
    if (first < 0) first = 0;
    if (last >= m_rows) last = m_rows - 1;
    if (keys.size() > kMaxSortKeys) throw std::length_error("a sort takes at most four keys");
    if (last - first < 1 || keys.empty()) return {};
    for ([[maybe_unused]] const SortKey& key : keys)
        assert(key.column >= 0 && key.column < m_columns);
    const auto count = static_cast<std::size_t>(last - first + 1);
    // The sort's keys, done with once the order is known, are the working
    // room of moving the rows in place: a million-row sort then needs no
    // more memory to move its rows than it needed to order them.
    std::vector<std::uint64_t> room;
    std::vector<int> order = sortedOrder(*this, first, count, keys, room);
    // A permutation in ascending order is the identity: no row moved.
    if (std::is_sorted(order.begin(), order.end())) return {};
    if (m_rowMoving == RowMoving::InPlace)
        permuteRowsIn(first, order, room);
    else
        permuteRowsThroughCopy(first, order);
    return order;
}

void Table::permuteRowsThroughCopy(int first, std::span<const int> from) {
    const auto width = static_cast<std::size_t>(m_columns);
    const std::size_t begin = static_cast<std::size_t>(first) * width;
    const std::size_t end = begin + from.size() * width;
    assert(first >= 0 && end <= m_slots.size());
    // Its fresh pages are found and cleared by the system as they are first
    // written, on large tables by two threads, each in its own half.
    Slots moved(m_slots.size());
    std::copy(m_slots.begin(), m_slots.begin() + static_cast<std::ptrdiff_t>(begin), moved.begin());
    std::copy(m_slots.begin() + static_cast<std::ptrdiff_t>(end), m_slots.end(),
              moved.begin() + static_cast<std::ptrdiff_t>(end));
    const std::uint64_t* const source = m_slots.data() + begin;
    std::uint64_t* const target = moved.data() + begin;
    auto copyRows = [&](std::size_t fromRow, std::size_t toRow) {
        constexpr std::size_t kRowsAhead = 8;
        for (std::size_t to = fromRow; to < toRow; ++to) {
            if (to + kRowsAhead < toRow) prefetchRow(first + from[to + kRowsAhead]);
            std::copy_n(source + static_cast<std::size_t>(from[to]) * width, width,
                        target + to * width);
        }
    };
    const std::size_t count = from.size();
    if (count < kRowsWorthAHelper) {
        copyRows(0, count);
    } else {
        // Each thread reads its rows far apart and writes them one after
        // another: twice as many reads wait at once.
        InOrderWorker helper(1);
        static_cast<void>(helper.alongside(
            [&] {
                copyRows(count / 2, count);
                return Status{};
            },
            [&] { copyRows(0, count / 2); }));
    }
    m_slots.swap(moved);
}

void Table::permuteRows(int first, std::span<const int> from) {
    std::vector<std::uint64_t> places(from.size());
    permuteRowsIn(first, from, places);
}

void Table::permuteRowsIn(int first, std::span<const int> from, std::span<std::uint64_t> places) {
    const std::size_t count = from.size();
    assert(first >= 0 && first + static_cast<int>(count) <= m_rows && places.size() == count);
    // The rows are filled in order: row i takes the row that belongs there
    // from wherever it is now, and the row it held goes where that one was.
    // No second copy of the rows is made, and unlike following the
    // permutation's cycles, where each next row is known only once the last
    // is read, the rows wanted next are known ahead and are asked for early,
    // so that their reads overlap. A row's word in `places` tells where that
    // row is now (low half) and which row its place holds now (high half).
    constexpr std::uint64_t kLow = 0xFFFF'FFFF;
    for (std::size_t r = 0; r < count; ++r) places[r] = (r << 32) | r;
    auto whereIs = [&](std::size_t row) { return static_cast<std::size_t>(places[row] & kLow); };
    auto putRow = [&](std::size_t row, std::size_t at) {
        places[row] = (places[row] & ~kLow) | at;
        places[at] = (places[at] & kLow) | (static_cast<std::uint64_t>(row) << 32);
    };
    const auto width = static_cast<std::ptrdiff_t>(m_columns);
    auto rowAt = [&](std::size_t r) {
        return m_slots.begin() + static_cast<std::ptrdiff_t>(index(first + static_cast<int>(r), 0));
    };
    constexpr std::size_t kPlacesAhead = 16;
    constexpr std::size_t kRowsAhead = 8;
    for (std::size_t to = 0; to < count; ++to) {
        if (to + kPlacesAhead < count)
            __builtin_prefetch(&places[static_cast<std::size_t>(from[to + kPlacesAhead])]);
        if (to + kRowsAhead < count)
            prefetchRow(first +
                        static_cast<int>(whereIs(static_cast<std::size_t>(from[to + kRowsAhead]))));
        const auto wanted = static_cast<std::size_t>(from[to]);
        const std::size_t at = whereIs(wanted);
        if (at == to) continue;
        std::swap_ranges(rowAt(to), rowAt(to) + width, rowAt(at));
        const auto displaced = static_cast<std::size_t>(places[to] >> 32);
        putRow(displaced, at);
        putRow(wanted, to);
    }
}

void Table::unpermuteRows(int first, std::span<const int> from) {
    std::vector<int> back(from.size());
    for (std::size_t r = 0; r < from.size(); ++r)
        back[static_cast<std::size_t>(from[r])] = static_cast<int>(r);
    permuteRows(first, back);
}

}  // namespace fulgor
