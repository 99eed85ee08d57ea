#include "files/file_io.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "core/in_order_worker.h"
#include "core/large_blocks.h"

namespace fulgor {
namespace {

std::optional<WriteFault> g_fault;

Error fileError(const char* what, const std::string& path, const std::string& reason) {
    return Error{std::string(what) + " \"" + path + "\": " + reason};
}

Error fileError(const char* what, const std::string& path, int error) {
    return fileError(what, path, std::strerror(error));
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    // Closes now so that a failing close is seen; false with errno set on failure.
    bool close() {
        int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

std::string sizeText(std::uint64_t bytes) {
    constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
    if (bytes % kGiB == 0) return std::to_string(bytes / kGiB) + " GiB";
    return std::to_string(bytes) + " bytes";
}

// One read of up to `bytes` into `into`, again when a signal cut it short:
// the bytes read, or the error negated.
ssize_t readOnce(int fd, char* into, std::size_t bytes) {
    for (;;) {
        const ssize_t n = ::read(fd, into, bytes);
        if (n >= 0) return n;
        if (errno != EINTR) return -errno;
    }
}

// Hands the rest of `fd` to `take` block by block until it answers false; 0,
// or the error that stopped it. Fails with EFBIG once more than `limit` bytes
// have come. `size` is the file's size, 0 when it tells none.
int readBlocks(int fd, std::uint64_t size, std::uint64_t limit,
               const std::function<bool(std::string_view)>& take) {
    // One huge page (see core/large_blocks.cpp): one trap into the kernel for
    // the whole block, against 256 for 4 KiB pages. A small file takes a
    // block of its own size: a huge page made and cleared for a few bytes
    // costs more than it saves. No string: its closing zero would take a
    // second page.
    constexpr std::size_t kLargestBlock = kHugePageBytes;
    constexpr std::size_t kSmallestBlock = std::size_t{1} << 12;
    const std::size_t blockBytes = size == 0 ? kLargestBlock
                                             : static_cast<std::size_t>(std::clamp<std::uint64_t>(
                                                   size, kSmallestBlock, kLargestBlock));
    auto readInto = [fd, blockBytes](char* into) { return readOnce(fd, into, blockBytes); };
    // A file of more than two blocks is read a block ahead on a helper
    // thread while `take` works on the last, so that copying the bytes out
    // of the system's cache is off this thread's way.
    const bool ahead = size > 2 * blockBytes;
    auto block = std::make_unique_for_overwrite<char[]>(blockBytes);
    auto next = std::make_unique_for_overwrite<char[]>(ahead ? blockBytes : 0);
    ssize_t nextRead = 0;
    std::optional<InOrderWorker> helper;  // last: it stops before the blocks go
    if (ahead) helper.emplace(1);
    std::uint64_t total = 0;
    for (ssize_t n = readInto(block.get());;) {
        if (n < 0) return static_cast<int>(-n);
        if (n == 0) return 0;
        total += static_cast<std::uint64_t>(n);
        if (total > limit) return EFBIG;
        if (ahead) {
            static_cast<void>(helper->add([&] {
                nextRead = readInto(next.get());
                return Status{};
            }));
        }
        const bool more = take(std::string_view(block.get(), static_cast<std::size_t>(n)));
        if (!ahead) {
            if (!more) return 0;
            n = readInto(block.get());
            continue;
        }
        static_cast<void>(helper->finish());
        if (!more) return 0;
        std::swap(block, next);
        n = nextRead;
    }
}

// Writes the pieces a producer makes to one open file, counting what has
// gone out so that a planted fault strikes at the same byte however the
// bytes are cut into pieces.
class FileSink {
public:
    // With `startWriteback`, the disk begins to take each megabyte written
    // while the rest is still being made, so that the fsync that ends a save
    // waits mostly for the last megabyte, not for the whole file.
    explicit FileSink(int fd, bool startWriteback = false)
        : m_fd(fd), m_startWriteback(startWriteback) {}

    // 0, or the error that stopped the writing.
    int write(std::string_view bytes) {
        const std::size_t allowed = g_fault ? g_fault->failAfterBytes : SIZE_MAX;
        std::size_t done = 0;
        while (done < bytes.size()) {
            if (m_written >= allowed) return m_error = g_fault->writeError;
            std::size_t chunk = std::min(bytes.size() - done, allowed - m_written);
            ssize_t n = ::write(m_fd, bytes.data() + done, chunk);
            if (n < 0) {
                if (errno == EINTR) continue;
                return m_error = errno;
            }
            done += static_cast<std::size_t>(n);
            m_written += static_cast<std::size_t>(n);
        }
        if (m_startWriteback && m_written - m_handedToDisk >= kWritebackBytes) {
            // Only a hint: a failure here shows again at the fsync, which reports it.
            ::sync_file_range(m_fd, static_cast<off_t>(m_handedToDisk),
                              static_cast<off_t>(m_written - m_handedToDisk),
                              SYNC_FILE_RANGE_WRITE);
            m_handedToDisk = m_written;
        }
        return 0;
    }

    // Hands every piece `produce` makes to the file; 0 when all went out,
    // else the system's error, or -1 when `produce` itself failed with `failure`.
    int writeAll(const ByteProducer& produce, Status& failure) {
        failure = produce([this](std::string_view piece) -> Status {
            if (write(piece) != 0) return Error{std::strerror(m_error)};
            return {};
        });
        if (m_error) return m_error;
        return failure ? 0 : -1;
    }

private:
    static constexpr std::size_t kWritebackBytes = std::size_t{1} << 20;
    int m_fd;
    bool m_startWriteback;
    std::size_t m_written = 0;
    std::size_t m_handedToDisk = 0;
    int m_error = 0;
};

// The failure of a save: the system's reason, or what stopped the producer.
Error saveError(const std::string& path, int error, const Status& produced) {
    if (error > 0) return fileError("Cannot save", path, error);
    return fileError("Cannot save", path, produced.error());
}

// Removal of the temporary file when SIGINT or SIGTERM stops the process
// mid-save. The handler may only use async-signal-safe calls, so the path
// waits in a buffer prepared before the file is made.
char g_pendingTemporary[PATH_MAX];
volatile std::sig_atomic_t g_hasPendingTemporary = 0;
constexpr int kStopSignals[] = {SIGINT, SIGTERM};

void removeTemporaryThenStop(int signal) {
    if (g_hasPendingTemporary) ::unlink(g_pendingTemporary);
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    ::sigaction(signal, &defaultAction, nullptr);
    ::raise(signal);  // delivered with the default action once the handler returns
}

class TemporaryFileGuard {
public:
    // Only a signal that would stop the process anyway gets the handler: a
    // program that ignores or handles it itself keeps its own behaviour.
    explicit TemporaryFileGuard(const std::string& temporary) : m_temporary(temporary) {
        if (g_hasPendingTemporary || temporary.size() >= sizeof g_pendingTemporary) return;
        std::memcpy(g_pendingTemporary, temporary.c_str(), temporary.size() + 1);
        g_hasPendingTemporary = 1;
        for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
            struct sigaction current {};
            ::sigaction(kStopSignals[i], nullptr, &current);
            if ((current.sa_flags & SA_SIGINFO) || current.sa_handler != SIG_DFL) continue;
            struct sigaction cleanup {};
            cleanup.sa_handler = removeTemporaryThenStop;
            ::sigemptyset(&cleanup.sa_mask);
            m_installed[i] = ::sigaction(kStopSignals[i], &cleanup, nullptr) == 0;
        }
        m_registered = true;
    }
    // The save has made the temporary file: from here on, a save that ends
    // before renaming it, by an error or by an exception such as a producer
    // running out of memory, removes it and leaves the old file as it was.
    void created() { m_created = true; }
    void renamed() { m_created = false; }
    ~TemporaryFileGuard() {
        if (m_created) ::unlink(m_temporary.c_str());
        if (!m_registered) return;
        for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
            if (!m_installed[i]) continue;
            struct sigaction defaultAction {};
            defaultAction.sa_handler = SIG_DFL;
            ::sigaction(kStopSignals[i], &defaultAction, nullptr);
        }
        g_hasPendingTemporary = 0;
    }
    TemporaryFileGuard(const TemporaryFileGuard&) = delete;
    TemporaryFileGuard& operator=(const TemporaryFileGuard&) = delete;

private:
    std::string m_temporary;
    bool m_created = false;
    bool m_registered = false;
    bool m_installed[std::size(kStopSignals)] = {};
};

std::string folderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a chain of symbolic links ends at (which may not exist yet).
Result<std::string> finalTarget(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        char target[PATH_MAX];
        ssize_t n = ::readlink(current.c_str(), target, sizeof target);
        if (n < 0) {
            if (errno == EINVAL || errno == ENOENT) return current;
            return fileError("Cannot save", path, errno);
        }
        if (static_cast<std::size_t>(n) == sizeof target)
            return fileError("Cannot save", path, ENAMETOOLONG);
        std::string next(target, static_cast<std::size_t>(n));
        current = next.starts_with('/') ? next : folderOf(current) + "/" + next;
    }
    return fileError("Cannot save", path, ELOOP);
}

// Beside the target, and named after it so that a user who finds one knows
// where it came from; a name too long for that gets a short one.
std::string temporaryNameFor(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    std::string suffix =
        ".fulgor-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
    std::size_t nameLength = target.size() - (target.rfind('/') + 1);
    if (nameLength + suffix.size() > NAME_MAX) return folderOf(target) + "/" + suffix;
    return target + suffix;
}

int openSocket(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
        return -1;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

Status writeInPlace(const std::string& path, const struct stat& info, const ByteProducer& produce) {
    FileDescriptor file(S_ISSOCK(info.st_mode)
                            ? openSocket(path)
                            : ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) return fileError("Cannot save", path, errno);
    FileSink sink(file.get());
    Status produced;
    if (int error = sink.writeAll(produce, produced)) return saveError(path, error, produced);
    if (!file.close()) return fileError("Cannot save", path, errno);
    return {};
}

Status replaceFile(const std::string& path, const std::string& target,
                   const ByteProducer& produce) {
    struct stat existing {};
    bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) return fileError("Cannot save", path, EISDIR);

    const std::string temporary = temporaryNameFor(target);
    TemporaryFileGuard guard(temporary);
    FileDescriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (file.get() < 0) return fileError("Cannot save", path, errno);
    guard.created();
    auto fail = [&path](int error) { return fileError("Cannot save", path, error); };
    if (exists) {
        // The owner can only be kept where the system allows it; the permissions always are.
        bool sameOwner = existing.st_uid == ::geteuid() && existing.st_gid == ::getegid();
        if (!sameOwner && ::fchown(file.get(), existing.st_uid, existing.st_gid) != 0) {
            // Not allowed: the new file belongs to whoever saved it.
        }
        ::fchmod(file.get(), existing.st_mode & 07777);
    }
    FileSink sink(file.get(), true);
    Status produced;
    if (int error = sink.writeAll(produce, produced)) return saveError(path, error, produced);
    if (::fsync(file.get()) != 0) return fail(errno);
    if (!file.close()) return fail(errno);
    if (g_fault && g_fault->signalBeforeRename) ::raise(g_fault->signalBeforeRename);
    if (g_fault && g_fault->renameError) return fail(g_fault->renameError);
    if (::rename(temporary.c_str(), target.c_str()) != 0) return fail(errno);
    guard.renamed();
    // Makes the rename itself survive a power cut; a folder that cannot be
    // synced still holds the new file.
    FileDescriptor folder(::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) ::fsync(folder.get());
    return {};
}

// readFileBlocks on the file `path` names, open as `fd` and described by `info`.
Status readOpenFileBlocks(const std::string& path, int fd, const struct stat& info,
                          const BlockReader& reader, std::uint64_t limit) {
    if (S_ISDIR(info.st_mode)) return fileError("Cannot read", path, EISDIR);
    const Error tooLarge = fileError("Cannot read", path, "it holds more than " + sizeText(limit));
    const bool regular = S_ISREG(info.st_mode);
    if (regular && static_cast<std::uint64_t>(info.st_size) > limit) return tooLarge;
    reader.begin(regular ? static_cast<std::uint64_t>(info.st_size) : 0);
    if (int error = readBlocks(fd, regular ? static_cast<std::uint64_t>(info.st_size) : 0, limit,
                               reader.take)) {
        if (error == EFBIG) return tooLarge;
        return fileError("Cannot read", path, error);
    }
    return {};
}

// The bytes that `readBlocks` hands on, gathered as readFileBytes gathers a file's.
Result<std::string> gatherFileBytes(const std::string& path,
                                    const std::function<Status(const BlockReader&)>& readBlocks) {
    try {
        // A pipe or device tells no size: its blocks are gathered in large
        // pieces and joined once, so they are never copied at each doubling
        // of one growing string.
        constexpr std::size_t kPiece = std::size_t{16} << 20;
        std::string bytes;
        std::vector<std::string> pieces;
        bool sized = false;
        BlockReader gather{[&](std::uint64_t size) {
                               sized = size > 0;
                               bytes.reserve(static_cast<std::size_t>(size));
                           },
                           [&](std::string_view block) {
                               if (sized) {
                                   bytes.append(block);
                                   return true;
                               }
                               if (pieces.empty() || pieces.back().size() + block.size() > kPiece)
                                   pieces.emplace_back().reserve(std::max(kPiece, block.size()));
                               pieces.back().append(block);
                               return true;
                           }};
        if (Status read = readBlocks(gather); !read) return Error{read.error()};
        if (!sized) {
            std::size_t held = 0;
            for (const std::string& piece : pieces) held += piece.size();
            bytes.reserve(held);
            for (std::string& piece : pieces) {
                bytes += piece;
                std::string().swap(piece);
            }
        }
        return bytes;
    } catch (const std::bad_alloc&) {
        return outOfMemoryReading(path);
    }
}

}  // namespace

