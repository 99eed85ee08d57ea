#include "editing/clipboard_rows.h"

#include <gtest/gtest.h>

#include "core/script_columns.h"

using namespace fulgor;

namespace {

std::vector<std::string> texts(const std::vector<std::string_view>& views) {
    return {views.begin(), views.end()};
}

std::vector<std::string> rowTexts(const Table& t, int row) {
    std::vector<std::string> cells;
    for (int c = 0; c < t.columnCount(); ++c) cells.push_back(cellText(t.cell(row, c)));
    return cells;
}

}  // namespace

TEST(ClipboardText, RowsInSelectionOrderTabSeparatedCrLfAfterEach) {
    Table t(3, 3);
    t.setNumber(0, 0, 1);
    t.setText(0, 1, "row 0");
    t.setNumber(2, 2, 12.5);
    t.setText(2, 0, "a longer note text");
    const int rows[] = {2, 0};
    EXPECT_EQ(clipboardText(t, rows), "a longer note text\t\t12.5\r\n1\trow 0\t\r\n");
    EXPECT_EQ(clipboardText(t, {}), "");
    EXPECT_EQ(clipboardText(Table(1, 1), std::vector<int>{0}), "\r\n");
}

TEST(PastedLines, CutAtCrDropTheLeadingLfAndNeverTheLastPiece) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"no line end at all", {}},
        {"a\nb\n", {}},  // LF alone ends no line
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a"}},  // the text after the last CR is never pasted
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},  // an empty line is a row
        {"\r\n", {""}},
        {"\na\r\n", {"a"}},              // the first piece loses its LF too
        {"a\r\n\nb\r\n", {"a", "\nb"}},  // only the one LF of the line end is dropped
        {"a\nb\r\n", {"a\nb"}},          // a lone LF inside a line stays
    };
    for (const Case& c : cases) EXPECT_EQ(texts(pastedLines(c.text)), c.lines) << c.text;
}

TEST(SplitAt, KeepsEmptyPieces) {
    EXPECT_EQ(texts(splitAt("a,,b,", ',')), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(texts(splitAt("", ',')), (std::vector<std::string>{""}));
    EXPECT_EQ(texts(splitAt(",", ',')), (std::vector<std::string>{"", ""}));
}

TEST(PastedRows, TalsenLineBecomesItsLeadingNumber) {
    struct Case {
        std::string field;
        Cell line;
    };
    const Case cases[] = {
        {"12", Cell::number(12)},       {" 1 2x", Cell::number(12)},  // blanks anywhere are ignored
        {"abc", Cell::number(0)},       {"", Cell::number(0)},       {"-3.5", Cell::number(-3.5)},
        {"1e999", Cell::text("1e999")},  // too large for a number: kept, not lost
    };
    for (const Case& c : cases) {
        Table rows =
            pastedRows(ScriptGrid::Talsen, c.field + "\tComet\t\t012\r\n", talsen::ColumnCount);
        ASSERT_EQ(rows.rowCount(), 1);
        EXPECT_EQ(rows.cell(0, talsen::Line), c.line) << c.field;
        EXPECT_EQ(rows.cell(0, talsen::Type), Cell::text("Comet"));
        EXPECT_EQ(rows.cell(0, talsen::Time), Cell::text("012"));  // other fields stay text
    }
}

// Field j of a line fills column j - 1; missing fields leave a column empty and
// extra fields are dropped. Kavrin keeps every field as text, so a copy pastes back whole.
TEST(PastedRows, KavrinFieldsFillColumnsInOrderAndCopyAndPasteGivesTheCellsBack) {
    Table rows = pastedRows(ScriptGrid::Kavrin, "1\t2\r\n\t\tx\ty\tz\r\n", 3);
    ASSERT_EQ(rows.rowCount(), 2);
    EXPECT_EQ(rowTexts(rows, 0), (std::vector<std::string>{"1", "2", ""}));
    EXPECT_EQ(rowTexts(rows, 1), (std::vector<std::string>{"", "", "x"}));
    EXPECT_TRUE(rows.cell(0, 0).isText());

    Table t(3, kavrin::ColumnCount);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < kavrin::ColumnCount; ++c) t.setText(r, c, std::to_string(r * c));
        t.setText(r, kavrin::Notes, "note, with \"quotes\" and more");
    }
    t.setText(1, kavrin::Err, "");
    const int order[] = {2, 0, 1};
    Table back = pastedRows(ScriptGrid::Kavrin, clipboardText(t, order), kavrin::ColumnCount);
    ASSERT_EQ(back.rowCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(rowTexts(back, i), rowTexts(t, order[i]));
}
