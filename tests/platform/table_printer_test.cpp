#include "platform/table_printer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QStandardItemModel>

#include "platform/grid_columns.h"
#include "platform/page_texts.h"

namespace fulgor {
namespace {

void ensureApplication() {
    static int argc = 1;
    static char name[] = "pages_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

TEST(PageTexts, HeadersNameTheScript) {
    EXPECT_EQ(talsenPageHeader(""), "Talsen Script Table - ");
    EXPECT_EQ(talsenPageHeader("/shows/finale.csv"), "Talsen Script Table - /shows/finale.csv");
    EXPECT_EQ(kavrinPageHeader("/shows/finale.kvn", "Grand Finale"),
              "Kavrin Script Table - /shows/finale.kvnGrand Finale");
    EXPECT_EQ(kavrinPageHeader("", ""), "Kavrin Script Table - ");
    EXPECT_EQ(sdPageHeader("/shows/design.scx"), "SD Show Script Table - /shows/design.scx");
    EXPECT_EQ(kPageFooter, "\tPage: \\p");
}

TEST(PageTexts, TabsSplitLeftCentreAndRight) {
    using Parts = std::array<QString, 3>;
    EXPECT_EQ(splitPrintLine(""), (Parts{"", "", ""}));
    EXPECT_EQ(splitPrintLine("left"), (Parts{"left", "", ""}));
    EXPECT_EQ(splitPrintLine("\tPage: \\p"), (Parts{"", "Page: \\p", ""}));
    EXPECT_EQ(splitPrintLine("a\tb\tc"), (Parts{"a", "b", "c"}));
    EXPECT_EQ(splitPrintLine("\t\tright"), (Parts{"", "", "right"}));
    EXPECT_EQ(splitPrintLine("a\tb\tc\td"), (Parts{"a", "b", "c\td"}));
}

TEST(PageTexts, PageCodesStandForNumberAndCount) {
    EXPECT_EQ(expandPageCodes("Page: \\p", 3, 12), "Page: 3");
    EXPECT_EQ(expandPageCodes("Page \\p of \\P", 12, 12), "Page 12 of 12");
    EXPECT_EQ(expandPageCodes("\\P\\p", 1, 2), "21");
    // Other backslashes, and one at the very end, stay as they are.
    EXPECT_EQ(expandPageCodes("C:\\shows\\x \\", 1, 2), "C:\\shows\\x \\");
    EXPECT_EQ(expandPageCodes("\\\\p", 4, 5), "\\4");
}

class PdfPages : public ::testing::Test {
protected:
    void SetUp() override {
        ensureApplication();
        buffer.open(QIODevice::WriteOnly);
        setPdfPageLayout(writer);
    }
    QByteArray pdf;
    QBuffer buffer{&pdf};
    QPdfWriter writer{&buffer};
};

TEST_F(PdfPages, NarrowTablesKeepTheirSizeWideOnesScaleToThePageWidth) {
    const double pageInScreenPixels = writer.width() * 96.0 / writer.logicalDpiX();
    const int fits = static_cast<int>(pageInScreenPixels) - 1;
    PagePlan narrow = planPages(writer, {{0, fits / 2, false}, {1, fits - fits / 2, false}}, 10);
    EXPECT_EQ(narrow.scale, 1.0);
    // A hidden column takes no room.
    EXPECT_EQ(planPages(writer, {{0, fits, false}, {1, 5000, true}}, 10).scale, 1.0);

    PagePlan wide = planPages(writer, {{0, fits, false}, {1, fits, false}}, 10);
    EXPECT_NEAR(wide.scale, pageInScreenPixels / (2.0 * fits), 1e-9);
    // Smaller print fits more rows on a page.
    EXPECT_GT(wide.rowsPerPage, narrow.rowsPerPage);
}

TEST_F(PdfPages, PagesHoldWholeRowsAndAnEmptyTableStillHasOne) {
    const std::vector<PlacedColumn> columns = startingColumns(kTalsenGridColumns);
    const int perPage = planPages(writer, columns, 0).rowsPerPage;
    ASSERT_GT(perPage, 10);
    const struct {
        int rows;
        int pages;
    } cases[] = {{0, 1},           {1, 1},           {perPage, 1},
                 {perPage + 1, 2}, {3 * perPage, 3}, {3 * perPage + 1, 4}};
    for (const auto& [rows, pages] : cases) {
        PagePlan plan = planPages(writer, columns, rows);
        EXPECT_EQ(plan.rowsPerPage, perPage);
        EXPECT_EQ(plan.pageCount, pages) << rows << " rows";
    }
}

TEST_F(PdfPages, PrintsTheModelPageByPageAndRefusesWhenNothingShows) {
    QStandardItemModel model(45, 2);
    for (int row = 0; row < model.rowCount(); ++row)
        model.setItem(row, 0, new QStandardItem(QString::number(row + 1)));
    const std::vector<PlacedColumn> columns = {{1, 100, false}, {0, 60, false}};
    Result<int> pages = printTable(writer, model, columns, {QStringLiteral("Header"), kPageFooter});
    ASSERT_TRUE(pages) << pages.error();
    EXPECT_EQ(pages.value(), planPages(writer, columns, 45).pageCount);
    EXPECT_TRUE(pdf.startsWith("%PDF"));

    Result<int> none = printTable(writer, model, {{0, 60, true}}, {});
    ASSERT_FALSE(none);
    EXPECT_EQ(none.error(), "There is no column to print: every column is hidden.");
}

}  // namespace
}  // namespace fulgor
