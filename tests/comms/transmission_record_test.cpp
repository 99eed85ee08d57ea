#include "comms/transmission_record.h"

#include <gtest/gtest.h>

#include "comms/fake_serial_link.h"
#include "comms/transmission.h"

namespace fulgor {
namespace {

// 2026-12-06 04:09:12 UTC.
constexpr std::int64_t kMoment = 1796530152;

std::string repeated(std::string_view text, int times) {
    std::string out;
    while (times-- > 0) out += text;
    return out;
}

TEST(TransmissionRecord, CheckValuesAndLocalClockWithItsOffset) {
    EXPECT_EQ(crc32Of("123456789"), 0xCBF43926u);
    EXPECT_EQ(crc32Of(""), 0u);
    struct Case {
        RecordTime when;
        std::string text;
    };
    // A negative offset with minutes reaches back into the day before; 2100
    // lies past 32-bit time.
    for (const Case& c : {Case{{0, 0}, "1970-01-01 00:00:00 +00:00"},
                          {{kMoment, 0}, "2026-12-06 04:09:12 +00:00"},
                          {{kMoment, 3600}, "2026-12-06 05:09:12 +01:00"},
                          {{kMoment, -(5 * 3600 + 30 * 60)}, "2026-12-05 22:39:12 -05:30"},
                          {{1709251199, 0}, "2024-02-29 23:59:59 +00:00"},
                          {{1709251200, 0}, "2024-03-01 00:00:00 +00:00"},
                          {{4102444800, 0}, "2100-01-01 00:00:00 +00:00"}}) {
        EXPECT_EQ(recordTimeText(c.when), c.text) << c.when.secondsSinceEpoch;
    }
}

SentShow kavrinShow() {
    SentShow show;
    show.port = "/dev/ttyUSB0";
    show.settings = "19200,N,8,1";
    show.sent = "N\tMidsummer Finale\r\nS\t1\t1\t1\t123\t1\t1\r\nS\t0\t0\r\n";
    show.length = static_cast<std::int64_t>(show.sent.size());
    show.firstLine = "N\tMidsummer Finale";
    return show;
}

TEST(TransmissionRecord, WholeLineForEachEnding) {
    const RecordTime when{kMoment, 3600};
    SentShow show = kavrinShow();
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08X", crc32Of(show.sent));
    EXPECT_EQ(transmissionRecordLine(show, when),
              "2026-12-06 05:09:12 +01:00 | /dev/ttyUSB0 | 19200,N,8,1 | 44 bytes | CRC-32 " +
                  std::string(crc) + " | \"N\\tMidsummer Finale\" | complete");

    show.sent = "123456789";
    show.ending = SendEnding::Cancelled;
    EXPECT_EQ(transmissionRecordLine(show, when),
              "2026-12-06 05:09:12 +01:00 | /dev/ttyUSB0 | 19200,N,8,1 | 9 of 44 bytes | CRC-32 "
              "CBF43926 | \"N\\tMidsummer Finale\" | cancelled at byte 9");

    show.sent.clear();
    show.ending = SendEnding::PortLost;
    EXPECT_EQ(transmissionRecordLine(show, when),
              "2026-12-06 05:09:12 +01:00 | /dev/ttyUSB0 | 19200,N,8,1 | 0 of 44 bytes | CRC-32 "
              "00000000 | \"N\\tMidsummer Finale\" | port lost at byte 0");
}

// The first line is quoted so that nothing in it can break or fake the record.
TEST(TransmissionRecord, FirstLineIsEscapedAndCut) {
    struct Case {
        std::string firstLine;
        std::string shown;
    };
    const std::string sixty(60, 'x');
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08X", crc32Of(kavrinShow().sent));
    // Characters, not bytes: sixty "é" fit, the sixty-first does not.
    for (const Case& c : {Case{"", "\"\""},
                          {"say \"hi\" \\ bye", "\"say \\\"hi\\\" \\\\ bye\""},
                          {std::string("a\x01\x1F\x7F", 4) + "b", "\"a\\x01\\x1F\\x7Fb\""},
                          {sixty, "\"" + sixty + "\""},
                          {sixty + "y", "\"" + sixty + "\"..."},
                          {repeated("\xC3\xA9", 61), "\"" + repeated("\xC3\xA9", 60) + "\"..."}}) {
        SentShow show = kavrinShow();
        show.firstLine = c.firstLine;
        EXPECT_EQ(transmissionRecordLine(show, {}),
                  "1970-01-01 00:00:00 +00:00 | /dev/ttyUSB0 | 19200,N,8,1 | 44 bytes | CRC-32 " +
                      std::string(crc) + " | " + c.shown + " | complete");
    }
    EXPECT_EQ(firstLineOf("N\tShow\r\nS\t0\t0\r\n"), "N\tShow");
    EXPECT_EQ(firstLineOf("only\nline"), "only");
    EXPECT_EQ(firstLineOf("\r\nS"), "");
    EXPECT_EQ(firstLineOf("no line end"), "no line end");
}

// The transmission hands its record over once, as it ends.
struct Sending {
    test::FakeSerialLink link;
    PortState port;
    Transmission transmission{link};
    std::string text;

