#include "addressing/time_text.h"

#include <cstdlib>

#include "core/number_format.h"
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

}  // namespace

void appendHundredths(std::int32_t hundredths, std::string& out) {
    ClockParts p = split(hundredths);
    if (p.negative) out.push_back('-');
    appendWhole(p.hours, 1, out);
    out.push_back(':');
    appendWhole(p.minutes, 2, out);
    out.push_back(':');
    appendWhole(p.seconds, 2, out);
    out.push_back('.');
    appendWhole(p.centiseconds, 2, out);
}

std::string FormatHundredths(std::int32_t hundredths) {
    std::string text;
    appendHundredths(hundredths, text);
    return text;
}

Timecode timecodeOf(std::int32_t hundredths) {
    ClockParts p = split(hundredths);
    double frames =
        p.centiseconds == 0 ? 0 : roundHalfEven(static_cast<double>(p.centiseconds) * 30 / 100);
    return {static_cast<std::int32_t>(p.hours), static_cast<std::int32_t>(p.minutes),
            static_cast<std::int32_t>(p.seconds), static_cast<std::int32_t>(frames)};
}

std::string FormatTimecode(std::int32_t hundredths) {
    const Timecode t = timecodeOf(hundredths);
    std::string text = hundredths < 0 ? "-" : "";
    text += formatWhole(t.hours, 2) + ':';
    text += formatWhole(t.minutes, 2) + ':';
    text += formatWhole(t.seconds, 2) + ':';
    text += formatWhole(t.frames, 2);
    return text;
}

}  // namespace fulgor
