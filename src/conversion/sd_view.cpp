#include "conversion/sd_view.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace fulgor {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A plain decimal number and nothing else: optional sign, digits with an
// optional fraction (or a fraction alone), optional exponent.
std::optional<double> strictNumber(std::string_view text) {
    std::size_t i = 0;
    auto digits = [&] {
        std::size_t start = i;
        while (i < text.size() && isDigit(text[i])) ++i;
        return i - start;
    };
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::size_t mantissaStart = i;
    std::size_t whole = digits();
    std::size_t fraction = 0;
    if (i < text.size() && text[i] == '.') {
        ++i;
        fraction = digits();
    }
    if (whole + fraction == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (digits() == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    double value = 0;
    std::string_view body = text.substr(mantissaStart);
    auto [end, error] = std::from_chars(body.data(), body.data() + body.size(), value);
    if (error != std::errc() || end != body.data() + body.size() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

std::string noSuchField(std::string_view name) {
    return "There is no field [" + std::string(name) + "] in the table \"" +
           std::string(kSdEventsTable) + "\".";
}

}  // namespace

std::string sdFailure(std::string_view source, std::string_view description) {
    return std::string(source) + ":\n" + std::string(description);
}

std::string filterSource(std::string_view fieldName) {
    return std::string(fieldName) + " Filter";
}

Result<std::vector<SdSortTerm>> parseSdSort(std::string_view text,
                                            std::span<const SdField> fields) {
    std::vector<SdSortTerm> terms;
    if (trimmed(text).empty()) return terms;
    auto fail = [](std::string_view cause) { return Error{sdFailure(kSortSource, cause)}; };
    std::string_view rest = text;
    while (true) {
        rest = trimmed(rest);
        if (rest.empty() || rest.front() != '[') {
            return fail(
                "Each sort field is a name in brackets, optionally followed by ASC or "
                "DESC, such as [TIME] or [CUE] DESC; commas separate them.");
        }
        std::size_t close = rest.find(']');
        if (close == std::string_view::npos) return fail("A field name lacks its closing \"]\".");
        std::string_view name = rest.substr(1, close - 1);
        std::optional<int> field = findSdField(fields, name);
        if (!field) return fail(noSuchField(name));
        rest.remove_prefix(close + 1);
        std::size_t comma = rest.find(',');
        std::string_view order = trimmed(rest.substr(0, comma));
        SdSortTerm term{*field, false};
        if (sameFieldName(order, "DESC")) {
            term.descending = true;
        } else if (!order.empty() && !sameFieldName(order, "ASC")) {
            return fail("After [" + std::string(name) + "] only ASC or DESC may follow, not \"" +
                        std::string(order) + "\".");
        }
        terms.push_back(term);
        if (comma == std::string_view::npos) return terms;
        rest.remove_prefix(comma + 1);
    }
}

std::string sortTextAfterHeaderClick(std::string_view current, std::string_view fieldName,
                                     int modifiers) {
    if (fieldName.empty()) return std::string(current);
    std::string bracketed = "[" + std::string(fieldName) + "]";
    if (!current.empty() && (modifiers & (kShiftKey | kCtrlKey | kAltKey)) == kCtrlKey)
        return std::string(current) + "," + bracketed;
    return bracketed;
}

std::string numericFilterRefusal(std::string_view fieldName, std::string_view text) {
    return sdFailure(filterSource(fieldName),
                     "\"" + std::string(text) +
                         "\" is not a filter for a number field: type one comparison (=, <>, <, "
                         ">, <= or >=) and one number, such as > 2.");
}

bool filterTakesPart(std::string_view text) {
    return !trimmed(text).empty();
}

Result<std::optional<SdCondition>> parseSdFilter(const SdColumnFilter& filter,
                                                 std::span<const SdField> fields) {
    const SdField& field = fields[static_cast<std::size_t>(filter.field)];
    if (!filterTakesPart(filter.text)) return std::optional<SdCondition>();
    SdCondition condition;
    condition.field = filter.field;
    if (field.type == kSdText) {
        condition.kind = SdCondition::Kind::StartsWith;
        condition.prefix = filter.text;
        return std::optional<SdCondition>(condition);
    }
    if (!isSdNumericType(field.type)) return std::optional<SdCondition>();
    std::string_view text = trimmed(filter.text);
    for (std::string_view op : {"<>", "<=", ">=", "=", "<", ">"}) {
        if (text.starts_with(op)) {
            condition.op = op;
            break;
        }
    }
    std::optional<double> number;
    if (!condition.op.empty()) number = strictNumber(trimmed(text.substr(condition.op.size())));
    if (!number) return Error{numericFilterRefusal(field.name, filter.text)};
    condition.number = *number;
    return std::optional<SdCondition>(condition);
}

Result<std::vector<SdCondition>> parseSdFilters(std::span<const SdColumnFilter> filters,
                                                std::span<const SdField> fields) {
    std::vector<SdColumnFilter> ordered(filters.begin(), filters.end());
    std::stable_sort(
        ordered.begin(), ordered.end(),
        [](const SdColumnFilter& a, const SdColumnFilter& b) { return a.field < b.field; });
    std::vector<SdCondition> conditions;
    for (const SdColumnFilter& filter : ordered) {
        Result<std::optional<SdCondition>> condition = parseSdFilter(filter, fields);
        if (!condition) return Error{condition.error()};
        if (condition.value()) conditions.push_back(*condition.value());
    }
    return conditions;
}

std::string quoteSqlName(std::string_view name) {
    std::string quoted = "\"";
    for (char c : name) {
        quoted += c;
        if (c == '"') quoted += '"';
    }
    return quoted + "\"";
}

std::string likePrefixPattern(std::string_view typed) {
    std::string pattern;
    pattern.reserve(typed.size() + 1);
    for (char c : typed) {
        if (c == '*') c = '%';
        if (c == '?') c = '_';
        pattern += c;
    }
    return pattern + "%";
}

SdViewSql buildSdViewSql(std::span<const SdField> fields, std::span<const SdCondition> conditions,
                         std::span<const SdSortTerm> sort) {
    SdViewSql sql;
    for (const SdCondition& condition : conditions) {
        sql.clause += sql.bindings.empty() ? " WHERE " : " AND ";
        sql.clause += quoteSqlName(fields[static_cast<std::size_t>(condition.field)].name);
        SdBinding binding;
        if (condition.kind == SdCondition::Kind::StartsWith) {
            sql.clause += " LIKE ?";
            binding.isText = true;
            binding.text = likePrefixPattern(condition.prefix);
        } else {
            // The operator is one of six fixed texts, never the user's own characters.
            sql.clause += " " + condition.op + " ?";
            binding.number = condition.number;
        }
        sql.bindings.push_back(std::move(binding));
    }
    sql.clause += " ORDER BY ";
    for (const SdSortTerm& term : sort) {
        sql.clause += quoteSqlName(fields[static_cast<std::size_t>(term.field)].name);
        sql.clause += term.descending ? " DESC, " : " ASC, ";
    }
    sql.clause += "rowid";
    return sql;
}

}  // namespace fulgor
