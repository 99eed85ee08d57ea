#include "conversion/sd_event_source.h"

#include <cmath>

#include "addressing/hex_text.h"
#include "core/leading_number.h"
#include "core/number_format.h"
#include "core/rounding.h"

namespace fulgor {

std::optional<double> sdNumber(const SdValue& value) {
    std::optional<double> number;
    if (value.kind == SdValue::Kind::Number) number = value.number;
    if (value.kind == SdValue::Kind::Text) number = decimalNumber(value.text);
    if (number && !std::isfinite(*number)) return std::nullopt;
    return number;
}

std::string sdText(const SdValue& value) {
    switch (value.kind) {
        case SdValue::Kind::Number:
            return shortestText(value.number);
        case SdValue::Kind::Text:
            return std::string(value.text);
        default:
            return {};
    }
}

std::string haddrText(const SdValue& addr) {
    std::optional<double> number = sdNumber(addr);
    if (!number) return {};
    std::optional<std::int32_t> whole = roundToInt32(*number);
    if (!whole) return {};
    return hexDigits(static_cast<std::uint32_t>(*whole));
}

}  // namespace fulgor
