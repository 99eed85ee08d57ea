#pragma once
// "Format SD as PD Script": the SD view's events, in its order and under its
// filter, written straight out as PD cue records.

#include <optional>
#include <string>
#include <string_view>

#include "conversion/pd_script.h"
#include "conversion/sd_event_source.h"
#include "conversion/sd_to_talsen.h"

namespace fulgor {

// The source named in this command's failure messages.
inline constexpr std::string_view kSdToPdSource = "Format SD as PD Script";

struct SdToPdOutcome {
    PdScript script;  // what was formed; complete only when `failure` is empty
    // "Format SD as PD Script:" line break the cause, naming the event and field.
    std::optional<std::string> failure;
};

// An event is fired when its "time" and "ADDR" are both non-empty; others are
// counted in `skipped`. A fired event's record holds: the record number,
// "HH", "MM", "SS", "FF", "PFT", "ADDR", "CUE" and "CAL" or "CGHZ", each taken
// as a whole number (a fraction rounds, ties to even). Neither sorts nor
// renumbers. The end record follows the last cue record.
// Stops at the first failure, keeping the records before it and writing no
// end record: an empty view, a fired event with a field missing, null, empty
// or not a number, a value outside its field (0 to 255; "ADDR" and "CUE" from
// 0, 65536 and more written "FFFF"), or a database that cannot be read.
// With a sink the text goes to it as handOnPiece hands it on; the caller hands
// on what is left in `script.text`. A failing sink stops the formatting with
// its failure.
SdToPdOutcome SdToPd(SdEventSource& source, SdSize size, const ByteSink& sink = {});

}  // namespace fulgor
