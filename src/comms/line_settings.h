#pragma once
// The settings text of a serial line, "19200,N,8,1": baud rate, parity letter,
// data bits and stop bits, separated by commas.

#include <string_view>

#include "core/result.h"

namespace fulgor {

struct LineSettings {
    enum class Parity { None, Even, Odd, Mark, Space };
    enum class StopBits { One, OneAndHalf, Two };

    int baud = 19200;
    Parity parity = Parity::None;
    int dataBits = 8;
    StopBits stopBits = StopBits::One;
};

// Reads a settings text: a positive whole baud rate; parity N, E, O, M or S
// (either case); 5 to 8 data bits; 1, 1.5 or 2 stop bits. Blanks around a part
// are allowed. Fails naming the part it cannot read.
Result<LineSettings> parseLineSettings(std::string_view text);

}  // namespace fulgor
