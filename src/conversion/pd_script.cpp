#include "conversion/pd_script.h"

#include <array>

#include "addressing/hex_text.h"
#include "addressing/time_text.h"
#include "core/leading_number.h"
#include "core/rounding.h"
#include "core/script_columns.h"

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

// The row's address, Mod and Pin as one hex number, when it is PD-ready: Mod
// hexadecimal text below 80 and Pin one hexadecimal digit.
std::optional<int> pdAddress(const Table& talsen, int row) {
    std::string room;
    std::optional<int> module = hexText(textOf(talsen.cell(row, talsen::Mod), room));
    std::string_view pin = textOf(talsen.cell(row, talsen::Pin), room);
    std::optional<int> pinValue = pin.size() == 1 ? hexText(pin) : std::nullopt;
    if (!module || *module >= 128 || !pinValue) return std::nullopt;
    return *module * 16 + *pinValue;
}

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

bool NumberForPD(Table& talsen) {
    bool ready = true;
    int count = 0;
    for (int row = 0; row < talsen.rowCount(); ++row) {
        bool complete = !talsen.cell(row, talsen::Time).isEmpty() &&
                        !talsen.cell(row, talsen::Prefire).isEmpty() &&
                        !talsen.cell(row, talsen::Mod).isEmpty() &&
                        !talsen.cell(row, talsen::Pin).isEmpty();
        if (complete && pdAddress(talsen, row)) {
            talsen.setNumber(row, talsen::Line, ++count);
        } else {
            talsen.setText(row, talsen::Line, "");
            if (complete) ready = false;
        }
    }
    return ready;
}

Result<PdScript> TalsenToPd(Table& talsen, const ByteSink& sink) {
    const SortKey firingOrder[] = {{talsen::Time, true, false},
                                   {talsen::Prefire, true, true},
                                   {talsen::Mod, false, false},
                                   {talsen::Pin, false, false}};
    talsen.sortRows(firingOrder);
    if (!NumberForPD(talsen)) return Error{std::string(kPdRefusal)};

    PdScript script = startPdScript(talsen.rowCount(), sink);
    for (int row = 0; row < talsen.rowCount(); ++row) {
        if (talsen.cell(row, talsen::Line).isEmpty()) {
            ++script.skipped;
            continue;
        }
        std::optional<double> seconds = numericValue(talsen.cell(row, talsen::Time));
        std::optional<std::int32_t> hundredths =
            seconds ? roundToInt32(*seconds * 100) : std::nullopt;
        if (!hundredths) return doesNotFit(row, "its Time is not a number");
        if (*hundredths < 0 || *hundredths >= kHundredthsIn100Hours)
            return doesNotFit(row, "its Time lies outside 0 to 100 hours");
        const Timecode timecode = timecodeOf(*hundredths);
        std::optional<std::int32_t> tenths =
            roundToInt32(cellNumber(talsen.cell(row, talsen::Prefire)) * 10);
        if (!tenths || *tenths < 0 || *tenths > 255)
            return doesNotFit(row, "its Prefire lies outside 0 to 25.5 seconds");
        std::optional<std::int32_t> size = roundToInt32(cellNumber(talsen.cell(row, talsen::Size)));
        if (!size || *size < 0 || *size > 255)
            return doesNotFit(row, "its Size lies outside 0 to 255");
        const int address = *pdAddress(talsen, row);
        auto cue = static_cast<std::int32_t>(cellNumber(talsen.cell(row, talsen::Line)));
        Status appended = appendCueRecord(
            script, {static_cast<std::int32_t>(script.records), timecode.hours, timecode.minutes,
                     timecode.seconds, timecode.frames, *tenths, address, cue, *size});
        if (!appended) return doesNotFit(row, appended.error());
        if (Status handed = handOnPiece(script, sink); !handed) return Error{handed.error()};
    }
    appendEndRecord(script);
    return script;
}

}  // namespace fulgor
