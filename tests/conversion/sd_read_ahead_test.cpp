#include "conversion/sd_read_ahead.h"

#include <gtest/gtest.h>

#include "fake_sd_source.h"

namespace fulgor {
namespace {

const std::vector<std::string> kNames = {"CUE", "Effect Description", "PFT"};

// Events of a number, a text of every length (the empty one too) and a null.
std::vector<std::vector<FakeValue>> events(int count) {
    std::vector<std::vector<FakeValue>> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back(
            {double(i), std::string(static_cast<std::size_t>(i % 37), 'a' + i % 26), FakeValue()});
    return rows;
}

// Gives `good` events, then fails as a database that cannot be read further.
class FailingSource : public FakeSdSource {
public:
    FailingSource(std::vector<std::vector<FakeValue>> rows, int good)
        : FakeSdSource(kNames, std::move(rows)), m_good(good) {}
    Result<bool> next() override {
        if (m_given++ == m_good) return Error{"Cannot read the events: disk I/O error."};
        return FakeSdSource::next();
    }

private:
    int m_good;
    int m_given = 0;
};

// The values of the current event of both sources, field by field, a missing
// field included, are the same.
void expectSameEvent(const SdEventSource& ahead, const SdEventSource& plain,
                     const std::vector<std::optional<int>>& fields, int event) {
    for (const std::optional<int>& field : fields) {
        const SdValue a = ahead.value(field);
        const SdValue b = plain.value(field);
        ASSERT_EQ(a.kind, b.kind) << "event " << event;
        ASSERT_EQ(a.number, b.number) << "event " << event;
        ASSERT_EQ(a.text, b.text) << "event " << event;
    }
}

// Read a batch ahead, over several batches and a last one part full, every
// event holds what the source's own does, then the events end, and stay ended.
TEST(ReadAheadSource, GivesEveryEventOfItsSourceInOrder) {
    for (int count : {0, 1, 4096, 10000}) {
        FakeSdSource inner(kNames, events(count));
        FakeSdSource plain(kNames, events(count));
        ReadAheadSource ahead(inner);
        EXPECT_EQ(ahead.rowCount(), count);
        std::vector<std::optional<int>> fields;
        for (const char* name : {"PFT", "CUE", "Effect Description", "ANGLE"})
            fields.push_back(ahead.fieldIndex(name));
        for (const char* name : {"PFT", "CUE", "Effect Description", "ANGLE"})
            static_cast<void>(plain.fieldIndex(name));
        EXPECT_EQ(fields.back(), std::nullopt);
        for (int event = 0; event < count; ++event) {
            ASSERT_TRUE(ahead.next().value()) << count << " events, event " << event;
            ASSERT_TRUE(plain.next().value());
            expectSameEvent(ahead, plain, fields, event);
        }
        EXPECT_FALSE(ahead.next().value()) << count << " events";
        EXPECT_FALSE(ahead.next().value()) << count << " events";
    }
}

// A source that fails part-way: the events before the failure come first,
// wherever the failure falls among the batches, then its failure, again and again.
TEST(ReadAheadSource, GivesTheEventsBeforeAFailureThenTheFailure) {
    for (int good : {0, 100, 4096, 5000}) {
        FailingSource inner(events(6000), good);
        ReadAheadSource ahead(inner);
        const std::optional<int> cue = ahead.fieldIndex("CUE");
        for (int event = 0; event < good; ++event) {
            Result<bool> moved = ahead.next();
            ASSERT_TRUE(moved.ok() && moved.value()) << good << " good, event " << event;
            ASSERT_EQ(ahead.value(cue).number, event);
        }
        for (int again = 0; again < 2; ++again) {
            Result<bool> failed = ahead.next();
            ASSERT_FALSE(failed.ok()) << good << " good";
            EXPECT_EQ(failed.error(), "Cannot read the events: disk I/O error.");
        }
    }
}

}  // namespace
}  // namespace fulgor
