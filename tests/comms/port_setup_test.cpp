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

// Apply Port with `box` typed after port 5 was in use.
TEST(ApplyPort, TakesOrRefusesThePortBox) {
    struct Case {
        std::string box;
        std::string device;  // opened; empty when the box is refused
    };
    for (const Case& c :
         {Case{"0", ""}, Case{"-2", ""}, Case{"abc", ""}, Case{"32768", ""}, Case{"1e999", ""},
          Case{"0.4", ""}, Case{"32767.5", ""}, Case{"2.5", "/dev/ttyS1"},
          Case{"3.5", "/dev/ttyS3"}, Case{"32767", "/dev/ttyS32766"},
          Case{" /dev/ttyUSB0 ", "/dev/ttyUSB0"}}) {
        FakeSerialLink link;
        PortState state;
        state.PortNumber = 5;
        ApplyPortOutcome outcome = applyPort(state, c.box, link);
        EXPECT_EQ(outcome.reopened.has_value(), !c.device.empty()) << c.box;
        if (c.device.empty()) {
            EXPECT_EQ(outcome.restoredBoxText, "5") << c.box;
            EXPECT_TRUE(link.calls.empty()) << c.box;
        } else {
            EXPECT_EQ(link.device, c.device);
        }
    }
    // A refused box gets back the path when a path was in use.
    FakeSerialLink link;
    PortState state;
    ASSERT_TRUE(applyPort(state, "/dev/ttyACM0", link).reopened);
    EXPECT_EQ(applyPort(state, "-1", link).restoredBoxText, "/dev/ttyACM0");
}

TEST(PortDevice, EnvironmentNamesANumberedPort) {
    PortState state;
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
    EXPECT_EQ(link.calls, (std::vector<std::string>{"close", "port /dev/ttyS2", "1200,N,8,1",
                                                    "discard", "line on", "open"}));
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
    EXPECT_EQ(std::vector<std::string>(link.calls.begin(), link.calls.begin() + 3),
              (std::vector<std::string>{"keep 0", "clear terminal", "keep 600"}));
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
    for (auto [text, names] : {std::pair{"19200,N,8", "four parts"},
                               {"0,N,8,1", "baud"},
                               {"9600,X,8,1", "parity"},
                               {"9600,N,9,1", "data bits"},
                               {"9600,N,8,3", "stop bits"}}) {
        Result<LineSettings> settings = parseLineSettings(text);
        ASSERT_FALSE(settings.ok()) << text;
        EXPECT_NE(settings.error().find(names), std::string::npos) << settings.error();
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
    struct Case {
        std::vector<std::string> chunks;
        std::string shown;
    };
    for (const Case& c :
         {Case{{"OK\r", "\nREADY"}, "OK\nREADY"}, Case{{"A\rB\nC\r\r\n"}, "A\nB\nC\n\n"},
          Case{{"\x80 5\xB0"}, "\xE2\x82\xAC 5\xC2\xB0"}}) {
        bool afterCr = false;
        std::string shown;
        for (const std::string& chunk : c.chunks) appendTerminalText(chunk, afterCr, shown);
        EXPECT_EQ(shown, c.shown);
    }
}

}  // namespace
}  // namespace fulgor
