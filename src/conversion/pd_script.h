#pragma once
// The PD script: the text the PD firing system receives. One "N3" cue record
// per fired cue, in firing order, then one "N9" end record, each line ended
// by CR LF. "Format TS as PD Script" makes it from the Talsen table.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/result.h"
#include "core/script_columns.h"
#include "core/table.h"
#include "files/file_io.h"

namespace fulgor {

inline constexpr std::string_view kPdRefusal =
    "Addresses in Talsenshow script are not formatted for PD!";

struct PdScript {
    std::string text;           // ASCII; with a sink, the part not yet handed on
    std::int64_t records = 0;   // cue records and the end record
    std::int64_t skipped = 0;   // rows or events left out
    std::int32_t lastCue = -1;  // the cue number of the last cue record; -1 before the first
    std::int64_t handedOn = 0;  // characters already handed to a sink

    std::int64_t characters() const { return handedOn + static_cast<std::int64_t>(text.size()); }
};

// A script with room for the records of `rows` rows, or, with a sink, for
// the megabyte handOnPiece lets it hold.
PdScript startPdScript(std::int64_t rows, const ByteSink& sink);

// With a sink, hands the text on once it passes a megabyte, so that a large
// script is never held whole; the caller hands on what is left at the end.
// Without one, keeps it. Fails with the sink's failure.
Status handOnPiece(PdScript& script, const ByteSink& sink);

// Appends a cue record (made by BuildN3Record) and CR LF; fails, appending
// nothing, when a field does not fit its place in the record.
Status appendCueRecord(PdScript& script, const std::array<std::int32_t, 9>& fields);

// Appends the end record "N9" + HexByte(X) + HexByte(255 - X) and CR LF, X
// being the last cue number written integer-divided by 256 (0 when none). A
// cue number of 65536 or more stands in its record as "FFFF" and counts as
// 65535 here too.
void appendEndRecord(PdScript& script);

// Where the Talsen columns that make a PD script stand in the table: the
// script's own places, or those of a table that holds these columns alone.
struct PdColumns {
    int line = talsen::Line;
    int size = talsen::Size;
    int time = talsen::Time;
    int prefire = talsen::Prefire;
    int mod = talsen::Mod;
    int pin = talsen::Pin;
};

// NumberForPD over a table already in firing order: a row is complete when
// Time, Prefire, Mod and Pin are all non-empty; a complete row is PD-ready
// when Mod is hexadecimal text below 80 and Pin is one hexadecimal digit.
// Complete ready rows get Line 1, 2, 3 ... (numbers); all others an empty
// Line. True when no complete row failed.
bool NumberForPD(Table& talsen, const PdColumns& columns = {});

// "Format TS as PD Script" on the Talsen table: sorts it into firing order
// (Time ascending, then Prefire descending as numbers, Mod then Pin ascending
// as text), numbers it with NumberForPD, and writes a cue record for every
// numbered row: its Time as timecode (hours, minutes, seconds, frames),
// Prefire in tenths, the address Mod and Pin as one hex number, Line as the
// cue number, the leading number of Size. Rows left without a Line are
// counted in `skipped`.
// Fails with kPdRefusal when NumberForPD finds a complete row that is not
// PD-ready, and with a message naming the row when a numbered row's value does
// not fit its field (a Time that is not a number, below 0 or of 100 hours or
// more, a Prefire outside 0 to 25.5 s, a Size outside 0 to 255). The table
// keeps its new order and numbering either way; no text is made on a failure.
// With a sink the text goes to it as handOnPiece hands it on, and a failure
// comes after the pieces before it have gone; fails too with the sink's failure.
// Both this and NumberForPD find the table's columns where `columns` says.
Result<PdScript> TalsenToPd(Table& talsen, const ByteSink& sink = {},
                            const PdColumns& columns = {});

}  // namespace fulgor
