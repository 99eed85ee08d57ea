#pragma once
// An SD event source over rows held in memory, for the conversion tests.

#include <string>
#include <variant>
#include <vector>

#include "conversion/sd_event_source.h"
#include "conversion/sd_fields.h"

namespace fulgor {

// One stored value: null, a number or a text.
using FakeValue = std::variant<std::monostate, double, std::string>;

class FakeSdSource : public SdEventSource {
public:
    FakeSdSource(std::vector<std::string> names, std::vector<std::vector<FakeValue>> rows)
        : m_rows(std::move(rows)) {
        for (std::string& name : names) m_fields.push_back({std::move(name), kSdOtherType});
    }

    std::int64_t rowCount() const override { return static_cast<std::int64_t>(m_rows.size()); }
    std::optional<int> fieldIndex(std::string_view name) const override {
        return findSdField(m_fields, name);
    }
    Result<bool> next() override { return ++m_current < static_cast<int>(m_rows.size()); }
    using SdEventSource::value;
    SdValue value(int field) const override {
        const FakeValue& v =
            m_rows[static_cast<std::size_t>(m_current)][static_cast<std::size_t>(field)];
        if (const double* x = std::get_if<double>(&v)) return SdValue::of(*x);
        if (const std::string* s = std::get_if<std::string>(&v)) return SdValue::of(*s);
        return SdValue::null();
    }

private:
    std::vector<SdField> m_fields;
    std::vector<std::vector<FakeValue>> m_rows;
    int m_current = -1;
};

}  // namespace fulgor
