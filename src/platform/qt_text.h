#pragma once
// Text crossing between the plain C++ side (UTF-8 std::string) and Qt.

#include <QString>
#include <string>
#include <string_view>

namespace fulgor {

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace fulgor
