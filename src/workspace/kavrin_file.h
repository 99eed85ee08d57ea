#pragma once
// The Kavrin script file (.kvn): the show name as the whole first line, then
// one line of 13 comma-separated cells per row of the table.

#include <string>
#include <string_view>

#include "core/result.h"
#include "core/table.h"

namespace fulgor {

struct KavrinScript {
    std::string showName;
    Table table{0, 13};
};

KavrinScript parseKavrin(std::string_view bytes);
Result<std::string> formatKavrin(const KavrinScript& script);

// File conveniences; the errors name the file. A file with no bytes at all is refused.
Result<KavrinScript> readKavrinFile(const std::string& path);
Status writeKavrinFile(const std::string& path, const KavrinScript& script);

}  // namespace fulgor
