// Picking up, dropping, the six moves and the end of the game.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/TestTable.h"

namespace quorrel::test {
namespace {

using ::testing::ElementsAre;

const std::string kSept = " septs  de  Coeurs ";        // 7H
const std::string kHuitPiques = " huits  de  Piques ";  // 8S

struct Moves : ::testing::Test {
    // Columns (top card first), free cells, home cells; the column grid has the focus at row 1, column 1.
    void Deal(const std::vector<std::vector<std::string>>& columns, const std::vector<std::string>& freeCells = {},
              const std::vector<std::string>& homeCells = {}) {
        t.StartAndDeal();
        t.LayOut(columns, freeCells, homeCells);
        t.Heard();
    }
    // Moves the cursor of the focused grid silently.
    void Cursor(MemoryGrid& grid, int row, int col) {
        t.screen.Board.MoveSilently({t.screen.Board.IdOf(grid), row, col});
    }
    void Enter() { t.Press(keys::Return); }
    bool Marked(MemoryGrid& grid, int row, int col) {
        const auto mute = t.screen.Board.MuteEcho();
        const int oldRow = grid.Row(), oldCol = grid.Col();
        grid.SetRow(row);
        grid.SetCol(col);
        const bool marked = grid.CellBackColor() == grid.ForeColor() && grid.CellForeColor() == grid.BackColor();
        grid.SetRow(oldRow);
        grid.SetCol(oldCol);
        return marked;
    }
    TestTable t;
};

TEST_F(Moves, PickingUpTheBottomCardMarksItAndSaysSelected) {
    Deal({{"KC", "7H"}});
    Cursor(t.window.column, 2, 0);
    Enter();
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", kSept, " selected "));
    EXPECT_EQ(t.state.CardSelected, -1);
    EXPECT_EQ(t.state.SelectedFrom, 0);
    EXPECT_EQ(t.state.SelectedRow, 2);
    EXPECT_EQ(t.state.SelectedCol, 0);
    EXPECT_EQ(t.state.SelectedCard, "7H");
    EXPECT_TRUE(Marked(t.window.column, 2, 0));
}

TEST_F(Moves, ColumnRefusalsWithNothingPickedUp) {
    Deal({{"KC", "7H"}});
    Cursor(t.window.column, 3, 0);
    Enter();
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Can not move an empty cell! "));
    Cursor(t.window.column, 1, 0);
    Enter();
    EXPECT_THAT(t.Heard(),
                ElementsAre("<stop>", " Only the bottom card in a column can be moved! ", " rois  de  Trèfl "));
    EXPECT_EQ(t.state.CardSelected, 0);
}

TEST_F(Moves, AColumnDropTestsEmptinessThenColourThenRank) {
    Deal({{"8S", "7H"}, {"8D"}, {"8H"}, {"KC"}, {"9C"}});
    Cursor(t.window.column, 2, 0);
    Enter();  // 7H picked up
    t.Heard();
    const auto refused = [&](int row, int col, const std::string& reason, const std::string& cell) {
        Cursor(t.window.column, row, col);
        Enter();
        EXPECT_THAT(t.Heard(), ElementsAre("<stop>", reason, cell)) << row << "," << col;
        EXPECT_EQ(t.state.CardSelected, -1);
    };
    refused(1, 1, " When moving a card to a column, the cell you are moving the card to must be empty.  ",
            " huits  de  Carreaux ");
    refused(2, 0, " When moving a card to a column, the cell you are moving the card to must be empty.  ", kSept);
    refused(2, 1, " Cards placed in columns must be in alternating colors.  Choose another cell. ", " Empty ");
    refused(3, 0, " Cards placed in columns must be in alternating colors.  Choose another cell. ", " Empty ");
    // Same colour and wrong rank: only the colour is named.
    refused(2, 2, " Cards placed in columns must be in alternating colors.  Choose another cell. ", " Empty ");
    refused(2, 3, " Cards placed in columns must be in descending order.  Choose another cell. ", " Empty ");
    // Below a nine with an empty cell between would leave a gap.
    refused(4, 0, " Cards placed in columns must be in descending order.  Choose another cell. ", " Empty ");
    Cursor(t.window.column, 2, 4);
    EXPECT_EQ(t.window.column.Text(), "");
    refused(2, 4, " Cards placed in columns must be in descending order.  Choose another cell. ", " Empty ");
}

TEST_F(Moves, ANineCannotBeDroppedIntoAGapOfAnEmptyColumn) {
    Deal({{"10S", "9H"}});
    Cursor(t.window.column, 2, 0);
    Enter();
    Cursor(t.window.column, 3, 5);  // row 3 of an empty column: the cell above holds nothing
    t.Heard();
    Enter();
    EXPECT_THAT(t.Heard(),
                ElementsAre("<stop>", " Cards placed in columns must be in descending order.  Choose another cell. ",
                            " Empty "));
    EXPECT_EQ(t.window.column.TextMatrix(3, 5), "");
}

TEST_F(Moves, AFreeCellCardOfTheWrongRankIsRefusedAloud) {
    Deal({{"8S"}}, {"6H"});
    t.Press(keys::Tab);
    Enter();
    t.Press(keys::Tab, keys::ShiftMask);
    Cursor(t.window.column, 2, 0);
    t.Heard();
    Enter();
    EXPECT_THAT(t.Heard(),
                ElementsAre("<stop>", " Cards placed in columns must be in descending order.  Choose another cell. ",
                            " Empty "));
    EXPECT_EQ(t.state.CardSelected, -1);
}

TEST_F(Moves, ACardInTheLastRowCanBePickedUp) {
    std::vector<std::string> tall = {"KS", "QH", "JS", "10H", "9S", "8H", "7S",  "6H", "5S", "4H",
                                     "3S", "2H", "AS", "KD",  "QC", "JD", "10C", "9D", "8C"};
    Deal({tall});
    Cursor(t.window.column, 19, 0);
    Enter();
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " huits  de  Trèfl ", " selected "));
}

