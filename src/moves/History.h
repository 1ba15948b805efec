// The moves of the game on the table, for taking them back and making them again.
#pragma once

#include <cstddef>
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

// A command that moved several cards as one step: a run played out card by card through the free
// cells and the empty columns, and the cards that went home by themselves after a move. The moves are
// in the order they were made; the first Played of them were the command's own, the rest went home.
// Count cards whose top card is Top went from From to To (one card: the move itself).
struct StepRecord {
    std::vector<MoveRecord> Moves;
    std::size_t Played = 1;
    int Count = 1;
    std::string Top;
    CellPlace From;
    CellPlace To;
    bool operator==(const StepRecord&) const = default;
};

using HistoryStep = std::variant<MoveRecord, RestartRecord, StepRecord>;

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
    // Takes the newest step away without counting it as undone (the caller has taken it back, or
    // records it again as part of a larger one).
    HistoryStep TakeLast();
    // How many steps are done: a step's place in the history.
    std::size_t Done() const { return done_.size(); }
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
