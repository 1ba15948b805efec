// The one-key moves: the rules they ask (places, runs, safe cards) on crafted tables, then the keys
// as a player uses them, with their words, their refusals and their undo.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/TableOf.h"
#include "support/TestTable.h"
#include "table/Rules.h"

namespace quorrel::test {
namespace {

using ::testing::ElementsAre;

CellPlace Col(int column, int row) { return {GridId::Column, row, column}; }
CellPlace Free(int cell) { return {GridId::FreeCell, 0, cell}; }
CellPlace Home(int cell) { return {GridId::HomeCell, 0, cell}; }

TEST(DirectRules, AQuickMoveTriesHomeThenColumnsToTheRightGoingRoundThenAnEmptyColumnThenAFreeCell) {
    // 7S in column 3 (index 2): 8D to its right takes it, then 8H going round; 5C does not.
    const Table table = TableOf({{"8H"}, {}, {"KD", "7S"}, {"8D"}, {"5C"}}, {"QC"}, {"AS"});
    EXPECT_EQ(rules::PlacesFor(table, Col(2, 2)), (std::vector<CellPlace>{Col(3, 2), Col(0, 2), Col(5, 1), Free(1)}));
    // The ace goes home first; a free cell's card is offered no free cell, and the columns from the first.
    const Table aces = TableOf({{"KD", "AH"}, {"2C"}}, {"AD", "QC"}, {"AS"});
    EXPECT_EQ(rules::PlacesFor(aces, Col(0, 2)), (std::vector<CellPlace>{Home(1), Col(1, 2), Col(2, 1), Free(2)}));
    EXPECT_EQ(rules::PlacesFor(aces, Free(0)), (std::vector<CellPlace>{Home(1), Col(1, 2), Col(2, 1)}));
    // A card alone in its column is offered no empty column; with nowhere to go, nothing.
    const Table alone = TableOf({{"9S"}, {}}, {"QC", "QD", "QH", "QS"});
    EXPECT_TRUE(rules::PlacesFor(alone, Col(0, 1)).empty());
}

TEST(DirectRules, ARunMovesTheLongestPartThatFitsWithinWhatTheFreeCellsAndEmptyColumnsAllow) {
    const std::vector<std::string> run = {"KS", "QH", "JC", "10D", "9S"};
    const std::vector<std::string> full = {"2H", "3H", "4H", "5H"};
    // No free cell, no empty column: one card moves at a time.
    const Table tight = TableOf({run, {"10H"}, {"QD"}, {"5C"}, {"KH"}, {"KD"}, {"KC"}, {"QS"}}, full);
    EXPECT_EQ(rules::PlanRun(tight, 0, 1).What, rules::RunPlan::Moves);
    EXPECT_EQ(rules::PlanRun(tight, 0, 1).Count, 1);
    const rules::RunPlan tooLong = rules::PlanRun(tight, 0, 2);
    EXPECT_EQ(tooLong.What, rules::RunPlan::TooLong);
    EXPECT_EQ(std::make_pair(tooLong.Count, tooLong.Capacity), std::make_pair(3, 1));
    EXPECT_EQ(rules::PlanRun(tight, 0, 3).What, rules::RunPlan::DoesNotFit);
    EXPECT_EQ(rules::PlanRun(tight, 0, 0).What, rules::RunPlan::SameColumn);
    // One free cell, and two empty columns of which one is the destination: (1 + 1) x 2 = 4 of the 5.
    const Table roomy = TableOf({run, {"10H"}, {}, {}, {"KH"}, {"KD"}, {"KC"}, {"QS"}}, {"2H", "3H", "4H"});
    const rules::RunPlan toEmpty = rules::PlanRun(roomy, 0, 2);
    EXPECT_EQ(toEmpty.What, rules::RunPlan::Moves);
    EXPECT_EQ(std::make_pair(toEmpty.Count, toEmpty.Capacity), std::make_pair(4, 4));
    EXPECT_EQ(rules::PlanRun(roomy, 2, 0).What, rules::RunPlan::EmptyColumn);
}

// Every step of a played-out run is a move the game's rules allow, and the run ends whole on its
// destination with the free cells and the spare columns as they were, for every number of free cells
// and spare columns and every length that can move.
TEST(DirectRules, ARunIsPlayedOutInLegalSingleCardMoves) {
    const std::vector<std::string> run = {"KS", "QH", "JC", "10D", "9S", "8H", "7C",
                                          "6D", "5S", "4H", "3C",  "2D", "AS"};
    const std::vector<std::string> fillers = {"KH", "KD", "KC", "QS"};
    for (int freeCells = 0; freeCells <= kCells; ++freeCells)
        for (int spare = 0; spare <= 3; ++spare) {
            std::vector<std::vector<std::string>> columns(kColumns);
            columns[0] = run;
            // Columns 1 to 3 are spare or hold a filler; column 7 is the empty destination.
            for (int c = 1; c <= 3; ++c)
                if (c > spare) columns[static_cast<size_t>(c)] = {"QD"};
            for (int c = 4; c <= 6; ++c) columns[static_cast<size_t>(c)] = {"JD"};
            std::vector<std::string> free(fillers.begin(), fillers.end() - freeCells);
            const Table start = TableOf(columns, free);
            const rules::RunPlan plan = rules::PlanRun(start, 0, 7);
            SCOPED_TRACE(std::to_string(freeCells) + " free cells, " + std::to_string(spare) + " spare columns");
            ASSERT_EQ(plan.Count, std::min(13, rules::RunCapacity(freeCells, spare)));
            Table played = start;
            Table table = start;
            for (const auto& [from, to] : rules::PlayOutRun(played, 0, 7, plan.Count)) {
                const std::string card = table.At(from);
                ASSERT_FALSE(card.empty());
                if (from.Grid == GridId::Column) {
                    ASSERT_EQ(from.Row, table.Length(from.Col));
                }
                if (to.Grid == GridId::FreeCell) {
                    ASSERT_TRUE(table.At(to).empty());
                } else {
                    ASSERT_EQ(rules::DropOnColumn(table.Columns[Table::Index(to.Col)], card, to.Row).What,
                              rules::Outcome::Move);
                }
                rules::MoveOnTable(table, from, to);
            }
            Table expected = start;
            for (int k = 0; k < plan.Count; ++k)
                rules::MoveOnTable(expected, Col(0, 13 - plan.Count + 1 + k), Col(7, k + 1));
            EXPECT_EQ(table, expected);
            EXPECT_EQ(played, expected);
        }
}

TEST(DirectRules, ACardIsSafeToSendHomeOnceBothCardsOfTheOtherColourOneRankLowerAreHome) {
    const Table table = TableOf({}, {}, {"4S", "3C", "2H"});
    EXPECT_TRUE(rules::SafeToSendHome(table, "AD"));
    EXPECT_TRUE(rules::SafeToSendHome(table, "2D"));
    EXPECT_TRUE(rules::SafeToSendHome(table, "3H"));   // 2S and 2C are home
    EXPECT_TRUE(rules::SafeToSendHome(table, "4D"));   // 3S and 3C are home
    EXPECT_FALSE(rules::SafeToSendHome(table, "5H"));  // 4C is not
    EXPECT_FALSE(rules::SafeToSendHome(table, "3S"));  // no diamond is home
    EXPECT_TRUE(rules::SafeToSendHome(TableOf({}, {}, {"2H", "2D"}), "3C"));
}

const std::string kSeptCoeurs = " septs  de  Coeurs ";  // 7H
const std::string kSeptCarreaux = " septs  de  Carreaux ";

// A dealt game whose table is replaced by the given one, the focus in the column grid.
struct KeysTable : TestTable {
    KeysTable(const std::vector<std::vector<std::string>>& columns, const std::vector<std::string>& free = {},
              const std::vector<std::string>& home = {}) {
        StartAndDeal();
        LayOut(columns, free, home);
        state.HomeCount = TableOf(columns, free, home).HomeCount;
        Heard();
    }
};

TEST(DirectKeys, ADigitPicksUpTheBottomCardAndAnotherDropsItAsEnterWould) {
    std::vector<std::string> nineteen = {"KC", "QC", "JC", "10C", "9C", "8C", "7C",  "6C", "5C", "4C",
                                         "3C", "2C", "AC", "KS",  "QS", "JS", "10S", "9S", "KH"};
    KeysTable t({{"8S"}, {"KD", "7H"}, {}, {"7D"}, nineteen});
    t.window.freeCell.SetFocus();
    t.Heard();
    t.Shortcut("2");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", kSeptCoeurs, " selected "));
    EXPECT_EQ(t.Focused(), &t.window.column);
    EXPECT_EQ(std::make_pair(t.window.column.Row(), t.window.column.Col()), std::make_pair(2, 1));
    t.Shortcut("Num+1");  // the keypad's digit too
    EXPECT_THAT(t.Heard(), ElementsAre(kSeptCoeurs, " was moved "));
    // The wrong colour is refused and the card stays picked up; an empty column takes it.
    t.Shortcut("4");
    t.Heard();
    t.Shortcut("1");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", std::string(texts::AlternatingColors), " Empty "));
    EXPECT_EQ(t.state.CardSelected, -1);
    t.Shortcut("5");  // a full column
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", std::string(texts::ColumnCellMustBeEmpty), " rois  de  Coeurs "));
    t.Shortcut("3");
    EXPECT_THAT(t.Heard(), ElementsAre(kSeptCarreaux, " was moved "));
    EXPECT_EQ(t.screen.Board.At(Col(2, 1)), "7D");
    // The picked-up card's own digit puts it back; an empty column has nothing to pick up.
    t.Shortcut("1");
    t.Heard();
    t.Shortcut("1");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", kSeptCoeurs, " unselected "));
    t.Shortcut("8");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", std::string(texts::CannotMoveEmptyCell)));
    // Two moves, two steps.
    t.Shortcut("Ctrl+Z");
    t.Shortcut("Ctrl+Z");
    EXPECT_EQ(t.screen.Board.Snapshot(), TableOf({{"8S"}, {"KD", "7H"}, {}, {"7D"}, nineteen}));
}

TEST(DirectKeys, TheFreeCellAndHomeKeysMoveTheCardUnderTheCursorOrRefuseAsEnterWould) {
    KeysTable t({{"QD", "AH"}, {"5D"}, {"KD", "3C"}}, {"9D", "8D", "6D", "AS"}, {"AC"});
    t.Shortcut("F");  // the column cursor is in column 1, and every free cell is full
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", std::string(texts::FreeCellMustBeEmpty), " neuf  de  Carreaux "));
    t.Shortcut("H");  // the ace goes to the first empty home cell
    EXPECT_THAT(t.Heard(), ElementsAre(" ace  de  Coeurs ", " was moved "));
    EXPECT_EQ(t.screen.Board.At(Home(1)), "AH");
    t.Shortcut("Alt+4");  // the ace of spades, picked up from its free cell, goes home too
    t.Shortcut("H");
    EXPECT_EQ(t.screen.Board.At(Home(2)), "AS");
    t.Shortcut("1");
    t.Shortcut("F");  // QD into the free cell the ace left
    EXPECT_EQ(t.screen.Board.At(Free(3)), "QD");
    t.Heard();
    t.Shortcut("3");
    t.Shortcut("H");  // 3C on the ace of clubs: not yet its turn, and it stays picked up
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " trois  de  Tr\u00E8fl ", " selected ", "<stop>",
                                       std::string(texts::NotNextHome), " ace  de  Tr\u00E8fl "));
    EXPECT_EQ(t.state.CardSelected, -1);
    t.Shortcut("3");
    t.Shortcut("2");  // 5D: no diamond is home, and only an ace starts a home cell
    t.Shortcut("H");
    EXPECT_THAT(t.Heard(),
                ElementsAre("<stop>", " trois  de  Tr\u00E8fl ", " unselected ", "<stop>", " cinq  de  Carreaux ",
                            " selected ", "<stop>", std::string(texts::FirstHomeCardAce), " Empty "));
}