TEST_F(Moves, ColumnToColumnAnnouncesEachCursorChangeThenTheMove) {
    Deal({{"KC", "7H"}, {"8S"}});
    Cursor(t.window.column, 2, 0);
    Enter();
    Cursor(t.window.column, 2, 1);
    t.screen.ForceColumnNumber = 0;
    t.state.LastSpokenCol = 1;
    t.Heard();
    Enter();
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Column  1", kSept, " selected ", "<stop>", " Column  2", " Empty ",
                                       kSept, " was moved "));
    EXPECT_EQ(t.window.column.TextMatrix(2, 0), "");
    EXPECT_EQ(t.window.column.TextMatrix(2, 1), "7H");
    EXPECT_FALSE(Marked(t.window.column, 2, 0));
    EXPECT_EQ(t.window.column.Row(), 2);
    EXPECT_EQ(t.window.column.Col(), 1);
    EXPECT_EQ(t.state.CardSelected, 0);
    EXPECT_EQ(t.state.SelectedFrom, 3);
    EXPECT_EQ(t.state.SelectedCard, "");
    EXPECT_EQ(t.state.UnsavedChanges, -1);
}

TEST_F(Moves, AColumnDropOnAFarCellRaisesFourAnnouncements) {
    Deal({{"KC", "QD", "7H"}, {}, {}, {"8S"}});
    Cursor(t.window.column, 3, 0);
    Enter();
    Cursor(t.window.column, 2, 3);
    t.Heard();
    Enter();
    const auto heard = t.Heard();
    EXPECT_EQ(std::count(heard.begin(), heard.end(), "<stop>"), 4);
    EXPECT_EQ(heard.back(), " was moved ");
    EXPECT_EQ(t.window.column.TextMatrix(2, 3), "7H");
}

TEST_F(Moves, AnyCardStartsAnEmptyColumnInRowOne) {
    Deal({{"KC", "7H"}});
    Cursor(t.window.column, 2, 0);
    Enter();
    Cursor(t.window.column, 1, 6);
    Enter();
    EXPECT_EQ(t.window.column.TextMatrix(1, 6), "7H");
}

TEST_F(Moves, ColumnToFreeCellLeavesTheColumnCursorOnTheEmptiedCell) {
    Deal({{"KC", "7H"}});
    Cursor(t.window.column, 2, 0);
    Enter();
    t.Press(keys::Tab);
    t.Press(keys::Right);
    t.Heard();
    Enter();
    EXPECT_THAT(t.Heard(), ElementsAre(kSept, " was moved "));
    EXPECT_EQ(t.window.freeCell.TextMatrix(0, 1), "7H");
    EXPECT_EQ(t.window.column.TextMatrix(2, 0), "");
    EXPECT_EQ(t.window.column.Row(), 2);
    EXPECT_EQ(t.window.freeCell.Col(), 1);
    EXPECT_TRUE(t.window.freeCell.HasFocus());
}

