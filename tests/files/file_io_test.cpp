#include "files/file_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <new>
#include <optional>
#include <set>
#include <thread>

#include "support/temp_dir.h"

namespace fulgor {
namespace {

namespace fs = std::filesystem;
using test::namesIn;
using test::readBytes;
using test::TempDir;
using test::writeBytes;
using Names = std::set<std::string>;

bool isLink(const fs::path& path) {
    return fs::is_symlink(fs::symlink_status(path));
}

// Everything a descriptor gives until its end.
std::string drain(int fd) {
    std::string bytes;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, static_cast<std::size_t>(n));
    return bytes;
}

// The bytes read, or the error when the read failed.
std::string sizeOrError(const Result<std::string>& read) {
    return read.ok() ? std::to_string(read.value().size()) + " bytes" : read.error();
}

TEST(FileWriter, ReplacesOrCreatesARegularFileKeepingItsPermissionsAndNothingElse) {
    TempDir dir;
    const std::string path = dir.path("show.csv");
    const std::string longName = std::string(250, 'n') + ".csv";  // too long for a temporary name
    writeBytes(path, "old");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(writeFileAtomically(path, "new bytes").ok());
    EXPECT_EQ(readBytes(path), "new bytes");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));
    ASSERT_TRUE(writeFileAtomically(dir.path(longName), "").ok());
    EXPECT_TRUE(fs::is_regular_file(dir.path(longName)));
    EXPECT_EQ(fs::file_size(dir.path(longName)), 0u);
    EXPECT_EQ(namesIn(dir.root()), (Names{"show.csv", longName}));
    // A large save hands its megabytes to the disk as it goes: every byte arrives, in order.
    std::string large(5 << 20, '\0');
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>('a' + i % 23);
    ASSERT_TRUE(writeFileFrom(path, [&](const ByteSink& sink) -> Status {
                    for (std::size_t at = 0; at < large.size(); at += 700000) {
                        if (Status status = sink(std::string_view(large).substr(at, 700000));
                            !status)
                            return status;
                    }
                    return {};
                }).ok());
    EXPECT_TRUE(readBytes(path) == large);
}

TEST(FileWriter, SymbolicLinksStayAndTheirFinalTargetIsWritten) {
    TempDir dir;
    const fs::path& root = dir.root();
    fs::create_directory(root / "shows");
    writeBytes(dir.path("shows/v3.csv"), "version 3");
    // show.csv -> current.csv -> shows/v3.csv, both relative to their own folder.
    fs::create_symlink("shows/v3.csv", root / "current.csv");
    fs::create_symlink("current.csv", root / "show.csv");
    ASSERT_TRUE(writeFileAtomically(dir.path("show.csv"), "version 4").ok());
    EXPECT_TRUE(isLink(root / "show.csv") && isLink(root / "current.csv"));
    EXPECT_EQ(readBytes(dir.path("shows/v3.csv")), "version 4");
    EXPECT_EQ(namesIn(root / "shows"), Names{"v3.csv"});

    // A link whose target does not exist yet creates it.
    fs::create_symlink(root / "shows" / "v5.csv", root / "next.csv");
    ASSERT_TRUE(writeFileAtomically(dir.path("next.csv"), "version 5").ok());
    EXPECT_TRUE(isLink(root / "next.csv"));
    EXPECT_EQ(readBytes(dir.path("shows/v5.csv")), "version 5");

    // A link to a folder is refused like the folder itself.
    fs::create_directory_symlink("shows", root / "folder.csv");
    EXPECT_EQ(writeFileAtomically(dir.path("folder.csv"), "x").error(),
              "Cannot save \"" + dir.path("folder.csv") + "\": Is a directory");
}

