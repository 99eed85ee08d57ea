#include "platform/sd_database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ranges>

#include "support/sd_show_file.h"
#include "support/temp_dir.h"

namespace fulgor {
namespace {

using test::SdShowEvent;

std::unique_ptr<SdDatabase> openShow(const std::string& path,
                                     SdDatabase::Access access = SdDatabase::Access::ReadWrite) {
    auto db = SdDatabase::open(path, access);
    EXPECT_TRUE(db.ok()) << db.error();
    return db.ok() ? std::move(db.value()) : nullptr;
}

// The view's value of one field, row by row, as text.
std::vector<std::string> column(SdDatabase& db, std::string_view field) {
    auto events = db.viewEvents();
    EXPECT_TRUE(events.ok());
    SdEventSource& source = *events.value();
    std::optional<int> index = source.fieldIndex(field);
    std::vector<std::string> values;
    while (source.next().value()) values.push_back(sdText(source.value(index)));
    EXPECT_EQ(static_cast<std::int64_t>(values.size()), source.rowCount());
    return values;
}

Status applyView(SdDatabase& db, std::string_view sort, std::vector<SdColumnFilter> filters) {
    auto terms = parseSdSort(sort, db.fields());
    if (!terms) return Error{terms.error()};
    auto conditions = parseSdFilters(filters, db.fields());
    if (!conditions) return Error{conditions.error()};
    db.setView(conditions.value(), terms.value());
    return {};
}

int field(SdDatabase& db, std::string_view name) {
    return *findSdField(db.fields(), name);
}

class SdDatabaseTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string path = dir.path("show.scx");
};

TEST_F(SdDatabaseTest, ReadsFieldsInStoredOrderWithTheirTypeCodesAndNulls) {
    test::writeSdShow(path, {{.cue = 1, .addr = 163}, {.cue = 2}});
    auto db = openShow(path);
    ASSERT_TRUE(db);
    ASSERT_EQ(db->fields().size(), 26u);
    const std::pair<const char*, int> expected[] = {
        {"CUE", 2}, {"TIME", 3}, {"HH", 17},    {"Event Description", 202},
        {"CAL", 4}, {"DUR", 4},  {"PRICE1", 0}, {"CUSTOM2", 202}};
    for (auto [name, type] : expected) EXPECT_EQ(db->fields()[field(*db, name)].type, type) << name;
    EXPECT_EQ(db->fields()[0].name, "CUE");
    EXPECT_EQ(db->fields()[9].name, "ADDR");
    EXPECT_FALSE(db->readOnly());
    EXPECT_FALSE(db->isJet());

    auto ids = db->viewRowIds();
    ASSERT_EQ(ids.value().size(), 2u);
    auto row = db->readRow(ids.value()[1]);
    ASSERT_TRUE(row.ok());
    EXPECT_EQ(row.value()[9].kind, SdValue::Kind::Null);
    EXPECT_EQ(row.value()[7].kind, SdValue::Kind::Text);  // an empty text, not a null
    EXPECT_EQ(row.value()[0].number, 2);
}

TEST_F(SdDatabaseTest, AnEmptyTableOpensAndBadFilesAreNamedWithTheirCause) {
    test::execSql(path, test::kSdShowTable);
    auto db = openShow(path);
    ASSERT_TRUE(db);
    EXPECT_TRUE(db->viewRowIds().value().empty());
    EXPECT_EQ(db->viewEvents().value()->rowCount(), 0);

    std::string other = dir.path("other.scx");
    test::execSql(other, "CREATE TABLE Cues (a INT)");
    EXPECT_EQ(SdDatabase::open(other, SdDatabase::Access::ReadOnly).error(),
              "Cannot open \"" + other + "\": it has no table \"Events\".");
    std::string text = dir.path("notes.scx");
    test::writeBytes(text, "CUE,TIME\r\n1,2\r\n");
    EXPECT_EQ(SdDatabase::open(text, SdDatabase::Access::ReadOnly).error(),
              "Cannot open \"" + text +
                  "\": it is not an SD show database (neither a SQLite nor a Jet database).");
    std::string missing = dir.path("missing.scx");
    EXPECT_EQ(SdDatabase::open(missing, SdDatabase::Access::ReadOnly).error(),
              "Cannot open \"" + missing + "\": No such file or directory.");
}

TEST_F(SdDatabaseTest, SortsByValueWithNullsFirstAndKeepsStoredOrderForTies) {
    test::writeSdShow(path, {{.cue = 10, .s = 5, .addr = 3, .effect = "b"},
                             {.cue = 2, .s = 5, .effect = "a"},
                             {.cue = 30, .s = 1, .addr = 1, .effect = "B"},
                             {.cue = 4, .s = 5, .addr = 20, .effect = "c"}});
    auto db = openShow(path);
    ASSERT_TRUE(applyView(*db, "[TIME],[CUE] DESC", {}));
    EXPECT_EQ(column(*db, "CUE"), (std::vector<std::string>{"30", "10", "4", "2"}));
    ASSERT_TRUE(applyView(*db, "[addr]", {}));
    EXPECT_EQ(column(*db, "CUE"), (std::vector<std::string>{"2", "30", "10", "4"}));
    ASSERT_TRUE(applyView(*db, "[ADDR] DESC", {}));
    EXPECT_EQ(column(*db, "CUE"), (std::vector<std::string>{"4", "10", "30", "2"}));
    ASSERT_TRUE(applyView(*db, "[TIME]", {}));
    EXPECT_EQ(column(*db, "CUE"), (std::vector<std::string>{"30", "10", "2", "4"}));
}

// The events read only the fields looked up, each found again under its own
// index whatever the order of the lookups, a field looked up twice once; and
// a walk that looks up none still visits every event of the view.
TEST_F(SdDatabaseTest, EventsGiveEveryFieldLookedUpInAnyOrderUnderTheView) {
    test::writeSdShow(path, {{.cue = 7, .addr = 163, .cal = 2.5, .effect = "Gold"},
                             {.cue = 8, .s = 3, .qty = 4, .effect = ""},
                             {.cue = 9, .s = 1, .addr = 12, .effect = "Red, \"big\""}});
    auto db = openShow(path, SdDatabase::Access::ReadOnly);
    ASSERT_TRUE(applyView(*db, "[TIME] DESC", {{field(*db, "CUE"), "> 7"}}));
    auto events = db->viewEvents();
    ASSERT_TRUE(events.ok());
    SdEventSource& source = *events.value();
    const std::optional<int> effect = source.fieldIndex("Effect Description");
    const std::optional<int> addr = source.fieldIndex("addr");
    const std::optional<int> cue = source.fieldIndex("CUE");
    EXPECT_EQ(source.fieldIndex("ADDR"), addr);
    EXPECT_EQ(source.fieldIndex("No Such Field"), std::nullopt);
    const std::optional<int> qty = source.fieldIndex("QTY");
    std::vector<std::string> seen;
    while (source.next().value()) {
        seen.push_back(sdText(source.value(cue)) + "|" + sdText(source.value(qty)) + "|" +
                       sdText(source.value(addr)) + "|" + sdText(source.value(effect)));
        EXPECT_EQ(source.value(addr).kind,
                  seen.size() == 1 ? SdValue::Kind::Null : SdValue::Kind::Number);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"8|4||", "9|1|12|Red, \"big\""}));

    auto untouched = db->viewEvents();
    int visited = 0;
    while (untouched.value()->next().value()) ++visited;
    EXPECT_EQ(visited, 2);
}

