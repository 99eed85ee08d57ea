#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include <filesystem>

#include "core/script_columns.h"
#include "files/kavrin_file.h"
#include "files/script_text.h"
#include "files/talsen_file.h"
#include "support/temp_dir.h"

namespace fulgor {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

// Lowers the largest file this process may write, for as long as it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered{bytes, m_saved.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int);
};

std::string roundTripTalsen(std::string_view bytes) {
    Result<std::string> out = formatTalsen(ImportTalsen(bytes));
    EXPECT_TRUE(out.ok()) << out.error();
    return out.ok() ? out.value() : "";
}

TEST(TalsenFile, HeaderFieldsAndOffsetReading) {
    struct Case {
        const char* header;
        const char* wave;
        const char* offset;
        const char* timeType;
    };
    const Case cases[] = {
        {"show1.wav,1.50,Wave File", "show1.wav", "1.50", "Wave File"},
        {"show1.wav", "show1.wav", "0.00", ""},
        {"x.wav,abc,FSK", "x.wav", "0.00", "FSK"},
        {"x.wav,2.456,Any text,ignored", "x.wav", "2.46", "Any text"},
        {"x.wav,-0.125,", "x.wav", "-0.12", ""},
        {"", "", "0.00", ""},
        {",1e999,", "", "0.00", ""},
    };
    for (const Case& c : cases) {
        TalsenScript s = ImportTalsen(std::string(c.header) + "\r\n");
        EXPECT_EQ(s.waveName, c.wave) << c.header;
        EXPECT_EQ(s.tcOffset, c.offset) << c.header;
        EXPECT_EQ(s.timeType, c.timeType) << c.header;
        EXPECT_EQ(s.table.rowCount(), 0);
    }
    // The offset is written as "0.00" of its value.
    EXPECT_EQ(roundTripTalsen("x.wav,2.456,SMPTE30\r\n"), "x.wav,2.46,SMPTE30\r\n");
    // and saved as the window shows it.
    TalsenHeader shown{"x.wav", "-12.5", "FSK"};
    EXPECT_EQ(formatTalsen(shown, Table(0, talsen::ColumnCount)).value(), "x.wav,-12.5,FSK\r\n");
}

TEST(TalsenFile, ShortAndLongLinesArePaddedOrCut) {
    TalsenScript s = ImportTalsen(
        "w,0.00,Wave File\r\n1,Comet,2in,12.5\r\n1,2,3,4,5,6,7,8,9,10,11,12,13\r\n\r\n");
    ASSERT_EQ(s.table.rowCount(), 3);
    EXPECT_EQ(s.table.cell(0, 1).text(), "Comet");
    EXPECT_EQ(s.table.cell(0, 3).text(), "12.5");  // kept as text
    EXPECT_TRUE(s.table.cell(0, 3).isText());
    EXPECT_TRUE(s.table.cell(0, 10).isEmpty());
    EXPECT_EQ(s.table.cell(1, 10).text(), "11");
    for (int c = 0; c < 11; ++c) EXPECT_TRUE(s.table.cell(2, c).isEmpty());
    std::string out = formatTalsen(s).value();
    EXPECT_EQ(
        out,
        "w,0.00,Wave File\r\n1,Comet,2in,12.5,,,,,,,\r\n1,2,3,4,5,6,7,8,9,10,11\r\n,,,,,,,,,,\r\n");
}

TEST(TalsenFile, CommaInANoteComesBackSplit) {
    TalsenScript s;
    s.table.resize(1, 11);
    s.table.setText(0, 10, "red,blue");
    s.table.setText(0, 9, "x");
    TalsenScript back = ImportTalsen(formatTalsen(s).value());
    EXPECT_EQ(back.table.cell(0, 10).text(), "red");
    EXPECT_EQ(back.table.cell(0, 9).text(), "x");
}

TEST(TalsenFile, CanonicalFilesSurviveByteForByte) {
    std::string file =
        "finale.wav,-12.50,SMPTE30\r\n"
        "1,Comet,75mm,12.50,1.20,1,3,01,01,12.5,Caf\xE9 cr\xE8me \x80 \x81\x8D\x8F\x90\x9D\r\n"
        "2,,,,,,,,,,\r\n"
        "3,Mine,  2in ,  7 ,,, -1,,,,\ttab\r\n";
    EXPECT_EQ(roundTripTalsen(file), file);
    // Every byte value but the separators and line ends, in one cell.
    std::string cell;
    for (int b = 1; b < 256; ++b)
        if (b != ',' && b != '\n' && b != '\r') cell.push_back(static_cast<char>(b));
    std::string binary = "w,0.00,t\r\n" + cell + ",,,,,,,,,,\r\n";
    EXPECT_EQ(roundTripTalsen(binary), binary);
}

