#include "core/cp1252.h"

#include <array>
#include <cstdint>
#include <cstdio>

#include "core/word_bytes.h"

namespace fulgor {
namespace {

// Code points of the bytes 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

char32_t codePointOf(unsigned char byte) {
    return (byte >= 0x80 && byte <= 0x9F) ? kHigh[byte - 0x80] : byte;
}

int byteOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == cp) return static_cast<int>(0x80 + i);
    }
    return -1;
}

void appendUtf8(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string describe(char32_t cp) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(cp));
    return buffer;
}

}  // namespace

bool isAscii(std::string_view text) {
    // Eight bytes at a time: whole files are checked at once when they are read.
    const char* p = text.data();
    const char* end = p + text.size();
    std::uint64_t any = 0;
    for (; end - p >= 8; p += 8) any |= wordAt(p);
    for (; p < end; ++p) any |= static_cast<unsigned char>(*p);
    return (any & everyByte(0x80)) == 0;
}

void appendDecoded1252(std::string_view bytes, std::string& out) {
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out.push_back(c);
        } else {
            appendUtf8(codePointOf(byte), out);
        }
    }
}

std::string decode1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    appendDecoded1252(bytes, out);
    return out;
}

namespace {

// Hands each character's Windows-1252 byte to `put`, in order; stops at the
// first character the code page cannot hold.
template <class Put>
Status encodeEach(std::string_view utf8, Put put) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            put(static_cast<char>(lead));
            ++i;
            continue;
        }
        int length = (lead & 0xE0) == 0xC0   ? 2
                     : (lead & 0xF0) == 0xE0 ? 3
                     : (lead & 0xF8) == 0xF0 ? 4
                                             : 0;
        if (length == 0 || i + length > utf8.size()) {
            return Error{"the text is not valid UTF-8"};
        }
        char32_t cp = lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) return Error{"the text is not valid UTF-8"};
            cp = (cp << 6) | (next & 0x3F);
        }
        int byte = byteOf(cp);
        if (byte < 0) {
            std::string glyph;
            appendUtf8(cp, glyph);
            return Error{"the character \"" + glyph + "\" (" + describe(cp) +
                         ") cannot be written in the Windows-1252 code page"};
        }
        put(static_cast<char>(byte));
        i += static_cast<std::size_t>(length);
    }
    return {};
}

}  // namespace

Status appendEncoded1252(std::string_view utf8, std::string& out) {
    return encodeEach(utf8, [&](char byte) { out.push_back(byte); });
}

Status encode1252InPlace(std::string& text) {
    // Every character becomes one byte, so the bytes written never overtake
    // the characters still to be read.
    std::size_t written = 0;
    Status status = encodeEach(text, [&](char byte) { text[written++] = byte; });
    if (status) text.resize(written);
    return status;
}

Result<std::string> encode1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    Status status = appendEncoded1252(utf8, out);
    if (!status) return Error{status.error()};
    return out;
}

}  // namespace fulgor
