// Writes a generated SD show database: generate_sd_show EVENTS OUT.scx

#include <cstdio>
#include <cstdlib>

#include "sd_show_generator.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: generate_sd_show EVENTS OUT.scx\n");
        return 1;
    }
    if (!fulgor::bench::generateSdShow(argv[2], std::atoi(argv[1]))) {
        std::fprintf(stderr, "generate_sd_show: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
