// Reading a script reports its progress through the rows and stops when told.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/kavrin_file.h"
#include "files/script_text.h"
#include "files/talsen_file.h"
#include "support/temp_dir.h"

namespace fulgor {
namespace {

std::string rowsText(int rows) {
    std::string text;
    for (int i = 0; i < rows; ++i) text += std::to_string(i) + ",Shell\r\n";
    return text;
}

// Reports fall at rows 0, kRowsPerReport, ...: one more each time the count
// passes a multiple, telling the part of the text read before that row.
TEST(ReadProgress, ReportsEveryBlockOfRowsInOrderBelowOne) {
    for (int rows : {1, kRowsPerReport, kRowsPerReport + 1, 3 * kRowsPerReport + 5}) {
        const std::string text = rowsText(rows);
        std::vector<double> reports;
        ScriptTextReader reader(2, false);
        reader.expect(text.size());
        reader.watch([&](double done) {
            reports.push_back(done);
            return true;
        });
        // In pieces, as a file is read.
        for (std::size_t at = 0; at < text.size(); at += 100000)
            reader.feed(std::string_view(text).substr(at, 100000));
        Table table = reader.finish();
        EXPECT_EQ(table.rowCount(), rows);
        EXPECT_EQ(cellText(table.cell(rows - 1, 0)), std::to_string(rows - 1));
        std::vector<double> expected{0.0};
        for (int row = kRowsPerReport; row < rows; row += kRowsPerReport)
            expected.push_back(double(rowsText(row).size()) / double(text.size()));
        EXPECT_EQ(reports, expected) << rows << " rows";
    }
}

TEST(ReadProgress, AReadToldToStopFailsNamingTheFile) {
    test::TempDir dir;
    const std::string talsen = dir.path("show.csv");
    const std::string kavrin = dir.path("show.kvn");
    test::writeBytes(talsen, "gala.wav,0,\r\n" + rowsText(kRowsPerReport + 1));
    test::writeBytes(kavrin, "Gala\r\n" + rowsText(kRowsPerReport + 1));
    int reports = 0;
    Progress stopAtSecond = [&](double) { return ++reports < 2; };

    Result<TalsenScript> stopped = readTalsenFile(talsen, stopAtSecond);
    ASSERT_FALSE(stopped);
    EXPECT_EQ(stopped.error(), "Cannot read \"" + talsen + "\": the reading was cancelled");
    EXPECT_EQ(reports, 2);

    reports = 0;
    Result<KavrinScript> stoppedKavrin = readKavrinFile(kavrin, stopAtSecond);
    ASSERT_FALSE(stoppedKavrin);
    EXPECT_EQ(stoppedKavrin.error(), "Cannot read \"" + kavrin + "\": the reading was cancelled");

    // Going on to the end reads the whole script.
    Result<TalsenScript> whole = readTalsenFile(talsen, [](double) { return true; });
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole.value().table.rowCount(), kRowsPerReport + 1);
}

}  // namespace
}  // namespace fulgor
