#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/cp1252.h"
#include "core/leading_number.h"
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

std::string roundTripTalsen(std::string_view bytes) {
    Result<std::string> out = formatTalsen(ImportTalsen(bytes));
    EXPECT_TRUE(out.ok()) << out.error();
    return out.ok() ? out.value() : "";
}

TEST(TalsenFile, HeaderFieldsAndOffsetReading) {
    const struct {
        const char *header, *wave, *offset, *timeType;
    } cases[] = {// each keeps Time, which the rows are sorted by{"show1.wav,1.50,Wave File",
                 // "show1.wav", "1.50", "Wave File"},
                 {"show1.wav", "show1.wav", "0.00", ""},
                 {"x.wav,abc,FSK", "x.wav", "0.00", "FSK"},
                 {"x.wav,2.456,Any text,ignored", "x.wav", "2.46", "Any text"},
                 {"x.wav,-0.125,", "x.wav", "-0.12", ""},
                 {"", "", "0.00", ""},
                 {",1e999,", "", "0.00", ""}};
    for (const auto& c : cases) {
        TalsenScript s = ImportTalsen(std::string(c.header) + "\r\n");
        EXPECT_EQ(s.waveName + "|" + s.tcOffset + "|" + s.timeType,
                  std::string(c.wave) + "|" + c.offset + "|" + c.timeType);
        EXPECT_EQ(s.table.rowCount(), 0);
    }
    // The offset is written as "0.00" of its value, and saved as the window shows it.
    EXPECT_EQ(roundTripTalsen("x.wav,2.456,SMPTE30\r\n"), "x.wav,2.46,SMPTE30\r\n");
    TalsenHeader shown{"x.wav", "-12.5", "FSK"};
    EXPECT_EQ(formatTalsen(shown, Table(0, talsen::ColumnCount)).value(), "x.wav,-12.5,FSK\r\n");
}

TEST(TalsenFile, ShortAndLongLinesArePaddedOrCutAndACommaSplitsANote) {
    TalsenScript s = ImportTalsen(
        "w,0.00,Wave File\r\n1,Comet,2in,12.5\r\n1,2,3,4,5,6,7,8,9,10,11,12,13\r\n\r\n");
    ASSERT_EQ(s.table.rowCount(), 3);
    EXPECT_EQ(s.table.cell(0, 3), Cell::text("12.5"));  // kept as text
    EXPECT_TRUE(s.table.cell(0, 10).isEmpty());
    EXPECT_EQ(s.table.cell(1, 10).text(), "11");
    for (int c = 0; c < 11; ++c) EXPECT_TRUE(s.table.cell(2, c).isEmpty());
    EXPECT_EQ(
        formatTalsen(s).value(),
        "w,0.00,Wave File\r\n1,Comet,2in,12.5,,,,,,,\r\n1,2,3,4,5,6,7,8,9,10,11\r\n,,,,,,,,,,\r\n");

    s.table.setText(0, 10, "red,blue");
    s.table.setText(0, 9, "x");
    TalsenScript back = ImportTalsen(formatTalsen(s).value());
    EXPECT_EQ(back.table.cell(0, 10).text(), "red");
    EXPECT_EQ(back.table.cell(0, 9).text(), "x");
}

TEST(TalsenFile, CanonicalFilesSurviveByteForByteAndLoneLineFeedsEndLines) {
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

    EXPECT_EQ(roundTripTalsen("w,1.00,t\n1,a,,,,,,,,,\n2,b,,,,,,,,,"),
              "w,1.00,t\r\n1,a,,,,,,,,,\r\n2,b,,,,,,,,,\r\n");
    EXPECT_EQ(ImportTalsen("w,1.00,t").table.rowCount(), 0);
    EXPECT_EQ(ImportTalsen("w,1.00,t\r\n").table.rowCount(), 0);
    EXPECT_EQ(ImportTalsen("w,1.00,t\r\n\r\n").table.rowCount(), 1);
}

