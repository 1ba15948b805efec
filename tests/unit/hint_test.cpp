// Hints and the verdict: what is said, where the cursor and the focus go, that an answer for a
// table that has changed is never spoken, and that following the hints wins.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "support/TestTable.h"

namespace quorrel::test {
namespace {

using ::testing::ElementsAre;

std::string Words(const std::string& card) { return CellWords(card); }

// The last card, the king of spades, waits in the second free cell; the other suits are home.
struct LastCard : TestTable {
    LastCard() {
        StartAndDeal();
        LayOut({}, {"", "KS"}, {"QS", "KD", "KC", "KH"});
        state.HomeCount = 51;
        Heard();
    }
    void Ask(MenuId id, bool slow = false) {
        window.menus.Click(id);
        ASSERT_TRUE(background.Finish(slow));
    }
};

TEST(Hint, NamesTheMoveAndPutsTheCursorOnTheCardThenOnWhereItGoes) {
    LastCard t;
    t.Ask(mnuPlayHint, true);
    const std::vector<std::string> hint = {"<stop>", std::string(texts::HintPlay), Words("KS"),
                                           std::string(texts::HintTo), std::string(texts::TheHomeCells)};
    // The answer follows " Thinking. " without cutting it off; the focus and the cursor went to the
    // card without a word of their own.
    std::vector<std::string> heard = {std::string(texts::Thinking)};
    heard.insert(heard.end(), hint.begin() + 1, hint.end());
    EXPECT_EQ(t.Heard(), heard);
    EXPECT_EQ(t.Focused(), &t.window.freeCell);
    EXPECT_EQ(t.state.FocusGrid, 1);
    EXPECT_EQ(t.window.freeCell.Col(), 1);

    t.Press(keys::Return);
    ASSERT_EQ(t.state.CardSelected, -1);
    t.Heard();
    // With the card in hand, the hint leads to the home cell that takes it: from the way already
    // found, at once, with no new search.
    t.window.menus.Click(mnuPlayHint);
    EXPECT_FALSE(t.background.Finish());
    EXPECT_EQ(t.Heard(), hint);
    EXPECT_EQ(t.Focused(), &t.window.homeCell);
    EXPECT_EQ(t.window.homeCell.Col(), 0);
    t.Press(keys::Return);
    EXPECT_EQ(t.state.HomeCount, 52);
}

TEST(Hint, AnAnswerForATableThatChangedIsNeverSpoken) {
    LastCard t;
    t.window.menus.Click(mnuPlayHint);
    // The king goes from the second free cell to the first while the search runs.
    t.window.freeCell.SetFocus();
    t.window.freeCell.SetCol(1);
    t.Press(keys::Return);
    t.window.freeCell.SetCol(0);
    t.Press(keys::Return);
    ASSERT_EQ(t.window.freeCell.TextMatrix(0, 0), "KS");
    t.Heard();
    t.background.Finish();
    EXPECT_THAT(t.Heard(), ElementsAre());
    // Asked again, the hint is for the table as it is now.
    t.Ask(mnuPlayHint);
    EXPECT_EQ(t.window.freeCell.Col(), 0);

    // Nor is an answer that comes while a box of the program is open: it could move the focus behind it.
    t.window.menus.Click(mnuPlayHint);
    t.messages.OnShow = [&] { t.background.Finish(); };
    t.messages.Answers = {MsgResult::No};
    t.Heard();
    t.window.menus.Click(mnuGameNew);
    ASSERT_EQ(t.messages.Asked.size(), 1u);
    EXPECT_THAT(t.Heard(), ::testing::Not(::testing::Contains(std::string(texts::HintPlay))));
}

TEST(Verdict, SaysWhetherTheGameCanStillBeWonWithoutMovingAnything) {
    LastCard t;
    t.Ask(mnuPlayVerdict);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", std::string(texts::CanBeWonIn) + " 1" + std::string(texts::OneMove)));
    EXPECT_EQ(t.Focused(), &t.window.column);

    // Kings fill the free cells, every ace lies under five cards and only black cards end the columns:
    // no move is left.
    TestTable lost;
    lost.StartAndDeal();
    std::vector<std::vector<std::string>> columns = {
        {"AS", "6H", "7D", "8H", "9D", "2S"},   {"AC", "6D", "7H", "8D", "9H", "2C"},
        {"AH", "10H", "JD", "QH", "10D", "3S"}, {"AD", "JH", "QD", "2H", "2D", "3C"},
        {"3H", "3D", "4H", "4D", "5H", "4S"},   {"5D", "6S", "6C", "7S", "7C", "4C"},
        {"8S", "8C", "9S", "9C", "10S", "5S"},  {"10C", "JS", "JC", "QS", "QC", "5C"}};
    lost.LayOut(columns, {"KS", "KH", "KD", "KC"});
    lost.Heard();
    lost.window.menus.Click(mnuPlayVerdict);
    ASSERT_TRUE(lost.background.Finish());
    EXPECT_THAT(lost.Heard(), ElementsAre("<stop>", std::string(texts::CannotBeWon)));
}

// Unsolvable or not found in time: after " Thinking. " the answer follows it too.
TEST(Hint, NoAnswerCutsThinkingShort) {
    TestTable t;
    t.Start();
    t.screen.Hints.SearchBudget = {};
    t.screen.Hints.SearchBudget.MaxPositions = 0;
    t.screen.Deals.DealGameNumber(1);
    t.Heard();
    t.window.menus.Click(mnuPlayVerdict);
    ASSERT_TRUE(t.background.Finish(true));
    EXPECT_THAT(t.Heard(), ElementsAre(std::string(texts::Thinking), std::string(texts::NoVerdictInTime)));
    t.window.menus.Click(mnuPlayHint);
    ASSERT_TRUE(t.background.Finish());
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", std::string(texts::NoHintInTime)));
}

// Ctrl+H, Enter, Ctrl+H, Enter... from the deal to the end: each pair makes one move, the first search
// finds the way, and the hints lead along it without searching again or coming back to a table.
TEST(Hint, FollowingEveryHintWinsEveryDeal) {
    for (std::int32_t deal = 1; deal <= 50; ++deal) {
        SCOPED_TRACE("deal " + std::to_string(deal));
        TestTable t;
        t.Start();
        t.screen.Hints.SearchBudget = {};  // positions alone, never time
        t.screen.Deals.DealGameNumber(deal);
        ASSERT_EQ(t.state.GameInProgress, -1);
        t.messages.Answers = {MsgResult::No};
        std::set<std::vector<std::string>> seen = {t.Cells()};
        for (int moves = 0; t.state.HomeCount < 52; ++moves) {
            ASSERT_LT(moves, 300);
            for (int half = 0; half < 2; ++half) {
                t.Shortcut("Ctrl+H");
                t.background.Finish();
                t.Press(keys::Return);
            }
            ASSERT_EQ(t.state.CardSelected, 0);
            ASSERT_TRUE(seen.insert(t.Cells()).second) << "a table came back after " << moves + 1 << " moves";
        }
        EXPECT_EQ(t.background.Started, 1);
        ASSERT_EQ(t.messages.Asked.size(), 1u);
        EXPECT_THAT(t.messages.Asked[0].Text, ::testing::HasSubstr(std::string(texts::GameOver)));
    }
}

// The verdict counts the moves of the way the hints follow, and a table off the way is searched again.
TEST(Verdict, CountsTheMovesOfTheWayTheHintsFollow) {
    TestTable t;
    t.Start();
    t.screen.Hints.SearchBudget = {};
    t.screen.Deals.DealGameNumber(1);
    t.Heard();
    t.Shortcut("Ctrl+Shift+H");
    ASSERT_TRUE(t.background.Finish());
    const std::vector<std::string> first = t.Heard();
    ASSERT_EQ(first.size(), 2u);
    const std::string count = first[1].substr(texts::CanBeWonIn.size());
    const int moves = std::stoi(count);
    // The hint comes from the way the verdict found, and after its move the verdict counts one less.
    for (int half = 0; half < 2; ++half) {
        t.Shortcut("Ctrl+H");
        EXPECT_FALSE(t.background.Finish());
        t.Press(keys::Return);
    }
    t.Heard();
    t.Shortcut("Ctrl+Shift+H");
    EXPECT_FALSE(t.background.Finish());
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", std::string(texts::CanBeWonIn) + texts::SpokenNumber(moves - 1) +
                                                     std::string(texts::MovesOrFewer)));
    // Undone, the move puts the table back on the way; the player's own move takes it off.
    t.Shortcut("Ctrl+Z");
    t.Shortcut("Ctrl+Shift+H");
    EXPECT_FALSE(t.background.Finish());
    EXPECT_THAT(t.Heard(), ::testing::Contains(std::string(texts::CanBeWonIn) + texts::SpokenNumber(moves) +
                                               std::string(texts::MovesOrFewer)));
    t.window.freeCell.SetFocus();
    t.Shortcut("Ctrl+H");
    t.Press(keys::Return);  // the hinted card, picked up
    t.window.freeCell.SetFocus();
    t.window.freeCell.SetCol(3);
    t.Press(keys::Return);  // dropped in the last free cell, off the way
    t.Shortcut("Ctrl+Shift+H");
    EXPECT_TRUE(t.background.Finish());
}

}  // namespace
}  // namespace quorrel::test
