#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QPdfWriter>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/grid_columns.h"
#include "platform/grid_layout.h"
#include "platform/table_printer.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace fulgor {
namespace {

using test::readBytes;
using test::runCli;
using test::TempDir;
using test::writeBytes;

void ensureApplication() {
    static int argc = 1;
    static char name[] = "cli_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);) parts.push_back(part);
    return parts;
}

std::vector<std::string> wordsOf(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) words.push_back(word);
    return words;
}

// The text of each page, as a reader of the PDF gets it: pdftotext ends each
// page with a form feed.
std::vector<std::string> pdfPages(const std::string& pdf) {
    std::string text;
    if (FILE* pipe = ::popen(("pdftotext -layout '" + pdf + "' -").c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
        ::pclose(pipe);
    }
    std::vector<std::string> pages = split(text, '\f');
    if (!pages.empty() && pages.back().find_first_not_of(" \n") == std::string::npos)
        pages.pop_back();
    return pages;
}

// The Line numbers printed on a page: the rows start with one.
std::vector<int> printedLines(const std::string& page) {
    std::vector<int> numbers;
    for (const std::string& line : split(page, '\n')) {
        std::vector<std::string> words = wordsOf(line);
        if (!words.empty() && words[0].find_first_not_of("0123456789") == std::string::npos)
            numbers.push_back(std::stoi(words[0]));
    }
    return numbers;
}

// 300 cues printed by the real binary with no display at all fill the pages
// the page geometry allows, in order, each page with the header and its
// footer; nothing is lost to ligatures: "ffi" stays three letters.
TEST(CliPrint, ThreeHundredRowsFillWholePagesWithHeadersAndFooters) {
    ensureApplication();
    TempDir dir;
    const std::string show = dir.path("big.kvn"), pdf = dir.path("big.pdf");
    std::string script = "Gala\r\n";
    for (int line = 1; line <= 300; ++line) {
        const std::string n = std::to_string(line);
        script += n + "," + n + ",1," + n + ",01,01,,,,100mm,1,Shell,Difficult fire " + n + "\r\n";
    }
    writeBytes(show, script);
    // Its own runtime folder keeps Qt from warning on standard error.
    std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=" +
                          dir.root().string() + " " + std::string(FULGOR_EXE) + " print " + show +
                          " --pdf " + pdf + " 2>" + dir.path("err.txt");
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0) << readBytes(dir.path("err.txt"));

    QByteArray unused;
    QBuffer buffer(&unused);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter geometry(&buffer);
    setPdfPageLayout(geometry);
    const PagePlan plan = planPages(geometry, startingColumns(kKavrinGridColumns), 300);
    const int expectedPages = (300 + plan.rowsPerPage - 1) / plan.rowsPerPage;
    ASSERT_GT(expectedPages, 1);
    EXPECT_EQ(readBytes(dir.path("err.txt")),
              "Printed 300 rows on " + std::to_string(expectedPages) + " pages to " + pdf + "\n");
    std::vector<std::string> pages = pdfPages(pdf);
    ASSERT_EQ(static_cast<int>(pages.size()), expectedPages);
    int next = 1;
    for (int page = 0; page < expectedPages; ++page) {
        std::vector<std::string> text = split(pages[static_cast<std::size_t>(page)], '\n');
        ASSERT_GE(text.size(), 3u);
        EXPECT_EQ(text[0], "Kavrin Script Table - " + show + "Gala");
        EXPECT_EQ(wordsOf(text[1]), (std::vector<std::string>{
                                        "Line", "Shot", "Pos", "Time", "Mod", "Pin", "hh:mm:ss.t",
                                        "TS", "Ref", "Err", "Size", "Qty", "Type", "Notes"}));
        std::size_t last = text.size() - 1;
        while (last > 0 && text[last].find_first_not_of(' ') == std::string::npos) --last;
        EXPECT_EQ(wordsOf(text[last]),
                  (std::vector<std::string>{"Page:", std::to_string(page + 1)}));
        std::vector<int> lines = printedLines(pages[static_cast<std::size_t>(page)]);
        int count = page + 1 < expectedPages ? plan.rowsPerPage : 300 - next + 1;
        ASSERT_EQ(static_cast<int>(lines.size()), count) << "page " << page + 1;
        for (int line : lines) EXPECT_EQ(line, next++);
    }
    EXPECT_NE(pages[0].find("Difficult fire 1\n"), std::string::npos);
}

