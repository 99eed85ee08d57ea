#include "addressing/time_text.h"

#include <charconv>
#include <cstdlib>

#include "core/rounding.h"

namespace fulgor {
namespace {

struct ClockParts {
    bool negative;
    std::int64_t hours, minutes, seconds, centiseconds;
};

ClockParts split(std::int32_t hundredths) {
    std::int64_t rest = std::llabs(static_cast<std::int64_t>(hundredths));
    ClockParts parts{hundredths < 0, 0, 0, 0, 0};
    parts.hours = rest / 360000;
    rest -= parts.hours * 360000;
    parts.minutes = rest / 6000;
    rest -= parts.minutes * 6000;
    parts.seconds = rest / 100;
    parts.centiseconds = rest % 100;
    return parts;
}

// Appends a field of at least `minDigits` digits (zeros pad on the left) and
// its separator, like the masks "#0:", "00:", "00." and "00". Written with
// integer digits rather than formatMask: the Kavrin import writes one clock
// text per cue, and a show can have a million of them.
void appendField(std::string& text, std::int64_t value, std::size_t minDigits,
                 char separator = '\0') {
    char digits[24];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
    auto length = static_cast<std::size_t>(end - digits);
    if (length < minDigits) text.append(minDigits - length, '0');
    text.append(digits, length);
    if (separator != '\0') text.push_back(separator);
}

}  // namespace

std::string FormatHundredths(std::int32_t hundredths) {
    ClockParts p = split(hundredths);
    std::string text = p.negative ? "-" : "";
    appendField(text, p.hours, 1, ':');
    appendField(text, p.minutes, 2, ':');
    appendField(text, p.seconds, 2, '.');
    appendField(text, p.centiseconds, 2);
    return text;
}

std::string FormatTimecode(std::int32_t hundredths) {
    ClockParts p = split(hundredths);
    double frames =
        p.centiseconds == 0 ? 0 : roundHalfEven(static_cast<double>(p.centiseconds) * 30 / 100);
    std::string text = p.negative ? "-" : "";
    appendField(text, p.hours, 2, ':');
    appendField(text, p.minutes, 2, ':');
    appendField(text, p.seconds, 2, ':');
    appendField(text, static_cast<std::int64_t>(frames), 2);
    return text;
}

}  // namespace fulgor
