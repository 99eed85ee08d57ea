#include "show_view/address_usage.h"

#include <gtest/gtest.h>

#include "addressing/kavrin_rows.h"
#include "core/script_columns.h"
#include "show_view/address_key.h"

namespace fulgor {
namespace {

using test::KavrinRow;
using test::kavrinTable;

TEST(AddressKey, LeadingZerosAndCaseAsideWrittenDigitsDecide) {
    // "-01" is not an address form: it is kept as written.
    const std::pair<const char*, const char*> keys[] = {
        {"01", "1"}, {" 0a ", "A"}, {"00", "0"},    {"", ""},
        {" \t", ""}, {"10", "10"},  {"-01", "-01"},
    };
    for (auto [written, key] : keys) EXPECT_EQ(addressKey(written), key) << written;
    EXPECT_TRUE(addressKeyLess("9", "10"));
    EXPECT_TRUE(addressKeyLess("9", "A"));
    EXPECT_TRUE(addressKeyLess("F", "10"));
    EXPECT_TRUE(addressKeyLess("99", "-1"));
    EXPECT_FALSE(addressKeyLess("10", "10"));
}

TEST(PinRuns, ConsecutivePinsJoinInTheirBase) {
    EXPECT_EQ(pinRuns({}), "");
    EXPECT_EQ(pinRuns({"01"}), "01");
    EXPECT_EQ(pinRuns({"01", "02", "03", "05", "07", "08"}), "01-03, 05, 07-08");
    EXPECT_EQ(pinRuns({"9", "10"}), "9-10");
    // Hex pins: 9 and A are neighbours.
    EXPECT_EQ(pinRuns({"0", "1", "9", "A", "B", "F"}), "0-1, 9-B, F");
    EXPECT_EQ(pinRuns({"1", "x", "2"}), "1, x, 2");
}

// A Kavrin show: module 01 pins 01-03 and 05, module 02 pin 01 shared by lines
// 6 and 8, module 10 (written "10") after module 2, one cue without a pin and a
// blank line at the end.
Table craftedShow() {
    Table t = kavrinTable({
        {.time = "12.5", .mod = "01", .pin = "01", .line = "1"},
        {.time = "3", .mod = "1", .pin = "02", .line = "2"},
        {.time = "40.25", .mod = "01", .pin = "3", .line = "3"},
        {.time = "20", .mod = "01", .pin = "05", .line = "4"},
        {.time = "61", .mod = "10", .pin = "01", .line = "5"},
        {.time = "7", .mod = "02", .pin = "01", .line = "6"},
        {.time = "", .mod = "02", .pin = "", .line = "7"},
        {.time = "9", .mod = "2", .pin = "1", .line = "8"},
        {.time = "", .mod = "", .pin = "", .shot = "", .pos = ""},
    });
    t.setText(8, kavrin::Notes, "");
    return t;
}

TEST(AddressUsage, CraftedShowAsTextAndCsv) {
    AddressUsage usage = addressUsage(craftedShow(), ScriptGrid::Kavrin);
    EXPECT_EQ(usage.sharedAddresses(), 1);
    EXPECT_EQ(usage.unaddressed, 1);
    EXPECT_EQ(usageText(usage),
              "Module  Cues  First       Last        Pins\n"
              "01         4  0:00:03.00  0:00:40.25  01-3, 05\n"
              "02         2  0:00:07.00  0:00:09.00  01\n"
              "10         1  0:01:01.00  0:01:01.00  01\n"
              "Address used twice: module 02 pin 01, lines 6, 8\n"
              "Cues without an address: 1\n");
    EXPECT_EQ(usageCsv(usage),
              "Module,Cues,First,Last,Pins,Used twice\n"
              "01,4,3,40.25,01 02 3 05,\n"
              "02,2,7,9,01,01 (lines 6 8)\n"
              "10,1,61,61,01,\n");
}

TEST(AddressUsage, TalsenShowSharingTwoAddressesThreeTimes) {
    Table t(4, talsen::ColumnCount);
    const char* rows[][4] = {
        {"", "5", "0A", "F"}, {"2", "6", "0a", "f"}, {"3", "x", "0A", "F"}, {"4", "8", "7F", "0"}};
    for (int r = 0; r < 4; ++r) {
        t.setText(r, talsen::Line, rows[r][0]);
        t.setText(r, talsen::Time, rows[r][1]);
        t.setText(r, talsen::Mod, rows[r][2]);
        t.setText(r, talsen::Pin, rows[r][3]);
    }
    AddressUsage usage = addressUsage(t, ScriptGrid::Talsen);
    EXPECT_EQ(usage.sharedAddresses(), 1);
    // A time that does not read as a number leaves the first and last to the others.
    EXPECT_EQ(usageText(usage),
              "Module  Cues  First       Last        Pins\n"
              "0A         3  0:00:05.00  0:00:06.00  F\n"
              "7F         1  0:00:08.00  0:00:08.00  0\n"
              "Address used twice: module 0A pin F, lines row 1, 2, 3\n");
}

TEST(AddressUsage, EdgesOfTheOutput) {
    // A new script's one empty row: nothing used, nothing unaddressed.
    AddressUsage empty = addressUsage(Table(1, kavrin::ColumnCount), ScriptGrid::Kavrin);
    EXPECT_EQ(usageText(empty), "No cue has a firing address.\n");
    EXPECT_EQ(usageCsv(empty), "Module,Cues,First,Last,Pins,Used twice\n");
    EXPECT_EQ(empty.sharedAddresses(), 0);

    // A module written with a comma is quoted in CSV; a cue without a time has
    // no first or last; a time beyond the clock is given in seconds.
    Table t = kavrinTable(
        {{.time = "", .mod = "1,5", .pin = "1"}, {.time = "1e12", .mod = "3", .pin = "1"}});
    AddressUsage usage = addressUsage(t, ScriptGrid::Kavrin);
    EXPECT_EQ(usageCsv(usage),
              "Module,Cues,First,Last,Pins,Used twice\n"
              "3,1,1000000000000,1000000000000,1,\n"
              "\"1,5\",1,,,1,\n");
    EXPECT_EQ(usageText(usage),
              "Module  Cues  First          Last           Pins\n"
              "3          1  1000000000000  1000000000000  1\n"
              "1,5        1  -              -              1\n");
}

}  // namespace
}  // namespace fulgor