TEST(FileWriter, PipesSocketsAndDevicesAreWrittenInPlace) {
    TempDir dir;
    const std::string bytes(200000, 'p');  // more than a pipe holds at once
    const std::string fifo = dir.path("panel.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string fromFifo;
    std::thread fifoReader([&] { fromFifo = readBytes(fifo); });
    Status toFifo = writeFileAtomically(fifo, bytes);
    fifoReader.join();
    EXPECT_EQ(toFifo.error(), "");
    EXPECT_EQ(fromFifo, bytes);
    EXPECT_TRUE(fs::is_fifo(fifo));

    const std::string socketPath = dir.path("panel.sock");
    int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    std::string fromSocket;
    std::thread socketReader([&] {
        int connection = ::accept(listener, nullptr, nullptr);
        fromSocket = drain(connection);
        ::close(connection);
    });
    Status toSocket = writeFileAtomically(socketPath, bytes);
    socketReader.join();
    ::close(listener);
    EXPECT_EQ(toSocket.error(), "");
    EXPECT_EQ(fromSocket, bytes);
    EXPECT_EQ(namesIn(dir.root()), (Names{"panel.fifo", "panel.sock"}));

    EXPECT_TRUE(writeFileAtomically("/dev/null", "discarded").ok());
    EXPECT_EQ(writeFileAtomically("/dev/full", "x").error(),
              "Cannot save \"/dev/full\": No space left on device");
    EXPECT_TRUE(fs::is_character_file("/dev/null") && fs::is_character_file("/dev/full"));
}

// The save's message, from a child process that first gives up the file
// permission overrides (root has them): the folder's mode then binds it as it
// binds any operator's account. Empty when the save succeeded.
std::string saveWithoutFileOverrides(const std::string& path, const std::string& bytes) {
    int pipe[2];
    if (::pipe(pipe) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child < 0) return "no child";
    if (child == 0) {
        ::close(pipe[0]);
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct caps[_LINUX_CAPABILITY_U32S_3]{};
        if (::syscall(SYS_capget, &header, caps) != 0) ::_exit(2);
        for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
            caps[0].effective &= ~(1u << cap);
        if (::syscall(SYS_capset, &header, caps) != 0) ::_exit(2);
        const std::string message = writeFileAtomically(path, bytes).error();
        const bool sent = ::write(pipe[1], message.data(), message.size()) ==
                          static_cast<ssize_t>(message.size());
        ::_exit(sent ? 0 : 2);
    }
    ::close(pipe[1]);
    const std::string message = drain(pipe[0]);
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? message : "the child failed";
}

TEST(FileWriter, AFailedSaveKeepsTheOldFileAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.path("show.csv");
    const struct {
        WriteFault fault;
        const char* reason;
    } cases[] = {
        {{.failAfterBytes = 4, .writeError = ENOSPC}, "No space left on device"},
        {{.failAfterBytes = 0, .writeError = EIO}, "Input/output error"},
        {{.renameError = EACCES}, "Permission denied"},
    };
    for (const auto& c : cases) {
        writeBytes(path, "old show");
        Status status = [&] {
            ScopedWriteFault fault(c.fault);
            return writeFileAtomically(path, "the new show");
        }();
        EXPECT_EQ(status.error(), "Cannot save \"" + path + "\": " + c.reason);
        EXPECT_EQ(readBytes(path), "old show") << c.reason;
        EXPECT_EQ(namesIn(dir.root()), Names{"show.csv"}) << c.reason;
    }
    // A producer that throws part-way, as one out of memory does.
    writeBytes(path, "old show");
    EXPECT_THROW((void)writeFileFrom(path,
                                     [](const ByteSink& sink) -> Status {
                                         (void)sink(std::string(1 << 20, 'n'));
                                         throw std::bad_alloc();
                                     }),
                 std::bad_alloc);
    EXPECT_EQ(readBytes(path), "old show");
    EXPECT_EQ(namesIn(dir.root()), Names{"show.csv"});
    // Exactly as many bytes as the fault allows is no failure.
    {
        ScopedWriteFault fault({.failAfterBytes = 3, .writeError = ENOSPC});
        ASSERT_TRUE(writeFileAtomically(path, "new").ok());
    }
    EXPECT_EQ(readBytes(path), "new");
    // Once the fault is gone, saves work again.
    ASSERT_TRUE(writeFileAtomically(path, "the new show").ok());
    EXPECT_EQ(readBytes(path), "the new show");

    // A read-only folder refuses the temporary file; the same child saves
    // where the folder allows it.
    fs::permissions(dir.root(), fs::perms(0555));
    const std::string refused = saveWithoutFileOverrides(path, "newer show");
    fs::permissions(dir.root(), fs::perms::owner_all);
    EXPECT_EQ(refused, "Cannot save \"" + path + "\": Permission denied");
    EXPECT_EQ(readBytes(path), "the new show");
    EXPECT_EQ(namesIn(dir.root()), Names{"show.csv"});
    EXPECT_EQ(saveWithoutFileOverrides(path, "newer show"), "");
    EXPECT_EQ(readBytes(path), "newer show");
}

// A save stopped by a signal in a child process: the child dies of the signal,
// the old file stays and the temporary file is gone.
TEST(FileWriter, StoppingTheProcessMidSaveRemovesTheTemporaryFile) {
    for (int signal : {SIGINT, SIGTERM}) {
        TempDir dir;
        const std::string path = dir.path("show.csv");
        writeBytes(path, "old show");
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ScopedWriteFault fault({.signalBeforeRename = signal});
            (void)writeFileAtomically(path, std::string(1 << 20, 'n'));
            ::_exit(0);  // reached only when the signal did not stop the save
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << strsignal(signal);
        EXPECT_EQ(WTERMSIG(status), signal);
        EXPECT_EQ(readBytes(path), "old show");
        EXPECT_EQ(namesIn(dir.root()), Names{"show.csv"}) << strsignal(signal);
    }
    // The save put the default action back: it leaves no handler behind.
    struct sigaction current {};
    ::sigaction(SIGTERM, nullptr, &current);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
}

// A log only ever grows: what was there stays, whatever fails.
TEST(FileAppender, AddsToTheEndCreatesWhenMissingAndNamesTheFileOnFailure) {
    TempDir dir;
    const std::string log = dir.path("log.txt");
    ASSERT_TRUE(appendToFile(log, "first\n"));
    ASSERT_TRUE(appendToFile(log, "second\n"));
    EXPECT_EQ(readBytes(log), "first\nsecond\n");
    EXPECT_EQ(appendToFile(dir.path(""), "x").error(),
              "Cannot append to \"" + dir.path("") + "\": Is a directory");
    EXPECT_EQ(appendToFile("/dev/full", "x").error(),
              "Cannot append to \"/dev/full\": No space left on device");
    {
        ScopedWriteFault fault({.failAfterBytes = 3, .writeError = EIO});
        EXPECT_EQ(appendToFile(log, "third\n").error(),
                  "Cannot append to \"" + log + "\": Input/output error");
    }
    EXPECT_EQ(readBytes(log).substr(0, 13), "first\nsecond\n");

    // Appends that wait for their end to reach the disk.
    const std::string capture = dir.path("capture.log");
    ASSERT_TRUE(appendToFile(capture, "a", FileSync::AtEnd));
    ASSERT_TRUE(appendToFile(capture, "b", FileSync::AtEnd));
    ASSERT_TRUE(syncFile(capture));
    EXPECT_EQ(readBytes(capture), "ab");
    EXPECT_EQ(syncFile(dir.path("gone.log")).error(),
              "Cannot append to \"" + dir.path("gone.log") + "\": No such file or directory");
}

// What a file's bytes read or held whole give, with `limit`.
using WholeRead = Result<std::string> (*)(const std::string& path, std::uint64_t limit);

// The bytes holdWholeFile holds, or its error, the holder moved first: the
// bytes go where it goes.
Result<std::string> heldBytes(const std::string& path, std::uint64_t limit) {
    Result<WholeFile> held = holdWholeFile(path, limit);
    if (!held) return Error{held.error()};
    WholeFile moved = std::move(held.value());
    WholeFile target;
    target = std::move(moved);
    return std::string(target.bytes());
}

// What `bytes` gives when read back through a named pipe, with `limit`.
Result<std::string> readThroughPipe(const std::string& fifo, const std::string& bytes,
                                    std::uint64_t limit, WholeRead read = readFileBytes) {
    ::unlink(fifo.c_str());
    ::mkfifo(fifo.c_str(), 0600);
    std::thread writer([&] {
        int fd = ::open(fifo.c_str(), O_WRONLY);
        for (std::size_t done = 0; done < bytes.size();) {
            ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0) break;  // the reader stopped at its limit
            done += static_cast<std::size_t>(n);
        }
        ::close(fd);
    });
    Result<std::string> got = read(fifo, limit);
    writer.join();
    return got;
}

