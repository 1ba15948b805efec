// Beginning a game: the shuffle, the deal's layout, the order of the state changes, a table laid out
// from the saved record, and the wait that keeps the window responsive.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include "cards/CardMod.h"
#include "support/TestTable.h"

namespace quorrel::test {
namespace {

using ::testing::ElementsAre;

TEST(Deal, DeckIsAPermutationLaidOutRowByRow) {
    TestTable t;
    t.StartAndDeal();
    std::vector<int> deck(t.state.Deck.begin(), t.state.Deck.begin() + 52);
    std::sort(deck.begin(), deck.end());
    for (int i = 0; i < 52; ++i) ASSERT_EQ(deck[static_cast<size_t>(i)], i + 1);

    auto& column = t.window.column;
    ASSERT_EQ(column.Rows(), 20);
    ASSERT_EQ(column.Cols(), 8);
    EXPECT_EQ(column.FixedRows(), 1);
    std::set<std::string> cards;
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(column.TextMatrix(0, c), std::to_string(c + 1));
        EXPECT_EQ(column.ColWidth(c), 500);
        const int dealt = c < 4 ? 7 : 6;
        for (int r = 1; r < 20; ++r) {
            const std::string text = column.TextMatrix(r, c);
            if (r <= dealt) {
                EXPECT_EQ(text, DetermineCard(t.state.Deck[static_cast<size_t>((r - 1) * 8 + c)]));
                cards.insert(text);
            } else {
                EXPECT_EQ(text, "") << r << "," << c;
            }
        }
    }
    EXPECT_EQ(cards.size(), 52u);
    EXPECT_EQ(column.TextMatrix(7, 3), DetermineCard(t.state.Deck[51]));
    for (MemoryGrid* grid : {&t.window.freeCell, &t.window.homeCell}) {
        EXPECT_EQ(grid->Rows(), 1);
        EXPECT_EQ(grid->Cols(), 4);
        EXPECT_EQ(grid->FixedRows(), 0);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(grid->TextMatrix(0, k), "");
            EXPECT_EQ(grid->ColWidth(k), 300);
        }
    }
}

TEST(Deal, ShufflesDifferAndEachIsAPermutation) {
    TestTable t;
    t.Start();
    std::set<std::vector<int>> decks;
    for (int i = 0; i < 20; ++i) {
        t.screen.ShuffleDeck();
        std::vector<int> deck(t.state.Deck.begin(), t.state.Deck.begin() + 52);
        decks.insert(deck);
        std::sort(deck.begin(), deck.end());
        ASSERT_EQ(deck.front(), 1);
        ASSERT_EQ(std::adjacent_find(deck.begin(), deck.end()), deck.end());
        ASSERT_EQ(deck.back(), 52);
        EXPECT_EQ(t.state.Deck[52], 0);
    }
    EXPECT_GT(decks.size(), 15u);
}

