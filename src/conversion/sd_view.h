#pragma once
// The SD view's sort and filter, parsed from what the user typed and turned
// into a query whose every name is a checked field of the table and whose
// every typed value is a bound parameter: no typed text ever becomes SQL.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/sd_fields.h"
#include "core/result.h"

namespace fulgor {

// The table an SD show keeps its events in.
inline constexpr std::string_view kSdEventsTable = "Events";
// The computed column of the SD grid and the field it is computed from.
inline constexpr std::string_view kHaddrColumn = "Haddr";
inline constexpr std::string_view kAddrField = "ADDR";

// The sources named in the view's failure messages, "source:" line break "description".
inline constexpr std::string_view kSortSource = "Sorting Order";
std::string sdFailure(std::string_view source, std::string_view description);
// The source of a filter failure: the field name and " Filter", as the
// filter's input box is titled ("QTY Filter").
std::string filterSource(std::string_view fieldName);

struct SdSortTerm {
    int field = 0;  // position in the table's fields
    bool descending = false;
};

// Parses "Sorting Order": bracketed field names separated by commas, each
// optionally followed by ASC or DESC (any case), blanks allowed between the
// parts. An empty or all-blank text is no sort. Fails, with the message
// "Sorting Order:" line break cause, on bad syntax or a name the table does
// not have (names are matched without regard to case).
Result<std::vector<SdSortTerm>> parseSdSort(std::string_view text, std::span<const SdField> fields);

// "Sorting Order" after a click on the header of `fieldName`: with the
// remembered modifier keys exactly Ctrl (bits 1 Shift, 2 Ctrl, 4 Alt) and a
// text already there, ",[name]" is appended; otherwise the text becomes
// "[name]". An empty name leaves the text as it is.
std::string sortTextAfterHeaderClick(std::string_view current, std::string_view fieldName,
                                     int modifiers);

inline constexpr int kShiftKey = 1;
inline constexpr int kCtrlKey = 2;
inline constexpr int kAltKey = 4;

// What the user typed into the filter cell of one field.
struct SdColumnFilter {
    int field = 0;
    std::string text;
};

struct SdCondition {
    enum class Kind { Compare, StartsWith };
    int field = 0;
    Kind kind = Kind::Compare;
    std::string op;      // Compare: one of = <> < > <= >=
    double number = 0;   // Compare: the number compared with
    std::string prefix;  // StartsWith: the typed text, matched from the start
};

// True when the filter text takes part: something besides blanks.
bool filterTakesPart(std::string_view text);

// One field's condition from its filter text, or nothing when the field's
// type takes no condition (or the text is only blanks). A numeric field
// (types 2, 3, 4, 17) needs one comparison operator and one number, blanks
// allowed around them ("> 2", "<>0", "= -1.5"); anything else fails with the
// message "FIELD Filter:" line break cause. A text field (202) matches the
// texts that start with the typed text as typed, blanks included.
Result<std::optional<SdCondition>> parseSdFilter(const SdColumnFilter& filter,
                                                 std::span<const SdField> fields);

// The message refusing `text` as the filter of the number field `fieldName`.
std::string numericFilterRefusal(std::string_view fieldName, std::string_view text);

// The conditions of all filters, in field order (the grid's column order),
// whatever order they were given in. Fails on the first filter that fails.
Result<std::vector<SdCondition>> parseSdFilters(std::span<const SdColumnFilter> filters,
                                                std::span<const SdField> fields);

// A value bound to one "?" of the query.
struct SdBinding {
    bool isText = false;
    double number = 0;
    std::string text;
};

struct SdViewSql {
    std::string clause;               // " WHERE ... ORDER BY ..."; ends with the stored order
    std::vector<SdBinding> bindings;  // one per "?" of `clause`, in order
};

// A name quoted as an SQL identifier: "QTY", with '"' doubled inside.
std::string quoteSqlName(std::string_view name);

// The WHERE and ORDER BY of the view. Text conditions use LIKE, which compares
// ASCII letters without regard to case: in the typed text "*" and "%" match
// any run of characters, "?" and "_" one character, everything else itself.
// Rows equal on every sort field keep their stored order (rowid).
// Preconditions: every field position is inside `fields`.
SdViewSql buildSdViewSql(std::span<const SdField> fields, std::span<const SdCondition> conditions,
                         std::span<const SdSortTerm> sort);

// The LIKE pattern of a typed text (wildcards mapped, "%" appended).
std::string likePrefixPattern(std::string_view typed);

}  // namespace fulgor