TEST(TalsenFile, NumbersInShortestFormAndCharactersOutsideTheCodePageReported) {
    TalsenScript s;
    EXPECT_EQ(formatTalsen(s).value(), ",0.00,\r\n");
    s.table.resize(3, 11);
    s.table.setNumber(0, 0, 1);
    s.table.setNumber(0, 3, 12.5);
    s.table.setNumber(1, 3, 0.1 + 0.2);
    EXPECT_EQ(formatTalsen(s).value(),
              ",0.00,\r\n1,,,12.5,,,,,,,\r\n,,,0.3,,,,,,,\r\n,,,,,,,,,,\r\n");

    s.table.setText(2, 10, "\u4E2D");
    const std::string refused =
        "the character \"\u4E2D\" (U+4E2D) cannot be written in the Windows-1252 code page";
    EXPECT_EQ(formatTalsen(s).error(), "Row 3, column 11: " + refused);
    // Rows written as a part of a larger table are named by their place in it.
    Status part = writeRows(
        s.table, [](std::string_view) -> Status { return {}; }, 65536);
    EXPECT_EQ(part.error(), "Row 65539, column 11: " + refused);
}

// Files are read block by block: wherever the blocks happen to split the
// text (inside a field, between CR and LF, inside a Windows-1252 byte run),
// the table must be the one the whole text gives.
TEST(ScriptText, PiecesSplitAnywhereReadAsTheWholeText) {
    const std::string texts[] = {"hdr,1,x\r\n1,a,b\r\n\r\n2,\xE9t\xE9,c,d\r\n3,last",
                                 "hdr\n1,a\n2,b\n",
                                 "only a header\r",
                                 "h\r\n1,ends with CR\r",
                                 "",
                                 "h\r\n,,,,,,,,,,,,,,,,\r\n\r\r\n"};
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

// Read a line at a time, a script begins with its header, once, even when it
// has no rows; a file that cannot be read begins nothing; a failing beginning
// or line stops the reading with its failure.
TEST(TalsenFile, ReadInLinesTheHeaderComesFirstAndAFailingLineStops) {
    TempDir dir;
    std::string events;
    auto begin = [&](const TalsenHeader& header) -> Status {
        events += "begin " + header.waveName + "," + header.tcOffset + ";";
        return {};
    };
    auto take = [&](std::span<const std::string_view> lines, int firstRow) -> Status {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string row = std::to_string(firstRow + static_cast<int>(i));
            events += row + ":" + std::string(lines[i]) + ";";
            if (lines[i] == "stop") return Error{"stopped at " + row};
        }
        return {};
    };
    writeBytes(dir.path("rows.csv"), "gala.wav,1.5\r\n1,a\r\n\nstop\r\nnever\r\n");
    writeBytes(dir.path("header.csv"), "gala.wav,x");
    writeBytes(dir.path("empty.csv"), "");
    EXPECT_EQ(readTalsenLines(dir.path("rows.csv"), begin, take).error(), "stopped at 2");
    EXPECT_TRUE(readTalsenLines(dir.path("header.csv"), begin, take).ok());
    EXPECT_EQ(
        readTalsenLines(dir.path("empty.csv"), begin, take).error(),
        "Cannot read \"" + dir.path("empty.csv") + "\": the file is empty, not a Talsen script");
    EXPECT_EQ(events, "begin gala.wav,1.50;0:1,a;1:;2:stop;begin gala.wav,0.00;");

    events.clear();
    EXPECT_EQ(readTalsenLines(
                  dir.path("rows.csv"),
                  [](const TalsenHeader&) -> Status { return Error{"no room"}; }, take)
                  .error(),
              "no room");
    EXPECT_EQ(events, "");
}

