// The solver on crafted tables with known answers and on published deals, every solution replayed
// through the game's click handlers.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "cards/CardMod.h"
#include "solver/Solver.h"
#include "solver/replay/Replay.h"
#include "support/TableOf.h"
#include "table/Table.h"

namespace quorrel::solver {
namespace {

using test::TableOf;

Answer SolvedAndReplayed(const Table& table) {
    const Answer answer = Solve(table);
    EXPECT_EQ(answer.Outcome, Verdict::Solved);
    EXPECT_EQ(Replay(table, answer.Moves), "");
    return answer;
}

// Spades and clubs home, the hearts up to the five, the diamonds up to the six: the reds lie on no
// other card, so they move only home, to free cells and to empty columns. The six of hearts lies under
// `cover` in column 1, the seven to the jack of hearts alone in columns 2 to 6, then the `rest`.
Table RedTable(const std::vector<std::string>& cover, const std::vector<std::vector<std::string>>& rest) {
    std::vector<std::vector<std::string>> columns = {{"6H"}, {"7H"}, {"8H"}, {"9H"}, {"10H"}, {"JH"}};
    columns[0].insert(columns[0].end(), cover.begin(), cover.end());
    columns.insert(columns.end(), rest.begin(), rest.end());
    return TableOf(columns, {}, {"KS", "5H", "KC", "6D"});
}

TEST(Solver, CraftedTablesWithKnownAnswers) {
    // One move from the end: the king of hearts goes to the home cell of hearts.
    const Answer last = SolvedAndReplayed(TableOf({{"KH"}}, {}, {"KS", "KD", "KC", "QH"}));
    ASSERT_EQ(last.Moves.size(), 1u);
    EXPECT_EQ(last.Moves[0], (SolverMove{{GridId::Column, 1, 0}, {GridId::HomeCell, 0, 3}, "KH"}));

    // Four diamonds cover the six of hearts, no column is empty and emptying one takes a free cell:
    // the four free cells must all hold a card at once.
    const Answer fourCells = SolvedAndReplayed(RedTable({"8D", "9D", "10D", "JD"}, {{"QH", "KH"}, {"7D", "QD", "KD"}}));
    int held = 0, most = 0;
    for (const SolverMove& move : fourCells.Moves) {
        held += (move.To.Grid == GridId::FreeCell) - (move.From.Grid == GridId::FreeCell);
        most = std::max(most, held);
    }
    EXPECT_EQ(most, 4);

    // Five diamonds over it and column 8 empty: the empty column must take one.
    const Answer emptyColumn = SolvedAndReplayed(RedTable({"8D", "9D", "10D", "JD", "QD"}, {{"QH", "KH", "7D", "KD"}}));
    EXPECT_TRUE(std::any_of(emptyColumn.Moves.begin(), emptyColumn.Moves.end(), [](const SolverMove& m) {
        return m.To == CellPlace{GridId::Column, 1, 7};
    }));
}

// Every card but the kings in columns, the aces in row 1, eight red cards last, the kings in the free
// cells: no card can move. `longFirst` makes column 1 nineteen cards long, ending with the ten of
// spades that only the nine of hearts at the end of column 2 would fit below.
Table Blocked(bool longFirst) {
    const std::vector<std::string> last =
        longFirst ? std::vector<std::string>{"10S", "9H", "QD", "QH", "8H", "10H", "10D", "9D"}
                  : std::vector<std::string>{"JD", "9H", "QD", "QH", "8H", "10H", "10D", "9D"};
    std::vector<std::string> rest;
    for (int n = 1; n <= 52; ++n) {
        const std::string card = DetermineCard(n);
        if (GetCardValue(card) != 1 && GetCardValue(card) != 13 &&
            std::find(last.begin(), last.end(), card) == last.end())
            rest.push_back(card);
    }
    std::vector<std::vector<std::string>> columns = {{"AS"}, {"AD"}, {"AC"}, {"AH"}, {}, {}, {}, {}};
    size_t next = 0;
    if (longFirst)
        while (columns[0].size() < 18) columns[0].push_back(rest[next++]);
    for (size_t c = 0; next < rest.size(); ++next, c = (c + 1) % 8)
        columns[c == 0 && longFirst ? 1 : c].push_back(rest[next]);
    for (size_t c = 0; c < 8; ++c) columns[c].push_back(last[c]);
    return TableOf(columns, {"KS", "KD", "KC", "KH"});
}

TEST(Solver, BlockedTablesAreLostAndNoCardGoesBelowRow19) {
    for (const bool longFirst : {false, true}) {
        const Table table = Blocked(longFirst);
        ASSERT_EQ(table.Card(0, 19).empty(), !longFirst);
        // The proof fits in a budget of one position only when no move is allowed.
        EXPECT_EQ(Solve(table, Budget{1, Budget{}.MaxBytes, {}}).Outcome, Verdict::Unsolvable);
    }
}

TEST(Solver, AnswersAreKeptApart) {
    const Table deal = TableOfDeal(1);
    EXPECT_EQ(Solve(deal, Budget{10, Budget{}.MaxBytes, {}}).Outcome, Verdict::GaveUp);
    EXPECT_EQ(Solve(deal, Budget{Budget{}.MaxPositions, 1000, {}}).Outcome, Verdict::GaveUp);
    const std::atomic<bool> cancelled{true};
    EXPECT_EQ(Solve(deal, {}, &cancelled).Outcome, Verdict::Cancelled);

    // A table that is not whole (the whole-table check has tests of its own).
    Table homeAndColumn = deal;  // the ace of the home cell is still in a column
    homeAndColumn.HomeCells[0] = "AS";
    homeAndColumn.HomeCount = 1;
    EXPECT_EQ(Solve(homeAndColumn).Outcome, Verdict::NotAGame);

    EXPECT_EQ(Solve(TableOf({}, {}, {"KS", "KD", "KC", "KH"})).Outcome, Verdict::Solved);
}

TEST(Solver, CancelledFromAnotherThreadMidSearch) {
    std::atomic<bool> cancel{false};
    Answer answer;
    std::thread search([&] { answer = Solve(TableOfDeal(11982), {}, &cancel); });
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    cancel = true;
    search.join();
    EXPECT_EQ(answer.Outcome, Verdict::Cancelled);
}

TEST(Solver, PublishedDealsSolvedAndReplayedAndTheOneLostDealProved) {
    for (const int deal : {1, 617, 1941, 28451}) {
        SCOPED_TRACE(deal);
        SolvedAndReplayed(TableOfDeal(deal));
    }
    EXPECT_EQ(Solve(TableOfDeal(11982)).Outcome, Verdict::Unsolvable);
}

}  // namespace
}  // namespace quorrel::solver
