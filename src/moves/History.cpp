// The history of one game's moves.
#include "moves/History.h"

#include <utility>

namespace quorrel {

void MoveHistory::Clear() {
    done_.clear();
    undone_.clear();
    start_.reset();
}

void MoveHistory::Record(HistoryStep step) {
    undone_.clear();
    done_.push_back(std::move(step));
}

HistoryStep MoveHistory::TakeLast() {
    HistoryStep step = std::move(done_.back());
    done_.pop_back();
    return step;
}

HistoryStep MoveHistory::Undo() {
    HistoryStep step = std::move(done_.back());
    done_.pop_back();
    undone_.push_back(step);
    return step;
}

HistoryStep MoveHistory::Redo() {
    HistoryStep step = std::move(undone_.back());
    undone_.pop_back();
    done_.push_back(step);
    return step;
}

}  // namespace quorrel
