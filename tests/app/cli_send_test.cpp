// `fulgor send`, the real binary, against a panel on a pseudo-terminal.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QSerialPort>

#include <cstdlib>

#include "comms/transmission_record.h"

#include "support/pty_panel.h"
#include "support/temp_dir.h"

namespace fulgor {
namespace {

using test::PtyPanel;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

struct SendRun {
    int status;
    std::string out;
    std::string err;
    std::string log;  // Transmissions.log in the program's folder
};

// Runs `fulgor send` with the program's folder in `dir`, under `timeout`,
// which keeps a broken build from hanging the suite.
SendRun send(const TempDir& dir, const std::string& arguments, const std::string& environment = "",
             const std::string& timeout = "timeout 120") {
    std::string command =
        "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= FULGOR_HOME=" + dir.path("home") + " " +
        environment + " " + timeout + " " + FULGOR_EXE + " send " + arguments + " >" +
        dir.path("out.txt") + " 2>" + dir.path("err.txt");
    int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readBytes(dir.path("out.txt")),
            readBytes(dir.path("err.txt")), readBytes(dir.path("home/Transmissions.log"))};
}

// The record line less its date and time ("2026-12-06 05:09:12 +01:00 | ").
std::string withoutTime(const std::string& line) {
    return line.size() < 29 ? line : line.substr(29);
}

std::string crcText(const std::string& bytes) {
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08X", crc32Of(bytes));
    return crc;
}

// The byte count after `ending` in a record ("cancelled at byte 123"), or -1.
long bytesAt(const std::string& record, const std::string& ending) {
    std::size_t at = record.find(" | " + ending + " at byte ");
    return at == std::string::npos ? -1 : std::stol(record.substr(at + ending.size() + 12));
}

TEST(CliSend, DeliversEveryByteAndExitsZero) {
    PtyPanel panel;
    ASSERT_TRUE(panel.ok());
    TempDir dir;
    std::string show(40000, '\0');
    for (std::size_t i = 0; i < show.size(); ++i) show[i] = static_cast<char>(i * 13 % 256);
    writeBytes(dir.path("show.txt"), show);

    SendRun run = send(dir, dir.path("show.txt") + " --port " + panel.device() + " --preset pd");
    EXPECT_EQ(run.status, 0) << run.err;
    ASSERT_TRUE(panel.waitFor(show.size()));
    EXPECT_TRUE(panel.received() == show) << "received " << panel.received().size() << " bytes";

    // The record printed at the end is the line appended to the log.
    EXPECT_EQ(withoutTime(run.out), panel.device() + " | 9600,N,8,1 | 40000 bytes | CRC-32 " +
                                        crcText(show) + " | \"\\x00\" | complete\n");
    EXPECT_EQ(run.log, run.out);

    // A second transmission adds its line; the first stays.
    SendRun again = send(dir, dir.path("show.txt") + " --port " + panel.device() + " --preset pd");
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.log, run.out + again.out);
}

TEST(CliSend, PanelHangingUpMidWayFailsWithTheReason) {
    PtyPanel panel(5000);
    ASSERT_TRUE(panel.ok());
    TempDir dir;
    writeBytes(dir.path("show.txt"), std::string(40000, 'S'));
    SendRun run = send(dir, dir.path("show.txt") + " --port " + panel.device());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(
        run.err.find("Transmission stopped: " + panel.device() + ": the device was removed. "),
        std::string::npos)
        << run.err;
    // The record says how far the show got, and that the port was lost.
    EXPECT_EQ(run.log, run.out);
    long sentBytes = bytesAt(run.out, "port lost");
    ASSERT_TRUE(sentBytes >= 0 && sentBytes <= 40000) << run.out;
    EXPECT_NE(run.out.find(" | " + std::to_string(sentBytes) + " of 40000 bytes | "),
              std::string::npos)
        << run.out;
}

