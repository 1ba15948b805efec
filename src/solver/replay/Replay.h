// A solution played on the game itself: its click handlers on the in-memory platform.
#pragma once

#include <string>
#include <vector>

#include "solver/Solver.h"

namespace quorrel::solver {

// Lays the table out as a game opened from a file, clicks each move's card and then its place, and
// checks that every move was made and that the game ended with 52 cards home. Empty when it did;
// otherwise what went wrong, with the move's number (from 1).
std::string Replay(const Table& table, const std::vector<SolverMove>& moves);

}  // namespace quorrel::solver