TEST(DirectKeys, AQuickMoveSaysWhereTheCardWentAndAgainTriesTheNextPlaceAsOneStep) {
    KeysTable t({{"8H"}, {}, {"KD", "7S"}, {"8D"}});
    t.window.column.SetCol(2);
    t.Heard();
    t.Shortcut("Space");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " septs  de  Piques ", " to ", " Column  4"));
    t.Shortcut("Space");
    t.Shortcut("Space");
    t.Shortcut("Space");
    EXPECT_THAT(t.Heard(),
                ElementsAre("<stop>", " septs  de  Piques ", " to ", " Column  1", "<stop>", " septs  de  Piques ",
                            " to ", " Column  5", "<stop>", " septs  de  Piques ", " to ", " a Free Cell "));
    EXPECT_EQ(t.screen.Board.At(Free(0)), "7S");
    t.Shortcut("Ctrl+Z");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " septs  de  Piques ", " back to ", " Column  3"));
    EXPECT_EQ(t.screen.Board.Snapshot(), TableOf({{"8H"}, {}, {"KD", "7S"}, {"8D"}}));
    EXPECT_FALSE(t.state.History.CanUndo());
    // Another key between two quick moves starts a new round from where the card is.
    t.Shortcut("Space");
    t.Press(keys::Up);
    t.Heard();
    t.Shortcut("Space");
    EXPECT_EQ(t.screen.Board.At(Col(0, 1)), "8H");
    EXPECT_EQ(t.screen.Board.At(Col(0, 2)), "7S");
    t.Shortcut("3");
    t.Shortcut("Space");  // KD, alone, has nowhere better than a free cell; the picked-up card goes there
    EXPECT_EQ(t.screen.Board.At(Free(0)), "KD");
    KeysTable stuck({{"9S"}}, {"QC", "QD", "QH", "QS"});
    stuck.Shortcut("Space");
    EXPECT_THAT(stuck.Heard(), ElementsAre("<stop>", std::string(texts::NowhereToGo)));
}