TEST_F(SdDatabaseTest, FiltersCombineAndTextMatchesTheStartWithoutRegardToCase) {
    test::writeSdShow(path, {{.cue = 1, .qty = 1, .effect = "Comet Red"},
                             {.cue = 2, .qty = 3, .effect = "comet blue"},
                             {.cue = 3, .qty = 5, .effect = "Mine"},
                             {.cue = 4, .qty = 4, .effect = "Com"},
                             {.cue = 5, .qty = 9, .effect = "The Comet"},
                             {.cue = 6, .qty = 9, .effect = "CoXet"}});
    auto db = openShow(path);
    int effect = field(*db, "Effect Description");
    int qty = field(*db, "QTY");
    ASSERT_TRUE(applyView(*db, "", {{effect, "Com"}}));
    EXPECT_EQ(column(*db, "CUE"), (std::vector<std::string>{"1", "2", "4"}));
    ASSERT_TRUE(applyView(*db, "", {{effect, "Com"}, {qty, "> 2"}}));
    EXPECT_EQ(column(*db, "CUE"), (std::vector<std::string>{"2", "4"}));
    ASSERT_TRUE(applyView(*db, "", {{effect, "*Comet"}}));
    EXPECT_EQ(column(*db, "CUE"), (std::vector<std::string>{"1", "2", "5"}));
    ASSERT_TRUE(applyView(*db, "", {{effect, "Co?et"}}));
    EXPECT_EQ(column(*db, "CUE"), (std::vector<std::string>{"1", "2", "6"}));
    ASSERT_TRUE(applyView(*db, "", {{effect, " Com"}}));
    EXPECT_TRUE(column(*db, "CUE").empty());
    ASSERT_TRUE(applyView(*db, "", {{qty, "<> 9"}, {effect, "   "}}));
    EXPECT_EQ(column(*db, "CUE").size(), 4u);
}

