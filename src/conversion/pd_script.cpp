#include "conversion/pd_script.h"

#include <array>

#include "addressing/hex_text.h"
#include "addressing/time_text.h"
#include "core/leading_number.h"
#include "core/pieces_in_turn.h"
#include "core/rounding.h"
#include "core/token_memo.h"

namespace fulgor {
namespace {

constexpr std::int32_t kLargestWord = 65535;
constexpr std::int32_t kHundredthsIn100Hours = 100 * 360000;
// A piece handed on stays in the processor's cache while it is written.
constexpr std::size_t kPieceBytes = std::size_t{1} << 20;

std::optional<int> hexText(std::string_view text) {
    if (text.empty() || text.size() > 7) return std::nullopt;
    int value = 0;
    for (char c : text) {
        int digit = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                           : -1;
        if (digit < 0) return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

// The cell's text, viewed where the cell holds text, as every cell read from
// a file does, else made in `room`.
std::string_view textOf(const Cell& cell, std::string& room) {
    if (cell.isText()) return cell.text();
    room = cellText(cell);
    return room;
}

// Reads rows' addresses, Mod and Pin as one hex number, when they are
// PD-ready: Mod hexadecimal text below 80 and Pin one hexadecimal digit. A
// show's modules and pins are a few values again and again, each read once.
class PdAddressReader {
public:
    explicit PdAddressReader(const PdColumns& columns) : m_mod(columns.mod), m_pin(columns.pin) {}

    std::optional<int> at(const Table& talsen, int row) {
        const std::optional<int>& module =
            m_modules.get(talsen.valueToken(row, m_mod), [&]() -> std::optional<int> {
                std::string room;
                std::optional<int> value = hexText(textOf(talsen.cell(row, m_mod), room));
                if (value && *value >= 128) return std::nullopt;
                return value;
            });
        const std::optional<int>& pin =
            m_pins.get(talsen.valueToken(row, m_pin), [&]() -> std::optional<int> {
                std::string room;
                std::string_view text = textOf(talsen.cell(row, m_pin), room);
                return text.size() == 1 ? hexText(text) : std::nullopt;
            });
        if (!module || !pin) return std::nullopt;
        return *module * 16 + *pin;
    }

private:
    int m_mod;
    int m_pin;
    TokenMemo<std::optional<int>> m_modules;
    TokenMemo<std::optional<int>> m_pins;
};

Error doesNotFit(int row, std::string_view what) {
    return Error{"Row " + std::to_string(row + 1) +
                 " cannot be formatted for PD: " + std::string(what) + "."};
}

}  // namespace

PdScript startPdScript(std::int64_t rows, const ByteSink& sink) {
    PdScript script;
    script.text.reserve(sink ? kPieceBytes + 64 : static_cast<std::size_t>(rows) * 30 + 8);
    return script;
}

Status handOnPiece(PdScript& script, const ByteSink& sink) {
    if (!sink || script.text.size() < kPieceBytes) return {};
    if (Status taken = sink(script.text); !taken) return taken;
    script.handedOn += static_cast<std::int64_t>(script.text.size());
    script.text.clear();
    return {};
}

Status appendCueRecord(PdScript& script, const std::array<std::int32_t, 9>& fields) {
    if (Status appended = appendN3Record(fields, script.text); !appended) return appended;
    script.text += "\r\n";
    ++script.records;
    script.lastCue = fields[7];
    return {};
}

void appendEndRecord(PdScript& script) {
    std::int32_t cue = script.lastCue < 0 ? 0 : std::min(script.lastCue, kLargestWord);
    auto x = static_cast<std::uint8_t>(cue / 256);
    script.text += "N9" + HexByte(x) + HexByte(static_cast<std::uint8_t>(255 - x)) + "\r\n";
    ++script.records;
}

bool NumberForPD(Table& talsen, const PdColumns& columns) {
    bool ready = true;
    int count = 0;
    PdAddressReader addresses(columns);
    for (int row = 0; row < talsen.rowCount(); ++row) {
        bool complete = !talsen.cell(row, columns.time).isEmpty() &&
                        !talsen.cell(row, columns.prefire).isEmpty() &&
                        !talsen.cell(row, columns.mod).isEmpty() &&
                        !talsen.cell(row, columns.pin).isEmpty();
        if (complete && addresses.at(talsen, row)) {
            talsen.setNumber(row, columns.line, ++count);
        } else {
            talsen.setText(row, columns.line, "");
            if (complete) ready = false;
        }
    }
    return ready;
}

namespace {

// Cue records of a run of rows, made on either thread, with what they need
// remembered from row to row.
struct PdPiece {
    explicit PdPiece(const PdColumns& columns) : addresses(columns) {}

    PdScript script;
    PdAddressReader addresses;
    // Prefires and sizes are a few values again and again.
    TokenMemo<std::optional<std::int32_t>> prefires;
    TokenMemo<std::optional<std::int32_t>> sizes;
};

// Rows a piece: a megabyte of records or so.
constexpr int kRowsPerPiece = 1 << 15;

// Appends the cue records of rows [begin, end), numbered by NumberForPD.
Status appendCueRecords(const Table& talsen, const PdColumns& columns, int begin, int end,
                        PdPiece& piece) {
    PdScript& script = piece.script;
    for (int row = begin; row < end; ++row) {
        if (talsen.cell(row, columns.line).isEmpty()) {
            ++script.skipped;
            continue;
        }
        std::optional<double> seconds = numericValue(talsen.cell(row, columns.time));
        std::optional<std::int32_t> hundredths =
            seconds ? roundToInt32(*seconds * 100) : std::nullopt;
        if (!hundredths) return doesNotFit(row, "its Time is not a number");
        if (*hundredths < 0 || *hundredths >= kHundredthsIn100Hours)
            return doesNotFit(row, "its Time lies outside 0 to 100 hours");
        const Timecode timecode = timecodeOf(*hundredths);
        const std::optional<std::int32_t>& tenths = piece.prefires.get(
            talsen.valueToken(row, columns.prefire),
            [&] { return roundToInt32(cellNumber(talsen.cell(row, columns.prefire)) * 10); });
        if (!tenths || *tenths < 0 || *tenths > 255)
            return doesNotFit(row, "its Prefire lies outside 0 to 25.5 seconds");
        const std::optional<std::int32_t>& size = piece.sizes.get(
            talsen.valueToken(row, columns.size),
            [&] { return roundToInt32(cellNumber(talsen.cell(row, columns.size))); });
        if (!size || *size < 0 || *size > 255)
            return doesNotFit(row, "its Size lies outside 0 to 255");
        const int address = *piece.addresses.at(talsen, row);
        auto cue = static_cast<std::int32_t>(cellNumber(talsen.cell(row, columns.line)));
        // NumberForPD numbered the rows sent 1, 2, 3 ... in this order: a
        // row's record comes after Line - 1 others, whichever piece they are in.
        Status appended =
            appendCueRecord(script, {cue - 1, timecode.hours, timecode.minutes, timecode.seconds,
                                     timecode.frames, *tenths, address, cue, *size});
        if (!appended) return doesNotFit(row, appended.error());
    }
    return {};
}

}  // namespace

Result<PdScript> TalsenToPd(Table& talsen, const ByteSink& sink, const PdColumns& columns) {
    const SortKey firingOrder[] = {{columns.time, true, false},
                                   {columns.prefire, true, true},
                                   {columns.mod, false, false},
                                   {columns.pin, false, false}};
    talsen.sortRows(firingOrder);
    if (!NumberForPD(talsen, columns)) return Error{std::string(kPdRefusal)};

    PdScript script = startPdScript(talsen.rowCount(), sink);
    PdPiece first(columns);
    PdPiece second(columns);
    const Status made = makePiecesInTurn<PdPiece>(
        talsen.rowCount(), kRowsPerPiece, first, second,
        [&](int begin, int end, PdPiece& piece) {
            return appendCueRecords(talsen, columns, begin, end, piece);
        },
        [&](int, int, PdPiece& piece) -> Status {
            script.text += piece.script.text;
            script.records += piece.script.records;
            script.skipped += piece.script.skipped;
            if (piece.script.lastCue >= 0) script.lastCue = piece.script.lastCue;
            piece.script.text.clear();
            piece.script.records = piece.script.skipped = 0;
            piece.script.lastCue = -1;
            return handOnPiece(script, sink);
        });
    if (!made) return Error{made.error()};
    appendEndRecord(script);
    return script;
}

}  // namespace fulgor
