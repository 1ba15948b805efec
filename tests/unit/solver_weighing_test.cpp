// The solver weighs each step from what it changes before making it, and keeps or drops the position
// by that hash and orders it by that distance: on the positions its searches store, from numbered
// deals and from tables with empty columns and full free cells, the hash and distance weighed ahead
// must be those of the position the step makes.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "cards/CardMod.h"
#include "solver/SolverCheck.h"
#include "table/Table.h"

namespace quorrel::solver::check {
namespace {

// The cards of deal `deal` in the order of its deck, but the cards of each suit `home` says are home
// there; four of the rest in the free cells, the others dealt row by row over the first `columns`
// columns.
Table Crowded(int deal, const std::array<int, 4>& home, int columns) {
    const Table dealt = TableOfDeal(deal);
    Table table;
    auto isHome = [&](const std::string& code) {
        for (int suit = 0; suit < 4; ++suit)
            for (int rank = 1; rank <= home[static_cast<size_t>(suit)]; ++rank)
                if (code == DetermineCard(suit * 13 + rank)) return true;
        return false;
    };
    for (int suit = 0; suit < 4; ++suit)
        if (home[static_cast<size_t>(suit)])
            table.HomeCells[static_cast<size_t>(suit)] = DetermineCard(suit * 13 + home[static_cast<size_t>(suit)]);
    int placed = 0;
    for (int r = 1; r <= kCardRows; ++r)
        for (int c = 0; c < kColumns; ++c) {
            const std::string& code = dealt.Card(c, r);
            if (code.empty() || isHome(code)) continue;
            if (placed < 4) table.FreeCells[static_cast<size_t>(placed)] = code;
            else table.Card((placed - 4) % columns, (placed - 4) / columns + 1) = code;
            ++placed;
        }
    for (int k = 0; k < kCells; ++k) table.HomeCount = static_cast<std::int16_t>(table.HomeCount + table.HomeCards(k));
    return table;
}

TEST(SolverWeighing, StepsWeighedAheadAreThePositionsMade) {
    WeighingWalk total;
    auto walk = [&total](const Table& table, std::size_t positions, const std::string& name) {
        const WeighingWalk one = WeighingMismatches(table, positions);
        EXPECT_GT(one.Weighed, 0u) << name;
        EXPECT_EQ(one.Mismatches, 0u) << name << ": " << one.First;
        total.Weighed += one.Weighed;
        total.Runs += one.Runs;
        total.FromCell += one.FromCell;
        total.ToCell += one.ToCell;
        total.Emptying += one.Emptying;
        total.IntoEmpty += one.IntoEmpty;
        total.CellsFull += one.CellsFull;
    };
    for (int deal = 1; deal <= 32000; deal += 107) walk(TableOfDeal(deal), 600, "deal " + std::to_string(deal));
    // From 3 to 7 columns, and from none to 4 cards of a suit home.
    for (int n = 0; n < 50; ++n) {
        const std::array<int, 4> home{n % 5, n / 5 % 5, (n + 2) % 5, (n + 3) / 2 % 5};
        walk(Crowded(n * 613 + 1, home, 3 + n % 5), 300, "crowded table " + std::to_string(n));
    }
    // Each kind of step the weighing treats on its own was met.
    EXPECT_GT(total.Runs, 1000u);
    EXPECT_GT(total.FromCell, 1000u);
    EXPECT_GT(total.ToCell, 1000u);
    EXPECT_GT(total.Emptying, 1000u);
    EXPECT_GT(total.IntoEmpty, 1000u);
    EXPECT_GT(total.CellsFull, 1000u);
}

}  // namespace
}  // namespace quorrel::solver::check
