// The command line's parser on any argument list (the input cut at NUL bytes):
// every subcommand's option parser and the choice between window and
// command line either take it or refuse it with a message.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli.h"
#include "fuzz_check.h"

using namespace fulgor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> args;
    while (!input.empty()) {
        std::size_t end = input.find('\0');
        args.emplace_back(input.substr(0, end));
        if (end == std::string_view::npos) break;
        input.remove_prefix(end + 1);
    }

    for (const cli::Command& command : cli::commands()) {
        Result<cli::Args> parsed = cli::parseArgs(args, command.options);
        if (!parsed) {
            FUZZ_CHECK(!parsed.error().empty());
            continue;
        }
        for (const std::string& flag : parsed.value().flags) {
            bool declared = false;
            for (const cli::OptionSpec& option : command.options)
                declared = declared || (option.name == flag && !option.takesValue);
            FUZZ_CHECK(declared);
        }
        for (const auto& [name, value] : parsed.value().given) {
            bool declared = false;
            for (const cli::OptionSpec& option : command.options)
                declared = declared || (option.name == name && option.takesValue);
            FUZZ_CHECK(declared);
        }
    }
    for (bool display : {false, true}) {
        cli::Launch launch = cli::decideLaunch(args, display);
        if (launch.kind == cli::Launch::Refused) FUZZ_CHECK(!launch.message.empty());
    }
    if (!args.empty() && !cli::isCliWord(args[0])) {
        std::string message = cli::unknownCommandMessage(args[0]);
        FUZZ_CHECK(message.find("fulgor help") != std::string::npos);
    }
    return 0;
}
