#include "platform/grid_layout.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "files/file_io.h"

#include "support/temp_dir.h"

namespace fulgor {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

const GridLayout kKavrin = {{"Time", 90, false}, {"Line", 40, false}, {"Notes", 300, true}};
const GridLayout kTalsen = {{"Line", 56, false}, {"Type", 1, false}, {"Cost", 10000, true}};

std::string message(const Status& status) {
    return status ? std::string("(succeeded)") : status.error();
}

template <class T>
std::string message(const Result<T>& result) {
    return result ? std::string("(succeeded)") : result.error();
}

TEST(GridLayoutFile, LoadFailuresNameTheFileAndTheCause) {
    TempDir dir;
    const QString path = QString::fromStdString(dir.path("Pellor.grx"));
    const std::string shown = '"' + path.toStdString() + '"';
    EXPECT_EQ(message(loadGridLayout(path, kTalsenLayoutName)),
              "There is no layout file " + shown + " yet: save a grid layout first.");

    ASSERT_TRUE(saveGridLayout(path, kKavrinLayoutName, kKavrin));
    EXPECT_EQ(message(loadGridLayout(path, kTalsenLayoutName)),
              "The layout file " + shown + " holds no layout named \"TalsenScript\".");

    writeBytes(path.toStdString(), "{\"fulgorGridLayouts\": 1, \"layouts\": {");
    EXPECT_EQ(message(loadGridLayout(path, kKavrinLayoutName)),
              "The layout file " + shown +
                  " is damaged: it is not JSON (unterminated object at character 38).");
}

// Every fault of a hand-edited file is found before anything is used.
TEST(GridLayoutFile, DamagedFilesAreRefusedWithTheirFirstFault) {
    const std::string column = R"({"column": "Line", "width": 56})";
    auto file = [](const std::string& layout) {
        return R"({"fulgorGridLayouts": 1, "layouts": {"TalsenScript": )" + layout + "}}";
    };
    const struct {
        std::string text;
        std::string cause;
    } cases[] = {
        {"", "it is not JSON (illegal value at character 1)"},
        {"[1]", "\"fulgorGridLayouts\" must be 1"},
        {R"({"fulgorGridLayouts": 2, "layouts": {}})", "\"fulgorGridLayouts\" must be 1"},
        {R"({"fulgorGridLayouts": 1, "layouts": []})",
         "\"layouts\" must be an object of named layouts"},
        {file("[]"), "layout \"TalsenScript\" must be a non-empty list of columns"},
        {file("[" + column + ", 7]"),
         "layout \"TalsenScript\", entry 2 must be an object with \"column\" and \"width\""},
        {file(R"([{"column": "", "width": 5}])"),
         "layout \"TalsenScript\", entry 1: \"column\" must be a non-empty text"},
        {file(R"([{"column": "Line", "width": 0}])"),
         "layout \"TalsenScript\", entry 1: \"width\" must be a whole number from 1 to 10000"},
        {file(R"([{"column": "Line", "width": 10001}])"),
         "layout \"TalsenScript\", entry 1: \"width\" must be a whole number from 1 to 10000"},
        {file(R"([{"column": "Line", "width": 55.5}])"),
         "layout \"TalsenScript\", entry 1: \"width\" must be a whole number from 1 to 10000"},
        {file(R"([{"column": "Line", "width": 56, "hidden": "yes"}])"),
         "layout \"TalsenScript\", entry 1: \"hidden\" must be true or false"},
        {file("[" + column + ", " + column + "]"),
         "layout \"TalsenScript\" names column \"Line\" twice"},
    };
    for (const auto& [text, cause] : cases) {
        Result<LayoutFile> parsed = parseLayoutFile(QByteArray::fromStdString(text), "L.grx");
        EXPECT_EQ(message(parsed), "The layout file \"L.grx\" is damaged: " + cause + ".") << text;
    }
    // The widths at the limits and an explicit "hidden" are accepted.
    Result<LayoutFile> edges = parseLayoutFile(
        QByteArray::fromStdString(file(
            R"([{"column": "A", "width": 1}, {"column": "B", "width": 10000, "hidden": false},
                {"column": "C", "width": 7, "hidden": true, "note": "ignored"}])")),
        "L.grx");
    ASSERT_TRUE(edges) << edges.error();
    const GridLayout expected = {{"A", 1, false}, {"B", 10000, false}, {"C", 7, true}};
    EXPECT_EQ(edges.value().at(kTalsenLayoutName), expected);
}

TEST(GridLayoutFile, SavingOverADamagedFileLeavesItAsItIs) {
    TempDir dir;
    const std::string path = dir.path("Pellor.grx");
    const std::string handEdited = R"({"fulgorGridLayouts": 1, "layouts": {"KavrinScript": 5}})";
    writeBytes(path, handEdited);
    Status saved = saveGridLayout(QString::fromStdString(path), kTalsenLayoutName, kTalsen);
    EXPECT_EQ(message(saved), "The layout file \"" + path +
                                  "\" is damaged: layout \"KavrinScript\" must be a non-empty "
                                  "list of columns. The layout was not saved; the file was left "
                                  "as it is.");
    EXPECT_EQ(readBytes(path), handEdited);
}

// A save that fails part way or at the rename keeps the layouts saved before.
TEST(GridLayoutFile, AFailedSaveKeepsTheFileAsItWas) {
    TempDir dir;
    const std::string path = dir.path("Pellor.grx");
    const QString file = QString::fromStdString(path);
    ASSERT_TRUE(saveGridLayout(file, kKavrinLayoutName, kKavrin));
    const std::string before = readBytes(path);
    for (WriteFault fault : {WriteFault{.failAfterBytes = 20, .writeError = ENOSPC},
                             WriteFault{.renameError = EACCES}}) {
        Status saved = [&] {
            ScopedWriteFault failing(fault);
            return saveGridLayout(file, kTalsenLayoutName, kTalsen);
        }();
        EXPECT_EQ(message(saved),
                  "Cannot save \"" + path + "\": " +
                      (fault.renameError ? "Permission denied" : "No space left on device"));
        EXPECT_EQ(readBytes(path), before);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.root()),
                                std::filesystem::directory_iterator()),
                  1);
    }
}