TEST(Deal, BeginGameChangesTheStateInItsOrder) {
    TestTable t;
    t.Start();
    t.state.GameInProgress = -1;  // as after an earlier game
    t.state.CardSelected = -1;
    t.state.SelectedFrom = 0;
    t.screen.ForceColumnNumber = -1;
    t.screen.SilentColumnFocus = -1;

    bool sawWait = false;
    t.clock.At(0, [&] {
        // Inside the two-second wait: menus on, the caption and name set, nothing else reset yet.
        sawWait = true;
        EXPECT_TRUE(t.window.menus.IsEnabled(mnuGameSave));
        EXPECT_EQ(t.state.UnsavedChanges, 0);
        EXPECT_EQ(t.state.HomeCount, 0);
        EXPECT_EQ(t.window.Caption(), "Untitled.qrl - Quorrel");
        EXPECT_EQ(t.state.GameFileName, "Untitled.qrl");
        EXPECT_EQ(t.state.GameInProgress, -1);
        EXPECT_EQ(t.state.CardSelected, -1);
        EXPECT_FALSE(t.window.column.Visible());
    });
    bool sawFocus = false;
    auto announce = t.window.column.Events.GotFocus;
    t.window.column.Events.GotFocus = [&] {
        // The focus comes after the grids are filled and before the game counts as in progress.
        sawFocus = true;
        EXPECT_EQ(t.state.UnsavedChanges, -1);
        EXPECT_EQ(t.state.GameInProgress, -1);  // still the earlier game's value
        EXPECT_EQ(t.state.CardSelected, 0);
        EXPECT_EQ(t.state.SelectedFrom, 3);
        EXPECT_EQ(t.state.BottomCursor, -1);
        EXPECT_EQ(t.state.LastSpokenCol, -1);
        EXPECT_EQ(t.screen.SilentColumnFocus, 0);
        EXPECT_EQ(t.screen.ForceColumnNumber, -1);  // set again by the column grid's fill
        EXPECT_FALSE(t.screen.Board.EchoMuted());
        announce();
    };
    t.screen.BeginGame();
    EXPECT_TRUE(sawWait);
    EXPECT_TRUE(sawFocus);
    EXPECT_EQ(t.state.GameInProgress, -1);
    EXPECT_TRUE(t.window.column.Visible() && t.window.freeCell.Visible() && t.window.homeCell.Visible());
    EXPECT_EQ(t.window.column.Row(), 1);
    EXPECT_EQ(t.window.column.Col(), 0);
}

TEST(Deal, SpeaksTheShufflingTextThenWaitsTwoSecondsThenAnnouncesTheColumns) {
    TestTable t;
    t.Start();
    t.Heard();
    const auto before = t.clock.Now;
    t.window.menus.Click(mnuGameNew);
    EXPECT_GT(t.clock.Now, before + 2000);
    const auto heard = t.Heard();
    ASSERT_EQ(heard.size(), 5u);
    EXPECT_EQ(heard[0], "<stop>");
    EXPECT_EQ(heard[1], "Shuffeling cards, please wait!");
    EXPECT_EQ(heard[2], "<stop>");
    EXPECT_EQ(heard[3], " Columns ");
    EXPECT_EQ(heard[4], GetCardValueString(t.window.column.TextMatrix(1, 0)) + " de " +
                            GetSuite(t.window.column.TextMatrix(1, 0)));
}

TEST(Deal, LaysOutTheSavedRecordWithoutShufflingOrWaiting) {
    TestTable t;
    t.Start();
    auto& record = t.state.SavedGame;
    GameRecord::Store(record.ColumnCards[1][0], "10H");
    GameRecord::Store(record.ColumnCards[2][0], "AS");
    for (int r = 3; r <= 19; ++r) GameRecord::Store(record.ColumnCards[static_cast<size_t>(r)][0], "");
    GameRecord::Store(record.ColumnCards[1][1], "  ");
    GameRecord::Store(record.FreeCellCards[2], "KD");
    GameRecord::Store(record.HomeCellCards[0], "3C");
    record.HomeCount = 3;
    t.state.OpenedFromFile = 1;
    t.state.GameFileName = "/home/player/Games/Game1.qrl";
    t.Heard();
    const auto before = t.clock.Now;
    t.screen.BeginGame();

    EXPECT_EQ(t.clock.Now, before);
    EXPECT_EQ(t.window.Caption(), "Game1.qrl - Quorrel");
    EXPECT_EQ(t.state.GameFileName, "/home/player/Games/Game1.qrl");
    EXPECT_EQ(t.state.HomeCount, 3);
    EXPECT_EQ(t.window.column.TextMatrix(0, 7), "8");
    EXPECT_EQ(t.window.column.TextMatrix(1, 0), "10H");
    EXPECT_EQ(t.window.column.TextMatrix(2, 0), "AS");
    EXPECT_EQ(t.window.column.TextMatrix(3, 0), "");
    EXPECT_EQ(t.window.column.TextMatrix(1, 1), "");
    EXPECT_EQ(t.window.freeCell.TextMatrix(0, 2), "KD");
    EXPECT_EQ(t.window.homeCell.TextMatrix(0, 0), "3C");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Columns ", " dix  de  Coeurs "));
}