Status readFileBlocks(const std::string& path, const BlockReader& reader, std::uint64_t limit) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) return fileError("Cannot open", path, errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) return fileError("Cannot read", path, errno);
    return readOpenFileBlocks(path, file.get(), info, reader, limit);
}

std::optional<std::string> readLeadingLines(const std::string& path, std::size_t bytes) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uint64_t>(info.st_size) <= bytes)
        return std::nullopt;
    std::string head(bytes, '\0');
    std::size_t held = 0;
    while (held < bytes) {
        const ssize_t got = readOnce(file.get(), head.data() + held, bytes - held);
        if (got <= 0) break;
        held += static_cast<std::size_t>(got);
    }
    std::size_t end = std::string_view(head.data(), held).rfind('\n');
    if (end == std::string_view::npos) return std::nullopt;
    head.resize(end + 1);
    return head;
}

Result<std::string> readFileBytes(const std::string& path, std::uint64_t limit) {
    return gatherFileBytes(
        path, [&](const BlockReader& gather) { return readFileBlocks(path, gather, limit); });
}

WholeFile::~WholeFile() {
    if (m_mapping) ::munmap(m_mapping, m_mapped);
}

WholeFile::WholeFile(WholeFile&& other) noexcept
    : m_mapping(std::exchange(other.m_mapping, nullptr)),
      m_mapped(std::exchange(other.m_mapped, 0)),
      m_read(std::move(other.m_read)) {}

