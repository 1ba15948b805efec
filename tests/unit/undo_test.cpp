// The Play menu: undo and redo of each kind of move, restart, and the numbered deals.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <sstream>

#include "cards/CardMod.h"
#include "support/TestTable.h"
#include "table/NumberedDeal.h"

namespace quorrel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

const std::string kSeptCoeurs = " septs  de  Coeurs ";   // 7H
const std::string kSixCarreaux = " six  de  Carreaux ";  // 6D
const std::string kAceCoeurs = " ace  de  Coeurs ";      // AH
const std::string kDheCarreaux = " dhe  de  Carreaux ";  // 2D

// Column 1 8S, column 2 7H, column 3 AH, column 4 KC; free cells 2D and 6D; home cell 1 AD.
struct PlayTable : TestTable {
    PlayTable() {
        StartAndDeal();
        LayOut({{"8S"}, {"7H"}, {"AH"}, {"KC"}}, {"2D", "6D"}, {"AD"});
        state.HomeCount = 1;
        Heard();
    }
    // Gives the grid the focus, puts its cursor on the cell without a sound and presses Enter.
    void EnterOn(MemoryGrid& grid, int row, int col) {
        grid.SetFocus();
        screen.Board.MoveSilently({screen.Board.IdOf(grid), row, col});
        Press(keys::Return);
    }
};

struct Play : ::testing::Test {
    void EnterOn(MemoryGrid& grid, int row, int col) { t.EnterOn(grid, row, col); }
    PlayTable t;
};

