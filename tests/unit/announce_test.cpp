// Cell announcements: French card words, column numbers, the selection mark, focus, and silence while
// the grids are filled.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cards/CardMod.h"
#include "support/TestTable.h"

namespace quorrel::test {
namespace {

using ::testing::ElementsAre;

const std::string kSeptDeCoeurs = " septs  de  Coeurs ";

TEST(CardWords, EveryCardHasItsRankAndSuitWords) {
    const char* ranks[] = {" ace ",   " dhe ",  " trois ", " qat\xE2\xB9\xB2 ", " cinq ",  " six ", " septs ",
                           " huits ", " neuf ", " dix ",   " val\xC3\xA9 ",     " dames ", " rois "};
    const char* suits[] = {" Piques ", " Carreaux ",
                           " Tr\xC3\xA8"
                           "fl ",
                           " Coeurs "};  // by block S, D, C, H
    for (int n = 1; n <= 52; ++n) {
        const std::string code = DetermineCard(n);
        EXPECT_EQ(GetCardValueString(code), ranks[(n - 1) % 13]) << code;
        EXPECT_EQ(GetSuite(code), suits[(n - 1) / 13]) << code;
    }
    EXPECT_EQ(std::string(ranks[3]).size(), 8u);  // six characters, U+2E72 taking three bytes
}

TEST(CardWords, OddCodesFollowTheLengthRules) {
    EXPECT_EQ(GetCardValueString("XS"), "");
    EXPECT_EQ(GetCardValueString("1XX"), " dix ");
    EXPECT_EQ(GetCardValueString(""), "");
    EXPECT_EQ(GetCardValueString("10HX"), "");
    EXPECT_EQ(GetSuite(""), "");
    EXPECT_EQ(GetSuite("7s"), "");

    TestTable t;
    t.screen.SpeakCurrentCell("XS");
    t.screen.SpeakCurrentCell("7H");
    t.screen.SpeakCurrentCell("10D");
    t.screen.SpeakCurrentCell("");
    EXPECT_THAT(t.reader.Transcript, ElementsAre(" de  Piques ", kSeptDeCoeurs, " dix  de  Carreaux ", " Empty "));
}

// A dealt table with known cards in the first two columns.
struct Announcements : ::testing::Test {
    void SetUp() override {
        t.StartAndDeal();
        t.LayOut({{"KS", "7H"}, {"10D"}, {}, {"AC"}}, {"", "", "QH"}, {"AS"});
        t.Heard();
    }
    TestTable t;
};

TEST_F(Announcements, TheFirstMoveOfAGameSpeaksTheColumnNumberEvenInColumnOne) {
    t.Press(keys::Down);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Column  1", kSeptDeCoeurs));
    t.Press(keys::Down);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Empty "));
    t.Press(keys::Up);
    t.Press(keys::Up);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", kSeptDeCoeurs, "<stop>", " rois  de  Piques "));
}

TEST_F(Announcements, ChangingColumnSpeaksTheNewNumberFirst) {
    t.Press(keys::Right);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Column  2", " dix  de  Carreaux "));
    t.Press(keys::Right);
    t.Press(keys::Right);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Column  3", " Empty ", "<stop>", " Column  4", " ace  de  Trèfl "));
    t.Press(keys::Down);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Empty "));
}

TEST_F(Announcements, WithTheOptionOffNoNumberIsSpokenAndTheForcedNumberWaits) {
    t.window.menus.Click(mnuOptionsSpeakColumns);
    t.Press(keys::Right);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " dix  de  Carreaux "));
    t.screen.ForceColumnNumber = -1;
    t.Press(keys::Down);
    EXPECT_EQ(t.screen.ForceColumnNumber, -1);  // stays set while the option is off
    t.window.menus.Click(mnuOptionsSpeakColumns);
    t.Heard();
    t.Press(keys::Up);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Column  2", " dix  de  Carreaux "));
    EXPECT_EQ(t.screen.ForceColumnNumber, 0);
    t.Press(keys::Down);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Empty "));
}

TEST_F(Announcements, ThePickedUpCardIsSpokenAsSelected) {
    t.screen.Board.MoveSilently({GridId::Column, 2, 0});
    t.screen.Board.Mark(GridId::Column);
    t.screen.Board.MoveSilently({GridId::Column, 1, 0});
    t.Press(keys::Down);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Column  1", kSeptDeCoeurs, " selected "));
}

TEST_F(Announcements, EachGridAnnouncesItselfWhenItGainsTheFocus) {
    t.Press(keys::Tab);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Free Cells ", " Empty "));
    EXPECT_EQ(t.state.FocusGrid, 1);
    t.Press(keys::Right);
    t.Press(keys::Right);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Empty ", "<stop>", " dames  de  Coeurs "));
    t.Press(keys::Tab);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Home Cells ", " ace  de  Piques "));
    EXPECT_EQ(t.state.FocusGrid, 2);
    t.Press(keys::Right);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Empty "));
    t.Press(keys::Tab);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Columns ", " rois  de  Piques "));
    EXPECT_EQ(t.state.FocusGrid, 0);
    t.Press(keys::Tab, keys::ShiftMask);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Home Cells ", " Empty "));
}

TEST_F(Announcements, ASilencedColumnFocusIsSilentOnceAndStillRecordsTheGrid) {
    t.Press(keys::Tab);
    t.screen.SilentColumnFocus = -1;
    t.Heard();
    t.Press(keys::Tab);
    t.Press(keys::Tab);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Home Cells ", " ace  de  Piques "));
    EXPECT_EQ(t.state.FocusGrid, 0);
    EXPECT_EQ(t.screen.SilentColumnFocus, 0);
    t.Press(keys::Tab);
    t.Press(keys::Tab);
    t.Press(keys::Tab);
    EXPECT_EQ(t.Heard().back(), " rois  de  Piques ");
}

TEST_F(Announcements, CursorMovesByCodeAreSilentWhileLoading) {
    {
        const auto mute = t.screen.Board.MuteEcho();
        t.window.column.SetRow(2);
        t.window.column.SetCol(3);
        t.window.freeCell.SetCol(2);
        t.window.homeCell.SetCol(1);
    }
    EXPECT_TRUE(t.Heard().empty());
    t.window.freeCell.SetCol(0);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Empty "));
}

TEST(AnnouncementsOrder, EventsRaisedInsideAHandlerComeInOrder) {
    TestTable t;
    t.StartAndDeal();
    t.events.clear();
    t.Heard();
    // Setting the row and then the column by code raises two announcements, one after the other.
    t.window.column.SetRow(3);
    t.window.column.SetCol(5);
    EXPECT_THAT(t.events, ElementsAre("Column.RowColChange", "Column.RowColChange"));
    const auto heard = t.Heard();
    ASSERT_EQ(heard.size(), 6u);
    EXPECT_EQ(heard[1], " Column  1");
    EXPECT_EQ(heard[4], " Column  6");
}

}  // namespace
}  // namespace quorrel::test