TEST_F(SdDatabaseTest, AnEditIsWrittenToTheFileAndReadOnlyOpensNeverChangeIt) {
    test::writeSdShow(path, {{.cue = 1, .addr = 5}, {.cue = 2, .addr = 6}});
    {
        auto db = openShow(path);
        std::int64_t second = db->viewRowIds().value()[1];
        std::vector<std::pair<int, SdCell>> changes = {
            {field(*db, "ADDR"), {SdValue::Kind::Number, 163, {}}},
            {field(*db, "Effect Description"), {SdValue::Kind::Text, 0, "O'Brien \"Gold\""}},
            {field(*db, "CAL"), {}}};
        ASSERT_TRUE(db->updateRow(second, changes));
    }
    std::string before = test::readBytes(path);
    auto reopened = openShow(path, SdDatabase::Access::ReadOnly);
    EXPECT_TRUE(reopened->readOnly());
    EXPECT_EQ(column(*reopened, "ADDR"), (std::vector<std::string>{"5", "163"}));
    EXPECT_EQ(column(*reopened, "Effect Description")[1], "O'Brien \"Gold\"");
    EXPECT_EQ(column(*reopened, "CAL")[1], "");
    reopened.reset();
    EXPECT_EQ(test::readBytes(path), before);
}

// Whether `value` starts with the typed text the way the view matches it:
// ASCII letters in any case, "*" and "%" any run, "?" and "_" one character.
bool startsLike(std::string_view value, std::string_view typed) {
    if (typed.empty()) return true;
    char t = typed.front();
    if (t == '*' || t == '%') {
        for (std::size_t skip = 0; skip <= value.size(); ++skip)
            if (startsLike(value.substr(skip), typed.substr(1))) return true;
        return false;
    }
    if (value.empty()) return false;
    char v = value.front();
    bool same =
        t == '?' || t == '_' ||
        std::tolower(static_cast<unsigned char>(v)) == std::tolower(static_cast<unsigned char>(t));
    return same && startsLike(value.substr(1), typed.substr(1));
}

TEST_F(SdDatabaseTest, HostileTextsNeverRunAsSqlNorChangeTheFile) {
    const std::vector<std::vector<std::string>> hostile = {
        {"'", "''", "\"", "'; DROP TABLE Events; --", "x' OR '1'='1", "' OR 1=1 --",
         "Comet' UNION SELECT * FROM sqlite_master --", "); DELETE FROM Events; --", "--", "/*",
         "*/", "/* comment */ Comet", "; ATTACH DATABASE 'x.db' AS x; --", "\\", "\\'"},
        {"Com%", "Com_", "%", "_", "*", "?", "[", "]", "[Comet]", "Comet' --", "O'Brien", "0x41",
         "char(65)", "1; UPDATE Events SET ADDR=0", "%' OR '%'='"},
        {"' AND 0 UNION SELECT 1,2,3 --", "\t'\t", "'\n; DROP TABLE Events", "NULL",
         "' COLLATE NOCASE --", "' ESCAPE 'x", "Com' || 'et", "Comet\"; VACUUM; --",
         "; PRAGMA writable_schema=1", "ROLLBACK; --", "' IS NOT NULL --", "é' --", "CoMeT"}};
    const std::vector<std::string> numericHostile(
        {"> 1; DROP TABLE Events", "> 1 OR 1=1", "= 1 --", "> (SELECT 1)", "> '1'", "1=1",
         "= 1 UNION SELECT 1", "> 1/*", "<> ADDR", "> x'41'", "IS NULL", "> 1e999", "> 0x10",
         "; DELETE FROM Events"});
    const std::vector<std::string> hostileSorts(
        {"[CUE]; DROP TABLE Events", "[CUE] DESC; --", "[NOPE]", "[CUE] UNION", "CUE",
         "[CUE], (SELECT 1)", "[CUE\"; DROP TABLE Events; --]", "[\"CUE\"]", "[CUE] ASC DESC",
         "[CUE] /*", "[sqlite_master]", "[rowid]"});
    std::size_t count = numericHostile.size() + hostileSorts.size();
    for (const auto& group : hostile) count += group.size();
    ASSERT_GE(count, 50u);

    test::writeSdShow(path, {{.cue = 1, .addr = 1, .effect = "Comet"},
                             {.cue = 2, .addr = 2, .effect = "O'Brien"},
                             {.cue = 3, .addr = 3, .effect = "Com%et"},
                             {.cue = 4, .addr = 4, .effect = "'; DROP TABLE Events; --x"},
                             {.cue = 5, .addr = 5, .effect = "[Comet]"}});
    const std::string before = test::readBytes(path);
    auto db = openShow(path);  // opened for editing, as the window opens it
    int effect = field(*db, "Effect Description");
    const std::vector<std::string> effects = column(*db, "Effect Description");
    for (const std::string& typed : std::views::join(hostile)) {
        ASSERT_TRUE(applyView(*db, "", {{effect, typed}})) << typed;
        std::vector<std::string> shown = column(*db, "Effect Description");
        std::vector<std::string> expected;
        std::copy_if(effects.begin(), effects.end(), std::back_inserter(expected),
                     [&](const std::string& e) { return startsLike(e, typed); });
        EXPECT_EQ(shown, expected) << typed;
    }
    for (const std::string& typed : numericHostile) {
        EXPECT_FALSE(applyView(*db, "", {{field(*db, "ADDR"), typed}})) << typed;
    }
    for (const std::string& sort : hostileSorts) {
        EXPECT_FALSE(applyView(*db, sort, {})) << sort;
    }
    ASSERT_TRUE(applyView(*db, "", {}));
    EXPECT_EQ(column(*db, "CUE").size(), 5u);
    db.reset();
    EXPECT_EQ(test::readBytes(path), before);
}

