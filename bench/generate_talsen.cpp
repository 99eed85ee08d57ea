// Writes a generated Talsen script: generate_talsen ROWS SEED OUT.csv

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "talsen_generator.h"

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: generate_talsen ROWS SEED OUT.csv\n");
        return 1;
    }
    std::string text = fulgor::bench::generateTalsenScript(
        std::atoi(argv[1]), static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)));
    std::ofstream out(argv[3], std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return out ? 0 : 1;
}
