#pragma once
// The light `fulgor` program links no Qt Gui, so that a headless command
// starts in some 10 ms instead of 25; the window and the subcommands that
// draw are run by the full program, `fulgor-gui`, which lies beside it.

#include <string>
#include <string_view>

#include "app/cli.h"

namespace fulgor::cli {

// The value of GLIBC_TUNABLES, given its value now (null when unset), that
// also asks glibc to put its large blocks on huge pages, as
// core/large_blocks.cpp does for the program's own. Qt allocates its own
// arrays with malloc, and for a million rows they are large: the grid's row
// header alone keeps an entry per row, megabytes that otherwise come in 4 KiB
// pages, each a trap into the kernel on first touch. A setting of that
// tunable already there is left as it is.
inline std::string withHugePageTunable(const char* present) {
    constexpr std::string_view kTunable = "glibc.malloc.hugetlb";
    const std::string now = present ? present : "";
    if (now.find(kTunable) != std::string::npos) return now;
    return now + (now.empty() ? "" : ":") + std::string(kTunable) + "=1";
}

// Keeps the program's arguments, to hand them on as they came.
void keepArguments(char* argv[]);

// Runs the full program in this process with the kept arguments, and glibc
// told to use huge pages (see withHugePageTunable). Returns only when it
// cannot be started, having reported why.
int handOver(Io& io);

}  // namespace fulgor::cli