TEST_F(Moves, FreeCellPickUpDoesNotStopSpeechAndItsRefusalsNameTheCell) {
    Deal({{"KC"}}, {"", "7H"});
    t.Press(keys::Tab);
    t.Heard();
    Enter();
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " You can not move an empty cell. ", " Empty "));
    t.Press(keys::Right);
    t.Heard();
    Enter();
    EXPECT_THAT(t.Heard(), ElementsAre(kSept, " selected "));
    Enter();
    EXPECT_THAT(t.Heard(),
                ElementsAre("<stop>", " When moving a card to a Free Cell, the cell must be empty.  ", kSept));
}

TEST_F(Moves, FreeCellToFreeCellMovesTheCursorBackToTheDestination) {
    Deal({{"KC"}}, {"", "7H"});
    t.Press(keys::Tab);
    t.Press(keys::Right);
    Enter();
    t.Press(keys::Right);
    t.Press(keys::Right);
    t.Heard();
    Enter();
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", kSept, " selected ", "<stop>", " Empty ", kSept, " was moved "));
    EXPECT_EQ(t.window.freeCell.TextMatrix(0, 1), "");
    EXPECT_EQ(t.window.freeCell.TextMatrix(0, 3), "7H");
    EXPECT_EQ(t.window.freeCell.Col(), 3);
}

TEST_F(Moves, FreeCellToColumnLeavesTheFreeCellCursorOnTheEmptiedCell) {
    Deal({{"8S"}}, {"", "", "7H"});
    t.Press(keys::Tab);
    Cursor(t.window.freeCell, 0, 2);
    Enter();
    Cursor(t.window.freeCell, 0, 0);
    t.Press(keys::Tab, keys::ShiftMask);
    t.Press(keys::Down);
    t.Heard();
    Enter();
    // Only the source grid's cursor moves; the destination's stays where Enter was pressed.
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", kSept, " selected ", kSept, " was moved "));
    EXPECT_EQ(t.window.column.TextMatrix(2, 0), "7H");
    EXPECT_EQ(t.window.freeCell.TextMatrix(0, 2), "");
    EXPECT_EQ(t.window.freeCell.Col(), 2);
}

TEST_F(Moves, HomeCellRules) {
    Deal({{"AH"}, {"2H"}, {"3H"}, {"2C"}, {"9D"}}, {}, {"", "AD", "AC"});
    t.Press(keys::Tab);
    t.Press(keys::Tab);
    t.Heard();
    Enter();
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " You can not move a card in a home cell once it is in a home cell. ",
                                       " Empty "));
    auto pickColumn = [&](int col) {
        Cursor(t.window.column, 1, col);
        t.screen.Column_Click();
    };
    auto dropHome = [&](int k) {
        Cursor(t.window.homeCell, 0, k);
        t.Heard();
        t.screen.HomeCell_Click();
        return t.Heard();
    };
    pickColumn(4);
    EXPECT_THAT(dropHome(0), ElementsAre("<stop>", " The first card in a home cell must be an Ace.  ", " Empty "));
    t.state.CardSelected = 0;
    pickColumn(1);
    EXPECT_THAT(dropHome(1),
                ElementsAre("<stop>",
                            " When moving a card on to a card in the home cell, the cards must be of the same suite.  ",
                            " ace  de  Carreaux "));
    t.state.CardSelected = 0;
    pickColumn(0);
    EXPECT_THAT(dropHome(3), ElementsAre(" ace  de  Coeurs ", " was moved "));
    EXPECT_EQ(t.state.HomeCount, 1);
    pickColumn(2);
    EXPECT_TRUE(dropHome(3).empty());  // same suit, wrong rank: nothing said, nothing moved
    EXPECT_EQ(t.state.CardSelected, -1);
    t.state.CardSelected = 0;
    pickColumn(1);
    EXPECT_THAT(dropHome(3), ElementsAre(" dhe  de  Coeurs ", " was moved "));
    EXPECT_EQ(t.window.homeCell.TextMatrix(0, 3), "2H");
    EXPECT_EQ(t.state.HomeCount, 2);
    EXPECT_EQ(t.window.column.TextMatrix(1, 1), "");
}