TEST(Undo, EachKindOfMoveIsUndoneAndRedone) {
    enum Grid { C, F, H };
    struct Case {
        const char* name;
        Grid from;
        std::pair<int, int> fromCell;
        Grid to;
        std::pair<int, int> toCell;
        std::vector<std::string> undone, redone;  // after the stop
    };
    const Case cases[] = {
        {"column to column",
         C,
         {1, 1},
         C,
         {2, 0},
         {kSeptCoeurs, " back to ", " Column  2"},
         {kSeptCoeurs, " moved again to ", " Column  1"}},
        {"column to free cell",
         C,
         {1, 1},
         F,
         {0, 2},
         {kSeptCoeurs, " back to ", " Column  2"},
         {kSeptCoeurs, " moved again to ", " a Free Cell "}},
        {"free cell to column",
         F,
         {0, 1},
         C,
         {1, 4},
         {kSixCarreaux, " back to ", " a Free Cell "},
         {kSixCarreaux, " moved again to ", " Column  5"}},
        {"free cell to free cell",
         F,
         {0, 1},
         F,
         {0, 3},
         {kSixCarreaux, " back to ", " a Free Cell "},
         {kSixCarreaux, " moved again to ", " a Free Cell "}},
        {"column to home cell",
         C,
         {1, 2},
         H,
         {0, 1},
         {kAceCoeurs, " back to ", " Column  3"},
         {kAceCoeurs, " moved again to ", " the Home Cells "}},
        {"free cell to home cell",
         F,
         {0, 0},
         H,
         {0, 0},
         {kDheCarreaux, " back to ", " a Free Cell "},
         {kDheCarreaux, " moved again to ", " the Home Cells "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayTable t;
        MemoryGrid* grids[] = {&t.window.column, &t.window.freeCell, &t.window.homeCell};
        MemoryGrid& source = *grids[c.from];
        MemoryGrid& destination = *grids[c.to];
        const auto before = t.Cells();
        t.EnterOn(source, c.fromCell.first, c.fromCell.second);
        t.EnterOn(destination, c.toCell.first, c.toCell.second);
        ASSERT_EQ(t.Heard().back(), " was moved ");
        const auto after = t.Cells();
        t.state.UnsavedChanges = 0;  // as after a save

        t.Shortcut("Ctrl+Z");
        std::vector<std::string> heard = {"<stop>"};
        heard.insert(heard.end(), c.undone.begin(), c.undone.end());
        EXPECT_EQ(t.Heard(), heard);
        EXPECT_EQ(t.Cells(), before);
        EXPECT_EQ(std::make_pair(source.Row(), source.Col()), c.fromCell);
        EXPECT_EQ(t.Focused(), &destination);
        EXPECT_EQ(t.state.CardSelected, 0);
        EXPECT_EQ(t.state.UnsavedChanges, -1);

        t.Shortcut("Ctrl+Y");
        heard = {"<stop>"};
        heard.insert(heard.end(), c.redone.begin(), c.redone.end());
        EXPECT_EQ(t.Heard(), heard);
        EXPECT_EQ(t.Cells(), after);
        EXPECT_EQ(std::make_pair(destination.Row(), destination.Col()), c.toCell);
        EXPECT_EQ(t.Focused(), &destination);
    }
}

TEST_F(Play, APickedUpCardIsPutBackSilentlyBeforeTheUndo) {
    EnterOn(t.window.column, 1, 1);
    EnterOn(t.window.column, 2, 0);  // 7H onto 8S
    EnterOn(t.window.column, 1, 3);  // KC picked up
    t.Heard();
    t.Shortcut("Ctrl+Z");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", kSeptCoeurs, " back to ", " Column  2"));
    EXPECT_EQ(t.state.CardSelected, 0);
    EXPECT_EQ(t.state.SelectedFrom, 3);
    EXPECT_NE(t.window.column.CellBackColorAt(1, 3), t.window.column.ForeColor());
    // The column was named, so moving down in it says no number.
    t.Press(keys::Down);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Empty "));
}

TEST_F(Play, NothingToUndoOrRedoAndANewMoveClearsTheRedo) {
    t.Shortcut("Ctrl+Z");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Nothing to undo. "));
    t.Shortcut("Ctrl+Shift+Z");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Nothing to redo. "));
    EnterOn(t.window.column, 1, 1);
    EnterOn(t.window.column, 2, 0);
    t.Shortcut("Ctrl+Z");
    EnterOn(t.window.freeCell, 0, 1);
    EnterOn(t.window.freeCell, 0, 3);
    t.Heard();
    t.Shortcut("Ctrl+Y");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Nothing to redo. "));
    // The first move stays taken back: only the new one can be undone.
    t.Shortcut("Ctrl+Z");
    t.Shortcut("Ctrl+Z");
    EXPECT_THAT(t.Heard(),
                ElementsAre("<stop>", kSixCarreaux, " back to ", " a Free Cell ", "<stop>", " Nothing to undo. "));
    EXPECT_EQ(t.window.column.TextMatrix(1, 1), "7H");
}

TEST(PlayMenu, DisabledUntilAGameBeginsWithItsShortcuts) {
    TestTable t;
    EXPECT_EQ(t.window.menus.ByShortcut("Ctrl+Z"), mnuPlayUndo);
    EXPECT_EQ(t.window.menus.ByShortcut("Ctrl+Y"), mnuPlayRedo);
    EXPECT_EQ(t.window.menus.ByShortcut("Ctrl+Shift+Z"), mnuPlayRedo);
    EXPECT_EQ(t.window.menus.ByShortcut("Ctrl+R"), mnuPlayRestart);
    t.Start();
    for (int id : {mnuPlayUndo, mnuPlayRedo, mnuPlayRestart}) EXPECT_FALSE(t.window.menus.IsEnabled(id)) << id;
    t.Heard();
    t.Shortcut("Ctrl+Z");
    t.Shortcut("Ctrl+R");
    EXPECT_TRUE(t.Heard().empty());
    t.window.menus.Click(mnuGameNew);
    for (int id : {mnuPlayUndo, mnuPlayRedo, mnuPlayRestart}) EXPECT_TRUE(t.window.menus.IsEnabled(id)) << id;
}

// The bottom card of column 1 of a fresh deal (seven cards) goes to the first free cell.
void BottomOfColumnOneToAFreeCell(TestTable& t) {
    t.screen.Board.MoveSilently({GridId::Column, 7, t.window.column.Col()});
    t.Press(keys::Return);
    t.Press(keys::Tab);
    t.Press(keys::Return);
}

TEST(Restart, LaysOutTheDealAgainAndIsUndoneAsOneStep) {
    TestTable t;
    t.StartAndDeal();
    const auto dealt = t.Cells();
    const std::string firstCard = t.window.column.TextMatrix(1, 0);
    // A move, then the focus to the home cells.
    BottomOfColumnOneToAFreeCell(t);
    t.Press(keys::Tab);
    const auto played = t.Cells();
    ASSERT_NE(played, dealt);
    t.state.UnsavedChanges = 0;
    t.Heard();

    t.Shortcut("Ctrl+R");
    const std::string firstWords = GetCardValueString(firstCard) + " de " + GetSuite(firstCard);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " The deal was restarted. ", " Columns ", firstWords));
    EXPECT_EQ(t.Cells(), dealt);
    EXPECT_EQ(t.Focused(), &t.window.column);
    EXPECT_EQ(t.state.UnsavedChanges, -1);
    EXPECT_TRUE(t.messages.Asked.empty());

    t.Shortcut("Ctrl+Z");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " The restart was undone. ", " Columns ", firstWords));
    EXPECT_EQ(t.Cells(), played);
    t.Shortcut("Ctrl+Z");  // and the move before it
    EXPECT_EQ(t.Cells(), dealt);
    t.Shortcut("Ctrl+Y");
    t.Shortcut("Ctrl+Y");
    EXPECT_EQ(t.Cells(), dealt);
    EXPECT_EQ(t.Heard().back(), firstWords);
    // The column grid's focus event was silenced once only.
    t.Press(keys::Tab);
    t.Press(keys::Tab, keys::ShiftMask);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Free Cells ", " Empty ", "<stop>", " Columns ", firstWords));
}

