#include "core/leading_number.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "core/word_bytes.h"

namespace fulgor {
namespace {

bool isIgnored(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexDigitValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Walks a text while skipping the ignored characters.
class Cursor {
public:
    explicit Cursor(std::string_view text) : m_text(text) { skip(); }
    bool atEnd() const { return m_pos >= m_text.size(); }
    char peek() const { return atEnd() ? '\0' : m_text[m_pos]; }
    void advance() {
        ++m_pos;
        skip();
    }

private:
    void skip() {
        while (m_pos < m_text.size() && isIgnored(m_text[m_pos])) ++m_pos;
    }
    std::string_view m_text;
    std::size_t m_pos = 0;
};

struct Scan {
    double value = 0;
    bool anyDigit = false;  // at least one digit of the number was read
    bool decimal = true;    // false for the "&H" / "&O" forms
    bool rest = false;      // characters are left after the number
};

Scan scanRadix(Cursor& cur, int radix) {
    Scan scan;
    scan.decimal = false;
    double value = 0;
    for (;;) {
        int digit = hexDigitValue(cur.peek());
        if (cur.atEnd() || digit < 0 || digit >= radix) break;
        value = value * radix + digit;
        scan.anyDigit = true;
        cur.advance();
    }
    scan.value = value;
    scan.rest = !cur.atEnd();
    return scan;
}

// Converts the collected decimal text (sign, digits, '.', 'e', sign, digits)
// with correct rounding and without depending on the C locale.
double convertDecimal(const std::string& text, long long decimalExponent, bool allZero) {
    double value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        bool negative = text[0] == '-';
        if (allZero || decimalExponent < 0) return 0.0;
        return negative ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
    }
    return value + 0.0;  // turns -0 into 0
}

Scan scanDecimal(Cursor& cur) {
    Scan scan;
    std::string text;
    text.reserve(32);
    if (cur.peek() == '+' || cur.peek() == '-') {
        if (cur.peek() == '-') text.push_back('-');
        cur.advance();
    }
    bool allZero = true;
    long long leadingDigits = 0;  // digits before the point, leading zeros aside
    bool seenNonZero = false;
    long long zerosAfterPoint = 0;
    while (isDigit(cur.peek())) {
        char c = cur.peek();
        if (c != '0') allZero = false;
        if (c != '0' || seenNonZero) {
            seenNonZero = true;
            ++leadingDigits;
        }
        text.push_back(c);
        scan.anyDigit = true;
        cur.advance();
    }
    if (cur.peek() == '.') {
        cur.advance();
        text.push_back('.');
        while (isDigit(cur.peek())) {
            char c = cur.peek();
            if (c != '0') allZero = false;
            if (!seenNonZero && c == '0') ++zerosAfterPoint;
            if (c != '0') seenNonZero = true;
            text.push_back(c);
            scan.anyDigit = true;
            cur.advance();
        }
    }
    if (!scan.anyDigit) {
        scan.rest = !cur.atEnd();
        return scan;
    }
    long long exponent = 0;
    char e = cur.peek();
    if (e == 'e' || e == 'E' || e == 'd' || e == 'D') {
        // The exponent counts only when digits follow it; "1e" reads as 1.
        Cursor probe = cur;
        probe.advance();
        bool negative = false;
        if (probe.peek() == '+' || probe.peek() == '-') {
            negative = probe.peek() == '-';
            probe.advance();
        }
        if (isDigit(probe.peek())) {
            std::string digits;
            while (isDigit(probe.peek())) {
                if (exponent < 1'000'000'000) exponent = exponent * 10 + (probe.peek() - '0');
                digits.push_back(probe.peek());
                probe.advance();
            }
            if (negative) exponent = -exponent;
            text.push_back('e');
            if (negative) text.push_back('-');
            text += digits;
            cur = probe;
        }
    }
    long long magnitude = leadingDigits > 0 ? leadingDigits + exponent : exponent - zerosAfterPoint;
    scan.value = convertDecimal(text, magnitude, allZero);
    scan.rest = !cur.atEnd();
    return scan;
}

// The powers of ten a double holds exactly: a whole number of at most
// fifteen digits divided by one of them is the correctly rounded decimal.
constexpr std::array<double, 16> kPowersOfTen = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// The common case read without building a text for from_chars: a plain
// decimal such as "12.35" or "-7" of at most 15 digits, with no exponent and
// nothing ignored inside it, or a text with no number at all. Such a mantissa
// and the power of ten are both exact doubles, so their quotient is the
// correctly rounded value, the same from_chars gives. Anything else is left to
// the full reading. The digits before and after the point are read by one
// plain loop: this runs for every number cell too long for one word.
std::optional<Scan> scanPlainDecimal(std::string_view text) {
    constexpr std::ptrdiff_t kMaxDigits = 15;
    const char* p = text.data();
    const char* const end = p + text.size();
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
    std::uint64_t mantissa = 0;
    // Reads at most `allowed` digits, as far as the text goes; gives how many.
    auto readDigits = [&](std::ptrdiff_t allowed) {
        const char* const limit = p + std::min(end - p, allowed);
        const char* const from = p;
        for (; p < limit && isDigit(*p); ++p)
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
        return p - from;
    };
    const std::ptrdiff_t wholeDigits = readDigits(kMaxDigits);
    std::ptrdiff_t decimals = 0;
    if (p < end && *p == '.') {
        ++p;
        decimals = readDigits(kMaxDigits - wholeDigits);
    }
    const bool anyDigit = wholeDigits + decimals > 0;
    if (p < end) {
        const char c = *p;
        if (isDigit(c) || isIgnored(c) || c == '&' ||
            (anyDigit && (c == 'e' || c == 'E' || c == 'd' || c == 'D')))
            return std::nullopt;
    }
    Scan scan;
    scan.anyDigit = anyDigit;
    const double magnitude =
        static_cast<double>(mantissa) / kPowersOfTen[static_cast<std::size_t>(decimals)];
    scan.value = negative && mantissa != 0 ? -magnitude : magnitude;
    scan.rest = p < end;
    return scan;
}

// plainDecimal for a text of one to eight bytes after its sign, which most
// number cells are, read in one word with no loop: every byte a digit but at
// most one point, and at least one digit. Eight digits are turned into their
// number at once, by multiplying pairs, then pairs of pairs, into place.
std::optional<double> shortPlainDecimal(std::string_view text, bool negative) {
    const std::size_t n = text.size();
    const std::uint64_t word = shortTextWord(text.data(), n);
    const std::uint64_t inText = n == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * n)) - 1;
    const std::uint64_t points = bytesOf(word, '.') & inText;
    if ((points & (points - 1)) != 0) return std::nullopt;
    // With its point and the bytes past its end read as '0', the text must be
    // all digits.
    const std::uint64_t asDigits =
        (word ^ ((points >> 7) * ('.' ^ '0'))) | (~inText & everyByte('0'));
    if ((asDigits & everyByte(0xF0)) != everyByte('0') ||
        ((asDigits + everyByte(0x06)) & everyByte(0xF0)) != everyByte('0'))
        return std::nullopt;
    const std::size_t digitCount = n - (points != 0 ? 1 : 0);
    if (digitCount == 0) return std::nullopt;
    // The digits alone: those after the point move down a byte.
    std::uint64_t digits = word;
    std::size_t decimals = 0;
    if (points != 0) {
        const auto at = static_cast<std::size_t>(std::countr_zero(points) / 8);
        const std::uint64_t before = (std::uint64_t{1} << (8 * at)) - 1;
        digits = (word & before) | ((word >> 8) & ~before);
        decimals = n - at - 1;
    }
    // Zeros before them make eight digits, the first in the lowest byte.
    const std::size_t zeros = 8 - digitCount;
    std::uint64_t value =
        (digits << (8 * zeros)) | (everyByte('0') & ((std::uint64_t{1} << (8 * zeros)) - 1));
    value -= everyByte('0');
    value = value * 10 + (value >> 8);
    constexpr std::uint64_t kPairs = 0x0000'00FF'0000'00FFULL;
    value = ((value & kPairs) * (100 + (std::uint64_t{1'000'000} << 32)) +
             ((value >> 16) & kPairs) * (1 + (std::uint64_t{10'000} << 32))) >>
            32;
    const double magnitude = static_cast<double>(value) / kPowersOfTen[decimals];
    return negative && value != 0 ? -magnitude : magnitude;
}

Scan scanNumber(std::string_view text) {
    if (std::optional<Scan> plain = scanPlainDecimal(text)) return *plain;
    Cursor cur(text);
    if (cur.peek() == '&') {
        Cursor probe = cur;
        probe.advance();
        char kind = probe.peek();
        if (kind == 'h' || kind == 'H' || kind == 'o' || kind == 'O') {
            probe.advance();
            return scanRadix(probe, (kind == 'h' || kind == 'H') ? 16 : 8);
        }
        Scan none;
        none.rest = true;
        return none;
    }
    return scanDecimal(cur);
}

}  // namespace

double leadingNumber(std::string_view text) {
    return scanNumber(text).value;
}

std::optional<double> foundLeadingNumber(std::string_view text) {
    Scan scan = scanNumber(text);
    if (!scan.anyDigit) return std::nullopt;
    return scan.value;
}

bool isDecimalNumber(std::string_view text) {
    return decimalNumber(text).has_value();
}

std::optional<double> decimalNumber(std::string_view text) {
    Scan scan = scanNumber(text);
    if (!scan.decimal || !scan.anyDigit || scan.rest) return std::nullopt;
    return scan.value;
}

std::optional<double> plainDecimal(std::string_view text) {
    std::string_view body = text;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative || (!text.empty() && text[0] == '+')) body.remove_prefix(1);
    if (!body.empty() && body.size() <= 8) return shortPlainDecimal(body, negative);
    std::optional<Scan> scan = scanPlainDecimal(text);
    if (!scan || !scan->anyDigit || scan->rest) return std::nullopt;
    return scan->value;
}

bool isHexNumber(std::string_view text) {
    Cursor cur(text);
    if (cur.peek() != '&') return false;
    cur.advance();
    if (cur.peek() != 'h' && cur.peek() != 'H') return false;
    cur.advance();
    Scan scan = scanRadix(cur, 16);
    return scan.anyDigit && !scan.rest;
}

}  // namespace fulgor
