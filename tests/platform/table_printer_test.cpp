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

TEST(PageTexts, HeadersPartsAndPageCodes) {
    EXPECT_EQ(talsenPageHeader(""), "Talsen Script Table - ");
    EXPECT_EQ(kavrinPageHeader("/shows/finale.kvn", "Grand Finale"),
              "Kavrin Script Table - /shows/finale.kvnGrand Finale");
    EXPECT_EQ(sdPageHeader("/shows/design.scx"), "SD Show Script Table - /shows/design.scx");

    using Parts = std::array<QString, 3>;
    EXPECT_EQ(splitPrintLine("left"), (Parts{"left", "", ""}));
    EXPECT_EQ(splitPrintLine(kPageFooter), (Parts{"", "Page: \\p", ""}));
    EXPECT_EQ(splitPrintLine("\t\tright"), (Parts{"", "", "right"}));
    EXPECT_EQ(splitPrintLine("a\tb\tc\td"), (Parts{"a", "b", "c\td"}));

    EXPECT_EQ(expandPageCodes("Page \\p of \\P", 12, 12), "Page 12 of 12");
    EXPECT_EQ(expandPageCodes("\\P\\p", 1, 2), "21");
    // Other backslashes, and one at the very end, stay as they are.
    EXPECT_EQ(expandPageCodes("C:\\shows\\x \\", 1, 2), "C:\\shows\\x \\");
}

TEST(PdfPages, WideTablesScaleDownAndPagesHoldWholeRows) {
    ensureApplication();
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    setPdfPageLayout(writer);

    const double pageInScreenPixels = writer.width() * 96.0 / writer.logicalDpiX();
    const int fits = static_cast<int>(pageInScreenPixels) - 1;
    PagePlan narrow = planPages(writer, {{0, fits / 2, false}, {1, fits - fits / 2, false}}, 10);
    EXPECT_EQ(narrow.scale, 1.0);
    EXPECT_EQ(planPages(writer, {{0, fits, false}, {1, 5000, true}}, 10).scale, 1.0);
    PagePlan wide = planPages(writer, {{0, fits, false}, {1, fits, false}}, 10);
    EXPECT_NEAR(wide.scale, pageInScreenPixels / (2.0 * fits), 1e-9);
    EXPECT_GT(wide.rowsPerPage, narrow.rowsPerPage);  // smaller print, more rows

    const std::vector<PlacedColumn> columns = startingColumns(kTalsenGridColumns);
    const int perPage = planPages(writer, columns, 0).rowsPerPage;
    ASSERT_GT(perPage, 10);
    const struct {
        int rows;
        int pages;
    } cases[] = {{0, 1}, {perPage, 1}, {perPage + 1, 2}, {3 * perPage, 3}, {3 * perPage + 1, 4}};
    for (const auto& [rows, pages] : cases)
        EXPECT_EQ(planPages(writer, columns, rows).pageCount, pages) << rows << " rows";

    QStandardItemModel model(3, 1);
    Result<int> none = printTable(writer, model, {{0, 60, true}}, {});
    ASSERT_FALSE(none);
    EXPECT_EQ(none.error(), "There is no column to print: every column is hidden.");
}

}  // namespace
}  // namespace fulgor
