#pragma once
// A long text made a piece at a time on two threads and handed on in order:
// how the writers keep both processors busy while never holding the text whole.

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

#include "core/in_order_worker.h"
#include "core/progress.h"
#include "core/result.h"

namespace fulgor {

// Works on the piece of rows [begin, end).
template <typename Piece>
using PieceStep = std::function<Status(int begin, int end, Piece& piece)>;

// Makes rows [0, rows) into pieces of `pieceRows` rows, two at a time: the
// later on a helper thread while this thread makes the earlier; `take` then
// hands each on, in order, on this thread. `make` runs on either thread, so it
// may change nothing but its piece. `first` and `second` are the pieces' room,
// kept from pair to pair. Gives the first failure, in the rows' order, of
// `make` or `take`; no piece is taken after it.
template <typename Piece>
Status makePiecesInTurn(int rows, int pieceRows, Piece& first, Piece& second,
                        const PieceStep<Piece>& make, const PieceStep<Piece>& take) {
    Status secondMade;
    // The helper comes last, so that it is stopped before what it writes goes.
    std::optional<InOrderWorker> helper;
    if (rows > pieceRows) helper.emplace(1);
    for (int begin = 0; begin < rows;) {
        const int middle = std::min(rows, begin + pieceRows);
        const int end = std::min(rows, middle + pieceRows);
        if (middle < end) {
            static_cast<void>(helper->add([&, middle, end] {
                // Made in a piece of the helper's own: beside `first` on the
                // caller's stack, every append would fight over one cache line.
                Piece made = std::move(second);
                secondMade = make(middle, end, made);
                second = std::move(made);
                return Status{};
            }));
        }
        const Status firstMade = make(begin, middle, first);
        if (middle < end) static_cast<void>(helper->finish());
        if (!firstMade) return firstMade;
        if (Status taken = take(begin, middle, first); !taken) return taken;
        if (middle < end) {
            if (!secondMade) return secondMade;
            if (Status taken = take(middle, end, second); !taken) return taken;
        }
        begin = end;
    }
    return {};
}

// Reports every kRowsPerReport-th row of [begin, end) of a loop over `rows`
// rows; false once asked to stop.
inline bool reportRows(ProgressWatch& watch, int begin, int end, int rows) {
    for (int row = (begin + kRowsPerReport - 1) / kRowsPerReport * kRowsPerReport; row < end;
         row += kRowsPerReport) {
        if (!reportRow(watch, row, rows)) return false;
    }
    return !watch.stopped();
}

}  // namespace fulgor
