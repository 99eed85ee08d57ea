#include "core/kept_columns.h"

#include <gtest/gtest.h>

#include <string>

namespace fulgor {
namespace {

// A table of `rows` rows: column 0 the row's number, column 1 `values`
// distinct texts, two of them long, and "0" in the rows after them; column 2
// one of three numbers; column 3 is never kept. A long text is held once, so
// that column 1 holds `values` distinct tokens.
Table sample(int rows, int values) {
    Table t(rows, 4);
    for (int r = 0; r < rows; ++r) {
        t.setNumber(r, 0, r);
        const int v = r < values ? r : 0;
        t.setText(r, 1,
                  v == 1 || v == 3 ? "a text too long to sit inline " + std::to_string(v)
                                   : std::to_string(v));
        t.setNumber(r, 2, 0.5 * (r % 3));
        t.setText(r, 3, "untouched");
    }
    return t;
}

// The same table with every kept column rewritten, as a command rewrites them.
Table rewritten(Table t) {
    for (int r = 0; r < t.rowCount(); ++r) {
        t.setText(r, 0, "another text too long to sit inline");
        t.setText(r, 1, r % 2 ? "" : "x");
        t.setNumber(r, 2, -r);
    }
    return t;
}

// Exchanging twice gives both tables back, whether a column's values are few
// enough to be numbered (up to 65,536) or one more than that, kept whole.
TEST(KeptColumns, ExchangeGivesBothTablesBackAtEitherSideOfTheValueLimit) {
    for (const int values : {1, 3, 65536, 65537}) {
        SCOPED_TRACE(values);
        const int rows = values + 5;
        const Table before = sample(rows, values);
        KeptColumns kept(before, {1, 2, 0});
        EXPECT_TRUE(kept.matches(before));

        const Table after = rewritten(before);
        EXPECT_FALSE(kept.matches(after));
        Table t = after;
        kept.exchange(t);
        EXPECT_EQ(t, before);
        EXPECT_TRUE(kept.matches(after));
        kept.exchange(t);
        EXPECT_EQ(t, after);
        EXPECT_TRUE(kept.matches(before));
    }
}

// One cell that differs, in the last row of the last column listed, is enough.
TEST(KeptColumns, MatchesOnlyEveryCellOfTheListedColumns) {
    for (const int values : {2, 65537}) {
        SCOPED_TRACE(values);
        Table t = sample(values + 1, values);
        const KeptColumns kept(t, {2, 1});
        t.setText(t.rowCount() - 1, 3, "changed, not kept");
        EXPECT_TRUE(kept.matches(t));
        t.setText(t.rowCount() - 1, 1, "changed");
        EXPECT_FALSE(kept.matches(t));
    }
    const Table empty(0, 4);
    EXPECT_TRUE(KeptColumns(empty, {1}).matches(empty));
}

}  // namespace
}  // namespace fulgor
