// The keys the window handles itself and the reading commands.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/TestTable.h"

namespace quorrel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

struct Reading : ::testing::Test {
    void SetUp() override {
        t.StartAndDeal();
        t.LayOut({{"KS", "7H"}, {"10D"}, {}, {"AC", "QH", "JC"}, {"5D"}, {"6S"}, {"2H"}, {"9C"}}, {"", "", "KD"},
                 {"AH", "3S"});
        t.Heard();
    }
    TestTable t;
};

TEST_F(Reading, F2SpeaksTheKeyListWithAnyModifiersAtAnyTime) {
    const std::vector<std::string> list = {
        "<stop>",
        "Use the tab key to move between the 3 grids. ",
        "To move a card, press the enter key on the card to select it, then move to the destination and press the "
        "enter key to drop it. ",
        "Press the Escape key to unselect a card you have selected to move. ",
        "Use the up, down, left, and right arrow keys to move around inside the 3 grids. ",
        "Press F3 to read the contents of the Free Cells.",
        "Press F4 to read the contents of the Home Cells.",
        "Press F5 to move to the previous card in the bottom row of the columns. ",
        "Press F6 to move to the next card in the bottom row of the columns. ",
        "Press f7 to move to the previous card in the same suit. ",
        "Press f8 to move to the next card in the same suit. ",
        "Press control f to find a particular card. "};
    t.Press(keys::F2);
    EXPECT_THAT(t.Heard(), ElementsAreArray(list));
    t.Press(keys::F2, keys::ShiftMask);
    EXPECT_THAT(t.Heard(), ElementsAreArray(list));

    TestTable fresh;
    fresh.Start();
    fresh.Heard();
    fresh.Press(keys::F2);
    EXPECT_THAT(fresh.Heard(), ElementsAreArray(list));
}

TEST_F(Reading, F3ReadsEachFreeCellAfterAPause) {
    const auto start = t.clock.Now;
    std::vector<std::vector<std::string>> during;
    for (int at : {350, 1050, 1750, 2450}) t.clock.At(start + at, [&] { during.push_back(t.reader.SinceLastStop()); });
    t.Press(keys::F3);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Free Cells ", " Cell  1", " Empty ", " Cell  2", " Empty ",
                                       " Cell  3", " rois  de  Carreaux ", " Cell  4", " Empty "));
    ASSERT_EQ(during.size(), 4u);
    EXPECT_EQ(during[0].back(), " Free Cells ");  // each cell waits its 700 ms
    EXPECT_EQ(during[1].back(), " Empty ");
    EXPECT_EQ(during[1].size(), 3u);
    EXPECT_EQ(during[3].size(), 7u);
    EXPECT_GE(t.clock.Now, start + 2800);
}

TEST_F(Reading, F4ReadsTheHomeCellsAndAnEmptyGridInOneText) {
    t.Press(keys::F4);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Home Cells ", " Cell  1", " ace  de  Coeurs ", " Cell  2",
                                       " trois  de  Piques ", " Cell  3", " Empty ", " Cell  4", " Empty "));
    t.LayOut({{"KS"}});
    t.Heard();
    t.Press(keys::F3);
    t.Press(keys::F4);
    EXPECT_THAT(t.Heard(),
                ElementsAre("<stop>", " All Free Cells are empty. ", "<stop>", " All Home Cells are empty. "));
}

TEST_F(Reading, KeysPressedDuringAPauseAreHandledAtOnce) {
    const auto start = t.clock.Now;
    t.clock.At(start + 350, [&] { t.Press(keys::Down); });
    t.Press(keys::F3);
    const auto heard = t.Heard();
    // The cursor's announcement stops the reading's speech; the reading then goes on with cell 1.
    EXPECT_THAT(std::vector<std::string>(heard.begin(), heard.begin() + 7),
                ElementsAre("<stop>", " Free Cells ", "<stop>", " Column  1", " septs  de  Coeurs ", " Cell  1",
                            " Empty "));
}

TEST_F(Reading, F3DuringF3RunsASecondReadingAndBothEnd) {
    t.clock.At(t.clock.Now + 350, [&] { t.Press(keys::F3); });
    t.Press(keys::F3);
    const auto heard = t.Heard();
    EXPECT_EQ(std::count(heard.begin(), heard.end(), " Cell  4"), 2);
    EXPECT_EQ(std::count(heard.begin(), heard.end(), " Free Cells "), 2);
}

TEST_F(Reading, ClosingTheWindowDuringAReadingEndsIt) {
    t.clock.At(t.clock.Now + 350, [&] { t.window.menus.Click(mnuGameExit); });
    t.messages.Answers = {MsgResult::No};
    t.Press(keys::F3);
    EXPECT_TRUE(t.window.Closed);
    // The reading is cut short by the save question, which is said; answered No, it gives the focus back
    // to the column grid, which announces itself before the window closes. No cell is read after that.
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Free Cells ", "<stop earlier>", t.messages.Asked.at(0).Text,
                                       " Yes or No. ", "<stop>", " Columns ", ::testing::_));
}

