#pragma once
// "Send to Talsen": the SD view's events, in its order and under its filter,
// as the rows of a Talsen table.

#include <cstdint>
#include <functional>
#include <string>

#include "conversion/sd_event_source.h"
#include "core/result.h"
#include "core/table.h"

namespace fulgor {

// Which SD field becomes the size: "CAL" or "CGHZ" (the "Cal/Cghz" option pair).
enum class SdSize { Cal, Cghz };

struct SdToTalsenOutcome {
    Table table;                    // talsen:: columns, one row per converted event
    std::int64_t emptyTime = 0;     // events skipped: "time" empty
    std::int64_t emptyAddr = 0;     // events skipped: "ADDR" empty
    std::int64_t addrTooLarge = 0;  // events skipped: "ADDR" 4096 or more
    std::int64_t unreadable = 0;    // events skipped: "time" or "ADDR" not a whole number from 0

    std::int64_t skipped() const { return emptyTime + emptyAddr + addrTooLarge + unreadable; }
};

// Converts every event the source gives, one Talsen row each:
//   Line "CUE", Type "Effect Description", Size "CAL" or "CGHZ", Qty "QTY",
//   Pos "POS", Cost "PRICE1" as stored (numbers stay numbers, texts texts,
//   missing or null values empty);
//   Time from the packed "time" code (hours, minutes, seconds and frames in its
//   four bytes, high first; 30 frames a second), rounded to two decimals;
//   Prefire "PFT" / 10 (empty when "PFT" holds no number);
//   Mod HexByte("ADDR" / 16), Pin one hex digit of "ADDR" % 16;
//   Notes "Event Description" followed by "ANGLE".
// An event whose "time" or "ADDR" is empty, or whose "ADDR" is 4096 or more
// (a module above FF), cannot be written as a Talsen row: it is skipped and
// counted by cause, so the table holds only whole rows.
// Fails only when the database cannot be read.
//
// With `take`, the rows go to it a part of `partRows` rows at a time, given
// with the count of rows handed on before, so that a large show is never held
// whole; the outcome's table is then empty. The taker may keep a part's rows
// by exchanging the part for a table of its own of as many columns, whose
// rows are then dropped and whose room the next part fills. A failure of
// `take` stops the conversion with its failure.
using SdPartTaker = std::function<Status(Table& part, int rowsBefore)>;
Result<SdToTalsenOutcome> SdToTalsen(SdEventSource& source, SdSize size,
                                     const SdPartTaker& take = {}, int partRows = 0);

// What the operator is told after the copy: how many events were skipped and
// why. Empty when none was.
std::string skippedEventsMessage(const SdToTalsenOutcome& outcome);

}  // namespace fulgor
