#include "show_view/address_usage.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "addressing/time_text.h"
#include "core/number_format.h"
#include "core/rounding.h"
#include "show_view/address_key.h"
#include "show_view/cue_columns.h"

namespace fulgor {
namespace {

struct PinUse {
    std::string text;
    std::vector<int> rows;
};

struct ModuleUse {
    std::string text;
    std::unordered_map<std::string, PinUse> pins;
    int cues = 0;
    std::optional<double> first, last;
};

std::optional<long long> pinValue(const std::string& key, int base) {
    if (key.empty() || key.size() > 12) return std::nullopt;
    long long value = 0;
    for (char c : key) {
        int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                    : (c >= 'A' && c <= 'F')                    ? c - 'A' + 10
                                                                : 99;
        if (digit >= base) return std::nullopt;
        value = value * base + digit;
    }
    return value;
}

// The pins' values in `base`, or nothing when one of them is not a number in it.
std::optional<std::vector<long long>> pinValues(const std::vector<std::string>& pins, int base) {
    std::vector<long long> values;
    for (const std::string& pin : pins) {
        std::optional<long long> value = pinValue(addressKey(pin), base);
        if (!value) return std::nullopt;
        values.push_back(*value);
    }
    return values;
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string joined(const std::vector<std::string>& items, const char* separator) {
    std::string text;
    for (const std::string& item : items) {
        if (!text.empty()) text += separator;
        text += item;
    }
    return text;
}

std::string padded(const std::string& text, std::size_t width, bool right) {
    std::string fill(width > text.size() ? width - text.size() : 0, ' ');
    return right ? fill + text : text + fill;
}

}  // namespace

int AddressUsage::sharedAddresses() const {
    int count = 0;
    for (const ModuleUsage& module : modules) count += static_cast<int>(module.shared.size());
    return count;
}

AddressUsage addressUsage(const Table& table, ScriptGrid grid) {
    const CueColumns columns = cueColumns(grid);
    AddressUsage usage;
    std::unordered_map<std::string, ModuleUse> modules;
    for (int row = 0; row < table.rowCount(); ++row) {
        const std::string modText = cellText(table.cell(row, columns.mod));
        const std::string pinText = cellText(table.cell(row, columns.pin));
        const std::string modKey = addressKey(modText), pinKey = addressKey(pinText);
        if (modKey.empty() || pinKey.empty()) {
            if (!isBlankRow(table, row)) ++usage.unaddressed;
            continue;
        }
        ModuleUse& module = modules[modKey];
        if (module.cues++ == 0) module.text = modText;
        PinUse& pin = module.pins[pinKey];
        if (pin.rows.empty()) pin.text = pinText;
        pin.rows.push_back(row);
        if (std::optional<double> time = cueTime(table, row, columns)) {
            module.first = module.first ? std::min(*module.first, *time) : *time;
            module.last = module.last ? std::max(*module.last, *time) : *time;
        }
    }

    std::vector<std::string> moduleKeys;
    for (const auto& entry : modules) moduleKeys.push_back(entry.first);
    std::sort(moduleKeys.begin(), moduleKeys.end(), addressKeyLess);
    for (const std::string& moduleKey : moduleKeys) {
        ModuleUse& use = modules[moduleKey];
        ModuleUsage module{use.text, use.cues, {}, {}, use.first, use.last};
        std::vector<std::string> pinKeys;
        for (const auto& entry : use.pins) pinKeys.push_back(entry.first);
        std::sort(pinKeys.begin(), pinKeys.end(), addressKeyLess);
        for (const std::string& pinKey : pinKeys) {
            const PinUse& pin = use.pins[pinKey];
            module.pins.push_back(pin.text);
            if (pin.rows.size() < 2) continue;
            SharedPin shared{pin.text, {}};
            for (int row : pin.rows) shared.cues.push_back(cueName(table, row, columns));
            module.shared.push_back(std::move(shared));
        }
        usage.modules.push_back(std::move(module));
    }
    return usage;
}

std::string pinRuns(const std::vector<std::string>& pins) {
    std::optional<std::vector<long long>> values = pinValues(pins, 10);
    if (!values) values = pinValues(pins, 16);
    if (!values) return joined(pins, ", ");
    std::vector<std::string> runs;
    for (std::size_t i = 0; i < pins.size();) {
        std::size_t end = i;
        while (end + 1 < pins.size() && (*values)[end + 1] == (*values)[end] + 1) ++end;
        runs.push_back(end == i ? pins[i] : pins[i] + "-" + pins[end]);
        i = end + 1;
    }
    return joined(runs, ", ");
}

std::string usageClock(double seconds) {
    if (std::optional<std::int32_t> hundredths = roundToInt32(seconds * 100.0))
        return FormatHundredths(*hundredths);
    return shortestText(seconds);
}

std::string usageText(const AddressUsage& usage) {
    std::vector<std::vector<std::string>> rows = {{"Module", "Cues", "First", "Last", "Pins"}};
    for (const ModuleUsage& module : usage.modules) {
        rows.push_back({module.module, std::to_string(module.cues),
                        module.first ? usageClock(*module.first) : "-",
                        module.last ? usageClock(*module.last) : "-", pinRuns(module.pins)});
    }
    std::vector<std::size_t> widths(rows[0].size(), 0);
    for (const auto& row : rows)
        for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
    std::string text;
    if (usage.modules.empty()) {
        text = "No cue has a firing address.\n";
    } else {
        for (const auto& row : rows) {
            std::string line;
            for (std::size_t i = 0; i < row.size(); ++i) {
                // The last column is left unpadded: no blanks at the ends of lines.
                std::string cell = i + 1 == row.size() ? row[i] : padded(row[i], widths[i], i == 1);
                line += (i == 0 ? "" : "  ") + cell;
            }
            text += line + '\n';
        }
    }
    for (const ModuleUsage& module : usage.modules) {
        for (const SharedPin& pin : module.shared) {
            text += "Address used twice: module " + module.module + " pin " + pin.pin + ", lines " +
                    joined(pin.cues, ", ") + '\n';
        }
    }
    if (usage.unaddressed > 0)
        text += "Cues without an address: " + std::to_string(usage.unaddressed) + '\n';
    return text;
}

std::string usageCsv(const AddressUsage& usage) {
    std::string text = "Module,Cues,First,Last,Pins,Used twice\n";
    for (const ModuleUsage& module : usage.modules) {
        std::vector<std::string> shared;
        for (const SharedPin& pin : module.shared)
            shared.push_back(pin.pin + " (lines " + joined(pin.cues, " ") + ")");
        text += csvField(module.module) + ',' + std::to_string(module.cues) + ',' +
                (module.first ? shortestText(*module.first) : "") + ',' +
                (module.last ? shortestText(*module.last) : "") + ',' +
                csvField(joined(module.pins, " ")) + ',' + csvField(joined(shared, "; ")) + '\n';
    }
    return text;
}

}  // namespace fulgor
