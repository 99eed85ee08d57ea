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

// Apply Port with the box holding `box` after port 5 was in use.
TEST(ApplyPort, TakesOrRefusesThePortBox) {
    struct Case {
        std::string box;
        std::string device;  // opened; empty when the box is refused
    };
    ::unsetenv("FULGOR_PORT_2");
    ::unsetenv("FULGOR_PORT_4");
    for (const Case& c :
         {Case{"0", ""}, Case{"-2", ""}, Case{"abc", ""}, Case{"", ""}, Case{"32768", ""},
          Case{"1e999", ""}, Case{"0.4", ""}, Case{"32767.5", ""}, Case{"2.5", "/dev/ttyS1"},
          Case{"3.5", "/dev/ttyS3"}, Case{" 12 ", "/dev/ttyS11"}, Case{"32767", "/dev/ttyS32766"},
          Case{" /dev/ttyUSB0 ", "/dev/ttyUSB0"}}) {
        FakeSerialLink link;
        PortState state;
        state.PortNumber = 5;
        ApplyPortOutcome outcome = applyPort(state, c.box, link);
        if (c.device.empty()) {
            EXPECT_EQ(outcome.restoredBoxText, "5") << c.box;
            EXPECT_FALSE(outcome.reopened);
            EXPECT_TRUE(link.calls.empty()) << c.box;
            EXPECT_EQ(state.PortNumber, 5);
        } else {
            EXPECT_FALSE(outcome.restoredBoxText);
            ASSERT_TRUE(outcome.reopened) << c.box;
            EXPECT_EQ(link.device, c.device);
            EXPECT_TRUE(link.isOpen());
        }
    }
}

TEST(ApplyPort, RefusedBoxGetsThePathBackWhenAPathWasInUse) {
    FakeSerialLink link;
    PortState state;
    ASSERT_TRUE(applyPort(state, "/dev/ttyACM0", link).reopened);
    EXPECT_EQ(applyPort(state, "-1", link).restoredBoxText, "/dev/ttyACM0");
    ASSERT_TRUE(applyPort(state, "3", link).reopened);
    EXPECT_EQ(state.PortPath, "");
    EXPECT_EQ(portBoxText(state), "3");
}

TEST(PortDevice, EnvironmentNamesANumberedPort) {
    PortState state;
    state.PortNumber = 3;
    ::unsetenv("FULGOR_PORT_3");
    EXPECT_EQ(portDevice(state), "/dev/ttyS2");
    ::setenv("FULGOR_PORT_3", "/dev/pts/9", 1);
    EXPECT_EQ(portDevice(state), "/dev/pts/9");
    ::unsetenv("FULGOR_PORT_3");
}

TEST(SaxUpTransmit, ReopensInOrderAndLabelsTheSettings) {
    FakeSerialLink link;
    PortState state;
    state.PortPath = "/dev/ttyUSB1";
    link.open();
    link.calls.clear();
    PortOutcome outcome = SaxUpTransmit(state, "/dev/ttyUSB1", link);
    EXPECT_EQ(link.calls,
              (std::vector<std::string>{"close", "port /dev/ttyUSB1", "settings 19200,N,8,1",
                                        "discard", "line on", "open"}));
    EXPECT_EQ(outcome.portLabel, "[Comm settings are 19200,N,8,1]");
    EXPECT_FALSE(outcome.message);
}

// The message quotes the port box as it stands, even when it was edited
// without Apply Port.
TEST(SaxUpTransmit, PortThatDoesNotOpenGivesTheMessageAndTheClosedLabel) {
    FakeSerialLink link;
    link.opens = false;
    link.openFailure = "/dev/ttyS6: No such file or directory";
    PortState state;
    state.PortNumber = 7;
    ::unsetenv("FULGOR_PORT_7");
    PortOutcome outcome = clearTerminal(state, "9", link);
    EXPECT_EQ(outcome.message, "Comm Port: 9 not available!");
    EXPECT_EQ(outcome.portLabel, "[Comm Port Closed]");
    EXPECT_EQ(outcome.reason, "/dev/ttyS6: No such file or directory");
    EXPECT_EQ(link.device, "/dev/ttyS6");
}

