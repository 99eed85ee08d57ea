#include "app/cli_args.h"

#include <algorithm>

namespace fulgor::cli {

bool Args::has(std::string_view flag) const {
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

std::optional<std::string> Args::value(std::string_view option) const {
    auto it = values.find(option);
    if (it == values.end()) return std::nullopt;
    return it->second;
}

std::vector<std::string> Args::allValues(std::string_view option) const {
    std::vector<std::string> all;
    for (const auto& [name, value] : given) {
        if (name == option) all.push_back(value);
    }
    return all;
}

Result<Args> parseArgs(std::span<const std::string> args, std::span<const OptionSpec> options) {
    Args parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool looksLikeOption = arg.size() > 1 && arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9');
        if (!looksLikeOption) {
            parsed.positional.push_back(arg);
            continue;
        }
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (std::size_t eq = arg.find('='); eq != std::string::npos && arg.starts_with("--")) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        auto declared = std::find_if(options.begin(), options.end(),
                                     [&](const OptionSpec& o) { return o.name == name; });
        if (declared == options.end()) return Error{"unknown option " + name};
        if (!declared->repeatable && (parsed.values.contains(name) || parsed.has(name)))
            return Error{"option " + name + " is given more than once"};
        if (!declared->takesValue) {
            if (inlineValue) return Error{"option " + name + " takes no value"};
            parsed.flags.push_back(name);
            continue;
        }
        if (!inlineValue) {
            if (i + 1 >= args.size()) return Error{"option " + name + " needs a value"};
            inlineValue = args[++i];
        }
        parsed.values[name] = *inlineValue;
        parsed.given.emplace_back(name, *inlineValue);
    }
    return parsed;
}

}  // namespace fulgor::cli
