#pragma once
// The columns of the two script tables, in file order.

#include <array>
#include <string_view>

namespace fulgor {

namespace talsen {
enum Column { Line, Type, Size, Time, Prefire, Qty, Pos, Mod, Pin, Cost, Notes, ColumnCount };
inline constexpr std::array<std::string_view, ColumnCount> kCaptions = {
    "Line", "Type", "Size", "Time", "Prefire", "Qty", "Pos", "Mod", "Pin", "Cost", "Notes"};

// Where the columns that Renumber Cues uses stand in a Talsen table: the
// script's own places, or those of a table that holds these columns alone.
struct AddressColumns {
    int type = Type;
    int size = Size;
    int time = Time;
    int pos = Pos;
    int mod = Mod;
    int pin = Pin;
};
}  // namespace talsen

namespace kavrin {
enum Column {
    Line,
    Shot,
    Pos,
    Time,
    Mod,
    Pin,
    Clock,
    TsRef,
    Err,
    Size,
    Qty,
    Type,
    Notes,
    ColumnCount
};
inline constexpr std::array<std::string_view, ColumnCount> kCaptions = {
    "Line",   "Shot", "Pos",  "Time", "Mod",  "Pin",  "hh:mm:ss.t",
    "TS Ref", "Err",  "Size", "Qty",  "Type", "Notes"};

// Where the columns that shot numbering, the conflict check and the panel
// text use stand in a Kavrin table: the script's own places, or those of a
// table that holds some of these columns alone, -1 for one it does not hold.
struct PanelColumns {
    int line = Line;
    int shot = Shot;
    int pos = Pos;
    int time = Time;
    int mod = Mod;
    int pin = Pin;
    int err = Err;
};
}  // namespace kavrin

}  // namespace fulgor
