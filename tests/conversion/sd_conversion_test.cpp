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

// A row's cells joined by "|", numbers marked with "#".
std::string rowText(const Table& t, int row) {
    std::string text;
    for (int c = 0; c < t.columnCount(); ++c)
        text += (c ? "|" : "") + std::string(t.cell(row, c).isNumber() ? "#" : "") +
                cellText(t.cell(row, c));
    return text;
}

TEST(SdToTalsen, MapsEveryFieldOfAnEvent) {
    FakeSdSource source(
        kNames, {event(7, 1, 2, 30, 15, 163.0), event(8, 0, 0, 5, 29, 255.0, 0.0, FakeValue())});
    for (SdSize size : {SdSize::Cal, SdSize::Cghz}) {
        FakeSdSource fresh = source;
        auto converted = SdToTalsen(fresh, size);
        ASSERT_TRUE(converted.ok());
        const Table& t = converted.value().table;
        const std::string cal = size == SdSize::Cal ? "#3" : "#12";
        ASSERT_EQ(t.rowCount(), 2);
        EXPECT_EQ(rowText(t, 0), "#7|Red Peony|" + cal + "|#3750.5|#2.5|#2|#4|0A|3|#9.5|Comet45");
        EXPECT_EQ(rowText(t, 1), "#8|Red Peony|" + cal + "|#5.97|#0|#2|#4|0F|F|#9.5|Comet");
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
    EXPECT_EQ(rowText(out.table, 0), "#1|Red Peony|#3|#1|#2.5|#2|#4|FF|F|#9.5|Comet45");
    EXPECT_EQ(rowText(out.table, 1), "#5|Red Peony|#3|#5|#2.5|#2|#4|00|0|#9.5|Comet45");
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

// Part by part, the rows come in parts of the size asked for, the last
// shorter, each with the rows before it; together they are the whole table.
// A failing taker stops the conversion with its failure.
TEST(SdToTalsen, HandsOnItsRowsAPartAtATime) {
    std::vector<std::vector<FakeValue>> rows;
    for (int i = 0; i < 8; ++i) rows.push_back(event(i, 0, 0, i, 0, 17.0));
    rows[2][8] = FakeValue();  // no ADDR: left out
    FakeSdSource wholeSource(kNames, rows);
    Result<SdToTalsenOutcome> whole = SdToTalsen(wholeSource, SdSize::Cal);
    ASSERT_TRUE(whole.ok());

    auto appendRowsOf = [](const Table& part, Table& into) {
        for (int row = 0; row < part.rowCount(); ++row) {
            into.appendRows();
            for (int column = 0; column < part.columnCount(); ++column)
                into.setCell(into.rowCount() - 1, column, part.cell(row, column));
        }
    };
    FakeSdSource source(kNames, rows);
    Table joined(0, talsen::ColumnCount);
    std::vector<std::pair<int, int>> parts;  // rows, rows before
    Result<SdToTalsenOutcome> parted = SdToTalsen(
        source, SdSize::Cal,
        [&](Table& part, int rowsBefore) -> Status {
            parts.emplace_back(part.rowCount(), rowsBefore);
            appendRowsOf(part, joined);
            return {};
        },
        3);
    ASSERT_TRUE(parted.ok());
    EXPECT_EQ(parts, (std::vector<std::pair<int, int>>{{3, 0}, {3, 3}, {1, 6}}));
    EXPECT_EQ(joined, whole.value().table);
    EXPECT_EQ(parted.value().table.rowCount(), 0);
    EXPECT_EQ(parted.value().emptyAddr, 1);

    FakeSdSource failing(kNames, rows);
    int calls = 0;
    Result<SdToTalsenOutcome> stopped = SdToTalsen(
        failing, SdSize::Cal,
        [&](Table&, int) -> Status {
            ++calls;
            return Error{"disk full"};
        },
        3);
    ASSERT_FALSE(stopped.ok());
    EXPECT_EQ(stopped.error(), "disk full");
    EXPECT_EQ(calls, 1);

    // A taker that keeps each part by exchanging it for an empty table gets
    // the same parts, each whole, the later ones made in the tables it gave.
    FakeSdSource kept(kNames, rows);
    std::vector<Table> keptParts;
    Result<SdToTalsenOutcome> exchanged = SdToTalsen(
        kept, SdSize::Cal,
        [&](Table& part, int) -> Status {
            Table given(0, talsen::ColumnCount);
            std::swap(part, given);
            keptParts.push_back(std::move(given));
            return {};
        },
        3);
    ASSERT_TRUE(exchanged.ok());
    ASSERT_EQ(keptParts.size(), 3u);
    Table keptJoined(0, talsen::ColumnCount);
    for (const Table& part : keptParts) appendRowsOf(part, keptJoined);
    EXPECT_EQ(keptJoined, whole.value().table);
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

// Where the failure falls after formed records, and an empty view, are
// checked through the command line (CliSdTest).
TEST(SdToPd, AFieldThatCannotBeFormattedStopsWithNothingWritten) {
    const struct {
        std::size_t field;
        FakeValue value;
        std::string cause;
    } broken[] = {
        {7, FakeValue(), "9): the field \"PFT\" is empty"},
        {7, std::string(""), "9): the field \"PFT\" is empty"},
        {7, std::string("2.5x"), "9): the field \"PFT\" holds \"2.5x\", not a number"},
        {0, -1.0, "-1): the field \"CUE\" holds -1, outside 0 and up"},
        {7, 255.5, "9): the field \"PFT\" holds 255.5, outside 0 to 255"},  // rounds to 256
        {13, 256.0, "9): the field \"CAL\" holds 256, outside 0 to 255"}};
    for (const auto& b : broken) {
        std::vector<FakeValue> row = event(9, 0, 0, 0, 0, 5.0);
        row[b.field] = b.value;
        FakeSdSource one(kNames, {row});
        SdToPdOutcome failed = SdToPd(one, SdSize::Cal);
        EXPECT_EQ(failed.failure.value_or(""),
                  "Format SD as PD Script:\nEvent 1 (CUE " + b.cause + ".");
        EXPECT_EQ(failed.script.text, "");
    }

    FakeSdSource noSize({"TIME", "ADDR", "HH", "MM", "SS", "FF", "PFT", "CUE"},
                        {{1.0, 2.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0}});
    EXPECT_EQ(*SdToPd(noSize, SdSize::Cghz).failure,
              "Format SD as PD Script:\nEvent 1 (CUE 1): the field \"CGHZ\" is not in the table.");
}

// With a sink the records go out a megabyte at a time and what is left stays
// in the script; a failing sink stops the formatting with its failure.
TEST(SdToPd, ASinkTakesTheTextInPiecesOfWholeRecords) {
    std::vector<std::vector<FakeValue>> rows;
    for (int i = 0; i < 40000; ++i)
        rows.push_back(event(i, 0, i / 1800, i / 30 % 60, i % 30, 17.0));
    FakeSdSource wholeSource(kNames, rows);
    SdToPdOutcome whole = SdToPd(wholeSource, SdSize::Cal);
    ASSERT_FALSE(whole.failure) << *whole.failure;

    FakeSdSource source(kNames, rows);
    std::string joined;
    int pieces = 0;
    SdToPdOutcome out = SdToPd(source, SdSize::Cal, [&](std::string_view piece) -> Status {
        EXPECT_TRUE(piece.ends_with("\r\n"));
        joined += piece;
        ++pieces;
        return {};
    });
    ASSERT_FALSE(out.failure) << *out.failure;
    EXPECT_EQ(pieces, 1);
    EXPECT_EQ(joined + out.script.text, whole.script.text);
    EXPECT_EQ(out.script.characters(), whole.script.characters());

    FakeSdSource failing(kNames, rows);
    int calls = 0;
    SdToPdOutcome stopped = SdToPd(failing, SdSize::Cal, [&](std::string_view) -> Status {
        ++calls;
        return Error{"disk full"};
    });
    EXPECT_EQ(stopped.failure.value_or(""), "disk full");
    EXPECT_EQ(calls, 1);
    EXPECT_LT(stopped.script.records, 40000);
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
