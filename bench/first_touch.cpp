// Times the first write to memory fresh from the system against a write to
// the same amount of memory the program gave back a moment before: the cost
// every command pays for the room its table and sort take, which on a virtual
// machine whose host backs memory only when first used can be several times
// the cost of the memory itself. Explains the kernel's page clearing in the
// commands' profiles and much of the spread between runs.
//   first_touch [MIB]   (default 256)

#include <sys/mman.h>

#include <cstdio>
#include <cstdlib>

#include "bench_support.h"

using namespace fulgor::bench;

namespace {

// Maps `bytes` in huge pages, as the program's large blocks are, writes one
// byte a page and gives them back; the speed in GB/s.
double touchOnce(std::size_t bytes) {
    Stopwatch clock;
    void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) {
        std::perror("mmap");
        std::exit(1);
    }
    madvise(block, bytes, MADV_HUGEPAGE);
    auto* bytesOf = static_cast<volatile char*>(block);
    for (std::size_t at = 0; at < bytes; at += 4096) bytesOf[at] = 1;
    const double seconds = clock.seconds();
    munmap(block, bytes);
    return static_cast<double>(bytes) / 1e9 / seconds;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::size_t mib = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 256;
    const std::size_t bytes = mib << 20;
    std::printf("fresh from the system   %6.1f GB/s\n", touchOnce(bytes));
    std::printf("given back and taken    %6.1f GB/s\n", touchOnce(bytes));
    std::printf("again                   %6.1f GB/s\n", touchOnce(bytes));
    return 0;
}
