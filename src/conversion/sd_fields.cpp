#include "conversion/sd_fields.h"

#include <algorithm>
#include <array>
#include <utility>

namespace fulgor {
namespace {

char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

int sdTypeOfDeclared(std::string_view declared) {
    std::size_t start = declared.find_first_not_of(" \t");
    if (start == std::string_view::npos) return kSdOtherType;
    declared.remove_prefix(start);
    std::string_view word = declared.substr(0, declared.find_first_of(" \t("));
    static constexpr std::array<std::pair<std::string_view, int>, 16> kTypes = {{
        {"SMALLINT", kSdSmallInt},
        {"SHORT", kSdSmallInt},
        {"INT2", kSdSmallInt},
        {"INTEGER", kSdInteger},
        {"INT", kSdInteger},
        {"LONG", kSdInteger},
        {"INT4", kSdInteger},
        {"REAL", kSdSingle},
        {"SINGLE", kSdSingle},
        {"FLOAT4", kSdSingle},
        {"TINYINT", kSdTinyInt},
        {"BYTE", kSdTinyInt},
        {"VARCHAR", kSdText},
        {"NVARCHAR", kSdText},
        {"CHAR", kSdText},
        {"TEXT", kSdText},
    }};
    for (const auto& [name, type] : kTypes) {
        if (sameFieldName(word, name)) return type;
    }
    return kSdOtherType;
}

bool isSdNumericType(int type) {
    return type == kSdSmallInt || type == kSdInteger || type == kSdSingle || type == kSdTinyInt;
}

bool sameFieldName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return asciiUpper(x) == asciiUpper(y); });
}

std::optional<int> findSdField(std::span<const SdField> fields, std::string_view name) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (sameFieldName(fields[i].name, name)) return static_cast<int>(i);
    }
    return std::nullopt;
}

}  // namespace fulgor
