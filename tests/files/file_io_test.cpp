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

TEST(FileWriter, ReplacesARegularFileKeepingItsPermissionsAndNothingElse) {
    TempDir dir;
    const std::string path = dir.path("show.csv");
    writeBytes(path, "old");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(writeFileAtomically(path, "new bytes").ok());
    EXPECT_EQ(readBytes(path), "new bytes");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));
    EXPECT_EQ(namesIn(dir.root()), std::set<std::string>{"show.csv"});

    const std::string fresh = dir.path("fresh.csv");
    ASSERT_TRUE(writeFileAtomically(fresh, "").ok());
    EXPECT_TRUE(fs::is_regular_file(fresh));
    EXPECT_EQ(fs::file_size(fresh), 0u);
}

TEST(FileWriter, ANameTooLongForTheUsualTemporaryNameStillSaves) {
    TempDir dir;
    const std::string path = dir.path(std::string(250, 'n') + ".csv");
    ASSERT_TRUE(writeFileAtomically(path, "x").ok());
    EXPECT_EQ(readBytes(path), "x");
    EXPECT_EQ(namesIn(dir.root()).size(), 1u);
}

TEST(FileWriter, SymbolicLinksStayAndTheirFinalTargetIsWritten) {
    TempDir dir;
    fs::create_directory(dir.root() / "shows");
    writeBytes(dir.path("shows/v3.csv"), "version 3");
    // show.csv -> current.csv -> shows/v3.csv, both relative to their own folder.
    fs::create_symlink("shows/v3.csv", dir.root() / "current.csv");
    fs::create_symlink("current.csv", dir.root() / "show.csv");

    ASSERT_TRUE(writeFileAtomically(dir.path("show.csv"), "version 4").ok());
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.root() / "show.csv")));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.root() / "current.csv")));
    EXPECT_EQ(readBytes(dir.path("shows/v3.csv")), "version 4");
    EXPECT_EQ(namesIn(dir.root() / "shows"), std::set<std::string>{"v3.csv"});

    // A link whose target does not exist yet creates it.
    fs::create_symlink(dir.root() / "shows" / "v5.csv", dir.root() / "next.csv");
    ASSERT_TRUE(writeFileAtomically(dir.path("next.csv"), "version 5").ok());
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.root() / "next.csv")));
    EXPECT_EQ(readBytes(dir.path("shows/v5.csv")), "version 5");

    // A link to a folder is refused like the folder itself.
    fs::create_directory_symlink("shows", dir.root() / "folder.csv");
    Status toFolder = writeFileAtomically(dir.path("folder.csv"), "x");
    ASSERT_FALSE(toFolder.ok());
    EXPECT_EQ(toFolder.error(), "Cannot save \"" + dir.path("folder.csv") + "\": Is a directory");
}

TEST(FileWriter, PipesAndSocketsAreWrittenInPlace) {
    TempDir dir;
    const std::string bytes(200000, 'p');  // more than a pipe holds at once

    const std::string fifo = dir.path("panel.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string fromFifo;
    std::thread fifoReader([&] { fromFifo = readBytes(fifo); });
    Status toFifo = writeFileAtomically(fifo, bytes);
    fifoReader.join();
    ASSERT_TRUE(toFifo.ok()) << toFifo.error();
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
        char buffer[4096];
        for (ssize_t n; (n = ::read(connection, buffer, sizeof buffer)) > 0;)
            fromSocket.append(buffer, static_cast<std::size_t>(n));
        ::close(connection);
    });
    Status toSocket = writeFileAtomically(socketPath, bytes);
    socketReader.join();
    ::close(listener);
    ASSERT_TRUE(toSocket.ok()) << toSocket.error();
    EXPECT_EQ(fromSocket, bytes);

    EXPECT_EQ(namesIn(dir.root()), (std::set<std::string>{"panel.fifo", "panel.sock"}));
}

TEST(FileWriter, ADeviceIsWrittenInPlaceAndItsErrorReported) {
    ASSERT_TRUE(writeFileAtomically("/dev/null", "discarded").ok());
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    Status full = writeFileAtomically("/dev/full", "x");
    ASSERT_FALSE(full.ok());
    EXPECT_EQ(full.error(), "Cannot save \"/dev/full\": No space left on device");
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

TEST(FileWriter, AFailedSaveKeepsTheOldFileAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.path("show.csv");
    const std::string message = "Cannot save \"" + path + "\": ";
    struct Case {
        const char* what;
        WriteFault fault;
        const char* reason;
    };
    const Case cases[] = {
        {"disk full part way",
         {.failAfterBytes = 4, .writeError = ENOSPC},
         "No space left on device"},
        {"disk full at once", {.failAfterBytes = 0, .writeError = EIO}, "Input/output error"},
        {"rename refused", {.renameError = EACCES}, "Permission denied"},
    };
    for (const Case& c : cases) {
        writeBytes(path, "old show");
        Status status = [&] {
            ScopedWriteFault fault(c.fault);
            return writeFileAtomically(path, "the new show");
        }();
        ASSERT_FALSE(status.ok()) << c.what;
        EXPECT_EQ(status.error(), message + c.reason) << c.what;
        EXPECT_EQ(readBytes(path), "old show") << c.what;
        EXPECT_EQ(namesIn(dir.root()), std::set<std::string>{"show.csv"}) << c.what;
    }
    // Exactly as many bytes as the fault allows is no failure.
    {
        ScopedWriteFault fault({.failAfterBytes = 3, .writeError = ENOSPC});
        ASSERT_TRUE(writeFileAtomically(path, "new").ok());
    }
    EXPECT_EQ(readBytes(path), "new");
    // Once the fault is gone, saves work again.
    ASSERT_TRUE(writeFileAtomically(path, "the new show").ok());
    EXPECT_EQ(readBytes(path), "the new show");
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
        const Status status = writeFileAtomically(path, bytes);
        const std::string message = status.ok() ? "" : status.error();
        const bool sent = ::write(pipe[1], message.data(), message.size()) ==
                          static_cast<ssize_t>(message.size());
        ::_exit(sent ? 0 : 2);
    }
    ::close(pipe[1]);
    std::string message;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
        message.append(buffer, static_cast<std::size_t>(n));
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "the child failed";
    return message;
}