// A line rewritten with a new first field, however it is shaped and wherever
// the pieces split the text, is what reading it into a table, setting the
// first cell and writing the row back gives, byte for byte.
TEST(ScriptText, ALineWithANewFirstFieldIsWhatTheTableWritesBack) {
    std::mt19937 random(11);
    const std::string letters = "ab9.- \r\xE9\x81";
    std::string text;
    for (int line = 0; line < 400; ++line) {
        for (std::size_t f = random() % 15; f > 0; --f) {
            for (std::size_t n = random() % 9; n > 0; --n)
                text += letters[random() % letters.size()];
            if (f > 1) text += ',';
        }
        text += random() % 2 ? "\r\n" : "\n";
    }
    text += "last,line,\r";  // no line end: its CR is a part of the line

    Table table = parseRows(text, talsen::ColumnCount);
    for (int r = 0; r < table.rowCount(); ++r) table.setNumber(r, 0, r + 1);
    Result<std::string> expected =
        gatherBytes([&](const ByteSink& sink) { return writeRows(table, sink); });
    ASSERT_TRUE(expected.ok()) << expected.error();
    for (std::size_t piece : {std::size_t{1}, std::size_t{8}, std::size_t{61}, text.size()}) {
        ScriptTextReader reader(talsen::ColumnCount, false);
        std::string rewritten;
        int handedOn = 0;
        reader.handOnLines([&](std::span<const std::string_view> lines, int firstRow) -> Status {
            EXPECT_EQ(firstRow, handedOn);
            for (std::string_view line : lines)
                appendWithFirstField(line, talsen::ColumnCount, std::to_string(++handedOn),
                                     rewritten);
            return {};
        });
        for (std::size_t at = 0; at < text.size(); at += piece)
            reader.feed(std::string_view(text).substr(at, piece));
        EXPECT_EQ(reader.finish().rowCount(), 0);
        EXPECT_TRUE(rewritten == expected.value()) << "pieces of " << piece;
    }
}

// Written in pieces, a script is the same bytes as written whole.
TEST(ScriptText, RowsWrittenInPiecesJoinToTheWholeText) {
    Table table(60000, talsen::ColumnCount);
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
    EXPECT_EQ(back.cell(59999, 10).text(), "a note long enough for the pool");
    EXPECT_EQ(back.cell(7, 10).text(), "caf\xC3\xA9");
    // A sink that fails stops the writing with its error.
    Status stopped =
        writeRows(table, [](std::string_view) -> Status { return Error{"disk full"}; });
    EXPECT_EQ(stopped.error(), "disk full");
}

// Lines of every shape: 0 to 14 fields of letters, Windows-1252 ones among
// them, short enough to sit inside their cells or long enough for the pool,
// ended by CR LF or LF; with the cells a plain split of each line gives, and
// where each line begins in the text.
struct ShapedLines {
    std::string text;
    std::vector<std::vector<std::string>> cells;
    std::vector<std::size_t> starts;
};
ShapedLines shapedLines(unsigned seed, int count, std::string header = "") {
    std::mt19937 random(seed);
    const std::string letters = "ab9.- \xE9";
    ShapedLines lines{std::move(header), {}, {}};
    for (int line = 0; line < count; ++line) {
        lines.starts.push_back(lines.text.size());
        std::vector<std::string> fields(random() % 15);
        std::string joined;
        for (std::size_t f = 0; f < fields.size(); ++f) {
            for (std::size_t n = random() % 2 ? random() % 7 : random() % 40; n > 0; --n)
                fields[f] += letters[random() % letters.size()];
            joined += (f > 0 ? "," : "") + fields[f];
        }
        lines.text += joined + (random() % 2 ? "\r\n" : "\n");
        fields.resize(talsen::ColumnCount);
        for (std::string& field : fields) field = decode1252(field);
        lines.cells.push_back(fields);
    }
    return lines;
}

// The table read from the lines, fed in pieces of `piece` bytes, holds their cells.
void expectCellsOf(const ShapedLines& lines, const Table& table, std::size_t piece) {
    ASSERT_EQ(table.rowCount(), static_cast<int>(lines.cells.size())) << "pieces of " << piece;
    for (int r = 0; r < table.rowCount(); ++r) {
        const std::vector<std::string>& cells = lines.cells[static_cast<std::size_t>(r)];
        ASSERT_EQ(table.columnCount(), static_cast<int>(cells.size())) << "pieces of " << piece;
        for (int c = 0; c < table.columnCount(); ++c)
            ASSERT_EQ(table.cell(r, c).text(), cells[static_cast<std::size_t>(c)])
                << "pieces of " << piece << ", row " << r + 1 << ", column " << c + 1;
    }
}

