#pragma once
// Whole-file reading and crash-safe writing. Error messages name the file and
// give the system's reason.

#include <string>
#include <string_view>

#include "core/result.h"

namespace fulgor {

// The bytes of the file at `path`.
Result<std::string> readFileBytes(const std::string& path);

// Replaces the file at `path` with `bytes` without ever leaving it half
// written: the bytes go to a temporary file in the same folder, which is then
// renamed over the target. On failure the previous file is left untouched and
// the temporary file removed. A replaced file keeps its permissions.
Status writeFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace fulgor