    explicit Sending(std::string t) : text(std::move(t)) {
        port.PortPath = "/dev/ttyPanel";
        port.PortSettings = "9600,N,8,1";
        EXPECT_FALSE(transmission.click(text, port, "/dev/ttyPanel").sent);
    }
    // Ticks, putting `perTick` characters on the line before each, until a record comes.
    std::optional<SentShow> run(std::int64_t perTick, int maxTicks = 1000) {
        for (int i = 0; i < maxTicks; ++i) {
            link.drain(perTick);
            SendStep step = transmission.tick(text);
            if (step.sent || step.end != SendEnd::None) return step.sent;
        }
        return std::nullopt;
    }
};

std::string panelText(std::size_t length) {
    std::string text = "N\tShow\r\n";
    while (text.size() < length) text += static_cast<char>('A' + text.size() % 26);
    return text.substr(0, length);
}

TEST(TransmissionRecord, CompleteCarriesEveryByteInTheCodePage) {
    Sending s(panelText(40000) + "\xC3\xA9");  // "é" goes out as the one byte E9
    std::optional<SentShow> sent = s.run(5000);
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->ending, SendEnding::Complete);
    EXPECT_EQ(sent->port, "/dev/ttyPanel");
    EXPECT_EQ(sent->settings, "9600,N,8,1");
    EXPECT_EQ(sent->length, 40001);
    EXPECT_TRUE(sent->sent == panelText(40000) + "\xE9");
    EXPECT_EQ(sent->firstLine, "N\tShow");
    EXPECT_EQ(transmissionEnding(*sent), "complete");
}

TEST(TransmissionRecord, CancelCountsWhatLeftThePortNotWhatWasQueued) {
    Sending s(panelText(40000));
    ASSERT_FALSE(s.run(1000, 17));  // the first piece on the line, the second queued
    s.link.drain(123);
    SendStep cancelled = s.transmission.confirmCancel();
    ASSERT_TRUE(cancelled.sent);
    EXPECT_EQ(cancelled.sent->ending, SendEnding::Cancelled);
    EXPECT_EQ(cancelled.sent->sent.size(), 16503u);
    EXPECT_TRUE(cancelled.sent->sent == s.link.line);
    EXPECT_EQ(transmissionEnding(*cancelled.sent), "cancelled at byte 16503");
    // The tick that returns to idle records nothing more, nor does a second Yes.
    EXPECT_FALSE(s.transmission.tick(s.text).sent);
    EXPECT_FALSE(s.transmission.confirmCancel().sent);
}

TEST(TransmissionRecord, PortLostCountsWhatTheLastTickSawLeave) {
    Sending s(panelText(40000));
    ASSERT_FALSE(s.run(700, 3));  // the last tick saw 2100 characters gone
    s.link.drain(50);
    s.link.failNow("the device was removed");
    std::optional<SentShow> sent = s.run(0, 1);
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->ending, SendEnding::PortLost);
    EXPECT_TRUE(sent->sent == s.link.line.substr(0, 2100));
    EXPECT_EQ(transmissionEnding(*sent), "port lost at byte 2100");
}

}  // namespace
}  // namespace fulgor
