// Game files: the 599-byte record, Open, Save and Save As, refused files and interrupted saves.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "files/GameRecord.h"
#include "files/Paths.h"
#include "support/TestTable.h"

namespace quorrel::test {
namespace {

using ::testing::ElementsAre;

const std::string kGame = "/opt/quorrel/Games/Game1.qrl";

struct Files : ::testing::Test {
    void SetUp() override {
        t.StartAndDeal();
        t.LayOut({{"KS", "7H", "10D"}, {"AS"}, {}, {}, {}, {}, {}, {"QC"}}, {"", "2C"}, {"3H"});
    }
    // Saves under the given path through Save As.
    void SaveAs(const std::string& path) {
        t.fileDialog.Answers = {path};
        t.window.menus.Click(mnuGameSaveAs);
    }
    std::vector<char>& File(const std::string& path) { return t.fileSystem.Files.at(path); }
    std::string Slot(const std::vector<char>& bytes, size_t offset) {
        return std::string(bytes.begin() + static_cast<long>(offset), bytes.begin() + static_cast<long>(offset) + 3);
    }
    TestTable t;
};

// A record whose table is whole: every card once, the given ones where the test puts them.
GameRecord WholeRecord() {
    GameRecord record;
    const char* suits = "SDCH";
    int n = 0;
    for (int s = 0; s < 4; ++s)
        for (int v = 1; v <= 13; ++v, ++n) {
            const std::string rank = v == 1 ? "A" : v == 11 ? "J" : v == 12 ? "Q" : v == 13 ? "K" : std::to_string(v);
            GameRecord::Store(record.ColumnCards[static_cast<size_t>(n / 8 + 1)][static_cast<size_t>(n % 8)],
                              rank + suits[s]);
        }
    for (size_t row = 8; row <= 19; ++row)
        for (size_t col = 0; col < 8; ++col) GameRecord::Store(record.ColumnCards[row][col], "");
    for (size_t col = 4; col < 8; ++col) GameRecord::Store(record.ColumnCards[7][col], "");
    for (size_t k = 0; k < 4; ++k) {
        GameRecord::Store(record.FreeCellCards[k], "");
        GameRecord::Store(record.HomeCellCards[k], "");
    }
    return record;
}

TEST_F(Files, TheRecordHasItsBytesWhereTheyBelong) {
    t.state.HomeCount = 0x0103;  // shows the byte order
    SaveAs(kGame);
    const auto& bytes = File(kGame);
    ASSERT_EQ(bytes.size(), 599u);
    EXPECT_EQ(Slot(bytes, 3), "KS ");                  // row 1, column 0
    EXPECT_EQ(Slot(bytes, 6), "7H ");                  // row 2, column 0
    EXPECT_EQ(Slot(bytes, 9), "10D");                  // row 3, column 0
    EXPECT_EQ(Slot(bytes, 3 * (1 + 21)), "AS ");       // row 1, column 1
    EXPECT_EQ(Slot(bytes, 3 * (1 + 21 * 7)), "QC ");   // row 1, column 7
    EXPECT_EQ(Slot(bytes, 3 * (19 + 21 * 7)), "   ");  // row 19, column 7
    EXPECT_EQ(Slot(bytes, 567), "   ");
    EXPECT_EQ(Slot(bytes, 570), "2C ");
    EXPECT_EQ(Slot(bytes, 582), "3H ");
    EXPECT_EQ(Slot(bytes, 585), "   ");
    EXPECT_EQ(bytes[597], 0x03);
    EXPECT_EQ(bytes[598], 0x01);
    // Never stored to: row 0, row 20, column 8 and slot 4 of both cell arrays.
    const std::string zeros(3, '\0');
    for (size_t col = 0; col < 9; ++col) {
        EXPECT_EQ(Slot(bytes, 3 * (0 + 21 * col)), zeros);
        EXPECT_EQ(Slot(bytes, 3 * (20 + 21 * col)), zeros);
    }
    for (size_t row = 0; row < 21; ++row) EXPECT_EQ(Slot(bytes, 3 * (row + 21 * 8)), zeros);
    EXPECT_EQ(Slot(bytes, 567 + 12), zeros);
    EXPECT_EQ(Slot(bytes, 582 + 12), zeros);
}

TEST_F(Files, SaveAsNamesTheGameAndSaveWritesTheSameBytesAgain) {
    t.fileDialog.Answers = {kGame};
    t.Heard();
    t.window.menus.Click(mnuGameSave);  // an untitled game: Save is Save As
    EXPECT_THAT(t.fileDialog.Shown, ElementsAre("save Untitled.qrl"));
    EXPECT_EQ(t.window.Caption(), "Game1.qrl - Quorrel");
    EXPECT_EQ(t.state.GameFileName, kGame);
    EXPECT_EQ(t.state.UnsavedChanges, 0);
    // Save As says nothing; the column grid announces itself as the dialog gives the focus back.
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Columns ", ::testing::_));
    const auto first = File(kGame);

    t.state.UnsavedChanges = -1;
    t.window.menus.Click(mnuGameSave);
    EXPECT_EQ(t.fileDialog.Shown.size(), 1u);  // no dialog this time
    EXPECT_THAT(t.Heard(), ElementsAre("Game1.qrl was saved! "));
    EXPECT_EQ(File(kGame), first);
    EXPECT_EQ(t.state.UnsavedChanges, 0);

    t.fileDialog.Answers = {"/tmp/Other.qrl"};
    t.window.menus.Click(mnuGameSaveAs);
    EXPECT_EQ(t.fileDialog.Shown.back(), "save Game1.qrl");  // preset to the bare file name
}

TEST_F(Files, ANameWithoutTheLowerCaseExtensionIsRefusedAndAskedAgain) {
    t.fileDialog.Answers = {"/opt/quorrel/Games/Game1.QRL", "/opt/quorrel/Games/Game1.qrl"};
    t.window.menus.Click(mnuGameSaveAs);
    ASSERT_EQ(t.messages.Asked.size(), 1u);
    EXPECT_EQ(t.messages.Asked[0].Text, "A game file must have the .qrl extension.  \r\nFor example, Game1.qrl");
    EXPECT_EQ(t.messages.Asked[0].Icon, MsgIcon::Information);
    EXPECT_EQ(t.messages.Asked[0].Title, "Quorrel");
    EXPECT_THAT(t.fileDialog.Shown, ElementsAre("save Untitled.qrl", "save /opt/quorrel/Games/Game1.QRL"));
    EXPECT_EQ(t.fileSystem.Files.count("/opt/quorrel/Games/Game1.QRL"), 0u);
    EXPECT_EQ(t.fileSystem.Files.count(kGame), 1u);
}

TEST_F(Files, CancelIsSilentAndChangesNothing) {
    t.window.menus.Click(mnuGameSaveAs);
    t.window.menus.Click(mnuGameOpen);
    EXPECT_TRUE(t.messages.Asked.size() == 1u);  // only the question before opening
    EXPECT_EQ(t.state.GameFileName, "Untitled.qrl");
    EXPECT_EQ(t.state.UnsavedChanges, -1);
    EXPECT_EQ(t.state.OpenedFromFile, 0);  // a cancelled Open leaves it as it was
    EXPECT_TRUE(t.fileSystem.Files.empty());
}

TEST_F(Files, AnOpenedGameComesBackAsItWasSavedAndAgainOnPlayAgain) {
    t.window.menus.Click(mnuGameNew);  // a whole dealt table
    std::vector<std::string> saved;
    for (int r = 1; r < 20; ++r)
        for (int c = 0; c < 8; ++c) saved.push_back(t.window.column.TextMatrix(r, c));
    SaveAs(kGame);
    t.window.menus.Click(mnuGameNew);
    t.fileDialog.Answers = {kGame};
    t.Heard();
    t.window.menus.Click(mnuGameOpen);
    auto table = [&] {
        std::vector<std::string> cells;
        for (int r = 1; r < 20; ++r)
            for (int c = 0; c < 8; ++c) cells.push_back(t.window.column.TextMatrix(r, c));
        return cells;
    };
    EXPECT_EQ(t.state.OpenedFromFile, 1);
    EXPECT_EQ(t.state.GameFileName, kGame);
    EXPECT_EQ(t.window.Caption(), "Game1.qrl - Quorrel");
    EXPECT_EQ(table(), saved);
    EXPECT_EQ(t.state.UnsavedChanges, -1);
    // The question before opening is said; the table says nothing between the question and the open
    // dialog, nor after the dialog: the opened table follows at once, without shuffling.
    const std::string card = GetCardValueString(saved[0]) + " de " + GetSuite(saved[0]);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop earlier>", t.messages.Asked.back().Text, " Yes or No. ", "<stop>",
                                       " Columns ", card));