TEST(ReadingConditions, F3AndF4OnlyWithoutModifiersAndDuringAGame) {
    TestTable t;
    t.Start();
    t.Heard();
    t.Press(keys::F3);
    t.Press(keys::F4);
    EXPECT_TRUE(t.Heard().empty());
    t.window.menus.Click(mnuGameNew);
    t.Heard();
    for (int shift : {keys::ShiftMask, keys::CtrlMask, keys::AltMask}) {
        t.Press(keys::F3, shift);
        t.Press(keys::F4, shift);
    }
    EXPECT_TRUE(t.Heard().empty());
    // F5 to F8 and Ctrl+F are menu items, which are off before the first game.
    TestTable fresh;
    fresh.Start();
    fresh.Heard();
    for (const char* key : {"F5", "F6", "F7", "F8", "Ctrl+F"}) fresh.Shortcut(key);
    EXPECT_TRUE(fresh.Heard().empty());
    EXPECT_EQ(fresh.window.DialogsShown, 0);
}

TEST_F(Reading, F6AndF5WalkTheBottomRowAndWrap) {
    t.Shortcut("F6");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Column  1", " septs  de  Coeurs "));
    EXPECT_EQ(t.window.column.Row(), 2);
    t.Shortcut("F5");
    EXPECT_EQ(t.state.BottomCursor, 7);
    // The row is set before the column, and each change is announced with the forced column number.
    EXPECT_THAT(t.Heard(),
                ElementsAre("<stop>", " Column  1", " rois  de  Piques ", "<stop>", " Column  8", " neuf  de  Trèfl "));
    EXPECT_EQ(t.window.column.Row(), 1);
    EXPECT_EQ(t.window.column.Col(), 7);
    t.Shortcut("F6");
    EXPECT_EQ(t.state.BottomCursor, 0);
    for (int i = 0; i < 3; ++i) t.Shortcut("F6");
    EXPECT_EQ(t.state.BottomCursor, 3);
    EXPECT_EQ(t.window.column.Row(), 3);
    EXPECT_EQ(t.Heard().back(), " valé  de  Trèfl ");
}

TEST_F(Reading, TheFirstF5OfAGameGoesToTheLastColumn) {
    t.Shortcut("F5");
    EXPECT_EQ(t.state.BottomCursor, 7);
    EXPECT_EQ(t.window.column.Col(), 7);
}

TEST_F(Reading, AnEmptyColumnIsNamedBeforeTheCursorMoves) {
    t.Shortcut("F6");
    t.Shortcut("F6");
    t.Heard();
    t.Shortcut("F6");
    EXPECT_THAT(t.Heard(), ElementsAre(" Column  3 is empty! ", "<stop>", " Column  3", " Empty "));
    EXPECT_EQ(t.window.column.Row(), 1);
}

TEST_F(Reading, BottomRowCommandsOutsideTheColumnsRefuseButStillMoveOn) {
    t.Press(keys::Tab);
    t.Heard();
    t.Shortcut("F6");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", "You must be in the Columns grid to use this function.  "));
    EXPECT_EQ(t.state.BottomCursor, 0);
    EXPECT_EQ(t.window.column.Row(), 1);
}

TEST_F(Reading, F7AndF8FindTheNeighbouringCardOfTheSuit) {
    // On the seven of hearts the eight is nowhere on the table: named as played, after what is being said.
    t.Press(keys::Down);
    t.Heard();
    t.Shortcut("F8");
    EXPECT_THAT(t.Heard(), ElementsAre(" huits  de  Coeurs ", " Has already been played. "));
    // On the jack of clubs, bottom of column 4: the queen of clubs is not on the table.
    for (int i = 0; i < 4; ++i) t.Shortcut("F6");
    t.Heard();
    t.Shortcut("F8");
    EXPECT_THAT(t.Heard(), ElementsAre(" dames  de  Trèfl ", " Has already been played. "));
    t.LayOut({{"KS", "AS"}, {"QS"}});
    t.Press(keys::Down);
    t.Heard();
    t.Shortcut("F7");  // ace to king of spades, found in column 1
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Column  1", " rois  de  Piques "));
    EXPECT_EQ(t.window.column.Row(), 1);
    t.Shortcut("F7");  // king to queen, in column 2
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Column  2", " dames  de  Piques "));
    t.Shortcut("F8");
    t.Shortcut("F8");
    EXPECT_EQ(t.window.column.Row(), 2);
    EXPECT_EQ(t.window.column.Col(), 0);  // queen to king to ace
}

TEST_F(Reading, F7OnAnEmptyCellAsksForACard) {
    t.Press(keys::Tab);
    t.Heard();
    t.Shortcut("F7");
    EXPECT_THAT(t.Heard(),
                ElementsAre("<stop>", " You must move to a cell containing a card for this function to work. ",
                            " Empty "));
}

TEST_F(Reading, F8OnAHomeCardLooksForTheNextCardOnTheTable) {
    t.Press(keys::Tab);
    t.Press(keys::Tab);
    t.Press(keys::Right);
    t.Heard();
    t.Shortcut("F7");  // three of spades: the two is not on the table
    EXPECT_THAT(t.Heard(), ElementsAre(" dhe  de  Piques ", " Has already been played. "));
    t.Shortcut("F8");  // the four neither
    t.Press(keys::Left);
    t.Heard();
    t.Shortcut("F8");  // ace of hearts: the two of hearts is in column 7
    EXPECT_THAT(t.Heard(),
                ElementsAre("<stop>", " Columns ", " rois  de  Piques ", "<stop>", " Column  7", " dhe  de  Coeurs "));
}

}  // namespace
}  // namespace quorrel::test