TEST(Deal, ANewGameClearsEverySelectionMark) {
    TestTable t;
    t.StartAndDeal();
    for (MemoryGrid* grid : {&t.window.column, &t.window.freeCell, &t.window.homeCell}) {
        grid->SetCellBackColor(grid->ForeColor());
        grid->SetCellForeColor(grid->BackColor());
    }
    t.window.menus.Click(mnuGameNew);
    for (MemoryGrid* grid : {&t.window.column, &t.window.freeCell, &t.window.homeCell})
        for (int r = grid->FixedRows(); r < grid->Rows(); ++r)
            for (int c = 0; c < grid->Cols(); ++c) {
                t.screen.Board.MoveSilently({t.screen.Board.IdOf(*grid), r, c});
                EXPECT_EQ(grid->CellBackColor(), grid->BackColor());
                EXPECT_EQ(grid->CellForeColor(), grid->ForeColor());
            }
}

TEST(Delay, WaitsPastTheTicksAndProcessesEventsInEveryPass) {
    TestTable t;
    t.Start();
    const auto start = t.clock.Now;
    t.screen.Delay(20);
    EXPECT_GT(t.clock.Now, start + 2000);
    // The wait sleeps in the pump instead of spinning: a handful of passes, the last one with no wait.
    EXPECT_LE(t.clock.ProcessCalls, 3);
    EXPECT_EQ(t.clock.Waits.back(), 0);

    t.clock.ProcessCalls = 0;
    t.screen.Delay(0);
    EXPECT_GE(t.clock.ProcessCalls, 1);
}

TEST(Delay, RunsCommandsThatArriveDuringTheWait) {
    TestTable t;
    t.Start();
    std::vector<std::string> order;
    t.clock.At(t.clock.Now + 500, [&] {
        order.push_back("F2 during the wait");
        t.screen.Speak("inside");
    });
    t.screen.Delay(7);
    order.push_back("after");
    EXPECT_THAT(order, ElementsAre("F2 during the wait", "after"));
    EXPECT_EQ(t.reader.Transcript.back(), "inside");
}

TEST(Delay, AnOverflowingWaitIsReportedWithoutWaiting) {
    TestTable t;
    t.Start();
    const auto start = t.clock.Now;
    t.screen.Delay(328);
    EXPECT_EQ(t.clock.Now, start);
    ASSERT_EQ(t.messages.Asked.size(), 1u);
    EXPECT_EQ(t.messages.Asked[0].Text, "Overflow in Delay()");
    EXPECT_EQ(t.messages.Asked[0].Icon, MsgIcon::None);
    EXPECT_EQ(t.messages.Asked[0].Title, "");
}

TEST(DealInterrupted, ASecondNewGameDuringTheWaitLeavesOneWholeDeal) {
    TestTable t;
    t.Start();
    t.clock.At(t.clock.Now + 1000, [&] { t.window.menus.Click(mnuGameNew); });
    t.Heard();
    t.window.menus.Click(mnuGameNew);
    const auto heard = t.Heard();
    // The outer deal gives way: the column grid is announced once, for the inner deal.
    EXPECT_EQ(std::count(heard.begin(), heard.end(), " Columns "), 1);
    EXPECT_EQ(std::count(heard.begin(), heard.end(), "Shuffeling cards, please wait!"), 2);
    EXPECT_EQ(t.state.GameInProgress, -1);
    EXPECT_EQ(t.state.UnsavedChanges, -1);
    std::set<std::string> cards;
    for (int r = 1; r < 20; ++r)
        for (int c = 0; c < 8; ++c)
            if (!t.window.column.TextMatrix(r, c).empty()) cards.insert(t.window.column.TextMatrix(r, c));
    EXPECT_EQ(cards.size(), 52u);
}