// Ctrl+C cancels; the record tells how far the show got.
TEST(CliSend, InterruptCancelsAndRecordsHowFarItGot) {
    // A panel that never reads: the line fills up and the show waits.
    int master = -1, slave = -1;
    char device[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, device, nullptr, nullptr), 0);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    TempDir dir;
    const std::string show(40000, 'S');
    writeBytes(dir.path("show.txt"), show);
    // `timeout` sends the SIGINT after two seconds, and kills a program that ignores it.
    SendRun run = send(dir, dir.path("show.txt") + " --port " + device, "",
                       "timeout --preserve-status -s INT -k 60 2");
    ::close(master);
    ::close(slave);

    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Interrupted: the transmission is cancelled\n"), std::string::npos)
        << run.err;
    EXPECT_EQ(run.log, run.out);
    long sentBytes = bytesAt(run.out, "cancelled");
    ASSERT_TRUE(sentBytes >= 0 && sentBytes < 40000) << run.out;
    EXPECT_NE(run.out.find(" | " + std::to_string(sentBytes) + " of 40000 bytes | CRC-32 " +
                           crcText(show.substr(0, static_cast<std::size_t>(sentBytes))) + " | "),
              std::string::npos)
        << run.out;
}

// A panel that stops reading must not hold the command forever: after the
// stall time it gives up, saying how far it got.
TEST(CliSend, PanelThatStopsReadingFailsAfterTheStallTime) {
    PtyPanel panel;
    ASSERT_TRUE(panel.ok());
    panel.stopReading();
    TempDir dir;
    writeBytes(dir.path("show.txt"), std::string(40000, 'S'));
    SendRun run = send(dir, dir.path("show.txt") + " --port " + panel.device());
    EXPECT_EQ(run.status, 1);
    std::string expected = "Transmission stopped: " + panel.device() +
                           ": the panel has taken no characters for 10 seconds. ";
    EXPECT_NE(run.err.find(expected), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(" of 40000 characters went out.\n"), std::string::npos) << run.err;
}

// Ports that cannot be used at all: the message names the port and the cause,
// and nothing is sent.
TEST(CliSend, PortThatIsMissingNotASerialDeviceOrInUseIsNotAvailable) {
    TempDir dir;
    writeBytes(dir.path("show.txt"), "S\t0\t0\r\n");
    writeBytes(dir.path("plain-file"), "");
    SendRun plain = send(dir, dir.path("show.txt") + " --port " + dir.path("plain-file"));
    EXPECT_EQ(plain.status, 1);
    EXPECT_EQ(plain.err.rfind("Comm Port: " + dir.path("plain-file") + " not available!\n", 0), 0u)
        << plain.err;
    EXPECT_EQ(readBytes(dir.path("plain-file")), "");

    SendRun missing =
        send(dir, dir.path("show.txt") + " --port 7", "FULGOR_PORT_7=" + dir.path("no-such-port"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err.rfind("Comm Port: 7 not available!\n", 0), 0u) << missing.err;
    EXPECT_NE(missing.err.find("no-such-port: No such file or directory"), std::string::npos)
        << missing.err;
    EXPECT_EQ(missing.out + missing.log, "");  // nothing went out, so there is nothing to record

    SendRun folder = send(dir, dir.path("show.txt") + " --port " + dir.path(""));
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.err.find("not available!\n"), std::string::npos) << folder.err;

    PtyPanel panel;
    ASSERT_TRUE(panel.ok());
    SendRun first = send(dir, dir.path("show.txt") + " --port " + panel.device());
    ASSERT_EQ(first.status, 0) << first.err;
    // Another program holds the port (its lock file says so).
    QSerialPort holder;
    holder.setPortName(QString::fromStdString(panel.device()));
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite));
    SendRun busy = send(dir, dir.path("show.txt") + " --port " + panel.device());
    EXPECT_EQ(busy.status, 1);
    EXPECT_EQ(busy.err.rfind("Comm Port: " + panel.device() + " not available!\n", 0), 0u)
        << busy.err;
}

}  // namespace
}  // namespace fulgor
