#include "addressing/numbering_scheme.h"

#include <optional>

#include "addressing/panel_limits.h"
#include "core/leading_number.h"
#include "core/rounding.h"

namespace fulgor {
namespace {

constexpr std::int32_t kCustomDecimalModules = 999;
constexpr std::int32_t kCustomHexModules = 127;  // 7F: a module is written as one hex byte

bool readsAsNumber(const std::string& text) {
    return isDecimalNumber(text) || isHexNumber(text);
}

std::optional<std::int32_t> hexLetterValue(const std::string& text) {
    if (text.size() != 1) return std::nullopt;
    char c = text[0];
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return std::nullopt;
}

Result<std::int32_t> customPin(const std::string& text, const char* end) {
    if (!readsAsNumber(text))
        return Error{std::string("The custom ") + end + " pin \"" + text + "\" is not a number."};
    std::optional<std::int32_t> pin = roundToInt32(leadingNumber(text));
    if (!pin)
        return Error{std::string("The custom ") + end + " pin \"" + text + "\" is too large."};
    return *pin;
}

}  // namespace

Result<NumberingScheme> decideNumbering(const NumberingChoice& choice) {
    switch (choice.option) {
        case NumberingOption::Kavrin:
            return NumberingScheme{SchemeKind::Kavrin, 1, kKavrinPins, kKavrinModules};
        case NumberingOption::Talsen:
            return NumberingScheme{SchemeKind::Talsen, 1, kTalsenPins, kTalsenModules};
        case NumberingOption::Custom:
            break;
    }
    SchemeKind kind;
    std::int32_t lastPin;
    std::int32_t moduleLimit;
    if (readsAsNumber(choice.customHi)) {
        Result<std::int32_t> hi = customPin(choice.customHi, "high");
        if (!hi) return Error{hi.error()};
        kind = SchemeKind::CustomDecimal;
        lastPin = hi.value();
        moduleLimit = kCustomDecimalModules;
    } else if (std::optional<std::int32_t> letter = hexLetterValue(choice.customHi)) {
        kind = SchemeKind::CustomHex;
        lastPin = *letter;
        moduleLimit = kCustomHexModules;
    } else {
        return NumberingScheme{};
    }
    Result<std::int32_t> lo = customPin(choice.customLo, "low");
    if (!lo) return Error{lo.error()};
    return NumberingScheme{kind, lo.value(), lastPin, moduleLimit};
}

}  // namespace fulgor