// A line is decoded whole and then split at its commas: on lines of every
// shape, fed in pieces of every size, the table must hold what a plain split
// of each line gives.
TEST(ScriptText, FieldsOfEveryLengthAndPlaceReadAsAPlainSplitGives) {
    const ShapedLines lines = shapedLines(7, 400);
    const std::string& text = lines.text;
    for (std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{8}, std::size_t{9},
                              std::size_t{61}, text.size()}) {
        ScriptTextReader reader(talsen::ColumnCount, false);
        for (std::size_t at = 0; at < text.size(); at += piece)
            reader.feed(std::string_view(text).substr(at, piece));
        expectCellsOf(lines, reader.finish(), piece);
    }
}

// A command reading only some columns gets exactly their fields, whatever
// else the lines hold or lack, side by side where heldColumn says and no
// other column: on the one thread and the two, with letters to decode, and
// at the first and last column.
TEST(ScriptText, KeptColumnsAloneAreReadAndHeldSideBySide) {
    const ShapedLines lines = shapedLines(5, kRowsPerReport);
    const std::string& text = lines.text;
    ASSERT_GT(text.size(), std::size_t{1} << 18);  // large enough for the two threads
    const ColumnSet sets[] = {columnSet({0}), columnSet({talsen::Size, talsen::Time, talsen::Pin}),
                              columnSet({talsen::Line, talsen::Notes}), 0, kEveryColumn};
    for (const ColumnSet kept : sets) {
        ShapedLines expected = lines;
        for (std::vector<std::string>& row : expected.cells) {
            std::vector<std::string> held;
            for (int c = 0; c < talsen::ColumnCount; ++c) {
                if (!((kept >> c) & 1)) continue;
                ASSERT_EQ(heldColumn(kept, c), static_cast<int>(held.size())) << "column " << c;
                held.push_back(row[static_cast<std::size_t>(c)]);
            }
            row = std::move(held);
        }
        for (std::size_t piece : {std::size_t{61}, text.size()}) {
            ScriptTextReader reader(talsen::ColumnCount, false);
            reader.keepOnly({kept});
            for (std::size_t at = 0; at < text.size(); at += piece)
                reader.feed(std::string_view(text).substr(at, piece));
            expectCellsOf(expected, reader.finish(), piece);
        }
    }
}

