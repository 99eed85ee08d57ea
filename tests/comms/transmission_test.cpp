#include "comms/transmission.h"

#include <gtest/gtest.h>

#include "comms/fake_serial_link.h"
#include "comms/terminal.h"

namespace fulgor {
namespace {

// 'A'..'Z' over and over, so that a piece cut at the wrong place shows.
std::string showText(std::size_t length) {
    std::string text(length, ' ');
    for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<char>('A' + i % 26);
    return text;
}

// The whole display in one line: caption, status, characters left and
// progress, then the bar, the busy pointer and locked comm buttons when shown.
std::string shownAs(const SendDisplay& d) {
    return std::string(d.buttonCaption) + "|" + d.status + "|" + d.charactersLeft + "|" +
           std::to_string(d.progress) + (d.progressVisible ? "|bar" : "") +
           (d.busyPointer ? "|busy" : "") + (d.commButtonsEnabled ? "" : "|locked");
}

struct Fixture {
    test::FakeSerialLink link;
    PortState port;
    Transmission transmission{link};
    const SendDisplay& shown = transmission.display();

    SendStep click(std::string_view text) { return transmission.click(text, port, "1"); }

    // Drains the whole buffer before every tick until the transmission ends.
    SendEnd runToEnd(std::string_view text) {
        for (int ticks = 0; ticks < 1000; ++ticks) {
            link.drainAll();
            SendStep step = transmission.tick(text);
            if (step.end != SendEnd::None) return step.end;
        }
        return SendEnd::None;
    }
};

TEST(PercentDone, RoundsHalvesToEven) {
    struct Case {
        std::int64_t total, done, percent;
    };
    for (Case c : {Case{0, 0, 0}, Case{0, 7, 0}, Case{200, 1, 0}, Case{200, 3, 2}, Case{8, 3, 38},
                   Case{40000, 16380, 41}, Case{3'000'000'000LL, 3'000'000'000LL, 100}}) {
        EXPECT_EQ(PercentDone(c.total, c.done), c.percent) << c.total << " " << c.done;
    }
}

// Pieces of at most 16380 characters, each handed over once the buffer has run
// empty; the panel receives the whole text in order.
TEST(Transmission, SendsInPiecesEachAfterTheBufferRanEmpty) {
    struct Case {
        std::string text;
        std::vector<std::size_t> pieces;
    };
    std::string accented = showText(16380) + "\xC3\xA9";  // 16381 characters, the last "é"
    for (const Case& c :
         {Case{showText(16380), {16380}}, Case{showText(16381), {16380, 1}},
          Case{showText(40000), {16380, 16380, 7240}}, Case{accented, {16380, 1}}}) {
        Fixture f;
        f.click(c.text);
        f.link.drain(1);
        EXPECT_EQ(f.transmission.tick(c.text).end, SendEnd::None);
        EXPECT_EQ(f.link.pieces.size(), 1u);  // nothing more while characters are queued

        EXPECT_EQ(f.runToEnd(c.text), SendEnd::Completed);
        std::vector<std::size_t> sizes;
        for (const std::string& piece : f.link.pieces) sizes.push_back(utf8Length(piece));
        EXPECT_EQ(sizes, c.pieces);
        EXPECT_EQ(f.link.queuedAtHandOver, std::vector<std::int64_t>(c.pieces.size(), 0));
        EXPECT_EQ(f.link.line, c.text);
    }
}

TEST(Transmission, DisplayFollowsTheTransmission) {
    Fixture f;
    std::string text = showText(40000);
    SendStep empty = f.click("");  // an empty text starts nothing, so records nothing
    EXPECT_TRUE(empty.portLabel == std::nullopt && !empty.sent);
    EXPECT_TRUE(f.link.calls.empty());

    EXPECT_EQ(f.click(text).portLabel, "[Comm settings are 19200,N,8,1]");
    EXPECT_EQ(shownAs(f.shown), "Transmit Cancel|Transmitting|40000|0|bar|busy|locked");
    EXPECT_TRUE(f.transmission.timerRunning());

    // At every tick the label counts the characters not yet on the line and
    // the bar shows the share that is.
    SendStep step;
    while ((step = f.transmission.tick(text)).end == SendEnd::None) {
        auto onLine = static_cast<std::int64_t>(f.link.line.size());
        EXPECT_EQ(f.shown.charactersLeft, std::to_string(40000 - onLine));
        EXPECT_EQ(f.shown.progress, PercentDone(40000, onLine));
        EXPECT_EQ(f.shown.status, std::to_string(f.link.outputCount()) + " queued");
        f.link.drain(997);
    }
    EXPECT_EQ(step.end, SendEnd::Completed);
    EXPECT_EQ(shownAs(f.shown), "Transmit Show|||0");
    EXPECT_FALSE(f.transmission.timerRunning());
}

TEST(Transmission, CancelOnNoContinuesOnYesStopsAndRestartsFromTheStart) {
    Fixture f;
    std::string text = showText(40000);
    f.click(text);
    f.link.drain(100);
    std::size_t calls = f.link.calls.size();
    EXPECT_TRUE(f.click(text).askCancel);  // No: nothing changes
    EXPECT_EQ(f.link.calls.size(), calls);
    EXPECT_EQ(f.transmission.state().SendHanded, 16380);

    EXPECT_EQ(f.transmission.confirmCancel().portLabel, "[Comm Port Closed]");
    EXPECT_FALSE(f.link.isOpen());
    EXPECT_EQ(f.transmission.state().SendLength + f.transmission.state().SendHanded, 0);
    EXPECT_EQ(shownAs(f.shown), "Transmit Show|Cancelled!|40000|0|bar|locked");
    EXPECT_EQ(f.transmission.tick(text).end, SendEnd::Stopped);  // one tick later
    EXPECT_EQ(shownAs(f.shown), "Transmit Show|||0");
    EXPECT_EQ(f.link.line, text.substr(0, 100));

    f.link.line.clear();
    EXPECT_FALSE(f.click(text).askCancel);
    EXPECT_TRUE(f.link.isOpen());
    EXPECT_EQ(f.runToEnd(text), SendEnd::Completed);
    EXPECT_EQ(f.link.line, text);
}

// The timer runs on while the question is open: the show may have ended by
// the time the operator answers Yes. The timer then stays off, so
// "Cancelled!" stays.
TEST(Transmission, YesAfterTheEndStillClosesThePortAndKeepsCancelledShowing) {
    Fixture f;
    f.click("S\t0\t0\r\n");
    ASSERT_TRUE(f.click("").askCancel);
    ASSERT_EQ(f.runToEnd(""), SendEnd::Completed);
    EXPECT_EQ(f.transmission.confirmCancel().portLabel, "[Comm Port Closed]");
    EXPECT_FALSE(f.link.isOpen());
    EXPECT_FALSE(f.transmission.timerRunning());
    EXPECT_EQ(shownAs(f.shown), "Transmit Show|Cancelled!||0");
}

// 19200 baud is 1920 characters a second, 192 a tick: a show waits at most one
// tick after each piece has drained.
TEST(Transmission, TakesNoLongerThanWireTimePlusOneTickPerPiece) {
    Fixture f;
    std::string text = showText(40000);
    const std::int64_t perTick = 1920 * kTickMilliseconds / 1000;
    f.click(text);
    std::int64_t ticks = 0;
    do {
        ASSERT_LT(++ticks, 10000);
        f.link.drain(perTick);
    } while (f.transmission.tick(text).end != SendEnd::Completed);
    EXPECT_EQ(f.link.line, text);
    std::int64_t wireTicks = (40000 + perTick - 1) / perTick;
    EXPECT_LE(ticks, wireTicks + 3);
}

TEST(Transmission, PortThatDoesNotOpenStopsTheStartWhereItFailedAndTheNextClickTriesAgain) {
    Fixture f;
    f.link.opens = false;
    SendStep step = f.transmission.click("S\t0\t0\r\n", f.port, "7");
    EXPECT_EQ(step.end, SendEnd::Failed);
    EXPECT_EQ(step.messages,
              (std::vector<std::string>{"Comm Port: 7 not available!", "the port is not open"}));
    EXPECT_EQ(step.portLabel, "[Comm Port Closed]");
    EXPECT_FALSE(step.sent);  // nothing started, so nothing is recorded
    // The display keeps what the start showed; only the pointer returns.
    EXPECT_EQ(shownAs(f.shown), "Transmit Show|Transmitting|7|0|bar");
    EXPECT_FALSE(f.transmission.timerRunning());
    EXPECT_EQ(f.transmission.state().SendLength, 0);
    f.link.opens = true;
    EXPECT_FALSE(f.click("S\t0\t0\r\n").askCancel);
    EXPECT_EQ(f.link.pieces.size(), 1u);
}

TEST(Transmission, TextIsCheckedWholeFirstAndLaterPiecesComeFromTheTextAndPortAsTheyStand) {
    Fixture f;
    SendStep step = f.click(showText(30000) + "\xE2\x9C\x93");  // a check mark at the very end
    EXPECT_EQ(step.end, SendEnd::Failed);
    EXPECT_EQ(step.messages,
              std::vector<std::string>{"The text cannot be sent: the character \"\xE2\x9C\x93\" "
                                       "(U+2713) cannot be written in the "
                                       "Windows-1252 code page"});
    EXPECT_TRUE(f.link.calls.empty());

    // Later pieces are cut from the text as it stands at each tick.
    f.click(std::string(20000, 'a'));
    EXPECT_EQ(f.runToEnd(std::string(30000, 'b')), SendEnd::Completed);
    EXPECT_EQ(f.link.line, std::string(16380, 'a') + std::string(3620, 'b'));

    // Clear Terminal reopens the port, which drops what was queued; the
    // transmission carries on with its next piece.
    const std::string text = showText(40000);
    f.link.line.clear();
    f.click(text);
    f.link.drain(1000);
    EXPECT_FALSE(clearTerminal(f.port, "1", f.link).message);
    EXPECT_EQ(f.runToEnd(text), SendEnd::Completed);
    EXPECT_EQ(f.link.line, text.substr(0, 1000) + text.substr(16380));
}

// A panel that stops reading leaves the queue standing: after kStallTicks
// ticks without one character leaving, the transmission ends, naming the port
// and how far it got. A queue that shrinks at all, however slowly, is no stall.
TEST(Transmission, QueueThatStopsShrinkingEndsTheTransmissionAfterTheStallTime) {
    Fixture f;
    std::string text = showText(40000);
    f.port.PortPath = "/dev/ttyUSB0";
    f.click(text);
    for (int i = 0; i < 3 * kStallTicks; ++i) {
        f.link.drain(1);
        ASSERT_EQ(f.transmission.tick(text).end, SendEnd::None) << "slow is not stalled";
    }
    f.link.drain(16380 - 3 * kStallTicks - 20);
    for (int i = 0; i < kStallTicks; ++i) ASSERT_EQ(f.transmission.tick(text).end, SendEnd::None);
    // Cancel stays possible while stalled.
    EXPECT_TRUE(f.click(text).askCancel);
    SendStep stalled = f.transmission.tick(text);
    EXPECT_EQ(stalled.end, SendEnd::Failed);
    EXPECT_EQ(stalled.messages,
              std::vector<std::string>{"Transmission stopped: /dev/ttyUSB0: the panel has taken no "
                                       "characters for 10 seconds. 16360 of 40000 characters went "
                                       "out."});
    EXPECT_EQ(stalled.portLabel, "[Comm Port Closed]");
    EXPECT_FALSE(f.link.isOpen() || f.transmission.timerRunning());
    EXPECT_TRUE(f.shown.commButtonsEnabled);
    EXPECT_FALSE(f.click(text).askCancel) << "the next click starts afresh";
}

// The port failing by itself: the reason it gives, and the characters that had
// left by the last tick (its queue cannot be read once it has failed).
TEST(Transmission, PortThatFailsMidWayReportsItsReasonAndHowFarItGot) {
    Fixture f;
    std::string text = showText(20000);
    f.click(text);
    f.link.drain(5000);
    ASSERT_EQ(f.transmission.tick(text).end, SendEnd::None);
    f.link.drain(100);
    f.link.failNow("/dev/ttyS0: the device was removed");
    SendStep ended = f.transmission.tick(text);
    EXPECT_EQ(ended.end, SendEnd::Failed);
    EXPECT_EQ(ended.messages, std::vector<std::string>{"Transmission stopped: /dev/ttyS0: the "
                                                       "device was removed. 5000 of 20000 "
                                                       "characters went out."});
    f.click(text);
    f.link.failNow("");
    EXPECT_EQ(f.transmission.tick(text).messages,
              std::vector<std::string>{"Transmission stopped: /dev/ttyS0: the port closed. 0 of "
                                       "20000 characters went out."});
}

}  // namespace
}  // namespace fulgor
