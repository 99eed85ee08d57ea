#pragma once
// What sd2talsen and sd2pd share: the show database opened read-only, its
// view under --sort and --filter, and the size option.

#include <memory>
#include <optional>

#include "app/cli.h"
#include "conversion/sd_to_talsen.h"
#include "platform/sd_database.h"

namespace fulgor::cli {

// The options both commands take besides -o.
inline const std::vector<OptionSpec> kSdShowOptions = {
    {"-o", true}, {"--size", true}, {"--sort", true}, {"--filter", true, true}};

inline constexpr std::string_view kSdShowOptionHelp =
    "  --size cal|cghz   the field that gives the size: CAL (default) or CGHZ\n"
    "  --sort TEXT       the \"Sorting Order\" text, e.g. '[TIME],[CUE] DESC'\n"
    "  --filter FIELD=TEXT\n"
    "                    what is typed in FIELD's filter cell (any case; the name ends at the\n"
    "                    first '='), e.g. 'Effect Description=Com' or 'QTY=> 2'; may be\n"
    "                    given once per field\n"
    "The database is opened read-only and never changes. The number of visible rows\n"
    "goes to standard error.\n";

struct SdShowView {
    std::unique_ptr<SdDatabase> database;
    SdSize size = SdSize::Cal;
};

// Opens the one positional argument read-only and applies --sort and
// --filter; reports (prefixed "fulgor NAME: ") and gives nothing on bad usage,
// an unreadable file, or a sort or filter the view does not accept.
std::optional<SdShowView> openSdShowView(std::string_view name, const Args& args, Io& io);

}  // namespace fulgor::cli
