#include "conversion/talsen_to_kavrin.h"

#include <optional>

#include "addressing/time_text.h"
#include "core/message_text.h"
#include "core/rounding.h"
#include "core/script_columns.h"
#include "files/script_text.h"

namespace fulgor {
namespace {

constexpr std::size_t kClockBytes = 10;  // "0:00:00.00", as long as most clock texts

struct FiringTime {
    double seconds;
    std::int32_t hundredths;
};

std::optional<FiringTime> firingTime(const Cell& time, const Cell& prefire, bool miravel) {
    std::optional<double> start = numericValue(time);
    std::optional<double> lead = prefire.isEmpty() ? 0.0 : numericValue(prefire);
    if (!start || !lead) return std::nullopt;
    double seconds = *start - *lead;
    if (!(seconds >= 0)) return std::nullopt;
    if (!miravel) seconds = roundToDecimals(seconds, 1);
    std::optional<std::int32_t> hundredths = roundToInt32(seconds * 100);
    if (!hundredths) return std::nullopt;
    return FiringTime{seconds, *hundredths};
}

// One Kavrin row, in kavrin:: column order, made from one Talsen row in
// talsen:: column order: the rule of every row of talsenToKavrin. The made
// cells view the Talsen cells and `clock`. False for a row with a Time that
// gives no firing time.
bool makeKavrinRow(std::span<const Cell, talsen::ColumnCount> talsen, bool miravel, int line,
                   std::array<Cell, kavrin::ColumnCount>& cells, std::string& clock) {
    cells.fill(Cell());
    cells[kavrin::Line] = Cell::number(line);
    cells[kavrin::Shot] = talsen[talsen::Line];
    cells[kavrin::Pos] = talsen[talsen::Pos];
    bool timed = true;
    if (!talsen[talsen::Time].isEmpty()) {
        if (std::optional<FiringTime> firing =
                firingTime(talsen[talsen::Time], talsen[talsen::Prefire], miravel)) {
            clock.clear();
            appendHundredths(firing->hundredths, clock);
            cells[kavrin::Time] = Cell::number(firing->seconds);
            cells[kavrin::Clock] = Cell::text(clock);
        } else {
            timed = false;
        }
    }
    cells[kavrin::Mod] = talsen[talsen::Mod];
    cells[kavrin::Pin] = talsen[talsen::Pin];
    cells[kavrin::TsRef] = talsen[talsen::Line];
    cells[kavrin::Size] = talsen[talsen::Size];
    cells[kavrin::Qty] = talsen[talsen::Qty];
    cells[kavrin::Type] = talsen[talsen::Type];
    cells[kavrin::Notes] = talsen[talsen::Notes];
    return timed;
}

}  // namespace

KavrinImport talsenToKavrin(const Table& talsen, bool miravel, const Progress& progress) {
    ProgressWatch watch(progress);
    KavrinImport result;
    Table& kavrin = result.table;
    const int count = talsen.rowCount();
    kavrin.resize(count, kavrin::ColumnCount);
    kavrin.reserveLongText(talsen.longTextBytes() + static_cast<std::size_t>(count) * kClockBytes);
    std::array<Cell, talsen::ColumnCount> source;
    std::array<Cell, kavrin::ColumnCount> made;
    std::string clock;
    for (int row = 0; row < count && reportRow(watch, row, count); ++row) {
        for (int column = 0; column < talsen::ColumnCount; ++column)
            source[static_cast<std::size_t>(column)] = talsen.cell(row, column);
        if (!makeKavrinRow(source, miravel, row + 1, made, clock))
            result.untimedRows.push_back(row);
        for (int column = 0; column < kavrin::ColumnCount; ++column)
            kavrin.setCell(row, column, made[static_cast<std::size_t>(column)]);
    }
    return result;
}

bool KavrinLineMaker::append(std::string_view line, int row, std::string& out) {
    splitFields(line, m_fields);
    for (std::size_t i = 0; i < m_fields.size(); ++i) m_cells[i] = Cell::text(m_fields[i]);
    const bool timed = makeKavrinRow(m_cells, m_miravel, row + 1, m_made, m_clock);
    appendCellsLine(m_made, out);
    return timed;
}

std::string untimedRowsMessage(std::span<const int> firstRows, std::size_t count) {
    if (count == 0) return {};
    return std::to_string(count) +
           " Lines have no firing time (Time or Prefire is not a number, or Prefire is larger "
           "than Time); their Time is left empty: " +
           lineList(firstRows);
}

}  // namespace fulgor
