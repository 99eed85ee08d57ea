#include "core/number_format.h"

#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/rounding.h"

namespace fulgor {

namespace {

// A number that is a decimal of at most four places and fifteen significant
// digits, written without the general conversion: the value is the double
// nearest that decimal (the exact quotient of two exact doubles), and such a
// decimal survives the round trip to 15 digits, so "%.15g" would print exactly
// its digits. Script cells are nearly all of this kind (lines, seconds in
// hundredths, modules), and the general conversion costs far more.
bool appendPlainDecimal(double x, std::string& out) {
    static constexpr double kScale[] = {1, 10, 100, 1000, 10000};
    constexpr double kLimit = 1e15;
    constexpr int kMostPlaces = 4;
    if (!(std::fabs(x) < kLimit)) return false;
    // A whole number, most cells' (lines, shots, modules, pins), is its digits.
    if (const auto whole = static_cast<std::int64_t>(x); static_cast<double>(whole) == x) {
        char text[24];
        const auto [end, ec] = std::to_chars(text, text + sizeof text, whole);
        assert(ec == std::errc());
        out.append(text, static_cast<std::size_t>(end - text));
        return true;
    }
    for (int places = 1; places <= kMostPlaces; ++places) {
        const double scaled = x * kScale[places];
        if (!(std::fabs(scaled) < kLimit)) return false;
        // Rounded half away from zero by a conversion, not a call: below
        // kLimit adding a half is exact, and a value half way between two
        // whole numbers is never the decimal looked for, whichever way it goes.
        const auto whole = static_cast<std::int64_t>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
        if (static_cast<double>(whole) / kScale[places] != x) continue;
        const std::uint64_t magnitude =
            whole < 0 ? 0 - static_cast<std::uint64_t>(whole) : static_cast<std::uint64_t>(whole);
        // The text is made in a buffer and appended at once: the sign, the
        // digits with zeros before them so that one stands before the point,
        // then the point and the places but their trailing zeros. The digits
        // start far enough in for the sign and those zeros.
        char text[32];
        char* first = text + 1 + kMostPlaces;
        auto [end, ec] = std::to_chars(first, text + sizeof text, magnitude);
        assert(ec == std::errc());
        while (end - first < places + 1) *--first = '0';
        if (whole < 0) *--first = '-';
        char* const point = end - places;
        char* last = end;
        while (last > point && last[-1] == '0') --last;
        if (last > point) {
            std::memmove(point + 1, point, static_cast<std::size_t>(last - point));
            *point = '.';
            ++last;
        } else {
            last = point;
        }
        out.append(first, static_cast<std::size_t>(last - first));
        return true;
    }
    return false;
}

}  // namespace

void appendShortestText(double x, std::string& out) {
    assert(std::isfinite(x));
    if (appendPlainDecimal(x, out)) return;
    char buffer[32];
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, x + 0.0, std::chars_format::general, 15);
    assert(ec == std::errc());
    std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    out.append(text == "-0" ? std::string_view("0") : text);
}

std::string shortestText(double x) {
    std::string text;
    appendShortestText(x, text);
    return text;
}

std::string formatMask(double x, std::string_view mask) {
    assert(std::isfinite(x));
    std::size_t pos = 0;
    int minIntegerDigits = 0;
    while (pos < mask.size() && (mask[pos] == '#' || mask[pos] == '0')) {
        if (mask[pos] == '0') ++minIntegerDigits;
        ++pos;
    }
    bool point = false;
    int decimals = 0;
    if (pos < mask.size() && mask[pos] == '.') {
        point = true;
        ++pos;
        while (pos < mask.size() && mask[pos] == '0') {
            ++decimals;
            ++pos;
        }
    }
    std::string_view suffix = mask.substr(pos);

    double rounded = roundToDecimals(x, decimals);
    bool negative = rounded < 0;
    char buffer[400];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(rounded),
                                   std::chars_format::fixed, decimals);
    assert(ec == std::errc());
    std::string_view digits(buffer, static_cast<std::size_t>(end - buffer));
    std::size_t dot = digits.find('.');
    std::string_view integerPart = digits.substr(0, dot);
    std::string_view fractionPart =
        dot == std::string_view::npos ? std::string_view() : digits.substr(dot + 1);
    if (minIntegerDigits == 0 && integerPart == "0") integerPart = {};

    std::string text;
    if (negative) text.push_back('-');
    for (int i = static_cast<int>(integerPart.size()); i < minIntegerDigits; ++i)
        text.push_back('0');
    text.append(integerPart);
    if (point) {
        text.push_back('.');
        text.append(fractionPart);
    }
    text.append(suffix);
    return text;
}

void appendWhole(std::int64_t value, int minDigits, std::string& out) {
    // The magnitude as unsigned, so that the lowest int64 has one too.
    std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    char digits[24];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, magnitude);
    assert(ec == std::errc());
    auto length = static_cast<int>(end - digits);
    if (value < 0) out.push_back('-');
    if (length < minDigits) out.append(static_cast<std::size_t>(minDigits - length), '0');
    out.append(digits, static_cast<std::size_t>(length));
}

std::string formatWhole(std::int64_t value, int minDigits) {
    std::string text;
    appendWhole(value, minDigits, text);
    return text;
}

}  // namespace fulgor
