#pragma once
// The --numbering option, standing for the "Cue Numbering" option buttons.

#include <optional>

#include "addressing/numbering_scheme.h"
#include "app/cli.h"

namespace fulgor::cli {

inline constexpr std::string_view kNumberingHelp =
    "  --numbering NAME     the cue numbering option: kavrin, talsen or custom\n"
    "                       (default: kavrin)\n";

// The option chosen with --numbering, Kavrin when it is absent; reports and
// gives nothing for any other word.
std::optional<NumberingOption> numberingOption(const Args& args, Io& io);

}  // namespace fulgor::cli