// A command that changes a few columns holds those it uses and writes the
// others back from the text it read: whatever the lines hold or lack, however
// the rows were sorted and whichever columns changed, the bytes are those the
// whole table writes back, a character the code page cannot hold named alike.
// On the one thread and the two; the last line has no line end but a CR.
TEST(ScriptText, RowsWrittenOverTheirTextAreWhatTheWholeTableWritesBack) {
    ShapedLines lines = shapedLines(9, 2 * kRowsPerReport, "header\r\n");
    for (std::string_view line : {"4,\x81\x8D\x8F\x90\x9D,\xFF,12.5", "",
                                  "1,2,3,4,5,6,7,8,9,10,11,12,13", "7,a,b,0005.50,,-0\r,x"}) {
        lines.starts.push_back(lines.text.size());
        lines.text.append(line).append("\r\n");
    }
    lines.starts.push_back(lines.text.size());
    lines.text += "last,line,\r";
    const std::string& text = lines.text;
    ASSERT_GT(text.size(), std::size_t{1} << 18);  // large enough for the two threads

    const struct {
        ColumnsRead read;
        ColumnSet changed;
    } cases[] = {
        {{columnSet({talsen::Line, talsen::Time}), columnSet({talsen::Line})},
         columnSet({talsen::Line})},
        {{columnSet({talsen::Size, talsen::Time, talsen::Pos, talsen::Mod, talsen::Pin}),
          columnSet({talsen::Time, talsen::Pos})},
         columnSet({talsen::Mod, talsen::Pin})},
        {{columnSet({talsen::Line, talsen::Time, talsen::Notes}), columnSet({talsen::Time})},
         columnSet({talsen::Line, talsen::Notes})},
        {{columnSet({talsen::Time}), columnSet({talsen::Time})}, 0},
    };
    for (const auto& [read, changed] : cases) {
        Table whole = parseRows(text.substr(text.find('\n') + 1), talsen::ColumnCount);
        for (std::size_t piece : {std::size_t{61}, text.size()}) {
            ScriptTextReader reader(talsen::ColumnCount, true);
            reader.keepOnly(read);
            reader.noteLineStarts();
            for (std::size_t at = 0; at < text.size(); at += piece)
                reader.feed(std::string_view(text).substr(at, piece));
            Table held = reader.finish();
            ASSERT_EQ(held.rowCount(), whole.rowCount());
            const int startColumn = held.columnCount() - 1;
            ASSERT_EQ(startColumn, std::popcount(read.kept));
            for (int r = 0; r < held.rowCount(); ++r)
                ASSERT_EQ(
                    held.cell(r, startColumn),
                    Cell::number(static_cast<double>(lines.starts[static_cast<std::size_t>(r)])))
                    << "row " << r + 1;

            // Sorted alike by Time, then each changed column made new.
            Table expected = whole;
            const SortKey byTime{talsen::Time, true};
            const SortKey byHeldTime{heldColumn(read.kept, talsen::Time), true};
            expected.sortRows({&byTime, 1});
            held.sortRows({&byHeldTime, 1});
            for (int r = 0; r < held.rowCount(); ++r) {
                for (int c = 0; c < talsen::ColumnCount; ++c) {
                    if (!((changed >> c) & 1)) continue;
                    const Cell made =
                        r % 3 ? Cell::number(r * 0.5) : Cell::text(r % 2 ? "caf\xC3\xA9" : "");
                    expected.setCell(r, c, made);
                    held.setCell(r, heldColumn(read.kept, c), made);
                }
            }
            const RowsOverText over{text, talsen::ColumnCount, read.kept, changed};
            Result<std::string> want =
                gatherBytes([&](const ByteSink& sink) { return writeRows(expected, sink); });
            Result<std::string> got =
                gatherBytes([&](const ByteSink& sink) { return writeRowsOver(held, over, sink); });
            ASSERT_TRUE(want.ok()) << want.error();
            ASSERT_TRUE(got.ok()) << got.error();
            EXPECT_TRUE(got.value() == want.value()) << "pieces of " << piece;

            if (changed == 0) continue;
            const int c = std::countr_zero(changed);
            expected.setText(700, c, "snow \xE2\x98\x83");
            held.setText(700, heldColumn(read.kept, c), "snow \xE2\x98\x83");
            Status refused = writeRowsOver(held, over, [](std::string_view) { return Status{}; });
            ASSERT_FALSE(refused.ok());
            EXPECT_EQ(refused.error(),
                      writeRows(expected, [](std::string_view) { return Status{}; }).error());
        }
    }
}

// A column asked for as numbers holds a plain decimal as its number and any
// other field as its text; a column asked for so but not kept is not held,
// and a kept one not asked for keeps its text. On the one thread and the two.
TEST(ScriptText, PlainDecimalsOfTheColumnsAskedForAreHeldAsNumbers) {
    const std::string times[] = {
        "5.25", "-0", "0005.50",          " 5",       "1e3", "&H10", "abc", "",
        "7.",   "-2", "1234567890123456", "187599.75"};
    std::string text;
    constexpr int kRows = 12000;
    for (int row = 0; row < kRows; ++row)
        text += std::to_string(row) + ",4,25 shot," + times[row % std::size(times)] + ",3.10\r\n";
    ASSERT_GT(text.size(), std::size_t{1} << 18);  // large enough for the two threads
    for (std::size_t piece : {std::size_t{61}, text.size()}) {
        ScriptTextReader reader(talsen::ColumnCount, false);
        reader.keepOnly({columnSet({talsen::Line, talsen::Time, talsen::Prefire}),
                         columnSet({talsen::Type, talsen::Time})});
        for (std::size_t at = 0; at < text.size(); at += piece)
            reader.feed(std::string_view(text).substr(at, piece));
        const Table table = reader.finish();
        ASSERT_EQ(table.rowCount(), kRows);
        ASSERT_EQ(table.columnCount(), 3);  // Line, Time, Prefire
        for (int row = 0; row < kRows; ++row) {
            const std::string& time = times[static_cast<std::size_t>(row) % std::size(times)];
            const Cell held = table.cell(row, 1);
            if (std::optional<double> x = plainDecimal(time)) {
                ASSERT_TRUE(held.isNumber()) << "row " << row << ": " << time;
                ASSERT_EQ(held.number(), *x) << "row " << row;
            } else {
                ASSERT_EQ(held, Cell::text(time)) << "row " << row;
            }
            ASSERT_EQ(table.cell(row, 0), Cell::text(std::to_string(row)));
            ASSERT_EQ(table.cell(row, 2), Cell::text("3.10"));
        }
    }
}

