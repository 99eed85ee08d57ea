#include "conversion/pd_script.h"

#include <gtest/gtest.h>

#include "addressing/hex_text.h"
#include "addressing/time_text.h"
#include "core/script_columns.h"

namespace fulgor {
namespace {

struct Row {
    const char* time;
    const char* prefire;
    const char* mod;
    const char* pin;
    const char* size = "3";
};

Table talsenRows(std::initializer_list<Row> rows) {
    Table t(static_cast<int>(rows.size()), talsen::ColumnCount);
    int r = 0;
    for (const Row& row : rows) {
        t.setText(r, talsen::Line, "99");
        t.setText(r, talsen::Time, row.time);
        t.setText(r, talsen::Prefire, row.prefire);
        t.setText(r, talsen::Mod, row.mod);
        t.setText(r, talsen::Pin, row.pin);
        t.setText(r, talsen::Size, row.size);
        ++r;
    }
    return t;
}

// One column's texts, joined by "|".
std::string columnText(const Table& t, int column) {
    std::string text;
    for (int r = 0; r < t.rowCount(); ++r) text += (r ? "|" : "") + cellText(t.cell(r, column));
    return text;
}

TEST(TalsenToPd, SortsIntoFiringOrderNumbersAndWritesRecords) {
    Table t = talsenRows({{"90.5", "2.5", "0A", "3", "3in"},
                          {"12", "1.5", "01", "1"},
                          {"12", "3.0", "01", "2"},
                          {"", "1", "02", "2"},
                          {"5", "1", "02", ""}});
    auto pd = TalsenToPd(t);
    ASSERT_TRUE(pd.ok()) << pd.error();
    // The untimed row sorts first; rows without an address get no Line.
    EXPECT_EQ(columnText(t, talsen::Time), "|5|12|12|90.5");
    EXPECT_EQ(columnText(t, talsen::Prefire), "1|1|3.0|1.5|2.5");
    EXPECT_EQ(columnText(t, talsen::Line), "||1|2|3");
    const std::string& text = pd.value().text;
    EXPECT_EQ(text.substr(0, 6), "N30000");
    EXPECT_EQ(text.substr(30, 6), "N30001");
    EXPECT_EQ(text.substr(60, 28), "N3000200011E0F1900A30003030D");
    EXPECT_TRUE(text.ends_with("\r\nN900FF\r\n"));
    EXPECT_EQ(pd.value().records, 4);
    EXPECT_EQ(pd.value().skipped, 2);
}

TEST(TalsenToPd, TimesBecomeFramesRoundedToEvenAndIncompleteRowsAreLeftOut) {
    Table frames = talsenRows(
        {{"12.99", "0", "00", "1"}, {"13.05", "0", "00", "2"}, {"13.15", "0", "00", "3"}});
    auto timed = TalsenToPd(frames);
    ASSERT_TRUE(timed.ok());
    EXPECT_EQ(timed.value().text.substr(6, 8), "00000C1E");
    EXPECT_EQ(timed.value().text.substr(36, 8), "00000D02");
    EXPECT_EQ(timed.value().text.substr(66, 8), "00000D04");

    Table t = talsenRows({{"", "", "", ""}, {"1", "1", "01", ""}});
    auto pd = TalsenToPd(t);
    ASSERT_TRUE(pd.ok());
    EXPECT_EQ(pd.value().text, "N900FF\r\n");
    EXPECT_EQ(pd.value().records, 1);
    EXPECT_EQ(pd.value().characters(), 8);
    EXPECT_EQ(pd.value().skipped, 2);
}

TEST(TalsenToPd, RefusesAddressesNotMadeForPd) {
    for (Row ok : {Row{"1", "1", "7F", "F"}, Row{"1", "1", "7f", "a"}}) {
        Table t = talsenRows({ok});
        EXPECT_TRUE(TalsenToPd(t).ok()) << ok.mod << ok.pin;
    }
    for (Row bad : {Row{"1", "1", "80", "1"}, Row{"1", "1", "01", "10"}, Row{"1", "1", "0G", "1"},
                    Row{"1", "1", "01", "G"}}) {
        Table t = talsenRows({{"0.5", "0", "01", "1"}, bad});
        auto pd = TalsenToPd(t);
        ASSERT_FALSE(pd.ok()) << bad.mod << bad.pin;
        EXPECT_EQ(pd.error(), "Addresses in Talsenshow script are not formatted for PD!");
        EXPECT_EQ(cellText(t.cell(0, talsen::Line)), "1");  // the numbering stays done
    }
}

TEST(TalsenToPd, ValuesThatDoNotFitARecordNameTheRow) {
    const std::pair<Row, const char*> cases[] = {
        {{"abc", "1", "01", "1"}, "its Time is not a number"},
        {{"360000", "1", "01", "1"}, "its Time lies outside 0 to 100 hours"},
        {{"-1", "1", "01", "1"}, "its Time lies outside 0 to 100 hours"},
        {{"1", "25.6", "01", "1"}, "its Prefire lies outside 0 to 25.5 seconds"},
        {{"1", "1", "01", "1", "256"}, "its Size lies outside 0 to 255"}};
    for (const auto& [row, cause] : cases) {
        Table t = talsenRows({row});
        auto pd = TalsenToPd(t);
        ASSERT_FALSE(pd.ok()) << cause;
        EXPECT_EQ(pd.error(), std::string("Row 1 cannot be formatted for PD: ") + cause + ".");
    }
    // The latest time fits: hour 99, frame 30.
    Table edge = talsenRows({{"359999.99", "25.5", "01", "1", "255"}});
    auto latest = TalsenToPd(edge);
    ASSERT_TRUE(latest.ok()) << latest.error();
    EXPECT_EQ(latest.value().text.substr(0, 30), "N30000633B3B1EFF00110001FFF8\r\n");
}

// With a sink a large script goes out a megabyte at a time, in whole
// records that join, with what is left, into the very text made whole; a
// failing sink stops the formatting at once.
TEST(TalsenToPd, ASinkTakesTheTextInPiecesOfWholeRecords) {
    constexpr int kRows = 50000;
    Table big(kRows, talsen::ColumnCount);
    for (int row = 0; row < kRows; ++row) {
        big.setNumber(row, talsen::Time, row / 10.0);
        big.setText(row, talsen::Prefire, "1");
        big.setText(row, talsen::Mod, "0A");
        big.setText(row, talsen::Pin, "3");
        big.setText(row, talsen::Size, "3");
    }
    Table copy = big;
    Result<PdScript> whole = TalsenToPd(copy);
    ASSERT_TRUE(whole.ok()) << whole.error();

    std::vector<std::string> pieces;
    Result<PdScript> streamed = TalsenToPd(big, [&](std::string_view piece) -> Status {
        pieces.emplace_back(piece);
        return {};
    });
    ASSERT_TRUE(streamed.ok()) << streamed.error();
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_GE(pieces[0].size(), std::size_t{1} << 20);
    EXPECT_TRUE(pieces[0].ends_with("\r\n"));
    EXPECT_EQ(pieces[0] + streamed.value().text, whole.value().text);
    EXPECT_EQ(streamed.value().characters(), whole.value().characters());
    EXPECT_EQ(streamed.value().records, kRows + 1);

    int calls = 0;
    Result<PdScript> failed = TalsenToPd(big, [&](std::string_view) -> Status {
        ++calls;
        return Error{"disk full"};
    });
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.error(), "disk full");
    EXPECT_EQ(calls, 1);
}

// A show of many pieces' worth of rows, its prefires, sizes, modules and
// pins of many values side by side and some rows left out: every record is
// the one its row makes alone, numbered across the whole show, and a value
// that does not fit, far into the show, names its own row.
TEST(TalsenToPd, RecordsAreNumberedAcrossTheWholeShow) {
    constexpr int kRows = 100000;
    Table big(kRows, talsen::ColumnCount);
    std::string expected;
    int sent = 0;
    for (int row = 0; row < kRows; ++row) {
        const int hundredths = row * 7 + 3;
        const bool leftOut = row % 997 == 5;
        const int module = row % 128;
        const int pin = row / 128 % 16;
        const int tenths = row % 256;
        const int size = row / 7 % 256;
        big.setText(row, talsen::Time,
                    std::to_string(hundredths / 100) + "." + std::to_string(hundredths % 100 / 10) +
                        std::to_string(hundredths % 10));
        big.setText(row, talsen::Prefire,
                    leftOut ? "" : std::to_string(tenths / 10) + "." + std::to_string(tenths % 10));
        big.setText(row, talsen::Mod, HexByte(static_cast<std::uint8_t>(module)));
        big.setText(row, talsen::Pin, std::string(1, "0123456789ABCDEF"[pin]));
        big.setText(row, talsen::Size, std::to_string(size));
        if (leftOut) continue;
        const Timecode tc = timecodeOf(hundredths);
        Result<std::string> record =
            BuildN3Record({sent, tc.hours, tc.minutes, tc.seconds, tc.frames, tenths,
                           module * 16 + pin, sent + 1, size});
        ASSERT_TRUE(record.ok()) << record.error();
        expected += record.value() + "\r\n";
        ++sent;
    }
    const Table original = big;
    Result<PdScript> pd = TalsenToPd(big);
    ASSERT_TRUE(pd.ok()) << pd.error();
    const std::string& text = pd.value().text;
    ASSERT_TRUE(text.starts_with(expected)) << "the records differ";
    // The last cue, past 65535, counts as 65535 in the end record.
    ASSERT_GT(sent, 65535);
    EXPECT_EQ(text.substr(expected.size()), "N9FF00\r\n");
    EXPECT_EQ(pd.value().records, sent + 1);
    EXPECT_EQ(pd.value().skipped, kRows - sent);
    EXPECT_EQ(pd.value().lastCue, sent);

    Table refused = original;
    refused.setText(90000, talsen::Size, "256");
    std::string handedOn;
    Result<PdScript> failed = TalsenToPd(refused, [&](std::string_view piece) -> Status {
        handedOn += piece;
        return {};
    });
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.error(),
              "Row 90001 cannot be formatted for PD: its Size lies outside 0 to 255.");
    EXPECT_FALSE(handedOn.empty());
    EXPECT_TRUE(expected.starts_with(handedOn));
}

}  // namespace
}  // namespace fulgor
