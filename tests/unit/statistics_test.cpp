// The statistics: how each way a game ends is counted, saved games that come back, and the file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "files/Statistics.h"
#include "support/TestTable.h"

namespace quorrel::test {
namespace {

const std::string kStats = "/home/player/.local/share/Quorrel/Statistics.txt";
const std::string kGame = "/opt/quorrel/Games/Game1.qrl";

// Played, won, the current streak and the longest.
using Counts = std::array<int, 4>;

struct Stats : ::testing::Test {
    void SetUp() override { t.StartAndDeal(); }
    // A legal move: the bottom card of column 1 to the first empty free cell.
    void Move() {
        int row = 1;
        while (!t.window.column.TextMatrix(row + 1, 0).empty()) ++row;
        int cell = 0;
        while (!t.window.freeCell.TextMatrix(0, cell).empty()) ++cell;
        t.window.column.SetCol(0);
        t.window.column.SetRow(row);
        t.window.column.SetFocus();
        t.Press(keys::Return);
        t.Press(keys::Tab);
        t.window.freeCell.SetCol(cell);
        t.Press(keys::Return);
        ASSERT_TRUE(t.window.column.TextMatrix(row, 0).empty());
        t.window.column.SetFocus();
    }
    // Lays out a table one card short of the end and plays that card home; Yes deals again.
    void Win() {
        t.LayOut({{"KH"}}, {}, {"KS", "KD", "KC", "QH"});
        t.state.HomeCount = 51;
        t.window.column.SetFocus();
        t.Press(keys::Return);
        t.window.homeCell.SetFocus();
        t.window.homeCell.SetCol(3);
        t.messages.Answers = {MsgResult::Yes};
        t.Press(keys::Return);
    }
    void New() {
        t.messages.Answers = {MsgResult::No};  // do not save
        t.window.menus.Click(mnuGameNew);
    }
    void SaveAs(const std::string& path) {
        t.fileDialog.Answers = {path};
        t.window.menus.Click(mnuGameSaveAs);
    }
    void Open(const std::string& path) {
        t.messages.Answers = {MsgResult::No};
        t.fileDialog.Answers = {path};
        t.window.menus.Click(mnuGameOpen);
    }
    Counts Now() {
        const auto& r = t.screen.Scores.Stats.Record;
        // The file always holds what the program counts.
        const auto& file = t.fileSystem.Files[kStats];
        EXPECT_EQ(StatisticsRecord::Parse(std::string(file.begin(), file.end())), r);
        return {r.Played, r.Won, r.Streak, r.Longest};
    }
    TestTable t;
};

TEST_F(Stats, AGameCountsAtItsFirstMoveAndIsLostWhenGivenUp) {
    New();  // no move made: nothing counted
    EXPECT_EQ(t.screen.Scores.Stats.Record.Played, 0);
    Move();
    Move();
    Win();
    EXPECT_EQ(Now(), (Counts{1, 1, 1, 1}));
    Move();
    t.Shortcut("Ctrl+Z");  // undo changes nothing
    Win();
    EXPECT_EQ(Now(), (Counts{2, 2, 2, 2}));
    Move();
    New();
    EXPECT_EQ(Now(), (Counts{3, 2, 0, 2}));
    Move();
    t.window.menus.Click(mnuPlayRestart);  // a restart gives up too, and deals a game of its own
    EXPECT_EQ(Now(), (Counts{4, 2, 0, 2}));
    Move();
    Win();
    EXPECT_EQ(Now(), (Counts{5, 3, 1, 2}));
    Move();
    t.messages.Answers = {MsgResult::No};
    t.window.menus.Click(mnuGameExit);
    EXPECT_EQ(Now(), (Counts{6, 3, 0, 2}));
}

TEST_F(Stats, ASavedGameWaitsInItsFileAndGoesOnWhenOpened) {
    Move();
    Win();
    Move();
    SaveAs(kGame);
    New();  // left as saved: not lost
    EXPECT_EQ(Now(), (Counts{2, 1, 1, 1}));
    Open(kGame);
    Move();  // the same game: not counted again
    EXPECT_EQ(Now(), (Counts{2, 1, 1, 1}));
    Win();
    EXPECT_EQ(Now(), (Counts{2, 2, 2, 2}));
    // The game was won: its file begins a new one.
    Open(kGame);
    Move();
    Win();
    EXPECT_EQ(Now(), (Counts{3, 3, 3, 3}));

    // Left with moves made since the save, the game is lost, and its file begins a new game.
    Move();
    SaveAs(kGame);
    Move();
    New();
    EXPECT_EQ(Now(), (Counts{4, 3, 0, 3}));
    Open(kGame);
    Move();
    EXPECT_EQ(Now(), (Counts{5, 3, 0, 3}));
}

TEST_F(Stats, NumberedDealsWonAndTheBoxThatResetsOnlyOnYes) {
    t.screen.Deals.DealGameNumber(617);
    Move();
    SaveAs(kGame);
    Open(kGame);  // a numbered deal keeps its number through its file
    Win();
    t.screen.Deals.DealGameNumber(1);
    Move();
    New();
    t.messages.Answers = {};
    t.window.menus.Click(mnuPlayStatistics);
    ASSERT_FALSE(t.messages.Asked.empty());
    EXPECT_EQ(t.messages.Asked.back().Text,
              "Games played: 2. Games won: 1, 50 percent. Current streak of wins: 0. Longest streak of wins: 1. "
              "Numbered deals won: 1, deal number 617. \r\nDo you want to reset the statistics?\r\n");
    EXPECT_EQ(t.messages.Asked.back().Buttons, MsgButtons::YesNoDefaultNo);
    EXPECT_EQ(Now(), (Counts{2, 1, 0, 1}));
    t.messages.Answers = {MsgResult::Yes};
    t.Heard();
    t.window.menus.Click(mnuPlayStatistics);
    EXPECT_EQ(Now(), (Counts{0, 0, 0, 0}));
    const auto heard = t.Heard();  // after the grid's announcement as the box closes
    ASSERT_GE(heard.size(), 2u);
    EXPECT_EQ(heard[heard.size() - 2], "<stop>");
    EXPECT_EQ(heard.back(), " The statistics were reset. ");
}

// The count of numbered deals won comes first, and the numbers after it are named as numbers, so that
// neither is taken for the other.
TEST(StatisticsText, CountsTheNumberedDealsWonThenNamesTheirNumbers) {
    TestTable t;
    auto deals = [&](std::vector<std::int32_t> won) {
        t.screen.Scores.Stats.Record.DealsWon = std::move(won);
        const std::string text = t.screen.Scores.StatisticsText();
        return text.substr(text.find("Numbered deals won:"));
    };
    EXPECT_EQ(deals({}), "Numbered deals won: none. ");
    EXPECT_EQ(deals({2}), "Numbered deals won: 1, deal number 2. ");
    EXPECT_EQ(deals({617, 2}), "Numbered deals won: 2, deal numbers 617, 2. ");
    EXPECT_EQ(deals({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
              "Numbered deals won: 12, the latest 10: deal numbers 3, 4, 5, 6, 7, 8, 9, 10, 11, 12. ");
}

// A file that cannot be written: the box names the folder and what the player can do, once a run.
TEST(StatisticsFile, AWriteFailureNamesTheFolderAndWhatToDo) {
    TestTable t;
    t.StartAndDeal();
    t.fileSystem.FailAt = "create";
    t.fileSystem.FailWith = RunTimeError(errors::PathNotFound, "Path not found (Statistics.txt)");
    t.window.column.SetRow(7);
    t.Press(keys::Return);  // the first move counts the game
    t.Press(keys::Tab);
    t.Press(keys::Return);
    ASSERT_EQ(t.messages.Asked.size(), 1u);
    EXPECT_EQ(t.messages.Asked[0].Text,
              "The statistics could not be saved in the folder /home/player/.local/share/Quorrel. Check that this "
              "folder exists and that you may write to it. The game goes on, and Quorrel tries again the next time "
              "the statistics change. The system said: Path not found (Statistics.txt). ");
}

TEST(StatisticsFile, ADamagedFileIsRenamedAsideAndTheGameGoesOnFromZero) {
    TestTable t;
    t.fileSystem.Files[kStats] = {'P', 'l', 'a', 'y', 'e', 'd', '\n'};
    t.fileSystem.Files["/home/player/.local/share/Quorrel/Statistics.damaged.txt"] = {'x'};
    t.Start();
    ASSERT_EQ(t.messages.Asked.size(), 1u);
    EXPECT_EQ(t.messages.Asked[0].Text,
              "The statistics file was damaged. It was renamed to "
              "Statistics.damaged.2.txt. The statistics start again from zero.");
    EXPECT_EQ(t.fileSystem.Files.count(kStats), 0u);
    EXPECT_EQ(t.fileSystem.Files.at("/home/player/.local/share/Quorrel/Statistics.damaged.2.txt").size(), 7u);
    EXPECT_EQ(t.screen.Scores.Stats.Record, StatisticsRecord{});
}

TEST(StatisticsFile, AGameInPlayWhenTheProgramEndedWithoutClosingIsLost) {
    StatisticsRecord record;
    record.Played = record.Won = record.Streak = record.Longest = 3;
    record.InPlay = 4;
    record.NextGame = 5;
    record.Played = 4;
    const std::string text = record.Text();
    TestTable t;
    t.fileSystem.Files[kStats] = {text.begin(), text.end()};
    t.Start();
    EXPECT_EQ(t.screen.Scores.Stats.Record.Streak, 0);
    EXPECT_EQ(t.screen.Scores.Stats.Record.InPlay, 0u);
    EXPECT_TRUE(t.messages.Asked.empty());
}

// A record at the file's limits: what the program writes after it must still be read as the same record.
TEST(StatisticsFile, AtTheLimitsTheCountsStopAndTheGameNumbersStartAgain) {
    constexpr int kMost = 2000000000;
    Statistics stats;
    auto& r = stats.Record;
    r.Played = r.Won = r.Streak = r.Longest = kMost;
    r.NextGame = UINT32_MAX;
    r.Saved = {{UINT32_MAX - 1, 0, "0123456789abcdef", "/opt/quorrel/Games/Game1.qrl"}};
    ASSERT_EQ(StatisticsRecord::Parse(r.Text()), r);
    stats.Began(1);
    stats.GameWon();
    EXPECT_EQ(StatisticsRecord::Parse(r.Text()), r);
    EXPECT_EQ((Counts{r.Played, r.Won, r.Streak, r.Longest}), (Counts{kMost, kMost, kMost, kMost}));
    EXPECT_EQ(r.NextGame, 2u);
    EXPECT_TRUE(r.Saved.empty());  // its number is a new game's now
}

}  // namespace
}  // namespace quorrel::test
