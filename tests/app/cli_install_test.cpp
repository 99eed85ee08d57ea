// The manual page and what `cmake --install` puts in place.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "app/cli.h"
#include "support/temp_dir.h"

namespace fulgor {
namespace {

using test::readBytes;
using test::TempDir;

// How roff text shows a hyphen.
std::string roffText(std::string_view text) {
    std::string out;
    for (char c : text) out += c == '-' ? std::string("\\-") : std::string(1, c);
    return out;
}

TEST(ManPage, ListsEverySubcommandWithItsSummaryAndOptions) {
    const std::string page = readBytes(FULGOR_MAN_PAGE);
    ASSERT_FALSE(page.empty()) << FULGOR_MAN_PAGE;
    EXPECT_EQ(page.rfind(".TH FULGOR 1 ", 0), 0u);
    for (const cli::Command& command : cli::commands()) {
        std::string heading = ".SS\nfulgor " + roffText(command.name) + " " +
                              roffText(command.usage) + "\n" + roffText(command.summary) + "\n";
        EXPECT_NE(page.find(heading), std::string::npos) << command.name;
        for (const cli::OptionSpec& option : command.options)
            EXPECT_NE(page.find(roffText(option.name)), std::string::npos)
                << command.name << " " << option.name;
    }
    // Every subcommand has a heading, and nothing else does.
    std::size_t headings = 0;
    for (std::size_t at = page.find(".SS\n"); at != std::string::npos;
         at = page.find(".SS\n", at + 1))
        ++headings;
    EXPECT_EQ(headings, cli::commands().size());
}

TEST(ManPage, GroffReadsItWithoutWarnings) {
    if (std::system("command -v groff >/dev/null 2>&1") != 0) GTEST_SKIP() << "no groff";
    TempDir dir;
    std::string command = std::string("groff -man -Tutf8 -ww -z ") + FULGOR_MAN_PAGE + " 2>" +
                          dir.path("warnings.txt");
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(readBytes(dir.path("warnings.txt")), "");
}

TEST(Install, PutsTheProgramManPageIconDesktopEntryAndMimeTypes) {
    TempDir dir;
    const std::string prefix = dir.path("prefix");
    std::string command = std::string(CMAKE_COMMAND) + " --install " + FULGOR_BUILD_DIR +
                          " --prefix " + prefix + " >" + dir.path("log.txt") + " 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << readBytes(dir.path("log.txt"));

    // `fulgor` hands the window and the drawing to `fulgor-gui` beside it.
    for (const char* program : {"/bin/fulgor", "/bin/fulgor-gui"}) {
        struct stat info {};
        ASSERT_EQ(::stat((prefix + program).c_str(), &info), 0) << program;
        EXPECT_TRUE(info.st_mode & S_IXUSR) << program;
    }
    EXPECT_EQ(readBytes(prefix + "/share/man/man1/fulgor.1"), readBytes(FULGOR_MAN_PAGE));
    const std::string icon = readBytes(prefix + "/share/icons/hicolor/scalable/apps/fulgor.svg");
    EXPECT_NE(icon.find("<svg"), std::string::npos);

    // The desktop entry opens each script type with Fulgor, and the types it
    // names are either standard or declared by the installed MIME file.
    const std::string desktop = readBytes(prefix + "/share/applications/fulgor.desktop");
    const std::string mime = readBytes(prefix + "/share/mime/packages/fulgor.xml");
    EXPECT_NE(desktop.find("\nExec=fulgor %F\n"), std::string::npos);
    EXPECT_NE(desktop.find("\nIcon=fulgor\n"), std::string::npos);
    EXPECT_NE(desktop.find("\nMimeType=text/csv;application/x-fulgor-kavrin;"
                           "application/x-fulgor-sd-show;\n"),
              std::string::npos);
    EXPECT_NE(mime.find("<mime-type type=\"application/x-fulgor-kavrin\">"), std::string::npos);
    EXPECT_NE(mime.find("<glob pattern=\"*.kvn\"/>"), std::string::npos);
    EXPECT_NE(mime.find("<mime-type type=\"application/x-fulgor-sd-show\">"), std::string::npos);
    EXPECT_NE(mime.find("<glob pattern=\"*.scx\"/>"), std::string::npos);
}

}  // namespace
}  // namespace fulgor
