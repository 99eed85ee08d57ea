// Reads the fields sd2talsen converts of every event of an SD show, through the
// same database reader, and does nothing else with them: the floor under the
// time of both SD commands, which no work on the conversion can go below.
//   read_sd_fields SHOW.scx

#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/sd_database.h"

using namespace fulgor;

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: read_sd_fields SHOW.scx\n");
        return 2;
    }
    auto db = SdDatabase::open(argv[1], SdDatabase::Access::ReadOnly);
    if (!db) {
        std::fprintf(stderr, "%s\n", db.error().c_str());
        return 1;
    }
    auto events = db.value()->viewEvents();
    if (!events) {
        std::fprintf(stderr, "%s\n", events.error().c_str());
        return 1;
    }
    SdEventSource& source = *events.value();
    constexpr std::string_view kNames[] = {
        "time", "CUE",    "Effect Description", "CAL",  "PFT", "QTY", "POS",
        "ADDR", "PRICE1", "Event Description",  "ANGLE"};
    std::vector<int> fields;
    for (std::string_view name : kNames)
        if (std::optional<int> field = source.fieldIndex(name)) fields.push_back(*field);
    // A sum of what was read, printed, so that no reading can be left out.
    double sum = 0;
    std::int64_t count = 0;
    while (true) {
        Result<bool> moved = source.next();
        if (!moved) {
            std::fprintf(stderr, "%s\n", moved.error().c_str());
            return 1;
        }
        if (!moved.value()) break;
        ++count;
        for (int field : fields) {
            SdValue value = source.value(field);
            sum += value.kind == SdValue::Kind::Text ? static_cast<double>(value.text.size())
                                                     : value.number;
        }
    }
    std::printf("%lld events, %.0f\n", static_cast<long long>(count), sum);
    return 0;
}
