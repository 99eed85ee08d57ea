#pragma once
// The open SD show as the conversions read it: its events in the order and
// under the filter of the SD view, one field at a time. The database adapter
// implements it; tests use a fake over plain rows.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/result.h"

namespace fulgor {

// One field of one event. `Missing` is a field the table does not have at
// all; `Null` a field with no value; an empty text is a third thing again.
struct SdValue {
    enum class Kind { Missing, Null, Number, Text };
    Kind kind = Kind::Null;
    double number = 0;      // for Kind::Number
    std::string_view text;  // for Kind::Text; valid until the source moves on

    static SdValue missing() { return {Kind::Missing, 0, {}}; }
    static SdValue null() { return {}; }
    static SdValue of(double x) { return {Kind::Number, x, {}}; }
    static SdValue of(std::string_view text) { return {Kind::Text, 0, text}; }

    // Missing, null or the empty text: what the conversions call empty.
    bool isEmpty() const {
        return kind == Kind::Missing || kind == Kind::Null || (kind == Kind::Text && text.empty());
    }
};

// The value as a number: a number as it is, a text that is wholly one decimal
// number (blanks aside) by that number; nothing otherwise, and nothing for an
// infinite value.
std::optional<double> sdNumber(const SdValue& value);

// The value as text: a number in its shortest decimal form, a text as it is,
// empty for a missing or null value.
std::string sdText(const SdValue& value);

// The "Haddr" column: an "ADDR" value in uppercase hexadecimal without
// leading zeros (163 -> "A3"); empty for an empty or unreadable value. A
// fraction rounds, ties to even; a negative address shows its 32-bit pattern.
std::string haddrText(const SdValue& addr);

class SdEventSource {
public:
    virtual ~SdEventSource() = default;

    // The number of events in the view.
    virtual std::int64_t rowCount() const = 0;
    // The position of the field named `name`, matched without regard to case;
    // nothing when the table has no such field. Fields are looked up before
    // the first next(): a database source reads only those.
    virtual std::optional<int> fieldIndex(std::string_view name) const = 0;
    // Moves to the first event in view order on the first call, then to the
    // next one; false after the last. Fails when the database cannot be read.
    virtual Result<bool> next() = 0;
    // A field of the current event. Precondition: the last next() gave true
    // and `field` came from fieldIndex() before the first next().
    virtual SdValue value(int field) const = 0;

    // The field named `name` of the current event; Missing when there is none.
    SdValue value(const std::optional<int>& field) const {
        return field ? value(*field) : SdValue::missing();
    }
};

}  // namespace fulgor
