#pragma once
// Whole-file reading and the one writer every save goes through. Error
// messages name the file and give the system's reason.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/result.h"

namespace fulgor {

// The most a script file may hold: 2 GiB. A larger input (or one without end,
// such as /dev/zero) is refused rather than exhausting memory.
inline constexpr std::uint64_t kInputLimitBytes = std::uint64_t{1} << 31;

// The bytes of the file at `path`, which may be a regular file, a pipe or a
// device. Fails with "Cannot open "PATH": REASON" or "Cannot read "PATH":
// REASON" when the file cannot be opened or read, is a folder, holds more than
// `limit` bytes, or does not fit in memory.
Result<std::string> readFileBytes(const std::string& path, std::uint64_t limit = kInputLimitBytes);

// A file's bytes held whole, for a reader whose results keep pointing into
// them: a regular file is mapped from the system's cache, which costs neither
// a copy nor fresh memory; a pipe, a device, or a file the system will not map
// is read into memory as readFileBytes reads it. A mapped file that another
// program shortens meanwhile stops this one with SIGBUS, as with any mapping.
class WholeFile {
public:
    WholeFile() = default;
    ~WholeFile();
    WholeFile(WholeFile&& other) noexcept;
    WholeFile& operator=(WholeFile&& other) noexcept;

    std::string_view bytes() const {
        return m_mapping ? std::string_view(static_cast<const char*>(m_mapping), m_mapped)
                         : std::string_view(m_read);
    }
    // For a command that works a while between reading the bytes and reading
    // them again: a mapped file's pages leave the program's memory meanwhile,
    // staying in the system's cache, from where they come back as they are
    // read, or all at once with bringBack. Nothing changes for a file read
    // into memory.
    void putAside() const;
    void bringBack() const;

private:
    friend Result<WholeFile> holdWholeFile(const std::string& path, std::uint64_t limit);
    void* m_mapping = nullptr;
    std::size_t m_mapped = 0;
    std::string m_read;
};

// The file at `path` held whole; fails as readFileBytes does.
Result<WholeFile> holdWholeFile(const std::string& path, std::uint64_t limit = kInputLimitBytes);

// What reads a file block by block: `begin` learns the file's size (0 when
// it tells none, as a pipe), then `take` gets every block in order and answers
// false to stop the reading there.
struct BlockReader {
    std::function<void(std::uint64_t size)> begin;
    std::function<bool(std::string_view block)> take;
};

// Reads the file at `path` as readFileBytes does, with the same failures,
// without ever holding more of it than two blocks: the one `take` is given
// and, in a large regular file, the next, read meanwhile.
Status readFileBlocks(const std::string& path, const BlockReader& reader,
                      std::uint64_t limit = kInputLimitBytes);

// The whole lines at the start of the regular file at `path`, read from its
// first `bytes` bytes, for a window that shows a large file's first screen
// while the rest is read. Nothing when the file is no larger than that (it
// reads in no time), is not a regular file (a pipe's bytes, once taken, would
// be gone from the real read), has no line break there, or cannot be read:
// the real read then reports what is wrong.
std::optional<std::string> readLeadingLines(const std::string& path, std::size_t bytes);

// "Cannot read "PATH": there is not enough memory to hold it", for readers
// that run out of memory while building what they read.
Error outOfMemoryReading(const std::string& path);
// "Cannot read "PATH": the reading was cancelled", for a read the user stopped.
Error readingStopped(const std::string& path);

// Writes `bytes` to `path`, never destroying what was there on failure:
// - a regular file, or a name that does not exist yet, is replaced as a whole:
//   the bytes go to a temporary file in the same folder, which is flushed to
//   disk and renamed over the target. A replaced file keeps its permissions
//   (and, where allowed, its owner).
// - a symbolic link is followed to its final target, which is replaced in the
//   target's folder; the link itself stays.
// - an existing target that is not a regular file (a device, a pipe, a socket,
//   a terminal) is opened and written in place.
// Fails with "Cannot save "PATH": REASON" (REASON as the system gives it, for
// example "No space left on device"). After any failure, and when the process
// is stopped by SIGINT or SIGTERM during the save, no temporary file is left.
Status writeFileAtomically(const std::string& path, std::string_view bytes);

// Whether an append waits for the disk: a stream of small appends (a serial
// capture, many a second) would stall on every one, so it syncs once, at its
// end, with syncFile.
enum class FileSync { Now, AtEnd };

// Adds `bytes` to the end of the file at `path`, creating it when missing;
// never truncates or rewrites what is there. With FileSync::Now the bytes are
// flushed to disk before it returns. Fails with "Cannot append to "PATH":
// REASON"; a failed write may leave part of the bytes at the end.
Status appendToFile(const std::string& path, std::string_view bytes, FileSync sync = FileSync::Now);
// Flushes to disk what was appended to the file at `path` with FileSync::AtEnd;
// fails as appendToFile does.
Status syncFile(const std::string& path);

// Takes the next piece of a file's bytes; fails when it cannot be written.
using ByteSink = std::function<Status(std::string_view piece)>;
// Makes a file's bytes, handing them to the sink piece by piece in order, and
// returns the first failure: its own, or the sink's (which it must pass on).
using ByteProducer = std::function<Status(const ByteSink& sink)>;

// writeFileAtomically for bytes made piece by piece, so that a large file is
// never held whole in memory. When `produce` fails, the save fails with
// "Cannot save "PATH": " and its error, and a replaced file is left as it
// was (a device or pipe may have received the pieces made before).
Status writeFileFrom(const std::string& path, const ByteProducer& produce);

// Makes the writer fail on purpose while an instance lives, so that failed
// saves can be tested without a full disk or a read-only folder. Not for use
// by more than one thread at a time.
struct WriteFault {
    // A write fails with `writeError` once this many bytes have been written.
    std::size_t failAfterBytes = SIZE_MAX;
    int writeError = 0;
    // The final rename fails with this error when it is not 0.
    int renameError = 0;
    // This signal is raised once the temporary file is written, before the
    // rename, when it is not 0: a stop in the middle of a save.
    int signalBeforeRename = 0;
};

class ScopedWriteFault {
public:
    explicit ScopedWriteFault(WriteFault fault);
    ~ScopedWriteFault();
    ScopedWriteFault(const ScopedWriteFault&) = delete;
    ScopedWriteFault& operator=(const ScopedWriteFault&) = delete;
};

}  // namespace fulgor