    // Play again lays out the same file; only New Game goes back to dealing.
    t.screen.BeginGame();
    EXPECT_EQ(table(), saved);
    t.window.menus.Click(mnuGameNew);
    EXPECT_NE(table(), saved);
}

TEST_F(Files, AnOpenedRecordRestoresTheHomeCount) {
    GameRecord record = WholeRecord();
    // Ace, two and three of spades go home.
    GameRecord::Store(record.HomeCellCards[2], "3S");
    for (size_t col = 0; col < 3; ++col) GameRecord::Store(record.ColumnCards[1][col], "");
    record.HomeCount = 3;
    // Close the gaps the three cards left in row 1 by shifting those columns up.
    for (size_t col = 0; col < 3; ++col)
        for (size_t row = 1; row < 19; ++row) record.ColumnCards[row][col] = record.ColumnCards[row + 1][col];
    t.fileSystem.Files[kGame] = record.Bytes();
    t.state.UnsavedChanges = 0;
    t.fileDialog.Answers = {kGame};
    t.window.menus.Click(mnuGameOpen);
    ASSERT_TRUE(t.messages.Asked.empty()) << t.messages.Asked[0].Text;
    EXPECT_EQ(t.state.HomeCount, 3);
    EXPECT_EQ(t.window.homeCell.TextMatrix(0, 2), "3S");
    EXPECT_EQ(t.window.column.TextMatrix(1, 0), "9S");
}