TEST(Presets, FskModemReopensTheBoxPortAt1200) {
    FakeSerialLink link;
    PortState state;
    ::unsetenv("FULGOR_PORT_3");
    ApplyPortOutcome outcome = choosePreset(state, kFskModemPreset, "3", link);
    ASSERT_TRUE(outcome.reopened);
    EXPECT_EQ(outcome.reopened->portLabel, "[Comm settings are 1200,N,8,1]");
    EXPECT_EQ(link.device, "/dev/ttyS2");
    EXPECT_EQ(link.settings, "1200,N,8,1");
    EXPECT_EQ(state.PortNumber, 3);

    // A refused box still records the preset, which the next reopening uses.
    link.calls.clear();
    EXPECT_EQ(choosePreset(state, kPdPreset, "0", link).restoredBoxText, "3");
    EXPECT_TRUE(link.calls.empty());
    EXPECT_EQ(state.PortSettings, "9600,N,8,1");
}

TEST(Presets, EverySettingsTextOpensALine) {
    for (const PortPreset& preset : kPortPresets) {
        EXPECT_TRUE(parseLineSettings(preset.settings).ok()) << preset.settings;
    }
}

TEST(LineSettings, ReadsOrNamesThePartItCannotUse) {
    Result<LineSettings> fsk = parseLineSettings(" 1200 , e , 7 , 1.5 ");
    ASSERT_TRUE(fsk.ok()) << fsk.error();
    EXPECT_EQ(fsk.value().baud, 1200);
    EXPECT_EQ(fsk.value().parity, LineSettings::Parity::Even);
    EXPECT_EQ(fsk.value().dataBits, 7);
    EXPECT_EQ(fsk.value().stopBits, LineSettings::StopBits::OneAndHalf);

    struct Case {
        const char* text;
        const char* names;
    };
    for (Case c : {Case{"19200,N,8", "four parts"}, Case{"fast,N,8,1", "baud"},
                   Case{"0,N,8,1", "baud"}, Case{"9600,X,8,1", "parity"},
                   Case{"9600,N,9,1", "data bits"}, Case{"9600,N,8,3", "stop bits"}}) {
        Result<LineSettings> settings = parseLineSettings(c.text);
        ASSERT_FALSE(settings.ok()) << c.text;
        EXPECT_NE(settings.error().find(c.names), std::string::npos) << settings.error();
    }
}

TEST(Capture, ToggleStartsAndStopsTheLog) {
    FakeSerialLink link;
    EXPECT_EQ(captureCaption(link), "Begin Capture");
    ASSERT_TRUE(toggleCapture(link, "/opt/fulgor").ok());
    EXPECT_EQ(link.capturePath(), "/opt/fulgor/Serial.log");
    EXPECT_EQ(captureCaption(link), "End Capture");
    ASSERT_TRUE(toggleCapture(link, "/opt/fulgor").ok());
    EXPECT_EQ(link.capturePath(), "");
    EXPECT_EQ(captureCaption(link), "Begin Capture");

    link.captureFails = true;
    EXPECT_FALSE(toggleCapture(link, "/opt/fulgor").ok());
    EXPECT_EQ(captureCaption(link), "Begin Capture");
}

TEST(Terminal, ClearDropsTheLinesRestoresScrollBackAndReopens) {
    FakeSerialLink link;
    PortState state;
    clearTerminal(state, "1", link);
    ASSERT_GE(link.calls.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(link.calls.begin(), link.calls.begin() + 3),
              (std::vector<std::string>{"scroll-back 0", "clear terminal", "scroll-back 600"}));
    EXPECT_EQ(link.calls.back(), "open");
}

TEST(Terminal, LineEndsFromThePanelBecomeOneLineEach) {
    struct Case {
        std::vector<std::string> chunks;
        std::string shown;
    };
    for (const Case& c :
         {Case{{"OK\r\nREADY\r\n"}, "OK\nREADY\n"}, Case{{"OK\r", "\nREADY"}, "OK\nREADY"},
          Case{{"A\rB\nC\r\r\n"}, "A\nB\nC\n\n"}, Case{{"\x80 5\xB0"}, "\xE2\x82\xAC 5\xC2\xB0"}}) {
        bool afterCr = false;
        std::string shown;
        for (const std::string& chunk : c.chunks) appendTerminalText(chunk, afterCr, shown);
        EXPECT_EQ(shown, c.shown);
    }
}

}  // namespace
}  // namespace fulgor
