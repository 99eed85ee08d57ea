#include "show_view/address_key.h"

#include <algorithm>
#include <cctype>

namespace fulgor {
namespace {

bool isAlphanumeric(const std::string& key) {
    return std::all_of(key.begin(), key.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

}  // namespace

std::string addressKey(std::string_view text) {
    std::string key;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') continue;
        key += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (!isAlphanumeric(key)) return key;
    std::size_t zeros = key.find_first_not_of('0');
    if (zeros == std::string::npos) return key.empty() ? key : "0";
    return key.substr(zeros);
}

bool addressKeyLess(const std::string& a, const std::string& b) {
    bool plainA = isAlphanumeric(a), plainB = isAlphanumeric(b);
    if (plainA != plainB) return plainA;
    if (plainA && a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

}  // namespace fulgor
