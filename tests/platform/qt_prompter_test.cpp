#include "platform/qt_prompter.h"

#include <gtest/gtest.h>

namespace fulgor {
namespace {

// Qt matches what stands in a filter's brackets, so "*.*" would hide every
// script saved without an extension.
TEST(NameFilters, AllFilesMatchesNamesWithoutADot) {
    EXPECT_EQ(nameFiltersOf(QStringLiteral(
                  "All Files (*.*)|*.*|Show Files (*.csv)|*.csv|Text Files (*.txt)|*.txt")),
              (QStringList{QStringLiteral("All Files (*)"), QStringLiteral("Show Files (*.csv)"),
                           QStringLiteral("Text Files (*.txt)")}));
    EXPECT_EQ(
        nameFiltersOf(QStringLiteral("Scripts|*.csv;*.kvn|Odd (x|*.x|Dangling")),
        (QStringList{QStringLiteral("Scripts (*.csv *.kvn)"), QStringLiteral("Odd (x (*.x)")}));
}

}  // namespace
}  // namespace fulgor
