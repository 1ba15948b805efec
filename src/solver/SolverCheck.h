// A look inside the solver for its tests: the search weighs each step before it makes it, from what
// the step changes, and this compares that weighing with the position the step makes.
#pragma once

#include <cstddef>
#include <string>

#include "moves/History.h"

namespace quorrel::solver::check {

// What one walk found. The steps counted are those weighed both ways; the kinds below are counted
// so that a test can tell that its walks went where the weighing has cases of its own.
struct WeighingWalk {
    std::size_t Positions = 0;   // positions looked at
    std::size_t Weighed = 0;     // steps from them weighed ahead and compared
    std::size_t Runs = 0;        // of those, steps of more than one card
    std::size_t FromCell = 0;    // steps from a free cell
    std::size_t ToCell = 0;      // steps to a free cell
    std::size_t Emptying = 0;    // steps that empty a column
    std::size_t IntoEmpty = 0;   // steps into an empty column
    std::size_t CellsFull = 0;   // steps from a position with its four free cells taken
    std::size_t Mismatches = 0;  // steps whose hash or distance weighed ahead is not the made position's
    std::string First;           // the first of those, with its position
};

// Searches from the table until `positions` are stored, then takes each stored position as the search
// takes it, and again with its columns and free cells in the opposite order, and every step from it:
// the hash and distance weighed ahead must be those of the position the step makes, computed whole
// (the hash from the cards themselves). Nothing is walked when the game cannot hold the table.
WeighingWalk WeighingMismatches(const Table& table, std::size_t positions);

}  // namespace quorrel::solver::check
