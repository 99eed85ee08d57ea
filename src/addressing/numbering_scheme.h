#pragma once
// The cue numbering scheme: which pins a module has, how many modules may be
// handed out and whether addresses are written in decimal or hexadecimal,
// decided from the "Cue Numbering" option buttons and the custom range texts.

#include <cstdint>
#include <string>

#include "core/result.h"

namespace fulgor {

enum class NumberingOption { Kavrin, Talsen, Custom };

// What the operator chose; the texts matter only for the custom option.
struct NumberingChoice {
    NumberingOption option = NumberingOption::Kavrin;
    std::string customLo = "0";
    std::string customHi = "F";
};

enum class SchemeKind { Kavrin, Talsen, CustomDecimal, CustomHex, None };

struct NumberingScheme {
    SchemeKind kind = SchemeKind::None;
    std::int32_t firstPin = 0;
    std::int32_t lastPin = 0;
    std::int32_t moduleLimit = 0;  // highest module number that may be handed out
};

// Decides the scheme, testing in this order:
// - Kavrin: pins 1..45, modules up to 12;
// - Talsen: pins 1..32, modules up to 99 (positions from 100 switch to
//   modules 100..199 of 45 pins while renumbering);
// - Custom, when the high text reads as a number (the whole text a decimal
//   number, with sign, decimals or exponent allowed, or "&H" hexadecimal):
//   decimal addresses, pins low..high, modules up to 999;
// - Custom, when the high text is exactly one letter A-F or a-f: hexadecimal
//   addresses, pins low..that letter's value, modules up to 127;
// - otherwise kind None with every field 0, so that no address is handed out
//   ("1F" is neither a number nor a single letter).
// Both custom ends are rounded to whole pins, halves to even.
// Fails, with a message naming the text, when a custom scheme applies but the
// low text does not read as a number (the test above), or when either end does
// not fit a 32-bit integer: nothing sensible can be handed out, and guessing a
// pin 0 would mislabel every cue.
Result<NumberingScheme> decideNumbering(const NumberingChoice& choice);

}  // namespace fulgor