TEST_F(Moves, FreeCellToHomeCell) {
    Deal({{"KC"}}, {"AS"});
    t.Press(keys::Tab);
    Enter();
    t.Press(keys::Tab);
    t.Heard();
    Enter();
    EXPECT_THAT(t.Heard(), ElementsAre(" ace  de  Piques ", " was moved "));
    EXPECT_EQ(t.window.freeCell.TextMatrix(0, 0), "");
    EXPECT_EQ(t.window.homeCell.TextMatrix(0, 0), "AS");
}

TEST_F(Moves, AMouseClickDoesWhatEnterDoes) {
    Deal({{"KC", "7H"}, {"8S"}});
    t.window.column.ClickCell(2, 0);
    EXPECT_EQ(t.state.SelectedCard, "7H");
    t.window.column.ClickCell(2, 1);
    EXPECT_EQ(t.window.column.TextMatrix(2, 1), "7H");
}

TEST_F(Moves, EscapePutsTheCardBackAfterTheCursorReturnsToIt) {
    Deal({{"KC"}, {"KD"}, {"7H"}});
    Cursor(t.window.column, 1, 2);
    Enter();
    Cursor(t.window.column, 1, 0);
    t.Press(keys::Tab);
    t.Press(keys::Tab);
    t.Heard();
    t.Press(keys::Escape);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Column  3", kSept, " selected ", kSept, " unselected "));
    EXPECT_FALSE(Marked(t.window.column, 1, 2));
    EXPECT_EQ(t.state.CardSelected, 0);
    EXPECT_EQ(t.state.SelectedFrom, 3);
    EXPECT_EQ(t.state.SelectedCard, "7H");  // kept until the next pick-up
    EXPECT_TRUE(t.window.homeCell.HasFocus());
    t.Press(keys::Escape);
    EXPECT_TRUE(t.Heard().empty());
}

// The last card home ends the game.
struct EndOfGame : Moves {
    void SetUp() override {
        Deal({{"KH"}}, {}, {"KS", "KD", "KC", "QH"});
        t.state.HomeCount = 51;
        t.window.column.SetRow(1);
        Enter();
        t.Press(keys::Tab);
        t.Press(keys::Tab);
        Cursor(t.window.homeCell, 0, 3);
        t.messages.OnShow = [&] {
            gridsHiddenAtQuestion = !t.window.column.Visible() && !t.window.freeCell.Visible() &&
                                    !t.window.homeCell.Visible();
            flagsAtQuestion = {t.state.GameInProgress, t.state.UnsavedChanges};
        };
    }
    bool gridsHiddenAtQuestion = false;
    std::pair<int, int> flagsAtQuestion{1, 1};
};

TEST_F(EndOfGame, TheFiftySecondCardAsksWhetherToPlayAgainAndYesDeals) {
    t.messages.Answers = {MsgResult::Yes};
    Enter();
    ASSERT_EQ(t.messages.Asked.size(), 1u);
    EXPECT_EQ(t.messages.Asked[0].Text, "The game is over!\r\nDo you want to play again?\r\n");
    EXPECT_EQ(t.messages.Asked[0].Buttons, MsgButtons::YesNo);
    EXPECT_EQ(t.messages.Asked[0].Icon, MsgIcon::Question);
    EXPECT_EQ(t.messages.Asked[0].Title, "Untitled.qrl - Quorrel");
    EXPECT_TRUE(gridsHiddenAtQuestion);
    EXPECT_EQ(flagsAtQuestion, std::make_pair(0, 0));
    // A new deal is on the table.
    EXPECT_EQ(t.state.HomeCount, 0);
    EXPECT_EQ(t.state.GameInProgress, -1);
    EXPECT_TRUE(t.window.column.Visible());
    EXPECT_EQ(t.window.homeCell.TextMatrix(0, 3), "");
    EXPECT_FALSE(t.window.Closed);
}

TEST_F(EndOfGame, NoClosesTheProgramWithoutASaveQuestion) {
    t.messages.Answers = {MsgResult::No};
    Enter();
    EXPECT_TRUE(t.window.Closed);
    EXPECT_EQ(t.messages.Asked.size(), 1u);
    EXPECT_EQ(t.window.homeCell.TextMatrix(0, 3), "KH");
}

TEST_F(EndOfGame, TheFiftyFirstCardDoesNotEndTheGame) {
    t.state.HomeCount = 50;
    Enter();
    EXPECT_TRUE(t.messages.Asked.empty());
    EXPECT_EQ(t.state.GameInProgress, -1);
}

}  // namespace
}  // namespace quorrel::test