TEST(DirectKeys, ARunMovesWithShiftAndItsDigitAsOneStepOrSaysWhyNot) {
    const std::vector<std::string> run = {"KS", "QH", "JC", "10D", "9S"};
    KeysTable full({run, {"QD"}, {"5C"}, {"KH"}, {"KD"}, {"KC"}, {"QS"}, {"JH"}}, {"2H", "3H", "4H"});
    full.Shortcut("Shift+2");  // three cards would fit, two can move with one free cell
    EXPECT_THAT(full.Heard(),
                ElementsAre("<stop>", " 3", std::string(texts::RunTooLong), " 2", std::string(texts::CanMoveNow)));
    full.Shortcut("Shift+3");
    EXPECT_THAT(full.Heard(), ElementsAre("<stop>", std::string(texts::RunDoesNotFit)));

    KeysTable t({run, {"QD"}}, {"2H", "3H", "4H"});
    t.Shortcut("Shift+2");
    EXPECT_THAT(t.Heard(),
                ElementsAre("<stop>", " 3", " cards from ", " val\u00E9  de  Tr\u00E8fl ", " to ", " Column  2"));
    const Table moved = t.screen.Board.Snapshot();
    EXPECT_EQ(moved, TableOf({{"KS", "QH"}, {"QD", "JC", "10D", "9S"}}, {"2H", "3H", "4H"}));
    EXPECT_EQ(std::make_pair(t.window.column.Row(), t.window.column.Col()), std::make_pair(4, 1));
    t.Shortcut("Ctrl+Z");
    EXPECT_THAT(t.Heard(),
                ElementsAre("<stop>", " 3", " cards from ", " val\u00E9  de  Tr\u00E8fl ", " back to ", " Column  1"));
    EXPECT_EQ(t.screen.Board.Snapshot(), TableOf({run, {"QD"}}, {"2H", "3H", "4H"}));
    t.Shortcut("Ctrl+Y");
    EXPECT_EQ(t.screen.Board.Snapshot(), moved);
    EXPECT_EQ(t.Heard().back(), " Column  2");
}

