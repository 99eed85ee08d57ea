#pragma once
// Times as text. Times are counted in whole hundredths of a second (6000 a
// minute, 360000 an hour); callers multiply seconds by 100 and round first.

#include <cstdint>
#include <string>

namespace fulgor {

// Clock text H:MM:SS.CC: 0 -> "0:00:00.00", 6150 -> "0:01:01.50",
// 3723456 -> "10:20:34.56". A negative time is written as "-" and the clock
// text of its magnitude.
std::string FormatHundredths(std::int32_t hundredths);
// The same, appended to `out`, for a writer of a clock text a cue.
void appendHundredths(std::int32_t hundredths, std::string& out);

// Timecode HH:MM:SS:FF at 30 frames a second, the frame being the hundredths
// times 0.3 rounded with ties to even: 3723456 -> "10:20:34:17",
// 359999 -> "00:59:59:30". A negative time gets a leading "-" as above.
std::string FormatTimecode(std::int32_t hundredths);

// The four numbers FormatTimecode writes (those of the magnitude, for a
// negative time): a PD record takes them as numbers, and a million records
// need not each be written as text and read back.
struct Timecode {
    std::int32_t hours, minutes, seconds, frames;
};
Timecode timecodeOf(std::int32_t hundredths);

}  // namespace fulgor