// While the cards lie as the game began, a restart says so and leaves the game and its steps alone.
TEST(Restart, NothingToRestartOnTheTableTheGameBeganWith) {
    TestTable t;
    t.StartAndDeal();
    const auto dealt = t.Cells();
    t.Heard();
    t.Shortcut("Ctrl+R");
    t.Shortcut("Ctrl+Z");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Nothing to restart. ", "<stop>", " Nothing to undo. "));

    // A move taken back leaves the table as it began: the move can still be made again.
    BottomOfColumnOneToAFreeCell(t);
    t.Shortcut("Ctrl+Z");
    ASSERT_EQ(t.Cells(), dealt);
    t.Heard();
    t.Shortcut("Ctrl+R");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Nothing to restart. "));
    t.Shortcut("Ctrl+Y");
    EXPECT_NE(t.Cells(), dealt);
}

TEST(Restart, TheEndOfAGameCannotBeUndone) {
    TestTable t;
    t.StartAndDeal();
    t.LayOut({{"KH"}}, {}, {"KS", "KD", "KC", "QH"});
    t.state.HomeCount = 51;
    t.Press(keys::Return);
    t.Press(keys::Tab);
    t.Press(keys::Tab);
    t.screen.Board.MoveSilently({GridId::HomeCell, 0, 3});
    // Commands that reach the window while the question is open find no game to take back.
    t.messages.OnShow = [&] {
        t.Heard();
        t.Shortcut("Ctrl+Z");
        t.Shortcut("Ctrl+R");
        EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Nothing to undo. "));
    };
    t.messages.Answers = {MsgResult::No};
    t.Press(keys::Return);
    ASSERT_EQ(t.messages.Asked.size(), 1u);
    EXPECT_EQ(t.state.HomeCount, 52);
    EXPECT_EQ(t.window.homeCell.TextMatrix(0, 3), "KH");
}

// Random moves taken back one by one give the starting table, and made again give the end table.
TEST(Undo, AllMovesUndoneGiveTheStartAndRedoneGiveTheEnd) {
    const int keyChoices[] = {keys::Return, keys::Return, keys::Return, keys::Left, keys::Right,
                              keys::Up,     keys::Down,   keys::Down,   keys::Tab,  keys::Escape};
    int total = 0;
    for (unsigned seed = 1; seed <= 8; ++seed) {
        TestTable t;
        t.StartAndDeal();
        const auto start = t.Cells();
        std::mt19937 random(seed);
        int moves = 0;
        for (int step = 0; step < 4000; ++step) {
            t.Press(keyChoices[random() % std::size(keyChoices)]);
            for (const auto& text : t.Heard()) moves += text == " was moved ";
        }
        ASSERT_EQ(t.state.GameInProgress, -1);
        const auto end = t.Cells();
        for (int i = 0; i < moves; ++i) t.Shortcut("Ctrl+Z");
        EXPECT_EQ(t.Cells(), start) << "seed " << seed;
        t.Heard();
        t.Shortcut("Ctrl+Z");
        EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Nothing to undo. "));
        for (int i = 0; i < moves; ++i) t.Shortcut("Ctrl+Y");
        EXPECT_EQ(t.Cells(), end) << "seed " << seed;
        total += moves;
    }
    EXPECT_GT(total, 50);
}

