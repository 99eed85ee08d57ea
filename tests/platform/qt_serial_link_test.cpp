#include "platform/qt_serial_link.h"
#include "platform/plain_text_terminal.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QTimer>
#include <filesystem>
#include <vector>

#include "comms/capture.h"
#include "comms/terminal.h"
#include "comms/transmission.h"
#include "support/pty_panel.h"
#include "support/temp_dir.h"

namespace fulgor {
namespace {

using test::PtyPanel;

void ensureApplication() {
    static int argc = 1;
    static char name[] = "platform_tests";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
}

// Ticks the transmission on a real 100 ms timer until it ends; gives the last step.
SendStep runToEnd(Transmission& transmission, std::string_view text) {
    QEventLoop loop;
    QTimer timer;
    timer.setInterval(kTickMilliseconds);
    SendStep last;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        last = transmission.tick(text);
        if (last.end != SendEnd::None) loop.quit();
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);  // never hang the suite
    timer.start();
    loop.exec();
    return last;
}

// Processes events until `done` holds; a guard against hanging, not a timing.
template <class Done>
bool processUntil(Done done) {
    for (int i = 0; i < 3000 && !done(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

TEST(QtSerialLink, PanelHangingUpStopsTheTransmissionWithTheReason) {
    ensureApplication();
    PtyPanel panel(1000);
    ASSERT_TRUE(panel.ok());
    QtSerialLink link;
    QString signalled;
    QObject::connect(&link, &QtSerialLink::failed, [&](const QString& why) { signalled = why; });
    Transmission transmission(link);
    PortState port;
    port.PortPath = panel.device();
    std::string text(40000, 'x');

    ASSERT_TRUE(transmission.click(text, port, panel.device()).messages.empty());
    SendStep ended = runToEnd(transmission, text);
    EXPECT_EQ(ended.end, SendEnd::Failed);
    ASSERT_EQ(ended.messages.size(), 1u);
    EXPECT_EQ(ended.messages[0].rfind("Transmission stopped: " + panel.device() + ": ", 0), 0u)
        << ended.messages[0];
    EXPECT_EQ(ended.portLabel, "[Comm Port Closed]");
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(signalled.toStdString(), link.failureReason());
}

// A link opened on a pseudo-terminal panel, showing what arrives in a
// terminal pane, with a folder for its capture file.
struct LinkOnPanel {
    PtyPanel panel;
    test::TempDir folder;
    QPlainTextEdit terminal;
    PlainTextTerminal pane{&terminal};
    QtSerialLink link{&pane};
    PortState port{.PortPath = panel.device()};
    bool opened = panel.ok() && !SaxUpTransmit(port, panel.device(), link).message;
};

TEST(QtSerialLink, TerminalShowsAndCaptureLogsWhatThePanelSends) {
    ensureApplication();
    LinkOnPanel open;
    ASSERT_TRUE(open.opened);
    auto& [panel, folder, terminal, pane, link, port, opened] = open;

    ASSERT_TRUE(toggleCapture(link, folder.root().string()).ok());
    EXPECT_EQ(captureCaption(link), "End Capture");
    const std::string answer = "READY\r\nFIRE 5 \x80\r\n";
    panel.answer(answer);
    const QString shown = QString::fromUtf8("READY\nFIRE 5 \xE2\x82\xAC\n");
    EXPECT_TRUE(processUntil([&] { return terminal.toPlainText() == shown; }))
        << terminal.toPlainText().toStdString();
    ASSERT_TRUE(toggleCapture(link, folder.root().string()).ok());
    EXPECT_EQ(test::readBytes(folder.path("Serial.log")), answer);

    EXPECT_EQ(toggleCapture(link, folder.path("missing")).error(),
              "Cannot append to \"" + folder.path("missing") +
                  "/Serial.log\": No such file or directory");
    EXPECT_EQ(captureCaption(link), "Begin Capture");

    EXPECT_FALSE(clearTerminal(port, panel.device(), link).message);
    EXPECT_EQ(terminal.toPlainText(), "");
    EXPECT_EQ(terminal.maximumBlockCount(), kTerminalScrollBack);
    EXPECT_TRUE(link.isOpen());
}

// A log taken away while capturing is made again; one that cannot be
// written stops capture with the reason, while the terminal goes on.
TEST(QtSerialLink, CaptureStopsWhenItsFileCannotBeWritten) {
    ensureApplication();
    LinkOnPanel open;
    ASSERT_TRUE(open.opened);
    auto& [panel, folder, terminal, pane, link, port, opened] = open;
    std::vector<std::string> reasons;
    QObject::connect(&link, &QtSerialLink::captureFailed,
                     [&](const QString& why) { reasons.push_back(why.toStdString()); });
    ASSERT_TRUE(toggleCapture(link, folder.root().string()).ok());
    const std::string log = folder.path("Serial.log");
    auto shows = [&](const char* text) {
        return processUntil([&] { return terminal.toPlainText() == QString::fromLatin1(text); });
    };

    std::filesystem::remove(log);
    panel.answer("KEPT\r\n");
    EXPECT_TRUE(shows("KEPT\n"));
    EXPECT_EQ(test::readBytes(log), "KEPT\r\n");
    EXPECT_TRUE(reasons.empty());

    std::filesystem::remove(log);
    std::filesystem::create_directory(log);
    panel.answer("LOST\r\n");
    EXPECT_TRUE(shows("KEPT\nLOST\n"));
    EXPECT_EQ(reasons,
              std::vector<std::string>{"Cannot append to \"" + log + "\": Is a directory"});
    EXPECT_EQ(captureCaption(link), "Begin Capture");
}

}  // namespace
}  // namespace fulgor
