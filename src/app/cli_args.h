#pragma once
// Parsing of a subcommand's arguments: positional arguments, "-o FILE" and
// named "--option [VALUE]" options declared by the subcommand.

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/result.h"

namespace fulgor::cli {

struct OptionSpec {
    std::string_view name;  // "-o", "--miravel", "--numbering"
    bool takesValue = false;
    bool repeatable = false;  // may be given several times (read with Args::allValues)
};

struct Args {
    std::string command;  // the subcommand's name, for its messages
    std::vector<std::string> positional;
    std::map<std::string, std::string, std::less<>> values;  // options with a value, the last given
    std::vector<std::pair<std::string, std::string>> given;  // every option with a value, in order
    std::vector<std::string> flags;                          // options without one

    bool has(std::string_view flag) const;
    std::optional<std::string> value(std::string_view option) const;
    // Every value of an option that may be given several times, in order.
    std::vector<std::string> allValues(std::string_view option) const;
};

// Fails on an option the subcommand does not declare, a missing value, or an
// option that is not repeatable given more than once.
Result<Args> parseArgs(std::span<const std::string> args, std::span<const OptionSpec> options);

}  // namespace fulgor::cli
