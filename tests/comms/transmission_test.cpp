#include "comms/transmission.h"

#include <gtest/gtest.h>

#include "comms/fake_serial_link.h"
#include "comms/terminal.h"

namespace fulgor {
namespace {

using test::FakeSerialLink;

// Characters 'A'..'Z' over and over, so that a piece cut at the wrong place shows.
std::string showText(std::size_t length) {
    std::string text(length, ' ');
    for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<char>('A' + i % 26);
    return text;
}

struct Fixture {
    FakeSerialLink link;
    PortState port;
    Transmission transmission{link};

    SendStep click(std::string_view text) { return transmission.click(text, port, "1"); }

    // Ticks, draining the whole buffer before every tick, until the transmission ends.
    SendEnd runToEnd(std::string_view text) {
        for (int ticks = 0; ticks < 1000; ++ticks) {
            link.drainAll();
            SendStep step = transmission.tick(text);
            if (step.end != SendEnd::None) return step.end;
        }
        ADD_FAILURE() << "the transmission never ended";
        return SendEnd::None;
    }
};

TEST(PercentDone, RoundsHalvesToEven) {
    struct Case {
        std::int64_t total, done, percent;
    };
    for (Case c : {Case{0, 0, 0}, Case{0, 7, 0}, Case{200, 1, 0}, Case{200, 3, 2}, Case{8, 1, 12},
                   Case{8, 3, 38}, Case{3, 2, 67}, Case{40000, 16380, 41}, Case{40000, 40000, 100},
                   Case{3'000'000'000LL, 3'000'000'000LL, 100}}) {
        EXPECT_EQ(PercentDone(c.total, c.done), c.percent) << c.total << " " << c.done;
    }
}

// Each piece is at most 16380 characters and is handed over only once the
// buffer has run empty; the panel receives the whole text in order.
TEST(Transmission, SendsInPiecesEachAfterTheBufferRanEmpty) {
    struct Case {
        std::string text;
        std::vector<std::size_t> pieces;  // characters per piece
    };
    std::string accented = showText(16380) + "\xC3\xA9";  // 16381 characters, the last "é"
    for (const Case& c : {Case{showText(16380), {16380}}, Case{showText(16381), {16380, 1}},
                          Case{showText(40000), {16380, 16380, 7240}}, Case{accented, {16380, 1}},
                          Case{"S\t0\t0\r\n", {7}}}) {
        Fixture f;
        f.click(c.text);
        // A tick while characters are still queued hands nothing over.
        f.link.drain(1);
        EXPECT_EQ(f.transmission.tick(c.text).end, SendEnd::None);
        EXPECT_EQ(f.link.pieces.size(), 1u);

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
    SendStep started = f.click(text);
    EXPECT_EQ(started.portLabel, "[Comm settings are 19200,N,8,1]");
    EXPECT_TRUE(started.messages.empty());
    const SendDisplay& shown = f.transmission.display();
    EXPECT_EQ(shown.buttonCaption, "Transmit Cancel");
    EXPECT_EQ(shown.status, "Transmitting");
    EXPECT_EQ(shown.charactersLeft, "40000");
    EXPECT_EQ(shown.progress, 0);
    EXPECT_TRUE(shown.progressVisible);
    EXPECT_TRUE(shown.busyPointer);
    EXPECT_FALSE(shown.commButtonsEnabled);
    EXPECT_TRUE(f.transmission.timerRunning());
    EXPECT_EQ(f.transmission.state().SendLength, 40000);
    EXPECT_EQ(f.transmission.state().SendHanded, 16380);

    // Characters left count both those not handed over and those still queued.
    f.link.drain(192);
    f.transmission.tick(text);
    EXPECT_EQ(shown.charactersLeft, "39808");
    EXPECT_EQ(shown.progress, 0);
    EXPECT_EQ(shown.status, "16188 queued");
    f.link.drain(16188 - 4000);
    f.transmission.tick(text);
    EXPECT_EQ(shown.charactersLeft, "27620");
    EXPECT_EQ(shown.progress, 31);  // 12380 of 40000

    // Walk to the end: at every tick the label counts exactly the characters
    // not yet on the line, and the bar shows the share that is.
    SendStep step;
    while ((step = f.transmission.tick(text)).end == SendEnd::None) {
        auto onLine = static_cast<std::int64_t>(f.link.line.size());
        EXPECT_EQ(shown.charactersLeft, std::to_string(40000 - onLine));
        EXPECT_EQ(shown.progress, PercentDone(40000, onLine));
        f.link.drain(997);
    }
    EXPECT_EQ(step.end, SendEnd::Completed);

    EXPECT_EQ(shown.buttonCaption, "Transmit Show");
    EXPECT_EQ(shown.status, "");
    EXPECT_EQ(shown.charactersLeft, "");
    EXPECT_EQ(shown.progress, 0);
    EXPECT_FALSE(shown.progressVisible);
    EXPECT_FALSE(shown.busyPointer);
    EXPECT_TRUE(shown.commButtonsEnabled);
    EXPECT_FALSE(f.transmission.timerRunning());
    EXPECT_EQ(f.transmission.state().SendLength, 0);
    EXPECT_EQ(f.link.line, text);
}

TEST(Transmission, EmptyTextStartsNothing) {
    Fixture f;
    SendStep step = f.click("");
    EXPECT_EQ(step.end, SendEnd::None);
    EXPECT_TRUE(step.messages.empty());
    EXPECT_FALSE(step.portLabel);
    EXPECT_TRUE(f.link.calls.empty());
    EXPECT_FALSE(f.transmission.timerRunning());
    EXPECT_EQ(f.transmission.display().buttonCaption, "Transmit Show");
}

TEST(Transmission, AnsweringNoLetsItContinue) {
    Fixture f;
    std::string text = showText(20000);
    f.click(text);
    std::size_t callsBefore = f.link.calls.size();
    SendStep asked = f.click(text);
    EXPECT_TRUE(asked.askCancel);
    EXPECT_EQ(f.link.calls.size(), callsBefore);
    EXPECT_EQ(f.transmission.state().SendHanded, 16380);
    EXPECT_EQ(f.runToEnd(text), SendEnd::Completed);
    EXPECT_EQ(f.link.line, text);
}

TEST(Transmission, AnsweringYesStopsAtOnceAndTheNextTickClears) {
    Fixture f;
    std::string text = showText(40000);
    f.click(text);
    f.link.drain(100);
    ASSERT_TRUE(f.click(text).askCancel);
    SendStep cancelled = f.transmission.confirmCancel();

    EXPECT_EQ(cancelled.portLabel, "[Comm Port Closed]");
    EXPECT_FALSE(f.link.isOpen());
    EXPECT_TRUE(f.link.queue.empty());
    EXPECT_EQ(f.transmission.state().SendLength, 0);
    EXPECT_EQ(f.transmission.state().SendHanded, 0);
    const SendDisplay& shown = f.transmission.display();
    EXPECT_EQ(shown.buttonCaption, "Transmit Show");
    EXPECT_EQ(shown.status, "Cancelled!");
    EXPECT_FALSE(shown.busyPointer);
    EXPECT_TRUE(f.transmission.timerRunning());

    EXPECT_EQ(f.transmission.tick(text).end, SendEnd::Stopped);
    EXPECT_EQ(shown.status, "");
    EXPECT_FALSE(shown.progressVisible);
    EXPECT_TRUE(shown.commButtonsEnabled);
    EXPECT_FALSE(f.transmission.timerRunning());
    EXPECT_EQ(f.link.line, text.substr(0, 100));
}

// The timer keeps running while the question is open, so the transmission may
// have ended by the time the operator answers Yes.
TEST(Transmission, YesAfterTheEndStillClosesThePort) {
    Fixture f;
    std::string text = showText(500);
    f.click(text);
    ASSERT_TRUE(f.click(text).askCancel);
    ASSERT_EQ(f.runToEnd(text), SendEnd::Completed);
    SendStep cancelled = f.transmission.confirmCancel();
    EXPECT_EQ(cancelled.portLabel, "[Comm Port Closed]");
    EXPECT_FALSE(f.link.isOpen());
    EXPECT_EQ(f.transmission.display().status, "Cancelled!");
    EXPECT_EQ(f.transmission.tick(text).end, SendEnd::Stopped);
    EXPECT_EQ(f.transmission.display().status, "");
    EXPECT_EQ(f.link.line, text);
}

TEST(Transmission, ANewStartAfterACancelBeginsAtTheFirstCharacter) {
    Fixture f;
    std::string text = showText(40000);
    f.click(text);
    f.link.drainAll();
    f.transmission.tick(text);  // second piece
    f.transmission.confirmCancel();
    f.transmission.tick(text);
    f.link.line.clear();
    f.link.pieces.clear();

    SendStep restarted = f.click(text);
    EXPECT_FALSE(restarted.askCancel);
    EXPECT_TRUE(f.link.isOpen());
    EXPECT_EQ(f.link.pieces.at(0), text.substr(0, 16380));
    EXPECT_EQ(f.runToEnd(text), SendEnd::Completed);
    EXPECT_EQ(f.link.line, text);
}

// At 19200 baud (1920 characters a second) and a tick every 100 ms, a show
// waits at most one tick after each piece has drained.
TEST(Transmission, TakesNoLongerThanWireTimePlusOneTickPerPiece) {
    Fixture f;
    std::string text = showText(40000);
    const std::int64_t charactersPerSecond = 1920;
    const std::int64_t charactersPerTick = charactersPerSecond * kTickMilliseconds / 1000;
    f.click(text);
    int ticks = 0;
    do {
        ASSERT_LT(++ticks, 10000) << "never completed";
        f.link.drain(charactersPerTick);
    } while (f.transmission.tick(text).end != SendEnd::Completed);
    EXPECT_EQ(f.link.line, text);
    double elapsed = ticks * kTickMilliseconds / 1000.0;
    double wireTime = 40000.0 / charactersPerSecond;
    EXPECT_LE(elapsed, wireTime + 3 * kTickMilliseconds / 1000.0);
}

TEST(Transmission, PortThatDoesNotOpenEndsTheStartWithItsMessages) {
    Fixture f;
    f.link.opens = false;
    f.port.PortNumber = 7;
    std::string text = showText(100);
    SendStep step = f.transmission.click(text, f.port, "7");
    EXPECT_EQ(step.end, SendEnd::Failed);
    EXPECT_EQ(step.messages,
              (std::vector<std::string>{"Comm Port: 7 not available!", "the port is not open"}));
    EXPECT_EQ(step.portLabel, "[Comm Port Closed]");
    // Nothing is left running: the pointer is back, the buttons work, and the
    // next click tries again instead of asking to cancel.
    const SendDisplay& shown = f.transmission.display();
    EXPECT_FALSE(shown.busyPointer);
    EXPECT_TRUE(shown.commButtonsEnabled);
    EXPECT_FALSE(shown.progressVisible);
    EXPECT_FALSE(f.transmission.timerRunning());
    EXPECT_EQ(f.transmission.state().SendLength, 0);
    f.link.opens = true;
    EXPECT_FALSE(f.transmission.click(text, f.port, "7").askCancel);
    EXPECT_EQ(f.link.pieces.size(), 1u);
}

TEST(Transmission, TextTheCodePageCannotHoldIsRefusedBeforeAnythingIsSent) {
    Fixture f;
    std::string text = showText(30000) + "\xE2\x9C\x93";  // a check mark at the very end
    SendStep step = f.click(text);
    EXPECT_EQ(step.end, SendEnd::Failed);
    ASSERT_EQ(step.messages.size(), 1u);
    EXPECT_NE(step.messages[0].find("U+2713"), std::string::npos) << step.messages[0];
    EXPECT_TRUE(f.link.calls.empty());
    EXPECT_EQ(f.transmission.state().SendLength, 0);
}

TEST(Transmission, PortGoingAwayEndsItWithTheSystemsReason) {
    Fixture f;
    std::string text = showText(40000);
    f.click(text);
    f.link.drainAll();
    f.transmission.tick(text);
    f.link.failNow("/dev/ttyUSB0: Input/output error");
    SendStep step = f.transmission.tick(text);
    EXPECT_EQ(step.end, SendEnd::Failed);
    EXPECT_EQ(step.messages,
              (std::vector<std::string>{"Transmission stopped: /dev/ttyUSB0: Input/output error"}));
    EXPECT_EQ(step.portLabel, "[Comm Port Closed]");
    EXPECT_FALSE(f.transmission.timerRunning());
    EXPECT_TRUE(f.transmission.display().commButtonsEnabled);
    EXPECT_EQ(f.transmission.state().SendLength, 0);
}

// Later pieces come from the holding pen's text at each tick, up to the
// length counted at the start.
TEST(Transmission, LaterPiecesAreCutFromTheCurrentText) {
    Fixture f;
    std::string first(20000, 'a');
    std::string replaced(30000, 'b');
    f.click(first);
    f.link.drainAll();
    f.transmission.tick(replaced);
    EXPECT_EQ(f.runToEnd(replaced), SendEnd::Completed);
    EXPECT_EQ(f.link.line, std::string(16380, 'a') + std::string(3620, 'b'));

    f.link.line.clear();
    f.click(first);
    f.link.drainAll();
    EXPECT_EQ(f.runToEnd("short"), SendEnd::Completed);
    EXPECT_EQ(f.link.line, std::string(16380, 'a'));
}

// Clear Terminal reopens the port, dropping what was queued; the transmission
// carries on with its next piece.
TEST(Transmission, ClearTerminalDropsTheQueueAndSendingGoesOn) {
    Fixture f;
    std::string text = showText(40000);
    f.click(text);
    f.link.drain(1000);
    PortOutcome reopened = clearTerminal(f.port, "1", f.link);
    EXPECT_FALSE(reopened.message);
    f.transmission.tick(text);
    ASSERT_EQ(f.link.pieces.size(), 2u);
    EXPECT_EQ(f.link.pieces[1], text.substr(16380, 16380));
    EXPECT_EQ(f.runToEnd(text), SendEnd::Completed);
    EXPECT_EQ(f.link.line, text.substr(0, 1000) + text.substr(16380));
}

}  // namespace
}  // namespace fulgor
