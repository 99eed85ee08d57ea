#include <gtest/gtest.h>

#include "conversion/sd_to_pd.h"
#include "conversion/sd_to_talsen.h"
#include "core/script_columns.h"
#include "fake_sd_source.h"

namespace fulgor {
namespace {

const std::vector<std::string> kNames = {
    "CUE",  "TIME", "HH",  "MM",    "SS",  "FF",  "Event Description",  "PFT",
    "ADDR", "CGHZ", "POS", "ANGLE", "QTY", "CAL", "Effect Description", "PRICE1"};

// One event in kNames order; the time code is built from its four parts.
std::vector<FakeValue> event(double cue, int h, int m, int s, int f, FakeValue addr,
                             FakeValue pft = 25.0, FakeValue angle = std::string("45")) {
    double code = h * 16777216.0 + m * 65536.0 + s * 256.0 + f;
    return {cue,  code, double(h), double(m), double(s), double(f), std::string("Comet"),     pft,
            addr, 12.0, 4.0,       angle,     2.0,       3.0,       std::string("Red Peony"), 9.5};
}

std::string text(const Table& t, int row, int column) {
    return cellText(t.cell(row, column));
}

TEST(SdToTalsen, MapsEveryFieldOfAnEvent) {
    FakeSdSource source(
        kNames, {event(7, 1, 2, 30, 15, 163.0), event(8, 0, 0, 5, 29, 255.0, 0.0, FakeValue())});
    for (SdSize size : {SdSize::Cal, SdSize::Cghz}) {
        FakeSdSource fresh = source;
        auto converted = SdToTalsen(fresh, size);
        ASSERT_TRUE(converted.ok());
        const Table& t = converted.value().table;
        ASSERT_EQ(t.rowCount(), 2);
        EXPECT_EQ(t.cell(0, talsen::Line), Cell::number(7));
        EXPECT_EQ(text(t, 0, talsen::Type), "Red Peony");
        EXPECT_EQ(t.cell(0, talsen::Size), Cell::number(size == SdSize::Cal ? 3 : 12));
        EXPECT_EQ(t.cell(0, talsen::Time), Cell::number(3750.5));
        EXPECT_EQ(t.cell(0, talsen::Prefire), Cell::number(2.5));
        EXPECT_EQ(t.cell(0, talsen::Qty), Cell::number(2));
        EXPECT_EQ(t.cell(0, talsen::Pos), Cell::number(4));
        EXPECT_EQ(t.cell(0, talsen::Mod), Cell::text("0A"));
        EXPECT_EQ(t.cell(0, talsen::Pin), Cell::text("3"));
        EXPECT_EQ(t.cell(0, talsen::Cost), Cell::number(9.5));
        EXPECT_EQ(t.cell(0, talsen::Notes), Cell::text("Comet45"));
        EXPECT_EQ(t.cell(1, talsen::Time), Cell::number(5.97));
        EXPECT_EQ(t.cell(1, talsen::Prefire), Cell::number(0));
        EXPECT_EQ(text(t, 1, talsen::Mod) + text(t, 1, talsen::Pin), "0FF");
        EXPECT_EQ(t.cell(1, talsen::Notes), Cell::text("Comet"));
        EXPECT_EQ(skippedEventsMessage(converted.value()), "");
    }
}

TEST(SdToTalsen, SkipsEventsItCannotWriteAndSaysWhy) {
    FakeSdSource source(kNames,
                        {event(1, 0, 0, 1, 0, 4095.0), event(2, 0, 0, 2, 0, 4096.0),
                         event(3, 0, 0, 3, 0, FakeValue()), event(4, 0, 0, 4, 0, std::string("")),
                         event(5, 0, 0, 5, 0, 0.0), event(6, 0, 0, 6, 0, -1.0),
                         event(7, 0, 0, 7, 0, std::string("12x"))});
    auto converted = SdToTalsen(source, SdSize::Cal);
    ASSERT_TRUE(converted.ok());
    const SdToTalsenOutcome& out = converted.value();
    ASSERT_EQ(out.table.rowCount(), 2);
    EXPECT_EQ(text(out.table, 0, talsen::Mod) + text(out.table, 0, talsen::Pin), "FFF");
    EXPECT_EQ(text(out.table, 1, talsen::Mod) + text(out.table, 1, talsen::Pin), "000");
    EXPECT_EQ(text(out.table, 1, talsen::Line), "5");
    EXPECT_EQ(out.emptyAddr, 2);
    EXPECT_EQ(out.addrTooLarge, 1);
    EXPECT_EQ(out.unreadable, 2);
    EXPECT_EQ(skippedEventsMessage(out),
              "5 events could not be copied to the Talsen script and were left out: 2 events "
              "with an empty ADDR, 1 event with an ADDR of 4096 or more and 2 events whose time "
              "or ADDR is not a whole number from 0.");

    std::vector<FakeValue> untimed = event(9, 0, 0, 0, 0, 1.0);
    untimed[1] = FakeValue();
    FakeSdSource one(kNames, {untimed});
    auto single = SdToTalsen(one, SdSize::Cal);
    EXPECT_EQ(skippedEventsMessage(single.value()),
              "1 event could not be copied to the Talsen script and was left out: 1 event with "
              "an empty time.");
}

TEST(SdToPd, WritesFiredEventsInViewOrderAndCountsTheOthers) {
    std::vector<FakeValue> untimed = event(3, 0, 0, 0, 0, 5.0);
    untimed[1] = std::string("");
    FakeSdSource source(
        kNames, {event(1, 0, 1, 30, 15, 163.0), untimed, event(513, 0, 0, 2, 0, FakeValue()),
                 event(12, 0, 0, 1, 0, 17.0), event(513, 0, 0, 3, 0, 18.0)});
    SdToPdOutcome out = SdToPd(source, SdSize::Cal);
    ASSERT_FALSE(out.failure) << *out.failure;
    std::string expected = "N3000000011E0F1900A300010311\r\n";
    ASSERT_TRUE(out.script.text.starts_with(expected));
    EXPECT_NE(out.script.text.find("\r\nN30001000001001900110"), std::string::npos);
    EXPECT_NE(out.script.text.find("\r\nN30002000003001900120201"), std::string::npos);
    EXPECT_TRUE(out.script.text.ends_with("\r\nN902FD\r\n"));
    EXPECT_EQ(out.script.records, 4);
    EXPECT_EQ(out.script.skipped, 2);
    EXPECT_EQ(out.script.characters(), 3 * 30 + 8);

    FakeSdSource cghz(kNames, {event(12, 0, 0, 1, 0, 17.0)});
    SdToPdOutcome big = SdToPd(cghz, SdSize::Cghz);
    EXPECT_EQ(big.script.text.substr(24, 2), "0C");
    EXPECT_TRUE(big.script.text.ends_with("N900FF\r\n"));
}

TEST(SdToPd, StopsAtTheFirstFailureKeepingWhatCameBefore) {
    std::vector<FakeValue> late = event(2, 0, 0, 0, 0, 5.0);
    late[2] = 300.0;
    FakeSdSource source(kNames, {event(1, 0, 0, 1, 0, 4.0), late, event(3, 0, 0, 1, 0, 4.0)});
    SdToPdOutcome out = SdToPd(source, SdSize::Cal);
    ASSERT_TRUE(out.failure);
    EXPECT_EQ(*out.failure,
              "Format SD as PD Script:\nEvent 2 (CUE 2): the field \"HH\" holds 300, outside 0 "
              "to 255.");
    EXPECT_EQ(out.script.records, 1);
    EXPECT_EQ(out.script.text.size(), 30u);

    const std::pair<int, FakeValue> broken[] = {{7, FakeValue()},          // PFT null
                                                {7, std::string("")},      // PFT empty text
                                                {7, std::string("2.5x")},  // not a number
                                                {0, -1.0},                 // CUE below 0
                                                {7, 255.5},                // rounds to 256
                                                {13, 256.0}};              // CAL too large
    const char* causes[] = {"is empty",
                            "is empty",
                            "holds \"2.5x\", not a number",
                            "holds -1, outside 0 and up",
                            "holds 255.5, outside 0 to 255",
                            "holds 256, outside 0 to 255"};
    for (std::size_t i = 0; i < std::size(broken); ++i) {
        std::vector<FakeValue> row = event(9, 0, 0, 0, 0, 5.0);
        row[static_cast<std::size_t>(broken[i].first)] = broken[i].second;
        FakeSdSource one(kNames, {row});
        SdToPdOutcome failed = SdToPd(one, SdSize::Cal);
        ASSERT_TRUE(failed.failure) << i;
        EXPECT_TRUE(failed.failure->ends_with(std::string(causes[i]) + ".")) << *failed.failure;
        EXPECT_EQ(failed.script.text, "");
    }

    FakeSdSource empty(kNames, {});
    EXPECT_EQ(*SdToPd(empty, SdSize::Cal).failure,
              "Format SD as PD Script:\nThe SD view holds no events: there is nothing to format.");
    FakeSdSource noSize({"TIME", "ADDR", "HH", "MM", "SS", "FF", "PFT", "CUE"},
                        {{1.0, 2.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0}});
    EXPECT_EQ(*SdToPd(noSize, SdSize::Cghz).failure,
              "Format SD as PD Script:\nEvent 1 (CUE 1): the field \"CGHZ\" is not in the table.");
}

TEST(SdToPd, LargeCueAndAddressAreWrittenFFFF) {
    FakeSdSource source(kNames, {event(70000, 0, 0, 1, 0, 65536.0)});
    SdToPdOutcome out = SdToPd(source, SdSize::Cal);
    ASSERT_FALSE(out.failure);
    EXPECT_EQ(out.script.text.substr(16, 8), "FFFFFFFF");
    EXPECT_TRUE(out.script.text.ends_with("N9FF00\r\n"));
}

}  // namespace
}  // namespace fulgor