TEST_F(Files, SavingOverALongerFileKeepsItsTail) {
    std::vector<char> longer(700, 'x');
    t.fileSystem.Files[kGame] = longer;
    SaveAs(kGame);
    const auto& bytes = File(kGame);
    ASSERT_EQ(bytes.size(), 700u);
    EXPECT_EQ(Slot(bytes, 3), "KS ");
    EXPECT_EQ(std::string(bytes.begin() + 599, bytes.end()), std::string(101, 'x'));
}

TEST_F(Files, AnInterruptedSaveLeavesThePreviousFileWhole) {
    SaveAs(kGame);
    const auto before = File(kGame);
    t.LayOut({{"KC"}});
    for (const char* step : {"read", "create", "write", "flush", "close", "rename"}) {
        t.fileSystem.FailAt = step;
        t.messages.Asked.clear();
        t.state.UnsavedChanges = -1;
        t.window.menus.Click(mnuGameSave);
        ASSERT_EQ(t.messages.Asked.size(), 1u) << step;
        EXPECT_EQ(t.messages.Asked[0].Text, "Device I/O error in SaveGame()") << step;
        EXPECT_EQ(t.messages.Asked[0].Title, "Quorrel");
        EXPECT_EQ(File(kGame), before) << step;
        EXPECT_EQ(t.fileSystem.Files.size(), 1u) << step;  // no new file left behind
        EXPECT_EQ(t.state.UnsavedChanges, -1) << step;
    }
    t.window.menus.Click(mnuGameSave);
    EXPECT_NE(File(kGame), before);
}

