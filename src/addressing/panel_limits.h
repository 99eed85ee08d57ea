#pragma once
// The address ranges and fire memories of the firing systems, shared by the
// numbering that hands addresses out and the check that tests them.

#include <cstdint>

namespace fulgor {

// Kavrin panel: 12 modules of 45 pins, 550 shots in tenths of a second.
inline constexpr std::int32_t kKavrinModules = 12;
inline constexpr std::int32_t kKavrinPins = 45;
inline constexpr int kKavrinFireMemory = 550;

// Miravel timing drives the panel in hundredths and holds more shots.
inline constexpr int kMiravelFireMemory = 3168;

// Talsen system: positions 0..99 on modules 1..99 of 32 pins; positions from
// 100 on modules 100..199 of 45 pins.
inline constexpr std::int32_t kTalsenModules = 99;
inline constexpr std::int32_t kTalsenPins = 32;
inline constexpr std::int32_t kTalsenHighPosition = 100;
inline constexpr std::int32_t kTalsenHighFirstModule = 100;
inline constexpr std::int32_t kTalsenHighLastModule = 199;
inline constexpr std::int32_t kTalsenHighPins = 45;

}  // namespace fulgor
