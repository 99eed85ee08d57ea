// The SD view's sort and filter texts: the first line of the input is the
// sort text, each further line the filter of the next field. Whatever is
// typed, the query holds only the table's own quoted field names, fixed SQL
// words and "?" placeholders, one bound value for each.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/sd_view.h"
#include "fuzz_check.h"

using namespace fulgor;

namespace {

const std::vector<SdField> kFields = {
    {"CUE", kSdSmallInt},       {"TIME", kSdInteger},     {"Event Description", kSdText},
    {"QTY", kSdTinyInt},        {"PRICE1", kSdOtherType}, {"odd \"name\"", kSdSingle},
    {"a]b, [c] DESC", kSdText}, {"ADDR", kSdInteger},
};

const std::string_view kWords[] = {"WHERE", "AND", "LIKE",  "?",  "=",   "<>",   "<",    ">",
                                   "<=",    ">=",  "ORDER", "BY", "ASC", "DESC", "rowid"};

// True when `clause` is made only of quoted field names, the fixed words,
// commas and blanks.
bool onlyCheckedParts(std::string_view clause) {
    std::size_t pos = 0;
    while (pos < clause.size()) {
        char c = clause[pos];
        if (c == ' ' || c == ',') {
            ++pos;
            continue;
        }
        if (c == '"') {
            bool matched = false;
            for (const SdField& field : kFields) {
                std::string quoted = quoteSqlName(field.name);
                if (clause.substr(pos, quoted.size()) == quoted) {
                    pos += quoted.size();
                    matched = true;
                    break;
                }
            }
            if (!matched) return false;
            continue;
        }
        std::size_t end = clause.find_first_of(" ,", pos);
        std::string_view word = clause.substr(pos, end == clause.npos ? clause.npos : end - pos);
        if (std::find(std::begin(kWords), std::end(kWords), word) == std::end(kWords)) return false;
        pos += word.size();
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t end = input.find('\n');
    std::string_view sortText = input.substr(0, end);

    std::vector<SdColumnFilter> filters;
    while (end != std::string_view::npos) {
        input.remove_prefix(end + 1);
        end = input.find('\n');
        filters.push_back(
            {static_cast<int>(filters.size() % kFields.size()), std::string(input.substr(0, end))});
    }

    Result<std::vector<SdSortTerm>> sort = parseSdSort(sortText, kFields);
    Result<std::vector<SdCondition>> conditions = parseSdFilters(filters, kFields);
    std::vector<SdSortTerm> terms = sort ? sort.value() : std::vector<SdSortTerm>{};
    std::vector<SdCondition> conds = conditions ? conditions.value() : std::vector<SdCondition>{};
    for (const SdSortTerm& term : terms)
        FUZZ_CHECK(term.field >= 0 && term.field < static_cast<int>(kFields.size()));
    for (const SdCondition& condition : conds) {
        FUZZ_CHECK(condition.field >= 0 && condition.field < static_cast<int>(kFields.size()));
        int type = kFields[static_cast<std::size_t>(condition.field)].type;
        if (condition.kind == SdCondition::Kind::Compare) {
            FUZZ_CHECK(isSdNumericType(type));
            FUZZ_CHECK(std::isfinite(condition.number));
        } else {
            FUZZ_CHECK(type == kSdText);
        }
    }

    SdViewSql sql = buildSdViewSql(kFields, conds, terms);
    FUZZ_CHECK(onlyCheckedParts(sql.clause));
    FUZZ_CHECK(static_cast<std::size_t>(std::count(sql.clause.begin(), sql.clause.end(), '?')) ==
               sql.bindings.size());
    FUZZ_CHECK(sql.bindings.size() == conds.size());
    return 0;
}