TEST(DealInterrupted, ClosingDuringTheWaitEndsTheDealQuietly) {
    TestTable t;
    t.StartAndDeal();
    t.Press(keys::Down);  // a changed game is on the table, but New Game's deal clears the flag first
    t.clock.At(t.clock.Now + 1000, [&] { t.window.menus.Click(mnuGameExit); });
    t.Heard();
    t.window.menus.Click(mnuGameNew);
    EXPECT_TRUE(t.window.Closed);
    EXPECT_FALSE(t.window.column.Visible());
    // The save question is said; answered No, it gives the focus back to the column grid, which announces
    // itself; then the deal begins and its wait ends with the window, saying nothing more.
    EXPECT_THAT(t.Heard(), ElementsAre("<stop earlier>", t.messages.Asked.at(0).Text, " Yes or No. ", "<stop>",
                                       " Columns ", ::testing::_, "<stop>", "Shuffeling cards, please wait!"));
    // The save question of New Game was asked, the one of closing was not (nothing changed since the deal began).
    ASSERT_EQ(t.messages.Asked.size(), 1u);
    EXPECT_NE(t.messages.Asked[0].Text.find("before you start a new game?"), std::string::npos);
}

TEST(DealInterrupted, CommandsThatReadTheTableWaitForItsLayout) {
    // The first deal (empty grids) and a later one (the old game still in the hidden grids).
    for (const bool first : {true, false}) {
        TestTable t;
        if (first) {
            t.Start();
        } else {
            t.StartAndDeal();
            t.Press(keys::Return);       // a card of the old game picked up
            t.state.UnsavedChanges = 0;  // so that New Game asks nothing
        }
        t.clock.At(t.clock.Now + 1000, [&] {
            t.Heard();
            for (const char* key : {"Ctrl+S", "Ctrl+F", "F5", "F6", "F7", "F8"}) t.Shortcut(key);
            t.window.menus.Click(mnuGameSaveAs);
            for (int key : {keys::F3, keys::F4, keys::Escape}) t.Press(key);
            EXPECT_TRUE(t.Heard().empty()) << first;
        });
        t.window.menus.Click(mnuGameNew);
        EXPECT_TRUE(t.messages.Asked.empty()) << first;
        EXPECT_TRUE(t.fileDialog.Shown.empty()) << first;
        EXPECT_EQ(t.window.DialogsShown, 0) << first;
        EXPECT_TRUE(t.fileSystem.Files.empty()) << first;
        // Once the table is laid out they work again.
        t.Shortcut("Ctrl+F");
        EXPECT_EQ(t.window.DialogsShown, 1) << first;
    }
}

TEST(Delay, NestedWaitsStopAtTheBoundAndTheDeepestCommandRunsWithoutWaiting) {
    TestTable t;
    t.StartAndDeal();
    t.LayOut({{"KS"}}, {"AS"});
    // Every pass of every wait brings one more F3, as a player pressing it over and over.
    int presses = 0, running = 0, deepest = 0;
    std::function<void()> press = [&] {
        ++presses;
        if (presses < 100) t.clock.At(t.clock.Now, press);
        deepest = std::max(deepest, ++running);
        t.Press(keys::F3);
        --running;
    };
    t.clock.At(t.clock.Now, press);
    t.Heard();
    t.screen.Delay(7);
    const auto heard = t.Heard();
    EXPECT_EQ(presses, 100);
    EXPECT_EQ(deepest, GameScreen::kMaxNestedWaits);
    // Each reading speaks its four cells: the ones at the bound at once, the others after their pauses.
    EXPECT_EQ(std::count(heard.begin(), heard.end(), " Free Cells "), presses);
    EXPECT_EQ(std::count(heard.begin(), heard.end(), " Cell  4"), presses);
}

}  // namespace
}  // namespace quorrel::test