TEST(FileWriter, AReadOnlyFolderKeepsTheOldFile) {
    TempDir dir;
    const std::string path = dir.path("show.csv");
    writeBytes(path, "old show");
    fs::permissions(dir.root(), fs::perms(0555));
    const std::string refused = saveWithoutFileOverrides(path, "new show");
    fs::permissions(dir.root(), fs::perms::owner_all);
    EXPECT_EQ(refused, "Cannot save \"" + path + "\": Permission denied");
    EXPECT_EQ(readBytes(path), "old show");
    EXPECT_EQ(namesIn(dir.root()), std::set<std::string>{"show.csv"});
    // The same child saves where the folder allows it.
    EXPECT_EQ(saveWithoutFileOverrides(path, "new show"), "");
    EXPECT_EQ(readBytes(path), "new show");
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
        EXPECT_EQ(namesIn(dir.root()), std::set<std::string>{"show.csv"}) << strsignal(signal);
    }
    // The save put the default action back: it leaves no handler behind.
    struct sigaction current {};
    ::sigaction(SIGTERM, nullptr, &current);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
}

// What `bytes` gives when read back through a named pipe, with `limit`.
Result<std::string> readThroughPipe(const TempDir& dir, const std::string& bytes,
                                    std::uint64_t limit) {
    const std::string fifo = dir.path("input.fifo");
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
    Result<std::string> read = readFileBytes(fifo, limit);
    writer.join();
    return read;
}

// A log only ever grows: what was there stays, whatever fails.
TEST(FileAppender, AddsToTheEndCreatesWhenMissingAndNamesTheFileOnFailure) {
    TempDir dir;
    const std::string log = dir.path("log.txt");
    ASSERT_TRUE(appendToFile(log, "first\n"));
    ASSERT_TRUE(appendToFile(log, "second\n"));
    EXPECT_EQ(readBytes(log), "first\nsecond\n");

    Status folder = appendToFile(dir.path(""), "x");
    EXPECT_EQ(folder.error(), "Cannot append to \"" + dir.path("") + "\": Is a directory");
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

TEST(FileReader, APipeIsReadWholeAcrossManyBlocks) {
    TempDir dir;
    std::string bytes(40 << 20, '\0');  // more than two of the reader's blocks
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
    Result<std::string> whole = readThroughPipe(dir, bytes, kInputLimitBytes);
    ASSERT_TRUE(whole.ok()) << whole.error();
    EXPECT_TRUE(whole.value() == bytes);

    Result<std::string> atLimit = readThroughPipe(dir, bytes, bytes.size());
    ASSERT_TRUE(atLimit.ok()) << atLimit.error();
    EXPECT_EQ(atLimit.value().size(), bytes.size());
    Result<std::string> over = readThroughPipe(dir, bytes, bytes.size() - 1);
    ASSERT_FALSE(over.ok());
    EXPECT_EQ(over.error(), "Cannot read \"" + dir.path("input.fifo") + "\": it holds more than " +
                                std::to_string(bytes.size() - 1) + " bytes");
}

TEST(FileReader, InputIsLimitedOnBothSidesOfTheLimit) {
    TempDir dir;
    const std::string path = dir.path("show.csv");
    writeBytes(path, std::string(1024, 'a'));
    Result<std::string> atLimit = readFileBytes(path, 1024);
    ASSERT_TRUE(atLimit.ok()) << atLimit.error();
    EXPECT_EQ(atLimit.value().size(), 1024u);

    Result<std::string> over = readFileBytes(path, 1023);
    ASSERT_FALSE(over.ok());
    EXPECT_EQ(over.error(), "Cannot read \"" + path + "\": it holds more than 1023 bytes");

    // An input without end stops at the limit.
    Result<std::string> endless = readFileBytes("/dev/zero", 1 << 20);
    ASSERT_FALSE(endless.ok());
    EXPECT_EQ(endless.error(), "Cannot read \"/dev/zero\": it holds more than 1048576 bytes");

    // A file beyond the usual limit is refused before a byte of it is read.
    const std::string huge = dir.path("huge.csv");
    writeBytes(huge, "");
    fs::resize_file(huge, kInputLimitBytes + 1);  // sparse: takes no room on disk
    Result<std::string> tooLarge = readFileBytes(huge);
    ASSERT_FALSE(tooLarge.ok());
    EXPECT_EQ(tooLarge.error(), "Cannot read \"" + huge + "\": it holds more than 2 GiB");
}

}  // namespace
}  // namespace fulgor