TEST_F(Files, AFailedSaveAsKeepsTheOldNameAndCaption) {
    t.fileSystem.FailAt = "rename";
    SaveAs(kGame);
    EXPECT_EQ(t.messages.Asked.back().Text, "Device I/O error in SaveGameAs()");
    EXPECT_EQ(t.state.GameFileName, "Untitled.qrl");
    EXPECT_EQ(t.window.Caption(), "Untitled.qrl - Quorrel");
    EXPECT_EQ(t.state.UnsavedChanges, -1);
}

TEST_F(Files, AFailedSaveStopsTheCommandThatAskedForIt) {
    t.fileSystem.FailAt = "write";
    t.fileDialog.Answers = {kGame};
    t.messages.Answers = {MsgResult::Yes};
    t.window.menus.Click(mnuGameNew);
    EXPECT_EQ(t.window.column.TextMatrix(1, 0), "KS");  // the game is still on the table
    EXPECT_EQ(t.state.UnsavedChanges, -1);

    t.fileSystem.FailAt = "write";
    t.fileDialog.Answers = {kGame};
    t.messages.Answers = {MsgResult::Yes};
    t.window.menus.Click(mnuGameExit);
    EXPECT_FALSE(t.window.Closed);
    EXPECT_FALSE(t.screen.Unloaded);

    t.fileDialog.Answers = {kGame};
    t.messages.Answers = {MsgResult::Yes};
    t.window.menus.Click(mnuGameExit);
    EXPECT_TRUE(t.window.Closed);
    EXPECT_EQ(t.fileSystem.Files.count(kGame), 1u);
}

TEST_F(Files, OpenAsksFirstAndACancelledSaveGoesOnToTheOpenDialog) {
    t.messages.Answers = {MsgResult::Yes};
    t.fileDialog.Answers = {"", ""};
    t.window.menus.Click(mnuGameOpen);
    ASSERT_GE(t.messages.Asked.size(), 1u);
    EXPECT_EQ(t.messages.Asked[0].Text,
              "There is a game in progress. \r\nDo you want to save this game before you open a new game? \r\n");
    EXPECT_EQ(t.messages.Asked[0].Icon, MsgIcon::Question);
    EXPECT_THAT(t.fileDialog.Shown, ElementsAre("save Untitled.qrl", "open Untitled.qrl"));
}

struct RefusedFile {
    const char* what;
    std::function<void(std::vector<char>&)> spoil;
    const char* reason;
};

