#include "addressing/renumber_cues.h"

#include <optional>

#include "addressing/hex_text.h"
#include "addressing/panel_limits.h"
#include "core/number_format.h"
#include "core/rounding.h"
#include "core/script_columns.h"

namespace fulgor {
namespace {

std::int32_t positionOf(const Table& talsen, int row, const talsen::AddressColumns& columns) {
    return roundToInt32(cellNumber(talsen.cell(row, columns.pos))).value_or(0);
}

void writeAddress(Table& talsen, int row, std::int32_t module, std::int32_t pin, bool hex,
                  const talsen::AddressColumns& columns) {
    if (hex) {
        // The module limit of the hex scheme keeps module within one byte.
        talsen.setText(row, columns.mod, HexByte(static_cast<std::uint8_t>(module)));
        talsen.setText(row, columns.pin, hexDigits(static_cast<std::uint32_t>(pin)));
    } else {
        talsen.setText(row, columns.mod, formatWhole(module, 2));
        talsen.setText(row, columns.pin, formatWhole(pin, 2));
    }
}

RenumberOutcome handOutAddresses(Table& talsen, const NumberingScheme& scheme,
                                 const Progress& progress, const std::function<void()>& sorted,
                                 const talsen::AddressColumns& columns) {
    ProgressWatch watch(progress);
    const SortKey keys[] = {
        {columns.pos, true}, {columns.type, false}, {columns.size, false}, {columns.time, true}};
    RenumberOutcome outcome{0, talsen.sortRows(keys)};
    if (sorted) sorted();

    const bool talsenScheme = scheme.kind == SchemeKind::Talsen;
    const bool hex = scheme.kind == SchemeKind::CustomHex;
    std::int32_t lastPin = scheme.lastPin;
    std::int32_t moduleLimit = scheme.moduleLimit;
    std::int32_t module = 1;
    std::int32_t pin = scheme.firstPin;
    auto switchToHighModules = [&] {
        lastPin = kTalsenHighPins;
        module = kTalsenHighFirstModule;
        moduleLimit = kTalsenHighLastModule;
        pin = 1;
    };

    std::int32_t lastPosition = positionOf(talsen, 0, columns);
    if (talsenScheme && lastPosition >= kTalsenHighPosition) switchToHighModules();

    int& linesLeft = outcome.linesLeft;
    for (int row = 0; row < talsen.rowCount() && reportRow(watch, row, talsen.rowCount()); ++row) {
        std::int32_t position = positionOf(talsen, row, columns);
        if (position >= 1 && position != lastPosition) {
            lastPosition = position;
            if (talsenScheme && position >= kTalsenHighPosition &&
                module < kTalsenHighFirstModule) {
                switchToHighModules();
            }
            if (pin > scheme.firstPin && module <= moduleLimit) ++module;
            pin = scheme.firstPin;
        }
        if (position >= 1 && module <= moduleLimit) {
            writeAddress(talsen, row, module, pin, hex, columns);
            if (pin < lastPin) {
                ++pin;
            } else {
                pin = scheme.firstPin;
                ++module;
            }
        } else {
            talsen.setText(row, columns.mod, "");
            talsen.setText(row, columns.pin, "");
            if (position >= 1) ++linesLeft;
        }
    }
    return outcome;
}

}  // namespace

Result<RenumberOutcome> RenumberQues(Table& talsen, const NumberingChoice& choice,
                                     const Progress& progress, const std::function<void()>& sorted,
                                     const talsen::AddressColumns& columns) {
    Result<NumberingScheme> scheme = decideNumbering(choice);
    if (!scheme) return Error{scheme.error()};
    if (talsen.rowCount() == 0) return RenumberOutcome{};
    return handOutAddresses(talsen, scheme.value(), progress, sorted, columns);
}

}  // namespace fulgor