// A large piece's lines are read on two threads, the later part apart and
// joined on after: however large the pieces, the rows stand in the file's
// order as a plain split of each line gives them, after the header, and the
// reports tell where the reported rows' lines begin.
TEST(ScriptText, LargePiecesReadOnTwoThreadsKeepTheFilesOrder) {
    constexpr int kRows = 3 * kRowsPerReport + 100;
    const ShapedLines lines = shapedLines(3, kRows, "header,line\r\n");
    const std::string& text = lines.text;
    std::vector<double> reports;
    for (int row = 0; row < kRows; row += kRowsPerReport)
        reports.push_back(static_cast<double>(lines.starts[static_cast<std::size_t>(row)]) /
                          static_cast<double>(text.size()));
    for (std::size_t piece : {std::size_t{300001}, std::size_t{1} << 21, text.size()}) {
        ScriptTextReader reader(talsen::ColumnCount, true);
        reader.expect(text.size());
        std::vector<double> told;
        reader.watch([&](double done) {
            told.push_back(done);
            return true;
        });
        for (std::size_t at = 0; at < text.size(); at += piece)
            reader.feed(std::string_view(text).substr(at, piece));
        expectCellsOf(lines, reader.finish(), piece);
        EXPECT_EQ(reader.headerLine(), "header,line");
        EXPECT_EQ(told, reports) << "pieces of " << piece;
    }
    // Told to stop at the third report, which falls among the later rows of
    // the one piece, the reader stops and takes nothing more.
    ScriptTextReader stopped(talsen::ColumnCount, true);
    int told = 0;
    stopped.watch([&](double) { return ++told < 3; });
    stopped.feed(text);
    stopped.feed("more,rows\r\n");
    EXPECT_TRUE(stopped.stopped());
    EXPECT_EQ(told, 3);
}

// Pieces are checked for other characters than ASCII as a whole: one letter
// deep in a later piece is written in the code page among ASCII pieces, and a
// character the code page cannot hold there is still named by its row.
TEST(ScriptText, ALaterPieceIsEncodedOrItsRefusedCharacterNamedByItsRow) {
    Table table(120000, talsen::ColumnCount);
    for (int r = 0; r < table.rowCount(); ++r) table.setText(r, 10, "a note long enough");
    table.setText(90000, 2, "caf\xC3\xA9");
    std::string expected;
    for (int r = 0; r < table.rowCount(); ++r)
        expected += r == 90000 ? ",,caf\xE9,,,,,,,,a note long enough\r\n"
                               : ",,,,,,,,,,a note long enough\r\n";
    std::string written;
    const ByteSink gather = [&](std::string_view piece) -> Status {
        written.append(piece);
        return {};
    };
    ASSERT_TRUE(writeRows(table, gather).ok());
    EXPECT_TRUE(written == expected);

    table.setText(90000, 2, "\u4E2D");
    written.clear();
    EXPECT_EQ(writeRows(table, gather).error(),
              "Row 90001, column 3: the character \"\u4E2D\" (U+4E2D) cannot be "
              "written in the Windows-1252 code page");
    EXPECT_FALSE(written.empty());
    EXPECT_LT(written.size(), std::size_t{90000} * 30);

    // Pieces are made two at a time: of two refused characters, in whichever
    // pieces they lie, the one of the earlier row is named.
    for (int later : {70000, 100000}) {
        table.setText(later, 4, "Δ");
        EXPECT_EQ(writeRows(table, gather).error(),
                  later < 90000 ? "Row 70001, column 5: the character \"Δ\" (U+0394) "
                                  "cannot be written in the Windows-1252 code page"
                                : "Row 90001, column 3: the character \"中\" (U+4E2D) "
                                  "cannot be written in the Windows-1252 code page");
        table.setText(later, 4, "");
    }
}

