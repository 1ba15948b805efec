// Long seeded random play: no sequence of keys, clicks, undos and redos may lose a card, leave a gap in
// a column or break the rules between the selection variables.
#include <gtest/gtest.h>

#include <random>

#include "support/TestTable.h"

namespace quorrel::test {
namespace {

// Returns an empty string when every invariant holds, else what broke.
std::string CheckInvariants(TestTable& t) {
    auto& column = t.window.column;
    // The table is whole: every card once, no gap, the count of cards home matching the home cells.
    std::string broken = Validate(t.screen.Board.Snapshot());
    if (!broken.empty()) broken += "; ";
    int marks = 0;
    auto visit = [&](MemoryGrid& grid, int row, int col) {
        if (grid.CellBackColorAt(row, col) == grid.ForeColor()) {
            ++marks;
            const bool isSelection = t.state.CardSelected == -1 && row == t.state.SelectedRow &&
                                     col == t.state.SelectedCol &&
                                     &grid == (t.state.SelectedFrom == 0 ? &t.window.column : &t.window.freeCell);
            if (!isSelection) broken += "a cell is marked that is not the picked-up card; ";
        }
    };
    for (int c = 0; c < kColumns; ++c)
        for (int r = 1; r <= kCardRows; ++r) visit(column, r, c);
    for (int k = 0; k < kCells; ++k) {
        visit(t.window.freeCell, 0, k);
        visit(t.window.homeCell, 0, k);
    }
    if (t.state.CardSelected == -1) {
        if (t.state.SelectedFrom != 0 && t.state.SelectedFrom != 1) broken += "a card is picked up from nowhere; ";
        MemoryGrid& grid = t.state.SelectedFrom == 0 ? t.window.column : t.window.freeCell;
        if (grid.TextMatrix(t.state.SelectedRow, t.state.SelectedCol) != t.state.SelectedCard)
            broken += "the picked-up card is not where the state says; ";
        if (marks != 1) broken += "the picked-up card is not marked; ";
    } else {
        if (t.state.CardSelected != 0) broken += "CardSelected is neither -1 nor 0; ";
        if (t.state.SelectedFrom != 3) broken += "nothing is picked up but SelectedFrom is not 3; ";
    }
    if (t.state.UnsavedChanges == -1 && t.state.GameInProgress != -1) broken += "unsaved changes without a game; ";
    return broken;
}

TEST(Invariants, HoldAfterEveryEventOfLongRandomPlay) {
    const int keyChoices[] = {keys::Return, keys::Return, keys::Return, keys::Left, keys::Right, keys::Up,
                              keys::Down,   keys::Down,   keys::Tab,    keys::Tab,  keys::Escape};
    int moves = 0;
    int plays = 0;  // undos, redos and restarts that changed the table
    for (unsigned seed = 1; seed <= 10; ++seed) {
        TestTable t;
        t.StartAndDeal();
        std::mt19937 random(seed);
        for (int step = 0; step < 2000; ++step) {
            const auto before = t.reader.Transcript.size();
            const unsigned action = random() % 20;
            if (random() % 40 == 0) {
                // Now and then a move taken back or made again, and rarely a restart.
                const unsigned play = random() % 20;
                t.Shortcut(play == 0 ? "Ctrl+R" : play < 10 ? "Ctrl+Z" : play < 15 ? "Ctrl+Y" : "Ctrl+Shift+Z");
                plays += t.reader.Transcript.size() > before &&
                         t.reader.Transcript.back().find("Nothing") == std::string::npos;
            } else if (action < 17) {
                const int key = keyChoices[random() % std::size(keyChoices)];
                t.Press(key, key == keys::Tab && random() % 2 ? keys::ShiftMask : 0);
            } else {
                // A click on any cell of a grid, which takes the focus as a real click does.
                MemoryGrid* grids[] = {&t.window.column, &t.window.freeCell, &t.window.homeCell};
                MemoryGrid& grid = *grids[random() % 3];
                grid.SetFocus();
                const int rows = grid.Rows() - grid.FixedRows();
                grid.ClickCell(grid.FixedRows() + static_cast<int>(random() % static_cast<unsigned>(rows)),
                               static_cast<int>(random() % static_cast<unsigned>(grid.Cols())));
            }
            const std::string broken = CheckInvariants(t);
            ASSERT_EQ(broken, "") << "seed " << seed << ", step " << step;
            for (size_t i = before; i < t.reader.Transcript.size(); ++i)
                moves += t.reader.Transcript[i] == " was moved ";
        }
        EXPECT_TRUE(t.messages.Asked.empty()) << "seed " << seed << ": " << t.messages.Asked.front().Text;
    }
    EXPECT_GT(moves, 100);  // the random play does move cards, so the invariants were put to the test
    EXPECT_GT(plays, 100);
}

}  // namespace
}  // namespace quorrel::test
