#pragma once
// What sd2talsen, sd2pd and print share: the show database opened read-only
// and its view under --sort and --filter; the conversions add the size option.

#include <memory>
#include <optional>

#include "app/cli.h"
#include "conversion/sd_to_talsen.h"
#include "platform/sd_database.h"

namespace fulgor::cli {

// The options both commands take besides -o.
inline const std::vector<OptionSpec> kSdShowOptions = {
    {"-o", true}, {"--size", true}, {"--sort", true}, {"--filter", true, true}};

inline constexpr std::string_view kSdSizeOptionHelp =
    "  --size cal|cghz   the field that gives the size: CAL (default) or CGHZ\n";

// The help of --sort and --filter.
inline constexpr std::string_view kSdViewOptionHelp =
    "  --sort TEXT       the \"Sorting Order\" text, e.g. '[TIME],[CUE] DESC'\n"
    "  --filter FIELD=TEXT\n"
    "                    what is typed in FIELD's filter cell (any case; the name ends at the\n"
    "                    first '='), e.g. 'Effect Description=Com' or 'QTY=> 2'; may be\n"
    "                    given once per field\n"
    "The database is opened read-only and never changes. The number of visible rows\n"
    "goes to standard error.\n";

// A show database opened read-only under --sort and --filter, with the
// events of that view, counted: a conversion walks them from the first.
struct SdOpenView {
    std::unique_ptr<SdDatabase> database;
    std::unique_ptr<SdEventSource> events;  // declared last, so that it goes first
};

struct SdShowView : SdOpenView {
    SdSize size = SdSize::Cal;
};

// Opens the show database at `path` read-only and applies --sort and
// --filter, telling the number of visible rows on standard error; reports
// (prefixed "fulgor NAME: ") and gives nothing when the file cannot be read or
// the view does not accept the sort or a filter.
std::optional<SdOpenView> openSdView(std::string_view name, const std::string& path,
                                     const Args& args, Io& io);

// Reads --size and opens the one positional argument as openSdView does;
// reports and gives nothing on bad usage or when openSdView fails.
std::optional<SdShowView> openSdShowView(std::string_view name, const Args& args, Io& io);

}  // namespace fulgor::cli