// Deals as make-microsoft-freecell-board -t N prints them: one line per column, top card first.
std::vector<std::vector<std::string>> Columns(const std::string& printed) {
    std::vector<std::vector<std::string>> columns;
    std::istringstream lines(printed);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream cards(line);
        std::vector<std::string> column;
        for (std::string card; cards >> card;) column.push_back(card[0] == 'T' ? "10" + card.substr(1) : card);
        if (!column.empty()) columns.push_back(column);
    }
    return columns;
}

const std::map<int, std::string> kPublishedDeals = {
    {1,
     "JD KD 2S 4C 3S 6D 6S\n2D KC KS 5C TD 8S 9C\n9H 9S 9D TS 4S 8D 2H\nJC 5S QD QH TH QS 6H\n"
     "5D AD JS 4H 8H 6C\n7H QC AS AC 2C 3D\n7C KH AH 4D JH 8C\n5H 3H 3C 7S 7D TC\n"},
    {617,
     "7D TD TH KD 4C 4S JD\nAD 7S QC 5H QS TS KS\n5C QD 3H 9S 9C 2H KC\n3S AC 9D 3C 9H 5D 4H\n"
     "5S 6D 6S 8S 7C JC\n8C 8H 8D 7H 6H 6C\n2D AS 3D 4D 2C JH\nAH KH TC JS 2S QH\n"},
    {11982,
     "AH 3D KD JC 6C JD KC\nAS 3H 6H 5D 2C 7D 8D\n4H QS 5S 5C TH 8H 2S\nAC QC 4D 8C QH 9C 3S\n"
     "2D 8S 9H 9D 6D 2H\n6S 7H JH TD TC QD\nTS AD 9S KH 4S 4C\nJS KS 3C 7C 7S 5H\n"},
    {1000000,
     "2D 9C KD JD 3H TC TS\n6H 3D 5H 7S 4S AS AH\n6S 7D 5D QD 3S 6D 9S\nTH 7C QH 8D KC 8H 4H\n"
     "JC QC JH 2H KH 2C\n3C AC 6C AD 9D QS\n4D 2S 9H 5C 7H 5S\nTD 4C KS 8C 8S JS\n"},
};

TEST(NumberedDeal, MatchesThePublishedDeals) {
    std::array<std::int16_t, 53> deck{};
    auto firstRow = [&](int number) {
        NumberedDeck(number, deck);
        std::vector<std::string> row;
        for (size_t i = 0; i < 8; ++i) row.push_back(DetermineCard(deck[i]));
        return row;
    };
    EXPECT_THAT(firstRow(1), ElementsAre("JD", "2D", "9H", "JC", "5D", "7H", "7C", "5H"));
    EXPECT_THAT(firstRow(617), ElementsAre("7D", "AD", "5C", "3S", "5S", "8C", "2D", "AH"));
    for (const auto& [number, printed] : kPublishedDeals) {
        TestTable t;
        t.Start();
        t.screen.Deals.DealGameNumber(number);
        const auto columns = Columns(printed);
        ASSERT_EQ(columns.size(), 8u);
        for (size_t c = 0; c < 8; ++c) {
            std::vector<std::string> dealt;
            for (int r = 1; r < 20 && !t.window.column.TextMatrix(r, static_cast<int>(c)).empty(); ++r)
                dealt.push_back(t.window.column.TextMatrix(r, static_cast<int>(c)));
            EXPECT_THAT(dealt, ElementsAreArray(columns[c])) << "deal " << number << ", column " << c + 1;
        }
    }
}

