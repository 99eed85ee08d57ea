#pragma once
// An SD event source that reads another a batch of events ahead on a helper
// thread, so that a conversion's work on one batch and the database's on the
// next overlap.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/sd_event_source.h"
#include "core/in_order_worker.h"

namespace fulgor {

class ReadAheadSource : public SdEventSource {
public:
    // `inner` is read on the helper thread alone from the first next() on,
    // and must outlast this source.
    explicit ReadAheadSource(SdEventSource& inner);

    std::int64_t rowCount() const override { return m_rowCount; }
    // Fields are looked up in the inner source; the ones looked up are the
    // ones read ahead.
    std::optional<int> fieldIndex(std::string_view name) const override;
    // The events the inner source gave before a failure come first, then
    // its failure.
    Result<bool> next() override;
    using SdEventSource::value;
    SdValue value(int field) const override;

private:
    // A field's value as a batch keeps it: a text as its place in the batch's texts.
    struct Kept {
        SdValue::Kind kind = SdValue::Kind::Null;
        double number = 0;
        std::size_t textStart = 0;
        std::size_t textSize = 0;
    };
    struct Batch {
        std::vector<Kept> values;  // event by event, the fields read in order
        std::string texts;
        std::size_t events = 0;
        bool last = false;  // the inner source has no more events after these
        Status failure;     // what stopped the inner source after these
    };
    void fill(Batch& batch);
    void readNextBatch();

    SdEventSource& m_inner;
    std::int64_t m_rowCount;
    mutable std::vector<int> m_fields;    // the fields read, in order
    mutable std::vector<int> m_columnOf;  // a field's place among m_fields, or -1
    Batch m_current;
    Batch m_ahead;
    std::size_t m_at = 0;  // the current event's place in m_current
    bool m_started = false;
    // Last, so that it stops before the batches it fills go.
    InOrderWorker m_helper{1};
};

}  // namespace fulgor
