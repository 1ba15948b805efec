// The solver: finds a way to bring every card of a table home, with the moves the game's own click
// handlers allow, and tells a table that can still be won from one that cannot.
//
// The rules it plays by are the game's: one card at a time; eight columns of at most 19 cards; four
// free cells; four home cells not tied to suits (any ace goes to any empty one, then its suit follows
// in rising rank); a card goes below the last card of a column only when it is of the other colour and
// one rank lower, or into row 1 of an empty column; no card ever leaves a home cell.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "moves/History.h"

namespace quorrel::solver {

// One move as the player makes it: pick the card up at From, drop it at To. Cells are named as the
// grids name them: a column cell is (row 1..19, column 0..7); a free cell or a home cell is (row 0,
// cell 0..3). A drop on a column names the cell just below the column's last card, or row 1 of an
// empty column.
struct SolverMove {
    CellPlace From;
    CellPlace To;
    std::string Card;  // the card's code, as the grids show it ("7H", "10S")
    bool operator==(const SolverMove&) const = default;
};

enum class Verdict {
    Solved,      // Moves lead from the table to 52 cards home
    Unsolvable,  // the search went through every position reachable from the table: no way home
    GaveUp,      // the budget ran out first; nothing is known
    Cancelled,   // the caller asked the search to stop; nothing is known
    NotAGame,    // the table is not one the game can hold (not 52 cards, a card twice, a gap...)
};

// What one search may spend. A search within MaxPositions and MaxBytes is deterministic: the same
// table and budget give the same answer. MaxTime, when set, may end a search sooner, with GaveUp.
struct Budget {
    std::size_t MaxPositions = 4'000'000;          // positions stored
    std::size_t MaxBytes = std::size_t{48} << 20;  // memory the search's tables may take
    std::optional<std::chrono::steady_clock::duration> MaxTime;
};

struct Answer {
    Verdict Outcome = Verdict::GaveUp;
    std::vector<SolverMove> Moves;  // only for Solved; empty when the table is already won
    std::size_t Positions = 0;      // positions stored during the search
};

// Searches from the table. `cancel`, when given, is polled often; once it reads true the search ends
// with Cancelled. It may be called from any thread: it touches nothing but its arguments.
Answer Solve(const Table& table, const Budget& budget = {}, const std::atomic<bool>* cancel = nullptr);

}  // namespace quorrel::solver