// A save asked to stop stops at the next report, having handed on whole rows
// only, and the reports come every kRowsPerReport rows from the first.
TEST(ScriptText, ACancelledSaveStopsAtAReportAfterWholeRows) {
    constexpr int kRows = 100000;
    Table table(kRows, talsen::ColumnCount);
    for (int r = 0; r < kRows; ++r) table.setNumber(r, 0, r + 1);
    std::vector<double> reports;
    const Progress progress = [&](double done) {
        reports.push_back(done);
        return reports.size() < 3;
    };
    std::string written;
    Status stopped = writeRows(
        table,
        [&](std::string_view piece) -> Status {
            written.append(piece);
            return {};
        },
        0, progress);
    EXPECT_EQ(stopped.error(), "the save was cancelled");
    const double step = static_cast<double>(kRowsPerReport) / kRows;
    EXPECT_EQ(reports, (std::vector<double>{0, step, 2 * step}));
    EXPECT_TRUE(written.ends_with("\r\n"));
    const Table back = parseRows(written, talsen::ColumnCount);
    EXPECT_LE(back.rowCount(), 2 * kRowsPerReport);
    for (int r = 0; r < back.rowCount(); ++r)
        ASSERT_EQ(back.cell(r, 0).text(), std::to_string(r + 1));
}

TEST(KavrinFile, ShowNameIsTheWholeFirstLineAndRowsHaveThirteenFields) {
    KavrinScript s = ImportKavrin("Grand, Finale 2026\r\n");
    EXPECT_EQ(s.showName, "Grand, Finale 2026");
    EXPECT_EQ(s.table.rowCount(), 0);
    EXPECT_EQ(s.table.columnCount(), 13);
    EXPECT_EQ(ImportKavrin("\r\n").showName, "");

    s = KavrinScript{};
    s.table.resize(1, 13);
    s.table.setText(0, 0, "1");
    s.table.setText(0, 1, "1");
    s.table.setNumber(0, 3, 2.5);
    s.table.setText(0, 4, "01");
    s.table.setText(0, 5, "3");
    EXPECT_EQ(formatKavrin(s).value(), "\r\n1,1,,2.5,01,3,,,,,,,\r\n");
    std::string file = "Show \x96 one\r\n1,1,3,12.5,01,01,0:00:12.50,1,,75mm,1,Comet,note\r\n";
    EXPECT_EQ(formatKavrin(ImportKavrin(file)).value(), file);
    EXPECT_EQ(ImportKavrin("n\r\n1,2,3,4,5,6,7,8,9,10,11,12,13,14,15").table.cell(0, 12).text(),
              "13");
}

TEST(ScriptFiles, UnreadableFilesNameTheFileAndTheReason) {
    TempDir dir;
    EXPECT_EQ(readTalsenFile(dir.path("missing.csv")).error(),
              "Cannot open \"" + dir.path("missing.csv") + "\": No such file or directory");
    EXPECT_EQ(readKavrinFile(dir.root().string()).error(),
              "Cannot read \"" + dir.root().string() + "\": Is a directory");
    writeBytes(dir.path("empty.csv"), "");
    EXPECT_EQ(
        readTalsenFile(dir.path("empty.csv")).error(),
        "Cannot read \"" + dir.path("empty.csv") + "\": the file is empty, not a Talsen script");
}

