#include "conversion/sd_read_ahead.h"

#include <utility>

namespace fulgor {
namespace {

// Events a batch holds: enough that handing batches over costs nothing
// against reading them, few enough that both batches stay small.
constexpr std::size_t kBatchEvents = 4096;

}  // namespace

ReadAheadSource::ReadAheadSource(SdEventSource& inner)
    : m_inner(inner), m_rowCount(inner.rowCount()) {}

std::optional<int> ReadAheadSource::fieldIndex(std::string_view name) const {
    std::optional<int> field = m_inner.fieldIndex(name);
    if (!field) return field;
    const auto at = static_cast<std::size_t>(*field);
    if (m_columnOf.size() <= at) m_columnOf.resize(at + 1, -1);
    if (m_columnOf[at] < 0) {
        m_columnOf[at] = static_cast<int>(m_fields.size());
        m_fields.push_back(*field);
    }
    return field;
}

void ReadAheadSource::fill(Batch& batch) {
    batch.values.clear();
    batch.texts.clear();
    batch.events = 0;
    batch.last = false;
    batch.failure = {};
    while (batch.events < kBatchEvents) {
        Result<bool> moved = m_inner.next();
        if (!moved) {
            batch.failure = Error{moved.error()};
            return;
        }
        if (!moved.value()) {
            batch.last = true;
            return;
        }
        for (int field : m_fields) {
            const SdValue value = m_inner.value(field);
            Kept& kept = batch.values.emplace_back(Kept{value.kind, value.number, 0, 0});
            if (value.kind == SdValue::Kind::Text) {
                kept.textStart = batch.texts.size();
                kept.textSize = value.text.size();
                batch.texts.append(value.text);
            }
        }
        ++batch.events;
    }
}

void ReadAheadSource::readNextBatch() {
    static_cast<void>(m_helper.add([this] {
        fill(m_ahead);
        return Status{};
    }));
}

Result<bool> ReadAheadSource::next() {
    if (m_started && ++m_at < m_current.events) return true;
    // The current batch is done: the one read ahead takes its place, unless
    // the inner source ended with it.
    if (!m_started || (!m_current.last && m_current.failure)) {
        if (!m_started) readNextBatch();
        m_started = true;
        static_cast<void>(m_helper.finish());
        std::swap(m_current, m_ahead);
        m_at = 0;
        if (!m_current.last && m_current.failure) readNextBatch();
        if (m_current.events > 0) return true;
    }
    if (!m_current.failure) return Error{m_current.failure.error()};
    return false;
}

SdValue ReadAheadSource::value(int field) const {
    const Kept& kept =
        m_current.values[m_at * m_fields.size() +
                         static_cast<std::size_t>(m_columnOf[static_cast<std::size_t>(field)])];
    switch (kept.kind) {
        case SdValue::Kind::Number:
            return SdValue::of(kept.number);
        case SdValue::Kind::Text:
            return SdValue::of(
                std::string_view(m_current.texts).substr(kept.textStart, kept.textSize));
        case SdValue::Kind::Missing:
            return SdValue::missing();
        default:
            return SdValue::null();
    }
}

}  // namespace fulgor
