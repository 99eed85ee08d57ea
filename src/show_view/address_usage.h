#pragma once
// How a script uses its firing addresses: per module the pins it fires, the
// pins two or more cues share (a fault: the second cue would find its match
// already burnt), the first and last firing time and the number of cues.

#include <optional>
#include <string>
#include <vector>

#include "core/table.h"
#include "editing/cell_rules.h"

namespace fulgor {

// One pin that more than one cue uses, with the cues' names (their Line, or
// "row N" when the Line is empty) in table order.
struct SharedPin {
    std::string pin;
    std::vector<std::string> cues;
};

struct ModuleUsage {
    std::string module;             // as first written in the table
    int cues = 0;                   // cues with this module and a pin
    std::vector<std::string> pins;  // distinct pins, ascending, as first written
    std::vector<SharedPin> shared;  // ascending by pin
    std::optional<double> first;    // earliest and latest readable time, in seconds
    std::optional<double> last;
};

struct AddressUsage {
    std::vector<ModuleUsage> modules;  // ascending by module
    int unaddressed = 0;               // cues (rows not blank) without a Mod or a Pin
    // The number of addresses used by more than one cue.
    int sharedAddresses() const;
};

// The address use of a Talsen or Kavrin table. Modules and pins are told apart
// by their written digits, leading zeros and case aside (see address_key.h).
// Linear in the rows, apart from sorting the distinct addresses.
AddressUsage addressUsage(const Table& table, ScriptGrid grid);

// The pins as runs: "01-05, 07, 09-0B". Pins that are consecutive numbers in
// decimal (all pins of the module plain digits) or else in hexadecimal (all
// pins hex digits) are joined; anything else is listed one by one.
std::string pinRuns(const std::vector<std::string>& pins);

// The usage as a text table for people, and as CSV (a header line, one line
// per module; seconds as plain numbers; fields quoted when they hold a comma
// or a quote). Lines end with "\n".
std::string usageText(const AddressUsage& usage);
std::string usageCsv(const AddressUsage& usage);

// A time as clock text H:MM:SS.CC; plain seconds when it lies beyond the clock.
std::string usageClock(double seconds);

}  // namespace fulgor