// A save replaces the file keeping its permissions; a character the code page
// cannot hold fails before the file is touched.
TEST(ScriptFiles, SaveReplacesTheFileAndARefusedSaveLeavesItIntact) {
    TempDir dir;
    const std::string path = dir.path("show.csv"), kavrin = dir.path("show.kvn");
    const std::string saved = "new.wav,1.00,FSK\r\n1,a,,,,,,,,,\r\n";
    writeBytes(path, "old contents\r\n");
    TalsenScript s = ImportTalsen(saved);
    ASSERT_TRUE(SaveTalsenScript(path, s).ok());
    EXPECT_EQ(readBytes(path), saved);
    s.table.setText(0, 10, "\u4E2D");
    EXPECT_EQ(SaveTalsenScript(path, s).error(),
              "Cannot save \"" + path +
                  "\": Row 1, column 11: the character \"\u4E2D\" (U+4E2D) cannot be written in "
                  "the Windows-1252 code page");
    EXPECT_EQ(readBytes(path), saved);

    writeBytes(kavrin, "x\r\n");
    std::filesystem::permissions(kavrin, std::filesystem::perms(0640));
    ASSERT_TRUE(SaveKavrinScript(kavrin, ImportKavrin("y\r\n")).ok());
    EXPECT_EQ(std::filesystem::status(kavrin).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(readBytes(kavrin), "y\r\n");
}

// Reading a script reports its progress through the rows and stops when told.
std::string rowsText(int rows) {
    std::string text;
    for (int i = 0; i < rows; ++i) text += std::to_string(i) + ",Shell\r\n";
    return text;
}

// Reports fall at rows 0, kRowsPerReport, ...: one more each time the count
// passes a multiple, telling the part of the text read before that row.
TEST(ReadProgress, ReportsEveryBlockOfRowsInOrderBelowOne) {
    for (int rows : {1, kRowsPerReport, kRowsPerReport + 1, 3 * kRowsPerReport + 5}) {
        const std::string text = rowsText(rows);
        std::vector<double> reports;
        ScriptTextReader reader(2, false);
        reader.expect(text.size());
        reader.watch([&](double done) {
            reports.push_back(done);
            return true;
        });
        // In pieces, as a file is read.
        for (std::size_t at = 0; at < text.size(); at += 100000)
            reader.feed(std::string_view(text).substr(at, 100000));
        Table table = reader.finish();
        EXPECT_EQ(table.rowCount(), rows);
        EXPECT_EQ(cellText(table.cell(rows - 1, 0)), std::to_string(rows - 1));
        std::vector<double> expected{0.0};
        for (int row = kRowsPerReport; row < rows; row += kRowsPerReport)
            expected.push_back(double(rowsText(row).size()) / double(text.size()));
        EXPECT_EQ(reports, expected) << rows << " rows";
    }
}

TEST(ReadProgress, AReadToldToStopFailsNamingTheFile) {
    TempDir dir;
    const std::string talsen = dir.path("show.csv");
    const std::string kavrin = dir.path("show.kvn");
    writeBytes(talsen, "gala.wav,0,\r\n" + rowsText(kRowsPerReport + 1));
    writeBytes(kavrin, "Gala\r\n" + rowsText(kRowsPerReport + 1));
    int reports = 0;
    Progress stopAtSecond = [&](double) { return ++reports < 2; };

    Result<TalsenScript> stopped = readTalsenFile(talsen, stopAtSecond);
    ASSERT_FALSE(stopped);
    EXPECT_EQ(stopped.error(), "Cannot read \"" + talsen + "\": the reading was cancelled");
    EXPECT_EQ(reports, 2);

    reports = 0;
    Result<KavrinScript> stoppedKavrin = readKavrinFile(kavrin, stopAtSecond);
    ASSERT_FALSE(stoppedKavrin);
    EXPECT_EQ(stoppedKavrin.error(), "Cannot read \"" + kavrin + "\": the reading was cancelled");

    // Going on to the end reads the whole script.
    Result<TalsenScript> whole = readTalsenFile(talsen, [](double) { return true; });
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole.value().table.rowCount(), kRowsPerReport + 1);
}

}  // namespace
}  // namespace fulgor
