#include "comms/show_format.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/leading_number.h"
#include "core/message_text.h"
#include "core/number_format.h"
#include "core/pieces_in_turn.h"
#include "core/rounding.h"
#include "core/token_memo.h"
#include "core/utf8_text.h"

namespace fulgor {
namespace {

constexpr std::string_view kRecordEnd = "\r\n";
constexpr std::string_view kEndRecord = "S\t0\t0\r\n";
// A long record's bytes.
constexpr std::size_t kRecordBytes = 48;

// The cue fields in the order they are sent.
constexpr std::array<kavrin::Column, 6> kSentColumns = {kavrin::Line, kavrin::Shot, kavrin::Pos,
                                                        kavrin::Time, kavrin::Mod,  kavrin::Pin};

// The cue fields' places in a record.
constexpr std::size_t kLineField = 0;
constexpr std::size_t kShotField = 1;
constexpr std::size_t kPosField = 2;
constexpr std::size_t kTimeField = 3;
constexpr std::size_t kModField = 4;
constexpr std::size_t kPinField = 5;
static_assert(kSentColumns[kLineField] == kavrin::Line &&
              kSentColumns[kShotField] == kavrin::Shot && kSentColumns[kPosField] == kavrin::Pos &&
              kSentColumns[kTimeField] == kavrin::Time && kSentColumns[kModField] == kavrin::Mod &&
              kSentColumns[kPinField] == kavrin::Pin);

// A field as it goes out: the text of its cell's number, a negative number
// going out as 0; whether the cell held no number (an empty cell, or a text
// with no leading number, goes out as 0); whether the number is too large to
// send.
struct SentField {
    std::string text;
    bool none = false;
    bool tooLarge = false;
};

SentField sentField(const Table& table, int row, int column, bool time, bool miravel) {
    const Cell cell = table.cell(row, column);
    SentField sent;
    double value = 0;
    if (cell.isNumber()) {
        value = cell.number();
    } else if (std::optional<double> number = foundLeadingNumber(cell.text())) {
        value = *number;
    } else {
        sent.none = true;
    }
    if (time) value = miravel ? value * 100 : roundHalfEven(value * 10);
    if (!std::isfinite(value)) {
        sent.tooLarge = true;
    } else if (value < 0) {
        sent.text = "0";
    } else {
        appendShortestText(value, sent.text);
    }
    return sent;
}

}  // namespace

void FormatShowLine(const std::array<std::string_view, 6>& fields, bool miravel, std::string& out) {
    out += miravel ? 's' : 'S';
    for (const std::string_view field : fields) {
        out += '\t';
        out += field;
    }
    out += kRecordEnd;
}

namespace {

// The records of some rows, with what they tell about those rows; its
// `lines` count the piece's records alone.
struct PanelPiece {
    std::string text;
    PanelStats stats;
    // Positions, modules and pins are a few values again and again: each is
    // read and written out once, then remembered from piece to piece.
    TokenMemo<SentField> positions;
    TokenMemo<SentField> modules;
    TokenMemo<SentField> pins;
};

// Appends the records of rows [begin, end) to the piece.
Status formatPanelRows(const Table& table, const kavrin::PanelColumns& columns, int begin, int end,
                       bool miravel, PanelPiece& piece) {
    PanelStats& stats = piece.stats;
    // Where each sent field's cell stands.
    const std::array<int, kSentColumns.size()> places = {columns.line, columns.shot, columns.pos,
                                                         columns.time, columns.mod,  columns.pin};
    for (int row = begin; row < end; ++row) {
        if (!table.cell(row, columns.err).isEmpty()) {
            ++stats.markedRows;
            continue;
        }
        if (table.cell(row, columns.time).isEmpty()) {
            stats.untimedRows.push_back(row);
            continue;
        }
        auto remembered = [&](TokenMemo<SentField>& memo, int column) {
            return &memo.get(table.valueToken(row, column),
                             [&] { return sentField(table, row, column, false, miravel); });
        };
        const SentField line = sentField(table, row, columns.line, false, miravel);
        const SentField shot = sentField(table, row, columns.shot, false, miravel);
        const SentField time = sentField(table, row, columns.time, true, miravel);
        const std::array<const SentField*, kSentColumns.size()> sent = {
            &line,
            &shot,
            remembered(piece.positions, columns.pos),
            &time,
            remembered(piece.modules, columns.mod),
            remembered(piece.pins, columns.pin)};
        if (sent[kTimeField]->none) stats.zeroTimeRows.push_back(row);
        if (sent[kModField]->none || sent[kPinField]->none) stats.unaddressedRows.push_back(row);
        std::array<std::string_view, kSentColumns.size()> fields;
        for (std::size_t i = 0; i < kSentColumns.size(); ++i) {
            if (sent[i]->tooLarge) {
                return Error{"Line " + std::to_string(row + 1) + ", " +
                             std::string(kavrin::kCaptions[kSentColumns[i]]) + ": the value \"" +
                             shortened(cellText(table.cell(row, places[i]))) +
                             "\" is too large to send"};
            }
            fields[i] = sent[i]->text;
        }
        FormatShowLine(fields, miravel, piece.text);
        ++stats.lines;
    }
    return {};
}

void appendRows(std::vector<int>& to, const std::vector<int>& rows) {
    to.insert(to.end(), rows.begin(), rows.end());
}

}  // namespace

Result<PanelStats> writePanelText(const Table& table, std::string_view showName, bool miravel,
                                  const PanelSink& sink,
                                  const std::function<void(std::int64_t)>& lineCounted,
                                  const Progress& progress, const kavrin::PanelColumns& columns) {
    ProgressWatch watch(progress);
    const int rows = table.rowCount();
    // Pieces of about a megabyte, two at a time on two threads: each stays in
    // the processor's cache and the text never grows with the show.
    constexpr int kRowsPerPiece = 1 << 15;
    constexpr std::size_t kPieceRoom = kRecordBytes * kRowsPerPiece;
    PanelPiece first;
    PanelPiece second;
    first.text.reserve(std::min(kPieceRoom, kRecordBytes * (static_cast<std::size_t>(rows) + 1)) +
                       showName.size() + kRecordBytes);
    if (rows > kRowsPerPiece) second.text.reserve(kPieceRoom);
    PanelStats panel;
    if (!showName.empty()) {
        first.text = "N\t" + std::string(showName) + std::string(kRecordEnd);
        panel.lines = 1;
    }
    // Reports, counts and the sink stay on the calling thread.
    auto take = [&](int begin, int end, PanelPiece& piece) -> Status {
        if (!reportRows(watch, begin, end, rows)) return Error{"the formatting was cancelled"};
        PanelStats& stats = piece.stats;
        for (std::int64_t line = 0; line < stats.lines; ++line) {
            ++panel.lines;
            if (lineCounted) lineCounted(panel.lines);
        }
        panel.markedRows += stats.markedRows;
        appendRows(panel.untimedRows, stats.untimedRows);
        appendRows(panel.zeroTimeRows, stats.zeroTimeRows);
        appendRows(panel.unaddressedRows, stats.unaddressedRows);
        if (end == rows) {
            piece.text += kEndRecord;
            ++panel.lines;
        }
        panel.characters += static_cast<std::int64_t>(utf8Length(piece.text));
        Status taken = sink(piece.text);
        piece.text.clear();
        stats = PanelStats{};
        return taken;
    };
    Status made = makePiecesInTurn<PanelPiece>(
        rows, kRowsPerPiece, first, second,
        [&](int begin, int end, PanelPiece& piece) {
            return formatPanelRows(table, columns, begin, end, miravel, piece);
        },
        take);
    if (made && rows == 0) made = take(0, 0, first);
    if (!made) return Error{made.error()};
    return panel;
}

Result<PanelText> formatPanelText(const Table& table, std::string_view showName, bool miravel,
                                  const std::function<void(std::int64_t)>& lineCounted,
                                  const Progress& progress) {
    PanelText panel;
    // Room for a long record a row: the text is never copied as it grows, and
    // room a shorter show leaves unused costs no memory the system provides.
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
