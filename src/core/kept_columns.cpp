#include "core/kept_columns.h"

#include <array>
#include <cstddef>
#include <limits>
#include <optional>
#include <unordered_map>
#include <utility>

#include "core/token_memo.h"

namespace fulgor {

KeptColumns::KeptColumns(const Table& table, std::vector<int> columns)
    : m_columns(std::move(columns)) {
    m_kept.reserve(m_columns.size());
    for (const int column : m_columns) m_kept.push_back(keep(table, column));
}

KeptColumns::Column KeptColumns::keep(const Table& table, int column) {
    constexpr std::size_t kMostValues = std::size_t{std::numeric_limits<std::uint16_t>::max()} + 1;
    const auto rows = static_cast<std::size_t>(table.rowCount());
    Column kept;
    kept.valueOf.resize(rows);
    // Equal tokens hold equal values, so a value is known by its token; a
    // long text held twice is then kept twice, which costs only its room.
    std::unordered_map<std::uint64_t, std::uint16_t> numberOf;
    std::vector<int> firstRowOf;  // by value number
    TokenMemo<std::optional<std::uint16_t>> memo;
    for (std::size_t r = 0; r < rows; ++r) {
        const int row = static_cast<int>(r);
        const std::uint64_t token = table.valueToken(row, column);
        const std::optional<std::uint16_t> number =
            memo.get(token, [&]() -> std::optional<std::uint16_t> {
                if (auto it = numberOf.find(token); it != numberOf.end()) return it->second;
                if (numberOf.size() == kMostValues) return std::nullopt;
                const auto next = static_cast<std::uint16_t>(numberOf.size());
                numberOf.emplace(token, next);
                firstRowOf.push_back(row);
                return next;
            });
        if (!number) {
            const std::array<int, 1> whole{column};
            return {table.copyColumns(whole), {}};
        }
        kept.valueOf[r] = *number;
    }
    kept.values = Table(static_cast<int>(firstRowOf.size()), 1);
    for (std::size_t n = 0; n < firstRowOf.size(); ++n)
        kept.values.setCell(static_cast<int>(n), 0, table.cell(firstRowOf[n], column));
    return kept;
}

bool KeptColumns::matches(const Table& table) const {
    for (std::size_t i = 0; i < m_columns.size(); ++i)
        for (int r = 0; r < table.rowCount(); ++r)
            if (table.cell(r, m_columns[i]) != m_kept[i].cell(r)) return false;
    return true;
}

void KeptColumns::exchange(Table& table) {
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        Column replaced = keep(table, m_columns[i]);
        for (int r = 0; r < table.rowCount(); ++r)
            table.setCell(r, m_columns[i], m_kept[i].cell(r));
        m_kept[i] = std::move(replaced);
    }
}

}  // namespace fulgor
