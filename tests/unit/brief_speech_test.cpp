// Brief Speech: the option and where it is kept, the brief words of each event, and the grid names
// left out when the player just heard them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/TableOf.h"
#include "support/TestTable.h"

namespace quorrel::test {
namespace {

using ::testing::ElementsAre;

constexpr const char* kBriefSetting = "Quorrel/Words/Brief";

// A dealt game with Brief Speech on, whose table is replaced by the given one, the focus in the column
// grid on its first cell.
struct BriefTable : TestTable {
    BriefTable(const std::vector<std::vector<std::string>>& columns, const std::vector<std::string>& free = {},
               const std::vector<std::string>& home = {}) {
        StartAndDeal();
        window.menus.Click(mnuOptionsBrief);
        LayOut(columns, free, home);
        state.HomeCount = TableOf(columns, free, home).HomeCount;
        Heard();
    }
};

TEST(BriefSpeech, IsOffUntilSwitchedOnAndIsRememberedInASectionOfItsOwn) {
    TestTable t;
    t.Start();
    EXPECT_FALSE(t.window.menus.IsChecked(mnuOptionsBrief));
    t.window.menus.Click(mnuOptionsBrief);
    EXPECT_TRUE(t.window.menus.IsChecked(mnuOptionsBrief));
    EXPECT_EQ(t.settings.Values[kBriefSetting], "Checked");
    TestTable next;
    next.settings.Values[kBriefSetting] = "Checked";
    next.Start();
    EXPECT_TRUE(next.window.menus.IsChecked(mnuOptionsBrief));
}

TEST(BriefSpeech, APickUpIsTheCardAloneADropIsMovedAndRefusalsKeepTheirReasons) {
    BriefTable t({{"8S"}, {"KD", "7H"}, {}, {"7D"}, {"KC", "QC"}});
    t.Shortcut("2");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " septs  Coeurs "));
    // The cursor on the picked-up card still says so.
    t.Press(keys::Up);
    t.Press(keys::Down);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " 2", " rois  Carreaux ", "<stop>", " septs  Coeurs ", " selected "));
    t.Shortcut("1");
    EXPECT_THAT(t.Heard(), ElementsAre(" moved "));
    EXPECT_EQ(t.screen.Board.At({GridId::Column, 2, 0}), "7H");

    t.Shortcut("4");
    t.Heard();
    t.Shortcut("5");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", std::string(texts::DescendingOrder), " Empty "));
    t.Shortcut("3");
    EXPECT_THAT(t.Heard(), ElementsAre(" moved "));
    // A card that no key picked up aloud is said before " moved ".
    t.Shortcut("F");
    EXPECT_THAT(t.Heard(), ElementsAre(" septs  Carreaux ", " moved "));
    t.Shortcut("Ctrl+Z");
    t.Shortcut("Ctrl+Y");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " septs  Carreaux ", " back to ", " Column  3", "<stop>",
                                       " septs  Carreaux ", " again to ", " a Free Cell "));
}

TEST(BriefSpeech, RunsAndCardsSentHomeSayCardsAndHome) {
    const std::vector<std::string> run = {"KS", "QH", "JC", "10D", "9S"};
    BriefTable t({run, {"QD"}}, {"2H", "3H", "4H"});
    t.Shortcut("Shift+2");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " 3", " cards ", " val\u00E9  Tr\u00E8fl ", " to ", " Column  2"));

    BriefTable safe({{"8S", "AH"}, {"KD", "2H", "7H"}, {"3C"}}, {}, {"2C"});
    safe.window.menus.Click(mnuOptionsSafeHome);
    safe.Shortcut("2");
    safe.Heard();
    safe.Shortcut("F");
    EXPECT_THAT(safe.Heard(), ElementsAre(" moved ", " ace  Coeurs ", " dhe  Coeurs ", " home "));
    safe.Shortcut("Ctrl+Z");
    EXPECT_THAT(safe.Heard(), ElementsAre("<stop>", " septs  Coeurs ", " back to ", " Column  2", " ace  Coeurs ",
                                          " dhe  Coeurs ", " back from home "));
}

// The name is left out only coming back to the grid just left (or staying in one), and only when the
// player knew that grid when the focus last came to it.
TEST(BriefSpeech, AGridNameIsLeftOutOnlyGoingBackToTheGridJustLeftWhoseNameWasHeard) {
    BriefTable t({{"8S"}});
    t.Press(keys::Tab);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Free Cells ", " Empty "));
    t.Press(keys::Tab, keys::ShiftMask);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " huits  Piques "));
    t.Press(keys::Tab);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Empty "));
    t.Press(keys::Tab);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Home Cells ", " Empty "));
    t.Press(keys::Tab);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Columns ", " huits  Piques "));
    // A free cell's key takes the focus there without a word: the next landing in the free cells says
    // their name again.
    t.Shortcut("Alt+2");
    t.Press(keys::Tab, keys::ShiftMask);
    t.Heard();
    t.Press(keys::Tab);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Free Cells ", " Empty "));
}

}  // namespace
}  // namespace quorrel::test