WholeFile& WholeFile::operator=(WholeFile&& other) noexcept {
    if (this != &other) {
        if (m_mapping) ::munmap(m_mapping, m_mapped);
        m_mapping = std::exchange(other.m_mapping, nullptr);
        m_mapped = std::exchange(other.m_mapped, 0);
        m_read = std::move(other.m_read);
    }
    return *this;
}

void WholeFile::putAside() const {
    // Only a hint: pages that stay cost memory, not correctness.
    if (m_mapping) ::madvise(m_mapping, m_mapped, MADV_DONTNEED);
}

void WholeFile::bringBack() const {
    // Only a hint: a system without it brings each page back as it is read.
    if (m_mapping) ::madvise(m_mapping, m_mapped, MADV_POPULATE_READ);
}

Result<WholeFile> holdWholeFile(const std::string& path, std::uint64_t limit) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) return fileError("Cannot open", path, errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) return fileError("Cannot read", path, errno);
    WholeFile held;
    // A regular file of no size may still hold bytes (a system's own files
    // do): it is read, like anything else that cannot be mapped. A pipe is
    // read from the one opening, or what was written to it would be lost.
    if (S_ISREG(info.st_mode) && info.st_size > 0 &&
        static_cast<std::uint64_t>(info.st_size) <= limit) {
        const auto size = static_cast<std::size_t>(info.st_size);
        // Every page is asked for at once: one trap into the kernel instead
        // of one every few pages as they are first read.
        void* mapping = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, file.get(), 0);
        if (mapping != MAP_FAILED) {
            held.m_mapping = mapping;
            held.m_mapped = size;
            return held;
        }
    }
    Result<std::string> read = gatherFileBytes(path, [&](const BlockReader& gather) {
        return readOpenFileBlocks(path, file.get(), info, gather, limit);
    });
    if (!read) return Error{read.error()};
    held.m_read = std::move(read.value());
    return held;
}

