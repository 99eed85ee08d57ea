#include "app/cli_commands.h"

namespace fulgor::cli {

Command timelineCommand() {
    return {"timeline",
            "SCRIPT.csv|SHOW.kvn --png OUT.png [--width W] [--height H]",
            "Draws a script's timeline (positions against time) to a PNG picture.",
            "  --png OUT.png  the picture to write\n"
            "  --width W      its width in pixels, 200 to 8000 (default 1600)\n"
            "  --height H     its height in pixels, 200 to 8000 (default 900)\n"
            "One mark per cue with a time, on the row of its position (cues without a\n"
            "position on the last row, \"no Pos\"), coloured by module; cues flagged by the\n"
            "conflict check (a number in Err) red, cues without a Mod or a Pin hollow. The\n"
            "time axis has clock labels. The same picture as the window's timeline.\n",
            {{"--png", true}, {"--width", true}, {"--height", true}},
            drawTimeline};
}

}  // namespace fulgor::cli
