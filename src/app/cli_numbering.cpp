#include "app/cli_numbering.h"

#include <ostream>

namespace fulgor::cli {

std::optional<NumberingOption> numberingOption(const Args& args, Io& io) {
    std::optional<std::string> word = args.value("--numbering");
    if (!word || *word == "kavrin") return NumberingOption::Kavrin;
    if (*word == "talsen") return NumberingOption::Talsen;
    if (*word == "custom") return NumberingOption::Custom;
    complain(args, io) << "--numbering takes kavrin, talsen or custom, not \"" << *word << "\"\n";
    return std::nullopt;
}

}  // namespace fulgor::cli
