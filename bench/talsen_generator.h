#pragma once
// A seeded generator of large, realistic Talsen scripts for the benchmarks:
// rising times, positions 1..99, the usual effect types and sizes, prefires,
// costs and notes; one cue in fifty has no position yet.

#include <cstdint>
#include <random>
#include <string>

namespace fulgor::bench {

inline std::string generateTalsenScript(int rows, std::uint32_t seed) {
    static const char* const kTypes[] = {"Shell", "Comet", "Mine", "Cake", "Roman Candle", "Gerb"};
    static const char* const kSizes[] = {"30mm",  "50mm",  "75mm",   "100mm",
                                         "125mm", "150mm", "25 shot"};
    static const char* const kNotes[] = {"Red peony",
                                         "Gold willow",
                                         "Green palm; left",
                                         "Silver crossette",
                                         "Blue ring",
                                         "Crackling fan centre",
                                         "",
                                         "Strobe mine"};
    std::mt19937 random(seed);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    std::string out = "generated.wav,0.00,Wave File\r\n";
    out.reserve(static_cast<std::size_t>(rows) * 64);
    long long hundredths = 500;
    char buffer[256];
    for (int i = 1; i <= rows; ++i) {
        hundredths += pick(4) * 25;
        int position = pick(50) == 0 ? 0 : 1 + pick(99);
        int prefire = pick(3) == 0 ? 0 : 150 + pick(300);
        std::snprintf(buffer, sizeof buffer, "%d,%s,%s,%lld.%02lld,", i, kTypes[pick(6)],
                      kSizes[pick(7)], hundredths / 100, hundredths % 100);
        out += buffer;
        if (prefire > 0) {
            std::snprintf(buffer, sizeof buffer, "%d.%02d", prefire / 100, prefire % 100);
            out += buffer;
        }
        out += ',';
        out += std::to_string(1 + pick(4));
        out += ',';
        if (position > 0) out += std::to_string(position);
        std::snprintf(buffer, sizeof buffer, ",,,%d.%02d,%s\r\n", 2 + pick(150), pick(100),
                      kNotes[pick(8)]);
        out += buffer;
    }
    return out;
}

}  // namespace fulgor::bench
