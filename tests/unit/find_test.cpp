// Finding a card: the dialog's lists, the search order, and what the player hears.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/TestTable.h"

namespace quorrel::test {
namespace {

using ::testing::ElementsAre;

struct Find : ::testing::Test {
    void SetUp() override {
        t.StartAndDeal();
        t.LayOut({{"KS", "7H"}, {"10D"}, {}, {"AC", "QH", "JC"}}, {"", "", "KD"}, {"AH"});
        t.Heard();
    }
    // Opens the dialog with Ctrl+F, chooses a card and presses Find.
    void FindCardNamed(int card, int suite) {
        t.window.FindScript = [=](MemoryFindView& dialog) {
            dialog.Choose(card, suite);
            dialog.PressFind();
        };
        t.Shortcut("Ctrl+F");
    }
    TestTable t;
};

TEST_F(Find, TheListsAndTheCodeOfEverySelection) {
    std::vector<std::string> codes;
    t.window.FindScript = [&](MemoryFindView& dialog) {
        EXPECT_THAT(dialog.Cards,
                    ElementsAre("Ace", "2", "3", "4", "5", "6", "7", "8", "9", "10", "Valé", "Dames", "Rois"));
        EXPECT_THAT(dialog.Suites, ElementsAre("Trèfl", "Carreaux", "Coeurs", "Piques"));
        EXPECT_EQ(dialog.CardIndex(), 0);
        EXPECT_EQ(dialog.SuiteIndex(), 0);
        dialog.Choose(codes.size() % 13, static_cast<int>(codes.size() / 13));
        dialog.PressFind();
        EXPECT_FALSE(dialog.IsOpen());
        codes.push_back(t.state.FindTarget);
    };
    for (int i = 0; i < 52; ++i) t.Shortcut("Ctrl+F");
    EXPECT_EQ(codes[0], "AC");
    EXPECT_EQ(codes[9], "10C");
    EXPECT_EQ(codes[10], "JC");
    EXPECT_EQ(codes[11], "QC");
    EXPECT_EQ(codes[12], "KC");
    EXPECT_EQ(codes[13], "AD");
    EXPECT_EQ(codes[35], "10H");
    EXPECT_EQ(codes[51], "KS");
    std::sort(codes.begin(), codes.end());
    EXPECT_EQ(std::unique(codes.begin(), codes.end()), codes.end());

    // Without a selection a part is left out.
    t.window.FindScript = [&](MemoryFindView& dialog) {
        dialog.Choose(-1, 2);
        dialog.PressFind();
    };
    t.Shortcut("Ctrl+F");
    EXPECT_EQ(t.state.FindTarget, "H");
}

TEST_F(Find, ACardInAColumnIsAnnouncedWithItsColumnAfterASilentFocus) {
    t.Press(keys::Tab);  // start from the free cells
    t.Heard();
    FindCardNamed(11, 2);  // queen of hearts, row 2 of column 4
    EXPECT_TRUE(t.window.column.HasFocus());
    EXPECT_EQ(t.window.column.Row(), 2);
    EXPECT_EQ(t.window.column.Col(), 3);
    EXPECT_EQ(t.state.FocusGrid, 0);
    // The free cells get the focus back when the dialog closes; then the column grid takes it silently.
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Free Cells ", " Empty ", "<stop>", "<stop>", " Column  1",
                                       " septs  de  Coeurs ", "<stop>", " Column  4", " dames  de  Coeurs "));
    EXPECT_EQ(t.screen.SilentColumnFocus, 0);
}

TEST_F(Find, TheColumnNumberIsSpokenEvenInTheSameColumn) {
    t.Press(keys::Right);
    t.Press(keys::Right);
    t.Press(keys::Right);
    t.Heard();
    FindCardNamed(10, 0);  // jack of clubs, row 3 of column 4
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", "<stop>", " Column  4", " valé  de  Trèfl "));
}

TEST_F(Find, ACardInAFreeCellMovesTheFocusThere) {
    t.Press(keys::Tab, keys::ShiftMask);  // start from the home cells
    t.Heard();
    FindCardNamed(12, 1);  // king of diamonds, free cell 3
    EXPECT_TRUE(t.window.freeCell.HasFocus());
    EXPECT_EQ(t.window.freeCell.Col(), 2);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Home Cells ", " ace  de  Coeurs ", "<stop>", "<stop>",
                                       " Free Cells ", " Empty ", "<stop>", " rois  de  Carreaux "));
    // The column grid's focus stays silenced until it next gains the focus.
    EXPECT_EQ(t.screen.SilentColumnFocus, -1);
    t.Press(keys::Tab);
    t.Heard();
    t.Press(keys::Tab);
    EXPECT_TRUE(t.Heard().empty());
    EXPECT_EQ(t.state.FocusGrid, 0);
}

TEST_F(Find, FreeCellsAreSearchedBeforeColumns) {
    // The same code in both places (never on a real table) shows which is searched first.
    t.window.column.SetTextMatrix(1, 0, "KD");
    FindCardNamed(12, 1);
    EXPECT_TRUE(t.window.freeCell.HasFocus());
    t.window.freeCell.SetTextMatrix(0, 2, "");
    FindCardNamed(12, 1);
    EXPECT_TRUE(t.window.column.HasFocus());
    EXPECT_EQ(t.window.column.Row(), 1);
    // Columns row by row: row 1 of column 5 before row 2 of column 1.
    t.LayOut({{"KS", "5D"}, {}, {}, {}, {"5D"}});
    FindCardNamed(4, 1);
    EXPECT_EQ(t.window.column.Row(), 1);
    EXPECT_EQ(t.window.column.Col(), 4);
}

TEST_F(Find, APlayedCardIsNamedAndNothingMoves) {
    t.Press(keys::Down);
    t.Heard();
    FindCardNamed(0, 2);  // ace of hearts, in a home cell
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " ace  de  Coeurs ", " Has already been played. "));
    EXPECT_EQ(t.window.column.Row(), 2);
    EXPECT_FALSE(t.screen.Board.EchoMuted());
}

TEST_F(Find, CancelEscapeAndTheFrameSearchNothingAndSayNothing) {
    FindCardNamed(12, 1);
    t.Press(keys::Tab, keys::ShiftMask);
    t.Heard();
    t.window.FindScript = [](MemoryFindView& dialog) {
        dialog.Choose(1, 1);
        dialog.PressCancel();
    };
    t.Shortcut("Ctrl+F");
    t.window.FindScript = nullptr;  // the player presses Escape
    t.Shortcut("Ctrl+F");
    t.window.FindScript = [](MemoryFindView& dialog) {
        dialog.Choose(1, 1);
        dialog.CloseFrame();
    };
    t.Shortcut("Ctrl+F");
    EXPECT_TRUE(t.Heard().empty());  // the column grid's focus comes back silently, the first time
    EXPECT_EQ(t.state.FindTarget, "KD");
    EXPECT_EQ(t.state.FindCancelled, -1);
    EXPECT_EQ(t.window.column.Row(), 1);
}

}  // namespace
}  // namespace quorrel::test
