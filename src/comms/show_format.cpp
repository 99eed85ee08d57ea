#include "comms/show_format.h"

#include <cmath>
#include <optional>

#include "core/leading_number.h"
#include "core/message_text.h"
#include "core/number_format.h"
#include "core/rounding.h"
#include "core/script_columns.h"
#include "core/utf8_text.h"

namespace fulgor {
namespace {

constexpr std::string_view kRecordEnd = "\r\n";
constexpr std::string_view kEndRecord = "S\t0\t0\r\n";

// The cue fields in the order they are sent.
constexpr std::array<kavrin::Column, 6> kSentColumns = {kavrin::Line, kavrin::Shot, kavrin::Pos,
                                                        kavrin::Time, kavrin::Mod,  kavrin::Pin};

std::optional<std::string> fieldText(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    return value < 0 ? std::string("0") : shortestText(value);
}

// An empty cell, or a text with no leading number, which goes out as 0.
bool holdsNoNumber(const Cell& cell) {
    return cell.isText() && !hasLeadingNumber(cell.text());
}

double sentValue(const Table& table, int row, kavrin::Column column, bool miravel) {
    double value = cellNumber(table.cell(row, column));
    if (column != kavrin::Time) return value;
    return miravel ? value * 100 : roundHalfEven(value * 10);
}

}  // namespace

std::string FormatShowLine(const std::array<std::string, 6>& fields, bool miravel) {
    std::string record = miravel ? "s" : "S";
    for (const std::string& field : fields) {
        record += '\t';
        record += field;
    }
    record += kRecordEnd;
    return record;
}

Result<PanelText> formatPanelText(const Table& table, std::string_view showName, bool miravel,
                                  const std::function<void(std::int64_t)>& lineCounted,
                                  const Progress& progress) {
    ProgressWatch watch(progress);
    PanelText panel;
    // Room for a long record a row: the text is never copied as it grows, and
    // room a shorter show leaves unused costs no memory the system provides.
    constexpr std::size_t kRecordBytes = 48;
    panel.text.reserve(showName.size() +
                       kRecordBytes * (static_cast<std::size_t>(table.rowCount()) + 2));
    if (!showName.empty()) {
        panel.text = "N\t" + std::string(showName) + std::string(kRecordEnd);
        panel.lines = 1;
    }
    for (int row = 0; row < table.rowCount(); ++row) {
        if (!reportRow(watch, row, table.rowCount())) return Error{"the formatting was cancelled"};
        if (!table.cell(row, kavrin::Err).isEmpty()) {
            ++panel.markedRows;
            continue;
        }
        Cell time = table.cell(row, kavrin::Time);
        if (time.isEmpty()) {
            panel.untimedRows.push_back(row);
            continue;
        }
        if (holdsNoNumber(time)) panel.zeroTimeRows.push_back(row);
        if (holdsNoNumber(table.cell(row, kavrin::Mod)) ||
            holdsNoNumber(table.cell(row, kavrin::Pin))) {
            panel.unaddressedRows.push_back(row);
        }
        std::array<std::string, 6> fields;
        for (std::size_t i = 0; i < kSentColumns.size(); ++i) {
            kavrin::Column column = kSentColumns[i];
            std::optional<std::string> text = fieldText(sentValue(table, row, column, miravel));
            if (!text) {
                return Error{"Line " + std::to_string(row + 1) + ", " +
                             std::string(kavrin::kCaptions[column]) + ": the value \"" +
                             shortened(cellText(table.cell(row, column))) +
                             "\" is too large to send"};
            }
            fields[i] = std::move(*text);
        }
        panel.text += FormatShowLine(fields, miravel);
        ++panel.lines;
        if (lineCounted) lineCounted(panel.lines);
    }
    panel.text += kEndRecord;
    ++panel.lines;
    panel.characters = static_cast<std::int64_t>(utf8Length(panel.text));
    return panel;
}

std::string heldBackUntimedMessage(std::span<const int> untimedRows) {
    if (untimedRows.empty()) return {};
    return "No Time, not sent: " + lineList(untimedRows);
}

std::vector<std::string> sentAsZeroWarnings(const PanelText& panel) {
    std::vector<std::string> warnings;
    if (!panel.zeroTimeRows.empty()) {
        warnings.push_back("Time is not a number, sent as 0 (fires at the start of the show): " +
                           lineList(panel.zeroTimeRows));
    }
    if (!panel.unaddressedRows.empty()) {
        warnings.push_back("Module or pin missing, sent as 0: " + lineList(panel.unaddressedRows));
    }
    return warnings;
}

}  // namespace fulgor
