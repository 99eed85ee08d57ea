// `fulgor send`, the real binary, against a panel on a pseudo-terminal.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QSerialPort>

#include <cstdlib>

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
    std::string err;
};

SendRun send(const TempDir& dir, const std::string& arguments,
             const std::string& environment = "") {
    // `timeout` only keeps a broken build from hanging the suite.
    std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= " + environment +
                          " timeout 120 " + FULGOR_EXE + " send " + arguments + " 2>" +
                          dir.path("err.txt");
    int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readBytes(dir.path("err.txt"))};
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
    EXPECT_NE(run.err.find("Sent 40000 characters to " + panel.device()), std::string::npos)
        << run.err;
    ASSERT_TRUE(panel.waitFor(show.size()));
    EXPECT_TRUE(panel.received() == show) << "received " << panel.received().size() << " bytes";
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
    EXPECT_NE(run.err.find(" of 40000 characters went out.\n"), std::string::npos) << run.err;
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
TEST(CliSend, PortThatIsNotASerialDeviceOrIsInUseIsNotAvailable) {
    TempDir dir;
    writeBytes(dir.path("show.txt"), "S\t0\t0\r\n");
    writeBytes(dir.path("plain-file"), "");
    SendRun plain = send(dir, dir.path("show.txt") + " --port " + dir.path("plain-file"));
    EXPECT_EQ(plain.status, 1);
    EXPECT_EQ(plain.err.rfind("Comm Port: " + dir.path("plain-file") + " not available!\n", 0), 0u)
        << plain.err;
    EXPECT_EQ(readBytes(dir.path("plain-file")), "");

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

TEST(CliSend, MissingPortIsNotAvailable) {
    TempDir dir;
    writeBytes(dir.path("show.txt"), "S\t0\t0\r\n");
    SendRun run =
        send(dir, dir.path("show.txt") + " --port 7", "FULGOR_PORT_7=" + dir.path("no-such-port"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("Comm Port: 7 not available!\n", 0), 0u) << run.err;
    EXPECT_NE(run.err.find("no-such-port: No such file or directory"), std::string::npos)
        << run.err;
}

}  // namespace
}  // namespace fulgor
