// Hints and the verdict: what is said, where the cursor and the focus go, and that an answer for a
// table that has changed is never spoken.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/TestTable.h"

namespace quorrel::test {
namespace {

using ::testing::ElementsAre;

std::string Words(const std::string& card) { return GameScreen::CellWords(card); }

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
    std::vector<std::string> heard = {std::string(texts::Thinking)};
    heard.insert(heard.end(), hint.begin(), hint.end());
    // The focus and the cursor went to the card without a word of their own.
    EXPECT_EQ(t.Heard(), heard);
    EXPECT_EQ(t.Focused(), &t.window.freeCell);
    EXPECT_EQ(t.state.FocusGrid, 1);
    EXPECT_EQ(t.window.freeCell.Col(), 1);

    t.Press(keys::Return);
    ASSERT_EQ(t.state.CardSelected, -1);
    t.Heard();
    // With the card in hand, the hint leads to the home cell that takes it.
    t.Ask(mnuPlayHint);
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
        {"AS", "6H", "7D", "8H", "9D", "2S"}, {"AC", "6D", "7H", "8D", "9H", "2C"},
        {"AH", "10H", "JD", "QH", "10D", "3S"}, {"AD", "JH", "QD", "2H", "2D", "3C"},
        {"3H", "3D", "4H", "4D", "5H", "4S"}, {"5D", "6S", "6C", "7S", "7C", "4C"},
        {"8S", "8C", "9S", "9C", "10S", "5S"}, {"10C", "JS", "JC", "QS", "QC", "5C"}};
    lost.LayOut(columns, {"KS", "KH", "KD", "KC"});
    lost.Heard();
    lost.window.menus.Click(mnuPlayVerdict);
    ASSERT_TRUE(lost.background.Finish());
    EXPECT_THAT(lost.Heard(), ElementsAre("<stop>", std::string(texts::CannotBeWon)));
}

}  // namespace
}  // namespace quorrel::test