TEST(FileReader, InputIsLimitedOnBothSidesOfTheLimit) {
    TempDir dir;
    const std::string fifo = dir.path("input.fifo"), path = dir.path("show.csv");
    std::string bytes(40 << 20, '\0');  // more than two of the reader's blocks
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
    Result<std::string> whole = readThroughPipe(fifo, bytes, kInputLimitBytes);
    ASSERT_TRUE(whole.ok()) << whole.error();
    EXPECT_TRUE(whole.value() == bytes);
    const std::string size = std::to_string(bytes.size());
    EXPECT_EQ(sizeOrError(readThroughPipe(fifo, bytes, bytes.size())), size + " bytes");
    EXPECT_EQ(sizeOrError(readThroughPipe(fifo, bytes, bytes.size() - 1)),
              "Cannot read \"" + fifo + "\": it holds more than " +
                  std::to_string(bytes.size() - 1) + " bytes");

    // A regular file of more than two blocks is read a block ahead: whole and
    // in order, and a reader that stops is given no more.
    writeBytes(path, bytes);
    Result<std::string> file = readFileBytes(path);
    ASSERT_TRUE(file.ok()) << file.error();
    EXPECT_TRUE(file.value() == bytes);
    std::string taken;
    int blocks = 0;
    ASSERT_TRUE(readFileBlocks(path, {[](std::uint64_t) {},
                                      [&](std::string_view block) {
                                          taken += block;
                                          return ++blocks < 2;
                                      }})
                    .ok());
    EXPECT_EQ(blocks, 2);
    EXPECT_EQ(taken.size(), std::size_t{4} << 20);
    EXPECT_TRUE(bytes.starts_with(taken));

    writeBytes(path, std::string(1024, 'a'));
    EXPECT_EQ(sizeOrError(readFileBytes(path, 1024)), "1024 bytes");
    EXPECT_EQ(sizeOrError(readFileBytes(path, 1023)),
              "Cannot read \"" + path + "\": it holds more than 1023 bytes");
    // An input without end stops at the limit.
    EXPECT_EQ(sizeOrError(readFileBytes("/dev/zero", 1 << 20)),
              "Cannot read \"/dev/zero\": it holds more than 1048576 bytes");
    // A file beyond the usual limit is refused before a byte of it is read.
    fs::resize_file(path, kInputLimitBytes + 1);  // sparse: takes no room on disk
    EXPECT_EQ(sizeOrError(readFileBytes(path)),
              "Cannot read \"" + path + "\": it holds more than 2 GiB");
}

