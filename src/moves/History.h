// The moves of the game on the table, for taking them back and making them again.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "table/Table.h"

namespace quorrel {

// One executed move: the card went from From to To, where To showed Under before (empty for a column
// or a free cell, the card under it or nothing for a home cell).
struct MoveRecord {
    CellPlace From;
    CellPlace To;
    std::string Card;
    std::string Under;
    bool operator==(const MoveRecord&) const = default;
};

// A restart laid the starting table out over Before.
struct RestartRecord {
    Table Before;
};

using HistoryStep = std::variant<MoveRecord, RestartRecord>;

// The history of one game: the steps done, newest last, and the steps undone, most recently undone
// last. A new step clears the undone ones. It has no depth limit and knows nothing of the grids: the
// game replays its steps through them.
class MoveHistory {
public:
    // An empty history without a starting table: a game is beginning, or none is on the table.
    void Clear();
    // The table the game began with, that a restart lays out again.
    void SetStart(Table start) { start_ = std::move(start); }
    const std::optional<Table>& Start() const { return start_; }

    void Record(HistoryStep step);
    bool CanUndo() const { return !done_.empty(); }
    bool CanRedo() const { return !undone_.empty(); }
    // The step to take back, now counted as undone; the caller replays it backwards.
    HistoryStep Undo();
    // The step to make again, now counted as done.
    HistoryStep Redo();

private:
    std::vector<HistoryStep> done_;
    std::vector<HistoryStep> undone_;
    std::optional<Table> start_;
};

}  // namespace quorrel