TEST(GridLayoutArrange, NamedColumnsFirstThenTheRestAndNeverAllHidden) {
    const QStringList names = {"Line", "Type", "Time", "Notes"};
    const std::vector<PlacedColumn> present = {
        {0, 50, false}, {3, 200, false}, {1, 80, false}, {2, 60, true}};
    const GridLayout layout = {{"Time", 90, false}, {"Line", 40, true}};
    Result<std::vector<PlacedColumn>> arranged =
        arrangeColumns(layout, kTalsenLayoutName, present, names);
    ASSERT_TRUE(arranged) << arranged.error();
    const std::vector<PlacedColumn> expected = {
        {2, 90, false}, {0, 40, true}, {3, 200, false}, {1, 80, false}};
    EXPECT_EQ(arranged.value(), expected);
    EXPECT_EQ(
        layoutOf(expected, names),
        (GridLayout{
            {"Time", 90, false}, {"Line", 40, true}, {"Notes", 200, false}, {"Type", 80, false}}));

    EXPECT_EQ(message(arrangeColumns({{"Shot", 40, false}}, kKavrinLayoutName, present, names)),
              "The layout \"KavrinScript\" names a column \"Shot\" that this grid does not have.");
    const std::vector<PlacedColumn> oneShowing = {{0, 50, false}, {1, 200, true}};
    EXPECT_EQ(message(arrangeColumns({{"Line", 40, true}}, kKavrinLayoutName, oneShowing,
                                     {"Line", "Notes"})),
              "The layout \"KavrinScript\" would hide every column of this grid.");
}

}  // namespace
}  // namespace fulgor