class JetFixtureTest : public ::testing::Test {
protected:
    std::string nwind = std::string(FULGOR_JET_FIXTURES) + "/nwind.mdb";
    std::string ace = std::string(FULGOR_JET_FIXTURES) + "/ASampleDatabase.accdb";
};

TEST_F(JetFixtureTest, AJetTableIsReadIntoAReadOnlyCopyWithItsTypes) {
    std::string before = test::readBytes(nwind);
    auto db = SdDatabase::open(nwind, SdDatabase::Access::ReadWrite, "products");
    ASSERT_TRUE(db.ok()) << db.error();
    SdDatabase& products = *db.value();
    EXPECT_TRUE(products.isJet());
    EXPECT_TRUE(products.readOnly());
    EXPECT_EQ(products.fields()[0].name, "ProductID");
    EXPECT_EQ(products.fields()[field(products, "ProductName")].type, kSdText);
    EXPECT_EQ(products.fields()[field(products, "UnitsInStock")].type, kSdSmallInt);
    EXPECT_EQ(products.fields()[field(products, "ProductID")].type, kSdInteger);
    EXPECT_EQ(products.fields()[field(products, "UnitPrice")].type, kSdOtherType);
    std::vector<std::string> names = column(products, "ProductName");
    EXPECT_EQ(names.size(), 77u);
    EXPECT_EQ(names[0], "Chai");

    ASSERT_TRUE(
        applyView(products, "[UnitsInStock] DESC", {{field(products, "ProductName"), "ch"}}));
    std::vector<std::string> filtered = column(products, "ProductName");
    ASSERT_FALSE(filtered.empty());
    for (const std::string& name : filtered) EXPECT_TRUE(startsLike(name, "ch")) << name;
    db.value().reset();
    EXPECT_EQ(test::readBytes(nwind), before);

    EXPECT_EQ(SdDatabase::open(nwind, SdDatabase::Access::ReadOnly).error(),
              "Cannot open \"" + nwind + "\": it has no table \"Events\".");
}

TEST_F(JetFixtureTest, AnAceFileIsReadToo) {
    EXPECT_EQ(SdDatabase::open(ace, SdDatabase::Access::ReadOnly).error(),
              "Cannot open \"" + ace + "\": it has no table \"Events\".");
    auto db = SdDatabase::open(ace, SdDatabase::Access::ReadOnly, "Asset Items");
    ASSERT_TRUE(db.ok()) << db.error();
    SdDatabase& assets = *db.value();
    EXPECT_TRUE(assets.isJet());
    EXPECT_EQ(assets.fields()[0].name, "Asset No");
    EXPECT_EQ(assets.fields()[field(assets, "Make")].type, kSdText);
    EXPECT_EQ(assets.fields()[field(assets, "Warranty")].type, kSdInteger);
    EXPECT_EQ(assets.fields()[field(assets, "Cost")].type, kSdOtherType);
    ASSERT_TRUE(applyView(assets, "[Make] DESC", {{field(assets, "Make"), "geo"}}));
    std::vector<std::string> makes = column(assets, "Make");
    ASSERT_GE(makes.size(), 3u);
    EXPECT_EQ(makes.front(), "GEO Rocket");
    EXPECT_EQ(makes.back(), "GEO Blast");
}

}  // namespace
}  // namespace fulgor
