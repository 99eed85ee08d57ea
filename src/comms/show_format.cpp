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

// Puts the value's text into `field`, a negative value going out as 0; false
// for a value too large to send.
bool setFieldText(double value, std::string& field) {
    if (!std::isfinite(value)) return false;
    field.clear();
    if (value < 0) {
        field.push_back('0');
    } else {
        appendShortestText(value, field);
    }
    return true;
}

// The cue fields' places in a record.
constexpr std::size_t kTimeField = 3;
constexpr std::size_t kModField = 4;
constexpr std::size_t kPinField = 5;
static_assert(kSentColumns[kTimeField] == kavrin::Time && kSentColumns[kModField] == kavrin::Mod &&
              kSentColumns[kPinField] == kavrin::Pin);

// A field's number as it goes out, and whether its cell held none: an empty
// cell, or a text with no leading number, goes out as 0.
struct SentNumber {
    double value = 0;
    bool none = false;
};

SentNumber sentNumber(const Table& table, int row, kavrin::Column column, bool miravel) {
    const Cell cell = table.cell(row, column);
    SentNumber sent;
    if (cell.isNumber()) {
        sent.value = cell.number();
    } else if (std::optional<double> number = foundLeadingNumber(cell.text())) {
        sent.value = *number;
    } else {
        sent.none = true;
    }
    if (column == kavrin::Time)
        sent.value = miravel ? sent.value * 100 : roundHalfEven(sent.value * 10);
    return sent;
}

}  // namespace

void FormatShowLine(const std::array<std::string, 6>& fields, bool miravel, std::string& out) {
    out += miravel ? 's' : 'S';
    for (const std::string& field : fields) {
        out += '\t';
        out += field;
    }
    out += kRecordEnd;
}

Result<PanelStats> writePanelText(const Table& table, std::string_view showName, bool miravel,
                                  const PanelSink& sink,
                                  const std::function<void(std::int64_t)>& lineCounted,
                                  const Progress& progress) {
    ProgressWatch watch(progress);
    PanelStats panel;
    // One buffer, handed on and refilled whenever it passes a megabyte: it
    // stays in the processor's cache and never grows with the show.
    constexpr std::size_t kPieceBytes = std::size_t{1} << 20;
    std::string out;
    out.reserve(kPieceBytes + showName.size() + 64);
    auto handOn = [&]() -> Status {
        panel.characters += static_cast<std::int64_t>(utf8Length(out));
        Status taken = sink(out);
        out.clear();
        return taken;
    };
    if (!showName.empty()) {
        out = "N\t" + std::string(showName) + std::string(kRecordEnd);
        panel.lines = 1;
    }
    std::array<std::string, 6> fields;  // one record's, their room kept from row to row
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
        std::array<SentNumber, kSentColumns.size()> sent;
        for (std::size_t i = 0; i < kSentColumns.size(); ++i)
            sent[i] = sentNumber(table, row, kSentColumns[i], miravel);
        if (sent[kTimeField].none) panel.zeroTimeRows.push_back(row);
        if (sent[kModField].none || sent[kPinField].none) panel.unaddressedRows.push_back(row);
        for (std::size_t i = 0; i < kSentColumns.size(); ++i) {
            if (!setFieldText(sent[i].value, fields[i])) {
                kavrin::Column column = kSentColumns[i];
                return Error{"Line " + std::to_string(row + 1) + ", " +
                             std::string(kavrin::kCaptions[column]) + ": the value \"" +
                             shortened(cellText(table.cell(row, column))) +
                             "\" is too large to send"};
            }
        }
        FormatShowLine(fields, miravel, out);
        ++panel.lines;
        if (lineCounted) lineCounted(panel.lines);
        if (out.size() >= kPieceBytes) {
            if (Status taken = handOn(); !taken) return Error{taken.error()};
        }
    }
    out += kEndRecord;
    ++panel.lines;
    if (Status taken = handOn(); !taken) return Error{taken.error()};
    return panel;
}

Result<PanelText> formatPanelText(const Table& table, std::string_view showName, bool miravel,
                                  const std::function<void(std::int64_t)>& lineCounted,
                                  const Progress& progress) {
    PanelText panel;
    // Room for a long record a row: the text is never copied as it grows, and
    // room a shorter show leaves unused costs no memory the system provides.
    constexpr std::size_t kRecordBytes = 48;
    panel.text.reserve(showName.size() +
                       kRecordBytes * (static_cast<std::size_t>(table.rowCount()) + 2));
    Result<PanelStats> stats = writePanelText(
        table, showName, miravel,
        [&panel](std::string_view piece) -> Status {
            panel.text += piece;
            return {};
        },
        lineCounted, progress);
    if (!stats) return Error{stats.error()};
    static_cast<PanelStats&>(panel) = std::move(stats.value());
    return panel;
}

std::string heldBackUntimedMessage(std::span<const int> untimedRows) {
    if (untimedRows.empty()) return {};
    return "No Time, not sent: " + lineList(untimedRows);
}

std::vector<std::string> sentAsZeroWarnings(const PanelStats& panel) {
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