// A file held whole, mapped or read, is what reading it gives, and fails
// with the same message: regular files of every size, pipes on both sides of
// the limit, a system file that tells no size, and files that cannot be read.
TEST(FileReader, AFileHeldWholeIsWhatReadingItGives) {
    TempDir dir;
    const std::string path = dir.path("show.kvn");
    std::string large(5 << 20, '\0');
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 13 + i / 509);
    for (const std::string& bytes :
         {std::string(), std::string("a"), std::string(4097, 'b'), large}) {
        writeBytes(path, bytes);
        Result<std::string> held = heldBytes(path, kInputLimitBytes);
        ASSERT_TRUE(held.ok()) << held.error();
        EXPECT_TRUE(held.value() == bytes) << bytes.size() << " bytes";
    }
    writeBytes(path, std::string(1024, 'a'));
    EXPECT_EQ(sizeOrError(heldBytes(path, 1024)), "1024 bytes");
    EXPECT_EQ(sizeOrError(heldBytes(path, 1023)),
              "Cannot read \"" + path + "\": it holds more than 1023 bytes");

    const std::string fifo = dir.path("input.fifo");
    EXPECT_TRUE(sizeOrError(readThroughPipe(fifo, large, large.size(), heldBytes)) ==
                std::to_string(large.size()) + " bytes");
    Result<std::string> piped = readThroughPipe(fifo, large, kInputLimitBytes, heldBytes);
    ASSERT_TRUE(piped.ok()) << piped.error();
    EXPECT_TRUE(piped.value() == large);
    EXPECT_EQ(sizeOrError(readThroughPipe(fifo, large, large.size() - 1, heldBytes)),
              "Cannot read \"" + fifo + "\": it holds more than " +
                  std::to_string(large.size() - 1) + " bytes");

    Result<std::string> status = heldBytes("/proc/self/status", kInputLimitBytes);
    ASSERT_TRUE(status.ok()) << status.error();
    EXPECT_TRUE(status.value().starts_with("Name:")) << status.value();
    for (const std::string& unreadable : {dir.path("missing.kvn"), dir.root().string()}) {
        Result<std::string> read = readFileBytes(unreadable);
        ASSERT_FALSE(read.ok()) << unreadable;
        EXPECT_EQ(sizeOrError(heldBytes(unreadable, kInputLimitBytes)), read.error());
    }
}

TEST(FileReader, LeadingLinesAreTheWholeLinesOfALargerRegularFilesStart) {
    TempDir dir;
    const std::string path = dir.path("show.csv");
    writeBytes(path, "ab\r\ncd\r\nef\r\n");  // 12 bytes
    // The lines that end within the bytes asked for, and only whole ones.
    EXPECT_EQ(readLeadingLines(path, 11), std::optional<std::string>("ab\r\ncd\r\n"));
    EXPECT_EQ(readLeadingLines(path, 8), std::optional<std::string>("ab\r\ncd\r\n"));
    EXPECT_EQ(readLeadingLines(path, 7), std::optional<std::string>("ab\r\n"));
    EXPECT_EQ(readLeadingLines(path, 4), std::optional<std::string>("ab\r\n"));
    // No line ends there.
    EXPECT_EQ(readLeadingLines(path, 3), std::nullopt);
    // A file no larger than the bytes asked for is read whole anyway.
    EXPECT_EQ(readLeadingLines(path, 12), std::nullopt);
    // Nor from a pipe, whose bytes the real read would then miss, a folder, or nothing.
    const std::string fifo = dir.path("show.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int pipe = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(pipe, 0);
    ASSERT_EQ(::write(pipe, "ab\r\ncd\r\nef\r\n", 12), 12);
    EXPECT_EQ(readLeadingLines(fifo, 4), std::nullopt);
    char left[32];
    EXPECT_EQ(::read(pipe, left, sizeof left), 12);
    ::close(pipe);
    EXPECT_EQ(readLeadingLines(dir.root(), 4), std::nullopt);
    EXPECT_EQ(readLeadingLines(dir.path("missing.csv"), 4), std::nullopt);
}

}  // namespace
}  // namespace fulgor
