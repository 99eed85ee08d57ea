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
    return talsenToKavrin(talsen, miravel, 0, talsen.rowCount(), progress);
}

KavrinImport talsenToKavrin(const Table& talsen, bool miravel, int first, int count,
                            const Progress& progress) {
    ProgressWatch watch(progress);
    KavrinImport result;
    Table& kavrin = result.table;
    kavrin.resize(count, kavrin::ColumnCount);
    const double share = talsen.rowCount() > 0 ? static_cast<double>(count) / talsen.rowCount() : 0;
    kavrin.reserveLongText(
        static_cast<std::size_t>(static_cast<double>(talsen.longTextBytes()) * share) +
        static_cast<std::size_t>(count) * kClockBytes);
    for (int i = 0; i < count && reportRow(watch, i, count); ++i) {
        const int row = first + i;
        auto copy = [&](int to, int from) { kavrin.setCell(i, to, talsen.cell(row, from)); };
        kavrin.setNumber(i, kavrin::Line, row + 1);
        copy(kavrin::Shot, talsen::Line);
        copy(kavrin::Pos, talsen::Pos);
        Cell time = talsen.cell(row, talsen::Time);
        if (!time.isEmpty()) {
            if (std::optional<FiringTime> firing =
                    firingTime(time, talsen.cell(row, talsen::Prefire), miravel)) {
                kavrin.setNumber(i, kavrin::Time, firing->seconds);
                kavrin.setText(i, kavrin::Clock, FormatHundredths(firing->hundredths));
            } else {
                result.untimedRows.push_back(row);
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

std::string untimedRowsMessage(std::span<const int> untimedRows) {
    if (untimedRows.empty()) return {};
    return std::to_string(untimedRows.size()) +
           " Lines have no firing time (Time or Prefire is not a number, or Prefire is larger "
           "than Time); their Time is left empty: " +
           lineList(untimedRows);
}

}  // namespace fulgor
