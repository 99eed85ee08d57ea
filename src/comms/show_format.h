#pragma once
// The text a Kavrin firing panel receives: the show as TAB-separated records,
// each ended by CR LF.
//
//   N <TAB> show name                         only when the show name is not empty
//   S <TAB> Line <TAB> Shot <TAB> Pos <TAB> Time <TAB> Mod <TAB> Pin
//                                             one per cue sent ("s" with Miravel timing)
//   S <TAB> 0 <TAB> 0                         the end record, always upper-case
//
// The table must already be in firing order with its Line and Shot columns
// numbered, that is after NumberShots has run on it; this formatter neither
// sorts nor numbers.

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/progress.h"
#include "core/result.h"
#include "core/script_columns.h"
#include "core/table.h"

namespace fulgor {

// The captions of the three show statistics, in order.
inline constexpr std::array<std::string_view, 3> kShowStatsCaptions = {" Lines", "Characters",
                                                                       "Conflicts"};

// Appends one cue record to `out`: "S" (or "s" with Miravel timing), then the
// six fields Line, Shot, Pos, Time, Mod, Pin as given, all joined by TABs,
// then CR LF. Appended where the show's text grows, so that a million-cue
// show never builds its records one string at a time.
void FormatShowLine(const std::array<std::string_view, 6>& fields, bool miravel, std::string& out);

struct PanelStats {
    std::int64_t lines = 0;            // records, the end record included
    std::int64_t characters = 0;       // characters of the text; CR and LF count one each
    std::int64_t markedRows = 0;       // rows held back because the conflict check marked them
    std::vector<int> untimedRows;      // rows held back because their Time is empty
    std::vector<int> zeroTimeRows;     // rows sent with Time 0: their Time holds no number
    std::vector<int> unaddressedRows;  // rows sent with Mod or Pin 0: that cell holds no number
};

struct PanelText : PanelStats {
    std::string text;  // UTF-8; one Windows-1252 byte per character on the line
};

// Formats the Kavrin table (kavrin:: columns) for the panel.
//
// A row is sent when its Err cell is empty and its Time cell is not. A row
// with an empty Time is held back: NumberShots gave it no shot, and a cue sent
// without a time would fire at the very start of the show.
//
// Each field is the cell's number (a text by its leading number) in its
// shortest decimal form, "0" when below zero or when the cell holds no number
// at all ("tbd", an empty Mod): such rows are listed in zeroTimeRows or
// unaddressedRows so the operator is warned. Time is sent in tenths of a
// second rounded with ties to even (0.25 s -> 2, 0.35 s -> 4), or with Miravel
// timing in hundredths, unrounded (1.15 s -> 115, 12.345 s -> 1234.5).
//
// `lineCounted`, when given, is called after every cue record with the number
// of records so far (the header included), so a window can show the count
// running on a long show.
//
// Fails, naming the Line (row + 1, as NumberShots numbered it) and the column,
// when a sent field is too large for a number (such as "1e999"); the value is
// quoted shortened. Nothing is formatted then. Fails too once `progress` asks
// to stop.
Result<PanelText> formatPanelText(const Table& table, std::string_view showName, bool miravel,
                                  const std::function<void(std::int64_t)>& lineCounted = {},
                                  const Progress& progress = {});

// The same text handed to `sink` in pieces of whole records, about a megabyte
// each, so that a million-cue show's text is never held whole; fails too with
// the sink's failure. A failure comes after the pieces before it have gone.
// The table's columns stand where `columns` says.
using PanelSink = std::function<Status(std::string_view piece)>;
Result<PanelStats> writePanelText(const Table& table, std::string_view showName, bool miravel,
                                  const PanelSink& sink,
                                  const std::function<void(std::int64_t)>& lineCounted = {},
                                  const Progress& progress = {},
                                  const kavrin::PanelColumns& columns = {});

// The message about rows held back for an empty Time, naming their Lines;
// empty when there are none.
std::string heldBackUntimedMessage(std::span<const int> untimedRows);

// The warnings about rows sent with 0 for a value they lack, naming their
// Lines: Time first, then module or pin. None when every sent row had them.
std::vector<std::string> sentAsZeroWarnings(const PanelStats& panel);

}  // namespace fulgor