TEST_F(Files, AFileThatIsNoGameIsRefusedAndNothingChanges) {
    const std::vector<RefusedFile> cases = {
        {"short", [](std::vector<char>& b) { b.resize(598); }, "it is shorter than 599 bytes"},
        {"no card", [](std::vector<char>& b) { b[3] = 'Z'; }, "a cell holds \"ZS\", which is no card"},
        {"never stored", [](std::vector<char>& b) { b[3 * (19 + 21 * 7)] = 0; }, "which is no card"},
        // Bytes a message cannot show or a screen reader say are shown escaped.
        {"zeros", [](std::vector<char>& b) { b[3] = b[4] = b[5] = 0; },
         "a cell holds \"\\x00\\x00\\x00\", which is no card"},
        {"controls",
         [](std::vector<char>& b) {
             b[3] = '\t';
             b[4] = static_cast<char>(0xFF);
             b[5] = '\\';
         },
         "a cell holds \"\\t\\xFF\\\\\", which is no card"},
        {"twice",
         [](std::vector<char>& b) {
             b[6] = 'A';
             b[7] = 'S';
             b[8] = ' ';
         },
         "appears twice"},
        {"gap", [](std::vector<char>& b) { b[6] = b[7] = b[8] = ' '; }, "column 1 has a gap"},
        {"count", [](std::vector<char>& b) { b[597] = 60; }, "out of range"},
        {"negative", [](std::vector<char>& b) { b[598] = static_cast<char>(0xFF); }, "out of range"},
        {"home", [](std::vector<char>& b) { b[597] = 5; }, "does not match the home cells"},
        {"missing", [](std::vector<char>& b) { b[3] = b[4] = b[5] = ' '; }, "column 1 has a gap"},
        {"fewer",
         [](std::vector<char>& b) { b[3 * (7 + 21 * 3)] = b[3 * (7 + 21 * 3) + 1] = b[3 * (7 + 21 * 3) + 2] = ' '; },
         "holds 51 cards instead of 52"},
    };
    t.state.SavedGame = WholeRecord();
    const std::vector<char> good = t.state.SavedGame.Bytes();
    GameRecord check;
    ASSERT_EQ(GameRecord::Read(good, check), "");
    for (const auto& c : cases) {
        std::vector<char> bytes = good;
        c.spoil(bytes);
        t.fileSystem.Files["/tmp/Bad.qrl"] = bytes;
        const GameRecord before = t.state.SavedGame;
        t.messages.Asked.clear();
        t.state.UnsavedChanges = 0;
        t.fileDialog.Answers = {"/tmp/Bad.qrl"};
        t.window.menus.Click(mnuGameOpen);
        ASSERT_EQ(t.messages.Asked.size(), 1u) << c.what;
        EXPECT_THAT(t.messages.Asked[0].Text, ::testing::StartsWith("Bad.qrl is not a Quorrel game: ")) << c.what;
        EXPECT_THAT(t.messages.Asked[0].Text, ::testing::HasSubstr(c.reason)) << c.what;
        EXPECT_THAT(t.messages.Asked[0].Text, ::testing::EndsWith(". in OpenGame()")) << c.what;
        EXPECT_EQ(t.messages.Asked[0].Title, "Quorrel");
        EXPECT_EQ(t.state.SavedGame.Bytes(), before.Bytes()) << c.what;
        EXPECT_EQ(t.state.GameFileName, "Untitled.qrl");
        EXPECT_EQ(t.state.OpenedFromFile, 0);
        EXPECT_EQ(t.window.Caption(), "Untitled.qrl - Quorrel");
        EXPECT_EQ(t.window.column.TextMatrix(1, 0), "KS");
    }
}

TEST(GameRecordBytes, EveryFileTheProgramWritesReadsBack) {
    TestTable t;
    t.StartAndDeal();
    t.fileDialog.Answers = {kGame};
    t.window.menus.Click(mnuGameSaveAs);
    GameRecord record;
    EXPECT_EQ(GameRecord::Read(t.fileSystem.Files.at(kGame), record), "");
    EXPECT_EQ(record.Bytes(), t.fileSystem.Files.at(kGame));
}

TEST(GameRecordBytes, SlotsArePaddedCutAndTrimmed) {
    GameRecord::Slot slot{};
    GameRecord::Store(slot, "AS");
    EXPECT_EQ(std::string(slot.begin(), slot.end()), "AS ");
    GameRecord::Store(slot, "10H");
    EXPECT_EQ(GameRecord::Trimmed(slot), "10H");
    GameRecord::Store(slot, "ABCD");
    EXPECT_EQ(std::string(slot.begin(), slot.end()), "ABC");
    GameRecord::Store(slot, "");
    EXPECT_EQ(GameRecord::Trimmed(slot), "");
    GameRecord::Store(slot, " 7");
    EXPECT_EQ(GameRecord::Trimmed(slot), "7");
}

TEST(ParseFilename, SplitsAtTheLastSeparatorOfEitherKind) {
    EXPECT_EQ(ParseFilename("C:\\Games\\Game1.qrl"), "Game1.qrl");
    EXPECT_EQ(ParseFilename("/home/player/Games/Game1.qrl"), "Game1.qrl");
    EXPECT_EQ(ParseFilename("Untitled.qrl"), "Untitled.qrl");
    EXPECT_EQ(ParseFilename("C:\\Games\\  Game1.qrl  "), "Game1.qrl");
    EXPECT_EQ(ParseFilename("/home/player/"), "");
    EXPECT_EQ(ParseFilename("a\\b/c.qrl"), "c.qrl");
}

}  // namespace
}  // namespace quorrel::test
