#include <gtest/gtest.h>

#include "addressing/hex_text.h"
#include "addressing/time_text.h"

namespace fulgor {
namespace {

TEST(FormatHundredths, ClockText) {
    const std::pair<std::int32_t, const char*> cases[] = {
        {0, "0:00:00.00"},        {99, "0:00:00.99"},
        {6150, "0:01:01.50"},     {360000, "1:00:00.00"},
        {3600000, "10:00:00.00"}, {3723456, "10:20:34.56"},
        {-6150, "-0:01:01.50"},   {2147483647, "5965:13:56.47"},
    };
    for (auto [hundredths, text] : cases)
        EXPECT_EQ(FormatHundredths(hundredths), text) << hundredths;
}

TEST(FormatTimecode, FramesRoundHalvesToEven) {
    const std::pair<std::int32_t, const char*> cases[] = {
        {0, "00:00:00:00"},       {5, "00:00:00:02"},   {15, "00:00:00:04"},
        {25, "00:00:00:08"},      {99, "00:00:00:30"},  {359999, "00:59:59:30"},
        {3723456, "10:20:34:17"}, {100, "00:00:01:00"}, {-100, "-00:00:01:00"},
    };
    for (auto [hundredths, text] : cases) EXPECT_EQ(FormatTimecode(hundredths), text) << hundredths;
}

TEST(HexText, BytesAndWords) {
    EXPECT_EQ(HexByte(0), "00");
    EXPECT_EQ(HexByte(10), "0A");
    EXPECT_EQ(HexByte(255), "FF");
    EXPECT_EQ(HexWord(255), "00FF");
    EXPECT_EQ(HexWord(300), "012C");
    EXPECT_EQ(HexWord(65535), "FFFF");
    EXPECT_EQ(HexWord(65536), "FFFF");
    EXPECT_FALSE(HexWord(-1).has_value());
    EXPECT_EQ(hexDigits(0), "0");
    EXPECT_EQ(hexDigits(20), "14");
    EXPECT_EQ(hexDigits(static_cast<std::uint32_t>(-1)), "FFFFFFFF");
}

TEST(BuildN3Record, WorkedExampleAndChecksumEdges) {
    Result<std::string> record = BuildN3Record({1, 2, 3, 4, 5, 6, 7, 8, 9});
    ASSERT_TRUE(record.ok());
    EXPECT_EQ(record.value(), "N3000102030405060007000809D2");
    EXPECT_EQ(BuildN3Record({0, 0, 0, 0, 0, 0, 0, 0, 0}).value(), "N3000000000000000000000000FF");
    // Bytes summing to exactly 256: the 8-bit sum wraps to 0.
    EXPECT_EQ(BuildN3Record({0, 128, 128, 0, 0, 0, 0, 0, 0}).value(),
              "N3000080800000000000000000FF");
    // A word field past 65535 is written as FFFF; its bytes count in the sum.
    EXPECT_EQ(BuildN3Record({70000, 0, 0, 0, 0, 0, 0, 0, 0}).value(),
              "N3FFFF0000000000000000000001");
    EXPECT_EQ(AppendChecksum("N3000102030405060007000809"), "N3000102030405060007000809D2");
    // Made where it goes, after another record: the checksum sums its own record alone.
    std::string script = "N3FFFF0000000000000000000001\r\n";
    ASSERT_TRUE(appendN3Record({1, 2, 3, 4, 5, 6, 7, 8, 9}, script).ok());
    EXPECT_EQ(script, "N3FFFF0000000000000000000001\r\nN3000102030405060007000809D2");
}

TEST(BuildN3Record, FieldOutOfRangeGivesNoRecord) {
    for (int field : {1, 5, 8}) {
        std::array<std::int32_t, 9> fields{};
        fields[field] = 256;
        EXPECT_FALSE(BuildN3Record(fields).ok()) << field;
        fields[field] = -1;
        EXPECT_FALSE(BuildN3Record(fields).ok()) << field;
    }
    EXPECT_FALSE(BuildN3Record({0, 0, 0, 0, 0, 0, -5, 0, 0}).ok());
    // Refused where it goes, the record leaves nothing of itself behind.
    std::string script = "kept";
    EXPECT_EQ(appendN3Record({0, 0, 0, 0, 0, 256, 0, 0, 0}, script).error(),
              "Overflow: record field 5 holds 256, outside 0..255");
    EXPECT_EQ(appendN3Record({0, 0, 0, 0, 0, 0, -5, 0, 0}, script).error(),
              "Overflow: record field 6 holds -5, outside 0 and up");
    EXPECT_EQ(script, "kept");
}

}  // namespace
}  // namespace fulgor