Error outOfMemoryReading(const std::string& path) {
    return fileError("Cannot read", path, "there is not enough memory to hold it");
}

Error readingStopped(const std::string& path) {
    return fileError("Cannot read", path, "the reading was cancelled");
}

Status writeFileFrom(const std::string& path, const ByteProducer& produce) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) return fileError("Cannot save", path, EISDIR);
        if (!S_ISREG(info.st_mode)) return writeInPlace(path, info, produce);
    }
    Result<std::string> target = finalTarget(path);
    if (!target) return Error{target.error()};
    return replaceFile(path, target.value(), produce);
}

Status writeFileAtomically(const std::string& path, std::string_view bytes) {
    return writeFileFrom(path, [bytes](const ByteSink& sink) { return sink(bytes); });
}

ScopedWriteFault::ScopedWriteFault(WriteFault fault) {
    g_fault = fault;
}

ScopedWriteFault::~ScopedWriteFault() {
    g_fault.reset();
}

namespace {

// A device or pipe cannot be synced; a regular file must reach the disk.
bool syncedToDisk(int file) {
    return ::fsync(file) == 0 || errno == EINVAL;
}

}  // namespace

Status appendToFile(const std::string& path, std::string_view bytes, FileSync sync) {
    FileDescriptor file(
        ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOCTTY | O_CLOEXEC, 0666));
    if (file.get() < 0) return fileError("Cannot append to", path, errno);
    FileSink sink(file.get());
    if (int error = sink.write(bytes)) return fileError("Cannot append to", path, error);
    if (sync == FileSync::Now && !syncedToDisk(file.get()))
        return fileError("Cannot append to", path, errno);
    if (!file.close()) return fileError("Cannot append to", path, errno);
    return {};
}

Status syncFile(const std::string& path) {
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0 || !syncedToDisk(file.get()) || !file.close())
        return fileError("Cannot append to", path, errno);
    return {};
}

}  // namespace fulgor
