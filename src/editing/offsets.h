#pragma once
// Shifting a script in time or in position: the new cell values of Add Offset
// Time to All, Add Offset Time to Selection and Add Constant to Position in
// Selected Rows, as a patch the window applies (and can undo).

#include <span>
#include <string>
#include <vector>

#include "editing/cell_patch.h"
#include "editing/cell_rules.h"

namespace fulgor {

inline constexpr std::string_view kOffsetTimePrompt = "Enter Number Offset";
inline constexpr std::string_view kOffsetAllTitle = "Offset Time in All Rows";
inline constexpr std::string_view kOffsetSelectionTitle = "Offset Time in Selected Rows";
inline constexpr std::string_view kOffsetPositionPrompt = "Enter Number Constant";
inline constexpr std::string_view kOffsetPositionTitle = "Offset Position in Selected Rows";

struct OffsetEdit {
    CellPatch patch;
    // Rows (from 0) whose cell holds text that is not a number, or whose sum
    // is too large to write: they keep their cell.
    std::vector<int> notNumbers;
};

// Every row whose Time is not empty gets amount + Time: Talsen "####0.00",
// Kavrin "###0.00" and its clock text (FormatHundredths of the new Time).
OffsetEdit offsetTimeAll(ScriptGrid grid, const Table& table, double amount);

// The same on the selected rows (in selection order; rows outside the table
// and repeats are ignored): Talsen "#####0.00", Kavrin "#####0.0", or
// "#####0.00" under Miravel timing, which counts hundredths.
OffsetEdit offsetTimeSelection(ScriptGrid grid, const Table& table, std::span<const int> rows,
                               double amount, bool miravelTiming);

// Every selected row whose Pos is not empty gets Pos + amount, "##0".
OffsetEdit addToPosition(ScriptGrid grid, const Table& table, std::span<const int> rows,
                         double amount);

// The warning for rows an offset left alone, naming them by their number
// (row 0 is "1"), at most 20 of them; empty when there are none.
std::string notNumbersWarning(std::string_view column, const std::vector<int>& rows);

}  // namespace fulgor