TEST(SafeCardsHome, TheOptionSendsSafeCardsHomeAfterAMoveSaysThemOnceAndUndoesWithTheMove) {
    const Table start = TableOf({{"8S", "AH"}, {"KD", "2H", "7H"}, {"3C"}}, {}, {"2C"});
    KeysTable t({{"8S", "AH"}, {"KD", "2H", "7H"}, {"3C"}}, {}, {"2C"});
    EXPECT_FALSE(t.window.menus.IsChecked(mnuOptionsSafeHome));
    t.window.menus.Click(mnuOptionsSafeHome);
    EXPECT_EQ(t.settings.Values["Quorrel/Play/SafeCardsHome"], "Checked");
    t.Shortcut("2");
    t.Heard();
    // 7H to a free cell uncovers 2H: AH and 2H go home; 3C stays, as 2D is not home.
    t.Shortcut("F");
    EXPECT_THAT(t.Heard(),
                ElementsAre(kSeptCoeurs, " was moved ", " ace  de  Coeurs ", " dhe  de  Coeurs ", " went home "));
    EXPECT_EQ(t.screen.Board.Snapshot(), TableOf({{"8S"}, {"KD"}, {"3C"}}, {"7H"}, {"2C", "2H"}));
    t.Shortcut("Ctrl+Z");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", kSeptCoeurs, " back to ", " Column  2", " ace  de  Coeurs ",
                                       " dhe  de  Coeurs ", " back from the Home Cells "));
    EXPECT_EQ(t.screen.Board.Snapshot(), start);
    t.Shortcut("Ctrl+Y");
    EXPECT_EQ(t.state.HomeCount, 4);
    EXPECT_FALSE(t.state.History.CanRedo());
}

TEST(SafeCardsHome, TheFiftySecondCardSentHomeByTheOptionEndsTheGame) {
    KeysTable t({{"KH", "QH"}}, {}, {"KS", "KD", "KC", "JH"});
    t.window.menus.Click(mnuOptionsSafeHome);
    t.messages.Answers = {MsgResult::No};
    t.Shortcut("Space");  // QH home; KH follows by itself
    ASSERT_EQ(t.messages.Asked.size(), 1u);
    EXPECT_EQ(t.messages.Asked[0].Text, "The game is over!\r\nDo you want to play again?\r\n");
    EXPECT_EQ(t.state.GameInProgress, 0);
}

}  // namespace
}  // namespace quorrel::test