TEST(CliPrint, LayoutArrangesTheColumnsAndBadInputIsRefused) {
    TempDir dir;
    ::setenv("FULGOR_HOME", dir.path("home").c_str(), 1);
    std::filesystem::create_directory(dir.path("home"));
    const std::string layoutFile = dir.path("home/Pellor.grx");
    writeBytes(dir.path("show.csv"), "w,0,t\r\n7,Comet,30mm,1.50,,1,2,01,01,,Red\r\n");
    writeBytes(dir.path("show.scx"), "not a database");
    const std::string pdf = dir.path("show.pdf");
    ASSERT_TRUE(saveGridLayout(QString::fromStdString(layoutFile), kTalsenLayoutName,
                               {{"Notes", 120, false}, {"Line", 56, false}, {"Time", 70, true}}));
    const struct {
        std::vector<std::string> args;
        std::string message;
    } refusals[] = {
        {{"print", dir.path("show.csv"), "--pdf", pdf, "--layout", "KavrinScript"},
         "fulgor print: The layout file \"" + layoutFile +
             "\" holds no layout named \"KavrinScript\".\n"},
        {{"print", dir.path("show.scx"), "--pdf", pdf},
         "fulgor print: Cannot open \"" + dir.path("show.scx") +
             "\": it is not an SD show database (neither a SQLite nor a Jet database).\n"},
        {{"print", dir.path("show.csv"), "--pdf", pdf, "--filter", "Notes=Red"},
         "fulgor print: --sort and --filter apply to SD shows (.scx) only\n"},
        {{"print", layoutFile, "--pdf", pdf},
         "fulgor print: cannot print \"" + layoutFile +
             "\": it is neither a Talsen script (.csv), a Kavrin script (.kvn) nor an SD show "
             "(.scx)\n"},
        {{"print", dir.path("show.csv")}, "fulgor print: --pdf OUT.pdf is required\n"},
    };
    for (const auto& [args, message] : refusals) {
        test::CliOutcome outcome = runCli(args);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.err, message);
    }
    EXPECT_FALSE(std::filesystem::exists(pdf));

    test::CliOutcome arranged =
        runCli({"print", dir.path("show.csv"), "--pdf", pdf, "--layout", "TalsenScript"});
    ::unsetenv("FULGOR_HOME");
    ASSERT_EQ(arranged.status, 0) << arranged.err;
    std::vector<std::string> pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    std::vector<std::string> text = split(pages[0], '\n');
    ASSERT_GE(text.size(), 3u);
    EXPECT_EQ(wordsOf(text[1]),
              (std::vector<std::string>{"Notes", "Line", "Type", "Size", "Prefire", "Qty", "Pos",
                                        "Mod", "Pin", "Cost"}));
    EXPECT_EQ(wordsOf(text[2])[0], "Red");
}

// An SD show prints its view: only the rows its filters let through, in the
// order of its sort, under the header naming the show.
TEST(CliPrint, ShowDatabasePrintsItsView) {
    ensureApplication();
    TempDir dir;
    const std::string show = std::string(FULGOR_EXAMPLES) + "/midsummer_finale.scx";
    const std::string pdf = dir.path("comets.pdf");
    test::CliOutcome printed =
        runCli({"print", show, "--pdf", pdf, "--filter", "effect description=Comet", "--filter",
                "QTY=> 2", "--sort", "[TIME] DESC"});
    ASSERT_EQ(printed.status, 0) << printed.err;
    EXPECT_EQ(printed.err, "Visible Lines: 20\nPrinted 20 rows on 1 page to " + pdf + "\n");
    std::vector<std::string> pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(split(pages[0], '\n')[0], "SD Show Script Table - " + show);
    // The comets of more than two shots, latest first.
    EXPECT_EQ(printedLines(pages[0]),
              (std::vector<int>{228, 223, 218, 215, 194, 147, 125, 122, 111, 102,
                                79,  70,  64,  52,  41,  40,  32,  29,  22,  18}));
    EXPECT_EQ(wordsOf(split(pages[0], '\n')[1])[0], "CUE");
}

}  // namespace
}  // namespace fulgor
