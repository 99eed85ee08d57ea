#include "comms/port_setup.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "comms/capture.h"
#include "comms/fake_serial_link.h"
#include "comms/line_settings.h"
#include "comms/terminal.h"

namespace fulgor {
namespace {

using test::FakeSerialLink;
using Texts = std::vector<std::string>;

// Apply Port with `box` typed after port 5 was in use.
TEST(ApplyPort, TakesOrRefusesThePortBox) {
    for (const char* box : {"0", "-2", "abc", "32768", "1e999", "0.4", "32767.5"}) {
        FakeSerialLink link;
        PortState state;
        state.PortNumber = 5;
        ApplyPortOutcome outcome = applyPort(state, box, link);
        EXPECT_FALSE(outcome.reopened) << box;
        EXPECT_EQ(outcome.restoredBoxText, "5") << box;
        EXPECT_TRUE(link.calls.empty()) << box;
    }
    for (auto [box, device] : {std::pair{"2.5", "/dev/ttyS1"},
                               {"3.5", "/dev/ttyS3"},
                               {"32767", "/dev/ttyS32766"},
                               {" /dev/ttyUSB0 ", "/dev/ttyUSB0"}}) {
        FakeSerialLink link;
        PortState state;
        ApplyPortOutcome outcome = applyPort(state, box, link);
        EXPECT_TRUE(outcome.reopened && !outcome.restoredBoxText) << box;
        EXPECT_EQ(link.device, device);
    }
    // A refused box gets back the path when a path was in use.
    FakeSerialLink link;
    PortState state;
    ASSERT_TRUE(applyPort(state, "/dev/ttyACM0", link).reopened);
    EXPECT_EQ(applyPort(state, "-1", link).restoredBoxText, "/dev/ttyACM0");

    state = PortState{};
    state.PortNumber = 3;
    EXPECT_EQ(portDevice(state), "/dev/ttyS2");
    ::setenv("FULGOR_PORT_3", "/dev/pts/9", 1);
    EXPECT_EQ(portDevice(state), "/dev/pts/9");
    ::unsetenv("FULGOR_PORT_3");
}

TEST(SaxUpTransmit, ReopensInOrderAndLabelsTheSettings) {
    FakeSerialLink link;
    link.open();
    link.calls.clear();
    PortState state;
    ApplyPortOutcome outcome = choosePreset(state, kFskModemPreset, "3", link);
    EXPECT_EQ(link.calls,
              (Texts{"close", "port /dev/ttyS2", "1200,N,8,1", "discard", "line on", "open"}));
    ASSERT_TRUE(outcome.reopened);
    EXPECT_EQ(outcome.reopened->portLabel, "[Comm settings are 1200,N,8,1]");
    EXPECT_FALSE(outcome.reopened->message);
}

// The message quotes the port box as it stands, even when it was edited
// without Apply Port; Clear Terminal reopens the port with it.
TEST(SaxUpTransmit, PortThatDoesNotOpenGivesTheMessageAndTheClosedLabel) {
    FakeSerialLink link;
    link.opens = false;
    link.openFailure = "/dev/ttyS6: No such file or directory";
    PortState state;
    state.PortNumber = 7;
    PortOutcome outcome = clearTerminal(state, "9", link);
    EXPECT_EQ(Texts(link.calls.begin(), link.calls.begin() + 3),
              (Texts{"keep 0", "clear terminal", "keep 600"}));
    EXPECT_EQ(outcome.message, "Comm Port: 9 not available!");
    EXPECT_EQ(outcome.portLabel, "[Comm Port Closed]");
    EXPECT_EQ(outcome.reason, "/dev/ttyS6: No such file or directory");
    EXPECT_EQ(link.device, "/dev/ttyS6");
}

TEST(LineSettings, ReadsOrNamesThePartItCannotUse) {
    Result<LineSettings> fsk = parseLineSettings(" 1200 , e , 7 , 1.5 ");
    ASSERT_TRUE(fsk.ok()) << fsk.error();
    EXPECT_EQ(fsk.value().parity, LineSettings::Parity::Even);
    EXPECT_EQ(fsk.value().dataBits, 7);
    EXPECT_EQ(fsk.value().stopBits, LineSettings::StopBits::OneAndHalf);
    EXPECT_TRUE(parseLineSettings("9600,N,5,2").ok());
    EXPECT_EQ(
        parseLineSettings("19200,N,8").error(),
        "The line settings \"19200,N,8\" need four parts: baud, parity, data bits, stop bits");
    for (auto [text, part] : {std::pair{"0,N,8,1", "a baud rate"},
                              {"9600,X,8,1", "a parity"},
                              {"9600,N,4,1", "a number of data bits"},
                              {"9600,N,9,1", "a number of data bits"},
                              {"9600,N,8,3", "a number of stop bits"}}) {
        EXPECT_EQ(parseLineSettings(text).error(), std::string("The line settings \"") + text +
                                                       "\" have " + part + " that cannot be used");
    }
}

TEST(Capture, ToggleStartsAndStopsTheLog) {
    FakeSerialLink link;
    EXPECT_EQ(captureCaption(link), "Begin Capture");
    ASSERT_TRUE(toggleCapture(link, "/opt/fulgor").ok());
    EXPECT_EQ(link.capturePath(), "/opt/fulgor/Serial.log");
    EXPECT_EQ(captureCaption(link), "End Capture");
    ASSERT_TRUE(toggleCapture(link, "/opt/fulgor").ok());
    EXPECT_EQ(captureCaption(link), "Begin Capture");
}

TEST(Terminal, LineEndsFromThePanelBecomeOneLineEach) {
    for (auto [chunks, shown] : {std::pair<Texts, std::string>{{"OK\r", "\nREADY"}, "OK\nREADY"},
                                 {{"A\rB\nC\r\r\n"}, "A\nB\nC\n\n"},
                                 {{"\x80 5\xB0"}, "\xE2\x82\xAC 5\xC2\xB0"}}) {
        bool afterCr = false;
        std::string text;
        for (const std::string& chunk : chunks) appendTerminalText(chunk, afterCr, text);
        EXPECT_EQ(text, shown);
    }
}

}  // namespace
}  // namespace fulgor