TEST(NumberedDeal, BeginsAsNewGameDoesAndSaysItsNumberLast) {
    TestTable t;
    t.StartAndDeal();
    t.state.OpenedFromFile = 1;
    t.screen.Deals.DealGameNumber(0);  // out of range: nothing happens
    t.screen.Deals.DealGameNumber(1000001);
    EXPECT_TRUE(t.messages.Asked.empty());
    t.Heard();
    t.screen.Deals.DealGameNumber(617);
    ASSERT_EQ(t.messages.Asked.size(), 1u);  // the game on the table had not been saved
    EXPECT_EQ(t.messages.Asked[0].Text,
              "There is a game in progress.\r\nDo you want to save this game before you start a new game?\r\n");
    EXPECT_EQ(t.state.OpenedFromFile, 0);
    EXPECT_EQ(t.window.Caption(), "Untitled.qrl - Quorrel");
    EXPECT_EQ(t.state.GameFileName, "Untitled.qrl");
    EXPECT_EQ(t.window.column.TextMatrix(1, 0), "7D");
    const auto heard = t.Heard();
    ASSERT_GE(heard.size(), 3u);
    EXPECT_THAT(std::vector<std::string>(heard.end() - 3, heard.end()),
                ElementsAre(" Columns ", " septs  de  Carreaux ", " Game number  617"));
    // New Game shuffles again and says no number.
    t.Shortcut("Ctrl+N");
    EXPECT_NE(t.Heard().back(), " Game number  617");
}

const std::string kDealNumberLabel = "Game number, from 1 to 1000000:";

// Ctrl+G works before any game; Escape closes the dialog and deals nothing.
TEST(DealNumberDialog, EscapeDealsNothingAndOkDealsTheNumber) {
    TestTable t;
    t.Start();
    t.Heard();
    t.Shortcut("Ctrl+G");
    EXPECT_EQ(t.window.DialogsShown, 1);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop earlier>", kDealNumberLabel));
    EXPECT_EQ(t.state.GameInProgress, 0);
    EXPECT_FALSE(t.window.column.Visible());

    t.window.DealNumberScript = [](MemoryDealNumberView& dialog) {
        dialog.Type("1");
        dialog.PressOk();
    };
    t.Shortcut("Ctrl+G");
    EXPECT_EQ(t.state.GameInProgress, -1);
    EXPECT_EQ(t.window.column.TextMatrix(1, 0), "JD");
    EXPECT_EQ(t.Heard().back(), " Game number  1");
}

// What is no deal number is refused in a box, and the field takes the focus again for another try.
TEST(DealNumberDialog, RefusesWhatIsNoDealNumberAndStaysOpen) {
    TestTable t;
    t.StartAndDeal();
    t.state.UnsavedChanges = 0;  // no save question
    const std::vector<std::string> refused = {"",   "  ", "abc",  "0",   "1000001",
                                              "-5", "+5", "6 17", "12a", "99999999999999999999"};
    int focusedAfterRefusals = 0;
    t.window.DealNumberScript = [&](MemoryDealNumberView& dialog) {
        for (const auto& text : refused) {
            dialog.Type(text);
            dialog.PressOk();
            EXPECT_TRUE(dialog.IsOpen()) << '"' << text << '"';
        }
        focusedAfterRefusals = dialog.NumberFocused;
        dialog.Type(" 617 ");
        dialog.PressOk();
        EXPECT_FALSE(dialog.IsOpen());
    };
    t.Heard();
    t.Shortcut("Ctrl+G");
    ASSERT_EQ(t.messages.Asked.size(), refused.size());
    for (const auto& box : t.messages.Asked) {
        EXPECT_EQ(box.Text, "Please type a game number from 1 to 1000000. ");
        EXPECT_EQ(box.Title, "Deal Game Number");
        EXPECT_EQ(box.Buttons, MsgButtons::OK);
    }
    EXPECT_EQ(focusedAfterRefusals, 1 + static_cast<int>(refused.size()));
    EXPECT_EQ(t.window.column.TextMatrix(1, 0), "7D");
    // The old table's column grid took the focus back without a word before the deal.
    const auto heard = t.Heard();
    ASSERT_GE(heard.size(), 7u);
    EXPECT_THAT(std::vector<std::string>(heard.end() - 7, heard.end()),
                ElementsAre(" OK. ", "<stop>", "Shuffeling cards, please wait!", "<stop>", " Columns ",
                            " septs  de  Carreaux ", " Game number  617"));
}

}  // namespace
}  // namespace quorrel::test
