#include "conversion/talsen_to_kavrin.h"

#include <optional>

#include "addressing/time_text.h"
#include "core/message_text.h"
#include "core/rounding.h"
#include "core/script_columns.h"

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

}  // namespace

KavrinImport talsenToKavrin(const Table& talsen, bool miravel, const Progress& progress) {
    return talsenToKavrin(talsen, miravel, 0, progress);
}

KavrinImport talsenToKavrin(const Table& talsen, bool miravel, int rowsBefore,
                            const Progress& progress) {
    ProgressWatch watch(progress);
    KavrinImport result;
    Table& kavrin = result.table;
    const int count = talsen.rowCount();
    kavrin.resize(count, kavrin::ColumnCount);
    kavrin.reserveLongText(talsen.longTextBytes() + static_cast<std::size_t>(count) * kClockBytes);
    for (int row = 0; row < count && reportRow(watch, row, count); ++row) {
        auto copy = [&](int to, int from) { kavrin.setCell(row, to, talsen.cell(row, from)); };
        kavrin.setNumber(row, kavrin::Line, rowsBefore + row + 1);
        copy(kavrin::Shot, talsen::Line);
        copy(kavrin::Pos, talsen::Pos);
        Cell time = talsen.cell(row, talsen::Time);
        if (!time.isEmpty()) {
            if (std::optional<FiringTime> firing =
                    firingTime(time, talsen.cell(row, talsen::Prefire), miravel)) {
                kavrin.setNumber(row, kavrin::Time, firing->seconds);
                kavrin.setText(row, kavrin::Clock, FormatHundredths(firing->hundredths));
            } else {
                result.untimedRows.push_back(rowsBefore + row);
            }
        }
        copy(kavrin::Mod, talsen::Mod);
        copy(kavrin::Pin, talsen::Pin);
        copy(kavrin::TsRef, talsen::Line);
        copy(kavrin::Size, talsen::Size);
        copy(kavrin::Qty, talsen::Qty);
        copy(kavrin::Type, talsen::Type);
        copy(kavrin::Notes, talsen::Notes);
    }
    return result;
}

std::string untimedRowsMessage(std::span<const int> firstRows, std::size_t count) {
    if (count == 0) return {};
    return std::to_string(count) +
           " Lines have no firing time (Time or Prefire is not a number, or Prefire is larger "
           "than Time); their Time is left empty: " +
           lineList(firstRows);
}

}  // namespace fulgor