TEST(TalsenFile, LoneLineFeedsAndAMissingFinalLineEndReadAsLineEnds) {
    EXPECT_EQ(roundTripTalsen("w,1.00,t\n1,a,,,,,,,,,\n2,b,,,,,,,,,"),
              "w,1.00,t\r\n1,a,,,,,,,,,\r\n2,b,,,,,,,,,\r\n");
    EXPECT_EQ(ImportTalsen("w,1.00,t").table.rowCount(), 0);
    EXPECT_EQ(ImportTalsen("w,1.00,t\r\n").table.rowCount(), 0);
    EXPECT_EQ(ImportTalsen("w,1.00,t\r\n\r\n").table.rowCount(), 1);
}

TEST(TalsenFile, NumbersAreWrittenInTheirShortestForm) {
    TalsenScript s;
    s.table.resize(2, 11);
    s.table.setNumber(0, 0, 1);
    s.table.setNumber(0, 3, 12.5);
    s.table.setNumber(1, 3, 0.1 + 0.2);
    EXPECT_EQ(formatTalsen(s).value(), ",0.00,\r\n1,,,12.5,,,,,,,\r\n,,,0.3,,,,,,,\r\n");
    TalsenScript empty;
    EXPECT_EQ(formatTalsen(empty).value(), ",0.00,\r\n");
}

TEST(TalsenFile, CharacterOutsideTheCodePageIsReportedNotDropped) {
    TalsenScript s;
    s.table.resize(3, 11);
    s.table.setText(2, 10, "\u4E2D");
    Result<std::string> out = formatTalsen(s);
    ASSERT_FALSE(out.ok());
    const std::string refused =
        "the character \"\u4E2D\" (U+4E2D) cannot be written in the Windows-1252 code page";
    EXPECT_EQ(out.error(), "Row 3, column 11: " + refused);
    // Rows written as a part of a larger table are named by their place in it.
    Status part = writeRows(s.table, [](std::string_view) -> Status { return {}; }, 65536);
    EXPECT_EQ(part.error(), "Row 65539, column 11: " + refused);
}

// Files are read block by block: wherever the blocks happen to split the
// text (inside a field, between CR and LF, inside a Windows-1252 byte run),
// the table must be the one the whole text gives.
TEST(ScriptText, PiecesSplitAnywhereReadAsTheWholeText) {
    const std::string texts[] = {
        "hdr,1,x\r\n1,a,b\r\n\r\n2,\xE9t\xE9,c,d\r\n3,last",
        "hdr\n1,a\n2,b\n",
        "only a header\r",
        "h\r\n1,ends with CR\r",
        "",
        "h\r\n,,,,,,,,,,,,,,,,\r\n\r\r\n",
    };
    for (const std::string& text : texts) {
        ScriptTextReader whole(talsen::ColumnCount, true);
        whole.feed(text);
        const Table expected = whole.finish();
        for (std::size_t split = 0; split <= text.size(); ++split) {
            for (std::size_t second = split; second <= text.size(); second += 3) {
                ScriptTextReader pieces(talsen::ColumnCount, true);
                pieces.expect(text.size());
                std::string_view view = text;
                pieces.feed(view.substr(0, split));
                pieces.feed(view.substr(split, second - split));
                pieces.feed(view.substr(second));
                ASSERT_TRUE(pieces.finish() == expected)
                    << text << " at " << split << ", " << second;
                EXPECT_EQ(pieces.headerLine(), whole.headerLine()) << text << " at " << split;
            }
        }
    }
    EXPECT_EQ(parseRows("a\r\nb\r", 2).cell(1, 0).text(), "b\r");
}

// Written in pieces, a script is the same bytes as written whole.
TEST(ScriptText, RowsWrittenInPiecesJoinToTheWholeText) {
    Table table(30000, talsen::ColumnCount);
    for (int r = 0; r < table.rowCount(); ++r) {
        table.setNumber(r, 0, r + 1);
        table.setText(r, 10, r % 7 ? "a note long enough for the pool" : "caf\xC3\xA9");
    }
    std::string joined;
    int pieces = 0;
    ASSERT_TRUE(writeRows(table, [&](std::string_view piece) -> Status {
                    ++pieces;
                    joined.append(piece);
                    return {};
                }).ok());
    EXPECT_GT(pieces, 1);
    EXPECT_TRUE(
        joined.starts_with("1,,,,,,,,,,caf\xE9\r\n2,,,,,,,,,,a note long enough for the pool\r\n"));
    Table back = parseRows(joined, talsen::ColumnCount);
    ASSERT_EQ(back.rowCount(), table.rowCount());
    EXPECT_EQ(back.cell(29999, 10).text(), "a note long enough for the pool");
    EXPECT_EQ(back.cell(7, 10).text(), "caf\xC3\xA9");
    // A sink that fails stops the writing with its error.
    Status stopped =
        writeRows(table, [](std::string_view) -> Status { return Error{"disk full"}; });
    EXPECT_EQ(stopped.error(), "disk full");
}

