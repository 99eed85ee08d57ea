#include "conversion/sd_to_pd.h"

#include <array>

#include "conversion/sd_view.h"
#include "core/rounding.h"

namespace fulgor {
namespace {

struct RecordField {
    std::string_view name;
    std::optional<int> index;
    bool word;  // four hex digits rather than two
};

std::string fieldProblem(std::int64_t event, const SdValue& cue, std::string_view field,
                         std::string_view cause) {
    std::string text = "Event " + std::to_string(event);
    if (!cue.isEmpty()) text += " (CUE " + sdText(cue) + ")";
    return text + ": the field \"" + std::string(field) + "\" " + std::string(cause) + ".";
}

}  // namespace

SdToPdOutcome SdToPd(SdEventSource& source, SdSize size, const ByteSink& sink) {
    SdToPdOutcome outcome;
    auto fail = [&](std::string_view cause) {
        outcome.failure = sdFailure(kSdToPdSource, cause);
        return outcome;
    };
    if (source.rowCount() == 0)
        return fail("The SD view holds no events: there is nothing to format.");

    const std::optional<int> time = source.fieldIndex("time");
    const std::optional<int> addr = source.fieldIndex("ADDR");
    const std::optional<int> cue = source.fieldIndex("CUE");
    std::string_view sizeName = size == SdSize::Cal ? "CAL" : "CGHZ";
    std::array<RecordField, 8> fields = {{
        {"HH", source.fieldIndex("HH"), false},
        {"MM", source.fieldIndex("MM"), false},
        {"SS", source.fieldIndex("SS"), false},
        {"FF", source.fieldIndex("FF"), false},
        {"PFT", source.fieldIndex("PFT"), false},
        {"ADDR", addr, true},
        {"CUE", cue, true},
        {sizeName, source.fieldIndex(sizeName), false},
    }};
    outcome.script = startPdScript(source.rowCount(), sink);
    std::int64_t event = 0;
    while (true) {
        Result<bool> moved = source.next();
        if (!moved) return fail(moved.error());
        if (!moved.value()) break;
        ++event;
        if (source.value(time).isEmpty() || source.value(addr).isEmpty()) {
            ++outcome.script.skipped;
            continue;
        }
        std::array<std::int32_t, 9> record{};
        record[0] = static_cast<std::int32_t>(outcome.script.records);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            SdValue value = source.value(fields[i].index);
            if (value.kind == SdValue::Kind::Missing)
                return fail(
                    fieldProblem(event, source.value(cue), fields[i].name, "is not in the table"));
            if (value.isEmpty())
                return fail(fieldProblem(event, source.value(cue), fields[i].name, "is empty"));
            std::optional<double> number = sdNumber(value);
            if (!number)
                return fail(fieldProblem(event, source.value(cue), fields[i].name,
                                         "holds \"" + sdText(value) + "\", not a number"));
            std::optional<std::int32_t> whole = roundToInt32(*number);
            bool fits = whole && *whole >= 0 && (fields[i].word || *whole <= 255);
            if (!fits) {
                return fail(fieldProblem(event, source.value(cue), fields[i].name,
                                         "holds " + sdText(value) + ", outside " +
                                             (fields[i].word ? "0 and up" : "0 to 255")));
            }
            record[i + 1] = *whole;
        }
        if (Status appended = appendCueRecord(outcome.script, record); !appended)
            return fail(appended.error());
        if (Status handed = handOnPiece(outcome.script, sink); !handed) {
            outcome.failure = handed.error();
            return outcome;
        }
    }
    appendEndRecord(outcome.script);
    return outcome;
}

}  // namespace fulgor
