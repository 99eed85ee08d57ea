#include "editing/line_edits.h"

#include <gtest/gtest.h>

using namespace fulgor;

TEST(LinePlacement, InsertAddAndPaste) {
    struct Case {
        RowsPlacement got;
        int first;
        int currentAfter;
    };
    const Case cases[] = {
        {placeInsertedLine(5, 2), 2, 2},  // the old row 2 moves to 3
        {placeInsertedLine(5, 4), 4, 4},
        {placeInsertedLine(5, 0), 0, 0},
        {placeInsertedLine(5, -1), 5, 5},  // no current row: at the end, nothing written over
        {placeAddedLine(5), 5, 5},
        {placePastedRows(5, 2, 3), 2, 5},   // the row current before stays current
        {placePastedRows(0, -1, 3), 0, 2},  // empty table: rows from 0, the last current
        {placePastedRows(5, 2, 0), 2, 2},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].got.first, cases[i].first) << i;
        EXPECT_EQ(cases[i].got.currentAfter, cases[i].currentAfter) << i;
    }
}

TEST(DeleteLines, RowsAscendingEachOnceInsideTheTableAndTheCurrentRowAfterwards) {
    const int selection[] = {2, 7, 4, 7, -1, 10};
    EXPECT_EQ(rowsToDelete(selection, 10), (std::vector<int>{2, 4, 7}));
    EXPECT_TRUE(rowsToDelete({}, 10).empty());
    // Rows 2, 4 and 7 of 10 deleted: the old row 3 now sits at 2 and is current.
    EXPECT_EQ(currentAfterDelete(2, 7), 2);
    // The last rows deleted: the new last row.
    EXPECT_EQ(currentAfterDelete(8, 8), 7);
    EXPECT_EQ(currentAfterDelete(7, 8), 7);
    EXPECT_EQ(currentAfterDelete(6, 8), 6);
    EXPECT_EQ(currentAfterDelete(0, 0), -1);  // every row: none left
}
