// The leading-number reader on any text, given a buffer exactly the input's
// size so that a read past its end is caught; its four readings agree.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

#include "core/leading_number.h"
#include "fuzz_check.h"

using namespace fulgor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::unique_ptr<char[]> exact(new char[size]);
    if (size > 0) std::memcpy(exact.get(), data, size);
    std::string_view text(exact.get(), size);

    double value = leadingNumber(text);
    FUZZ_CHECK(!std::isnan(value));
    std::optional<double> leading = foundLeadingNumber(text);
    bool found = leading.has_value();
    if (found) FUZZ_CHECK(std::memcmp(&*leading, &value, sizeof value) == 0);
    if (!found) FUZZ_CHECK(value == 0 && !std::signbit(value));
    if (value != 0) FUZZ_CHECK(found);

    std::optional<double> whole = decimalNumber(text);
    FUZZ_CHECK(whole.has_value() == isDecimalNumber(text));
    if (whole) {
        FUZZ_CHECK(found);
        FUZZ_CHECK(*whole == value);
    }
    if (isHexNumber(text)) FUZZ_CHECK(found && !whole);
    return 0;
}
