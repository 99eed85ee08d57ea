#pragma once
// The fields of an SD show's "Events" table: their names, matched without
// regard to case, and the data type codes that decide how a column filters.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace fulgor {

// Data type codes of the show database's fields, as the design program's
// database engine numbers them. Only these five take part in filtering.
enum SdType : int {
    kSdOtherType = 0,  // no filter condition (double, date, currency, memo, ...)
    kSdSmallInt = 2,
    kSdInteger = 3,
    kSdSingle = 4,
    kSdTinyInt = 17,
    kSdText = 202,
};

struct SdField {
    std::string name;
    int type = kSdOtherType;
};

// The type code of a column declared as `declared` (the declared type of the
// table definition), by its first word without regard to case:
// SMALLINT, SHORT, INT2 -> 2; INTEGER, INT, LONG, INT4 -> 3; REAL, SINGLE,
// FLOAT4 -> 4; TINYINT, BYTE -> 17; VARCHAR, NVARCHAR, CHAR, TEXT -> 202;
// anything else, an empty declaration included -> kSdOtherType. "VARCHAR(52)"
// is VARCHAR: the first word ends at a blank or "(".
int sdTypeOfDeclared(std::string_view declared);

// True for the four numeric codes whose filter is an operator and a number.
bool isSdNumericType(int type);

// ASCII letters compared without regard to case, every other byte as itself.
bool sameFieldName(std::string_view a, std::string_view b);

// The position of the field named `name` (without regard to case); nothing
// when the table has no such field.
std::optional<int> findSdField(std::span<const SdField> fields, std::string_view name);

}  // namespace fulgor