TEST(KavrinFile, ShowNameIsTheWholeFirstLine) {
    KavrinScript s = ImportKavrin("Grand, Finale 2026\r\n");
    EXPECT_EQ(s.showName, "Grand, Finale 2026");
    EXPECT_EQ(s.table.rowCount(), 0);
    EXPECT_EQ(s.table.columnCount(), 13);
    EXPECT_EQ(ImportKavrin("\r\n").showName, "");
}

TEST(KavrinFile, RowsHaveThirteenFieldsAndRoundTrip) {
    KavrinScript s;
    s.table.resize(1, 13);
    s.table.setText(0, 0, "1");
    s.table.setText(0, 1, "1");
    s.table.setNumber(0, 3, 2.5);
    s.table.setText(0, 4, "01");
    s.table.setText(0, 5, "3");
    std::string out = formatKavrin(s).value();
    EXPECT_EQ(out, "\r\n1,1,,2.5,01,3,,,,,,,\r\n");
    std::string file = "Show \x96 one\r\n1,1,3,12.5,01,01,0:00:12.50,1,,75mm,1,Comet,note\r\n";
    EXPECT_EQ(formatKavrin(ImportKavrin(file)).value(), file);
    EXPECT_EQ(ImportKavrin("n\r\n1,2,3,4,5,6,7,8,9,10,11,12,13,14,15").table.cell(0, 12).text(),
              "13");
}

TEST(ScriptFiles, UnreadableFilesNameTheFileAndTheReason) {
    TempDir dir;
    Result<TalsenScript> missing = readTalsenFile(dir.path("missing.csv"));
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.error().find("missing.csv"), std::string::npos);
    EXPECT_NE(missing.error().find("No such file or directory"), std::string::npos)
        << missing.error();

    Result<KavrinScript> folder = readKavrinFile(dir.root().string());
    ASSERT_FALSE(folder.ok());
    EXPECT_NE(folder.error().find("Is a directory"), std::string::npos) << folder.error();

    writeBytes(dir.path("empty.csv"), "");
    Result<TalsenScript> empty = readTalsenFile(dir.path("empty.csv"));
    ASSERT_FALSE(empty.ok());
    EXPECT_NE(empty.error().find("empty.csv"), std::string::npos);
}

TEST(ScriptFiles, SaveReplacesTheFileAndAFailedSaveLeavesItIntact) {
    TempDir dir;
    const std::string path = dir.path("show.csv");
    writeBytes(path, "old contents\r\n");
    TalsenScript s = ImportTalsen("new.wav,1.00,FSK\r\n1,a,,,,,,,,,\r\n");
    ASSERT_TRUE(SaveTalsenScript(path, s).ok());
    EXPECT_EQ(readBytes(path), "new.wav,1.00,FSK\r\n1,a,,,,,,,,,\r\n");

    // A character the code page cannot hold fails before the file is touched.
    s.table.setText(0, 10, "\u4E2D");
    Status bad = SaveTalsenScript(path, s);
    ASSERT_FALSE(bad.ok());
    EXPECT_NE(bad.error().find("show.csv"), std::string::npos);
    EXPECT_EQ(readBytes(path), "new.wav,1.00,FSK\r\n1,a,,,,,,,,,\r\n");

    // A write that fails part-way (the file size limit is hit after 4 KiB)
    // leaves the old file and no temporary file behind.
    s.table.setText(0, 10, std::string(100000, 'n'));
    {
        FileSizeLimit limit(4096);
        Status partWay = SaveTalsenScript(path, s);
        ASSERT_FALSE(partWay.ok());
        EXPECT_NE(partWay.error().find("File too large"), std::string::npos) << partWay.error();
    }
    EXPECT_EQ(readBytes(path), "new.wav,1.00,FSK\r\n1,a,,,,,,,,,\r\n");
    // Saving over a folder fails the same way, leaving nothing behind.
    std::filesystem::create_directory(dir.path("folder.csv"));
    EXPECT_FALSE(SaveTalsenScript(dir.path("folder.csv"), s).ok());
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.root())) ++entries;
    EXPECT_EQ(entries, 2);
}

TEST(ScriptFiles, ASavedFileKeepsItsPermissions) {
    TempDir dir;
    const std::string path = dir.path("show.kvn");
    writeBytes(path, "x\r\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
    ASSERT_TRUE(SaveKavrinScript(path, ImportKavrin("y\r\n")).ok());
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms::owner_read |
                                                               std::filesystem::perms::owner_write |
                                                               std::filesystem::perms::group_read);
    EXPECT_EQ(readBytes(path), "y\r\n");
}

}  // namespace
}  // namespace fulgor
