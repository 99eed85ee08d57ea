#pragma once
// How a long command tells how far it has got and learns whether to go on.

#include <functional>
#include <utility>

namespace fulgor {

// Called now and then with the part done, from 0 to 1; answers false to stop
// the command. Empty for a command nobody watches.
using Progress = std::function<bool(double done)>;

// Passes reports on to a Progress (which may be empty) and remembers whether
// it ever asked to stop.
class ProgressWatch {
public:
    explicit ProgressWatch(Progress progress) : m_progress(std::move(progress)) {}
    bool operator()(double done) {
        if (!m_stopped && m_progress && !m_progress(done)) m_stopped = true;
        return !m_stopped;
    }
    bool stopped() const { return m_stopped; }

private:
    Progress m_progress;
    bool m_stopped = false;
};

// Rows between two reports: often enough for a dialog to follow, rarely
// enough to cost nothing.
inline constexpr int kRowsPerReport = 1 << 14;

// For a loop over `rows` rows: reports `row` / `rows` on every kRowsPerReport-th
// row; false once the watched Progress has asked to stop.
inline bool reportRow(ProgressWatch& watch, int row, int rows) {
    if (row % kRowsPerReport != 0) return !watch.stopped();
    return watch(static_cast<double>(row) / static_cast<double>(rows));
}

// A Progress for one stage of a longer command, from `from` to `to` of the whole.
inline Progress stageOf(Progress whole, double from, double to) {
    if (!whole) return {};
    return [whole = std::move(whole), from, to](double done) {
        return whole(from + (to - from) * done);
    };
}

}  // namespace fulgor
