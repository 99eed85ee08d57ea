#include "conversion/sd_to_talsen.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "addressing/hex_text.h"
#include "core/rounding.h"
#include "core/script_columns.h"

namespace fulgor {
namespace {

// The largest address a Talsen row holds: module FF, pin F.
constexpr double kAddressLimit = 4096;

Cell asStored(const SdValue& value) {
    switch (value.kind) {
        case SdValue::Kind::Number:
            return Cell::number(value.number);
        case SdValue::Kind::Text:
            return Cell::text(value.text);
        default:
            return Cell();
    }
}

// A whole number from 0, as a time code or an address must be.
std::optional<std::int64_t> wholeFromZero(const SdValue& value) {
    std::optional<double> number = sdNumber(value);
    if (!number) return std::nullopt;
    std::optional<std::int32_t> whole = roundToInt32(*number);
    if (!whole || *whole < 0) return std::nullopt;
    return *whole;
}

std::string countText(std::int64_t count, const char* cause) {
    return std::to_string(count) + (count == 1 ? " event " : " events ") + cause;
}

}  // namespace

Result<SdToTalsenOutcome> SdToTalsen(SdEventSource& source, SdSize size,
                                     const SdPartTaker& take, int partRows) {
    const std::optional<int> time = source.fieldIndex("time");
    const std::optional<int> cue = source.fieldIndex("CUE");
    const std::optional<int> effect = source.fieldIndex("Effect Description");
    const std::optional<int> sizeField = source.fieldIndex(size == SdSize::Cal ? "CAL" : "CGHZ");
    const std::optional<int> pft = source.fieldIndex("PFT");
    const std::optional<int> qty = source.fieldIndex("QTY");
    const std::optional<int> pos = source.fieldIndex("POS");
    const std::optional<int> addr = source.fieldIndex("ADDR");
    const std::optional<int> price = source.fieldIndex("PRICE1");
    const std::optional<int> event = source.fieldIndex("Event Description");
    const std::optional<int> angle = source.fieldIndex("ANGLE");

    SdToTalsenOutcome outcome;
    outcome.table = Table(0, talsen::ColumnCount);
    Table& table = outcome.table;
    table.reserveRows(static_cast<int>(take ? std::min<std::int64_t>(partRows, source.rowCount())
                                            : source.rowCount()));
    int rowsBefore = 0;
    auto handOn = [&]() -> Status {
        const int rows = table.rowCount();
        if (Status taken = take(table, rowsBefore); !taken) return taken;
        rowsBefore += rows;
        table.dropRows();
        return {};
    };
    std::string notes;
    while (true) {
        Result<bool> moved = source.next();
        if (!moved) return Error{moved.error()};
        if (!moved.value()) break;
        SdValue timeValue = source.value(time);
        SdValue addrValue = source.value(addr);
        if (timeValue.isEmpty()) {
            ++outcome.emptyTime;
            continue;
        }
        if (addrValue.isEmpty()) {
            ++outcome.emptyAddr;
            continue;
        }
        std::optional<std::int64_t> code = wholeFromZero(timeValue);
        std::optional<std::int64_t> address = wholeFromZero(addrValue);
        if (!code || !address) {
            ++outcome.unreadable;
            continue;
        }
        if (*address >= kAddressLimit) {
            ++outcome.addrTooLarge;
            continue;
        }
        table.appendRows();
        const int row = table.rowCount() - 1;
        std::int64_t t = *code;
        double seconds =
            static_cast<double>((t >> 24) * 3600 + ((t >> 16) & 255) * 60 + ((t >> 8) & 255)) +
            static_cast<double>(t & 255) / 30.0;
        table.setCell(row, talsen::Line, asStored(source.value(cue)));
        table.setCell(row, talsen::Type, asStored(source.value(effect)));
        table.setCell(row, talsen::Size, asStored(source.value(sizeField)));
        table.setNumber(row, talsen::Time, roundToDecimals(seconds, 2));
        if (std::optional<double> prefire = sdNumber(source.value(pft)))
            table.setNumber(row, talsen::Prefire, *prefire / 10);
        table.setCell(row, talsen::Qty, asStored(source.value(qty)));
        table.setCell(row, talsen::Pos, asStored(source.value(pos)));
        table.setText(row, talsen::Mod, HexByte(static_cast<std::uint8_t>(*address / 16)));
        table.setText(row, talsen::Pin, hexDigits(static_cast<std::uint32_t>(*address % 16)));
        table.setCell(row, talsen::Cost, asStored(source.value(price)));
        notes = sdText(source.value(event));
        notes += sdText(source.value(angle));
        table.setText(row, talsen::Notes, notes);
        if (take && table.rowCount() == partRows) {
            if (Status handed = handOn(); !handed) return Error{handed.error()};
        }
    }
    if (take && table.rowCount() > 0) {
        if (Status handed = handOn(); !handed) return Error{handed.error()};
    }
    return outcome;
}

std::string skippedEventsMessage(const SdToTalsenOutcome& outcome) {
    if (outcome.skipped() == 0) return {};
    std::vector<std::string> causes;
    if (outcome.emptyTime > 0) causes.push_back(countText(outcome.emptyTime, "with an empty time"));
    if (outcome.emptyAddr > 0) causes.push_back(countText(outcome.emptyAddr, "with an empty ADDR"));
    if (outcome.addrTooLarge > 0)
        causes.push_back(countText(outcome.addrTooLarge, "with an ADDR of 4096 or more"));
    if (outcome.unreadable > 0) {
        causes.push_back(
            countText(outcome.unreadable, "whose time or ADDR is not a whole number from 0"));
    }
    std::string message = countText(outcome.skipped(), "could not be copied to the Talsen script") +
                          " and were left out: ";
    if (outcome.skipped() == 1) message.replace(message.find(" and were"), 9, " and was");
    for (std::size_t i = 0; i < causes.size(); ++i) {
        if (i > 0) message += i + 1 == causes.size() ? " and " : ", ";
        message += causes[i];
    }
    return message + ".";
}

}  // namespace fulgor
