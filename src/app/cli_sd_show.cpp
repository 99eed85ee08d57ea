#include "app/cli_sd_show.h"

#include <ostream>

namespace fulgor::cli {

std::optional<SdOpenView> openSdView(std::string_view name, const std::string& path,
                                     const Args& args, Io& io) {
    auto fail = [&](std::string_view message) {
        io.err << "fulgor " << name << ": " << message << '\n';
        return std::nullopt;
    };
    auto opened = SdDatabase::open(path, SdDatabase::Access::ReadOnly);
    if (!opened) return fail(opened.error());
    std::unique_ptr<SdDatabase> database = std::move(opened.value());
    std::span<const SdField> fields = database->fields();

    std::vector<SdColumnFilter> filters;
    for (const std::string& filter : args.allValues("--filter")) {
        std::size_t eq = filter.find('=');
        if (eq == std::string::npos)
            return fail("--filter takes FIELD=TEXT, not \"" + filter + "\"");
        std::string field = filter.substr(0, eq);
        std::optional<int> index = findSdField(fields, field);
        if (!index) {
            return fail("There is no field [" + field + "] in the table \"" +
                        std::string(kSdEventsTable) + "\" to filter.");
        }
        filters.push_back({*index, filter.substr(eq + 1)});
    }
    auto conditions = parseSdFilters(filters, fields);
    if (!conditions) return fail(conditions.error());
    auto sort = parseSdSort(args.value("--sort").value_or(""), fields);
    if (!sort) return fail(sort.error());
    database->setView(conditions.value(), sort.value());
    auto events = database->viewEvents();
    if (!events) return fail(events.error());
    io.err << "Visible Lines: " << events.value()->rowCount() << '\n';
    return SdOpenView{std::move(database), std::move(events.value())};
}

std::optional<SdShowView> openSdShowView(std::string_view name, const Args& args, Io& io) {
    auto fail = [&](std::string_view message) {
        io.err << "fulgor " << name << ": " << message << '\n';
        return std::nullopt;
    };
    if (args.positional.size() != 1)
        return fail("expected one show database, got " + std::to_string(args.positional.size()));
    SdShowView view;
    std::string size = args.value("--size").value_or("cal");
    if (size == "cghz") {
        view.size = SdSize::Cghz;
    } else if (size != "cal") {
        return fail("--size takes cal or cghz, not \"" + size + "\"");
    }
    std::optional<SdOpenView> opened = openSdView(name, args.positional[0], args, io);
    if (!opened) return std::nullopt;
    static_cast<SdOpenView&>(view) = std::move(*opened);
    return view;
}

}  // namespace fulgor::cli
