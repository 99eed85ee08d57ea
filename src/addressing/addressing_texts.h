#pragma once
// The words the firing-address commands show the operator: box titles,
// questions and messages, each kept here once so the window and the command
// line say exactly the same.

#include <string>
#include <string_view>

namespace fulgor {

// Renumber Cues: the question asked before anything changes.
inline constexpr std::string_view kRenumberTitle = "Renumber Modules and Ques";
inline constexpr std::string_view kContinueQuestion = "Do you want to continue ?";

// Title of the boxes that report cues left without an address and a show too
// long for the panel's fire memory.
inline constexpr std::string_view kAbortedTitle = "Renumber Aborted";

// Group Shots: the show needs more shots than the panel holds.
inline constexpr std::string_view kFireMemoryExceeded = "Exceeded Kavrin Fire Memory!";

// Check Conflicts: title of the box reporting how many rows conflict.
inline constexpr std::string_view kCheckingTitle = "Checking for Conflicts";

// "Out of Modules!", CR LF, the count and " Lines left!".
std::string leftOverMessage(int linesLeft);

// The conflict label: the count and " Time/Module Conflicts present!"; the
// empty text when there are none.
std::string conflictLabelText(int conflicts);

// The conflict box: the count and " found!".
std::string conflictMessageText(int conflicts);

}  // namespace fulgor
