// A way home as the player walks it: the solver's moves, and the table each move is made on.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "solver/Solver.h"

namespace quorrel::solver {

// The table after the move, as the game makes it: the card leaves its cell and shows in the one it
// goes to; a move home counts one card more.
Table Played(Table table, const SolverMove& move);

// The moves of one way home and the tables they pass through. A player who follows the hints walks it
// move by move; a table on it tells which move comes next, so the way is followed to the end instead
// of searched again from every table (two searches from neighbouring tables may choose different ways,
// and a card would go back and forth between them).
class Way {
public:
    Way() = default;
    Way(const Table& from, std::vector<SolverMove> moves);
    // The number of the move to make next when `table` is one the way passes through before its end;
    // nothing when the table is off the way.
    std::optional<std::size_t> Next(const Table& table) const;
    const std::vector<SolverMove>& Moves() const { return moves_; }

private:
    std::vector<SolverMove> moves_;
    std::vector<Table> before_;  // before_[i]: the table move i is made on
};

}  // namespace quorrel::solver
