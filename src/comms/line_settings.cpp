#include "comms/line_settings.h"

#include <charconv>
#include <string>
#include <vector>

namespace fulgor {
namespace {

std::string_view withoutBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> parts(std::string_view text) {
    std::vector<std::string_view> result;
    for (std::size_t comma; (comma = text.find(',')) != std::string_view::npos;) {
        result.push_back(withoutBlanks(text.substr(0, comma)));
        text.remove_prefix(comma + 1);
    }
    result.push_back(withoutBlanks(text));
    return result;
}

bool readWhole(std::string_view text, int& value) {
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

Result<LineSettings> parseLineSettings(std::string_view text) {
    auto refuse = [&](std::string_view what) {
        return Error{"The line settings \"" + std::string(text) + "\" have " + std::string(what) +
                     " that cannot be used"};
    };
    std::vector<std::string_view> fields = parts(text);
    if (fields.size() != 4)
        return Error{"The line settings \"" + std::string(text) +
                     "\" need four parts: baud, parity, data bits, stop bits"};
    LineSettings settings;
    if (!readWhole(fields[0], settings.baud) || settings.baud <= 0) return refuse("a baud rate");

    if (fields[1].size() != 1) return refuse("a parity");
    switch (fields[1][0]) {
        case 'N':
        case 'n':
            settings.parity = LineSettings::Parity::None;
            break;
        case 'E':
        case 'e':
            settings.parity = LineSettings::Parity::Even;
            break;
        case 'O':
        case 'o':
            settings.parity = LineSettings::Parity::Odd;
            break;
        case 'M':
        case 'm':
            settings.parity = LineSettings::Parity::Mark;
            break;
        case 'S':
        case 's':
            settings.parity = LineSettings::Parity::Space;
            break;
        default:
            return refuse("a parity");
    }

    if (!readWhole(fields[2], settings.dataBits) || settings.dataBits < 5 ||
        settings.dataBits > 8) {
        return refuse("a number of data bits");
    }

    if (fields[3] == "1") {
        settings.stopBits = LineSettings::StopBits::One;
    } else if (fields[3] == "1.5") {
        settings.stopBits = LineSettings::StopBits::OneAndHalf;
    } else if (fields[3] == "2") {
        settings.stopBits = LineSettings::StopBits::Two;
    } else {
        return refuse("a number of stop bits");
    }
    return settings;
}

}  // namespace fulgor
