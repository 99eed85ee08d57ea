#include "app/hand_over.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>

#include "app/cli_commands.h"

namespace fulgor::cli {
namespace {

char** g_arguments = nullptr;

// The full program's path: beside this program's own file.
std::string fullProgramPath() {
    char self[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string folder = n > 0 ? std::string(self, static_cast<std::size_t>(n)) : std::string();
    folder.erase(folder.rfind('/') + 1);
    return folder + "fulgor-gui";
}

}  // namespace

void keepArguments(char* argv[]) {
    g_arguments = argv;
}

int handOver(Io& io) {
    io.out.flush();
    io.err.flush();
    const std::string path = fullProgramPath();
    // glibc reads its tunables once, as a program starts.
    const std::string tunables = withHugePageTunable(std::getenv("GLIBC_TUNABLES"));
    ::setenv("GLIBC_TUNABLES", tunables.c_str(), 1);
    ::execv(path.c_str(), g_arguments);
    io.err << "fulgor: cannot start \"" << path << "\": " << std::strerror(errno) << '\n';
    return kBadUsage;
}

int drawPrint(const Args&, Io& io) {
    return handOver(io);
}

int drawTimeline(const Args&, Io& io) {
    return handOver(io);
}

}  // namespace fulgor::cli
