// Start-up, the menu tree, New Game, Exit and closing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "support/TestTable.h"

namespace quorrel::test {
namespace {

using ::testing::ElementsAre;

TEST(StartUp, ShowsTheWindowAndSpeaksTheWelcome) {
    TestTable t;
    t.Start();
    EXPECT_TRUE(t.window.Shown);
    EXPECT_THAT(t.reader.Transcript,
                ElementsAre("<stop>", "Press control n to start a new game! ", "Press F1 for help! ",
                            "Press F2 to hear a list of keyboard commands! "));
    EXPECT_FALSE(t.window.column.Visible());
    EXPECT_FALSE(t.window.freeCell.Visible());
    EXPECT_FALSE(t.window.homeCell.Visible());
    EXPECT_EQ(t.window.Caption(), "Quorrel");
    EXPECT_EQ(t.screen.App.Title, "");
    EXPECT_EQ(t.screen.App.HelpFile, "/opt/quorrel/Quorr.html");
    EXPECT_EQ(t.state.GameInProgress, 0);
    EXPECT_EQ(t.state.UnsavedChanges, 0);
}

TEST(StartUp, PreparesTheFileDialogAndTheGamesFolder) {
    TestTable t;
    t.Start();
    EXPECT_EQ(t.state.GamesFolder, "/opt/quorrel/Games");
    EXPECT_EQ(t.fileDialog.InitDir, "/opt/quorrel/Games");
    EXPECT_EQ(t.fileDialog.Flags, 4102);
    EXPECT_EQ(t.fileDialog.Filter, "FreeCell Game Files (*.qrl)|*.qrl");
    EXPECT_EQ(t.fileDialog.DefaultExt, "QRL");
}

TEST(StartUp, AReadOnlyProgramFolderKeepsGamesInTheUsersDataFolder) {
    TestTable t;
    t.fileSystem.ReadOnly = {"/opt/quorrel"};
    t.Start();
    EXPECT_EQ(t.state.GamesFolder, "/home/player/.local/share/Quorrel/Games");
    EXPECT_EQ(t.fileDialog.InitDir, t.state.GamesFolder);

    // Also when the read-only folder already holds a Games folder, which is read-only with it.
    TestTable shipped;
    shipped.fileSystem.Folders = {"/opt/quorrel/Games"};
    shipped.fileSystem.ReadOnly = {"/opt/quorrel"};
    shipped.Start();
    EXPECT_EQ(shipped.state.GamesFolder, "/home/player/.local/share/Quorrel/Games");
    EXPECT_EQ(shipped.fileDialog.InitDir, shipped.state.GamesFolder);
}

TEST(StartUp, SpeakColumnNumbersIsOnUnlessTheStoreSaysExactlyChecked) {
    const std::pair<const char*, bool> cases[] = {{nullptr, true},    {"Checked", true},  {"Unchecked", false},
                                                  {"checked", false}, {"CHECKED", false}, {"", false}};
    for (const auto& [stored, on] : cases) {
        TestTable t;
        if (stored) t.settings.Values["Quorrel/StartUp/Columns"] = stored;
        t.Start();
        EXPECT_EQ(t.window.menus.IsChecked(mnuOptionsSpeakColumns), on) << (stored ? stored : "(none)");
    }
}

TEST(Menus, TheTreeHasEveryCaptionShortcutAndCheckItem) {
    TestTable t;
    const auto& tree = t.window.menus.Tree;
    ASSERT_EQ(tree.size(), 4u);
    EXPECT_EQ(tree[0].Caption, "&Game");
    EXPECT_EQ(tree[1].Caption, "&Options");
    EXPECT_EQ(tree[2].Caption, "&Play");
    EXPECT_EQ(tree[3].Caption, "&Help");
    std::vector<std::string> items;
    std::function<void(const std::vector<MenuItemEntry>&, const std::string&)> list =
        [&](const std::vector<MenuItemEntry>& entries, const std::string& within) {
            for (const auto& item : entries) {
                if (!item.Submenu.empty()) {
                    list(item.Submenu, within + item.Caption + " > ");
                    continue;
                }
                std::string shortcuts = item.Shortcut;
                for (const auto& other : item.OtherShortcuts) shortcuts += ", " + other;
                items.push_back(within + item.Caption + "|" + shortcuts + (item.Checkable ? "|check" : ""));
            }
        };
    for (const auto& menu : tree) list(menu.Items, "");
    std::vector<std::string> keys;
    for (int n = 1; n <= 8; ++n) {
        const std::string d = std::to_string(n);
        keys.push_back("Co&lumn Keys > Column &" + d + "|" + d + ", Num+" + d);
    }
    for (int n = 1; n <= 8; ++n) {
        const std::string d = std::to_string(n);
        keys.push_back("Move Ru&n To Column > Column &" + d + "|Shift+" + d);
    }
    for (int n = 1; n <= 4; ++n) {
        const std::string d = std::to_string(n);
        keys.push_back("Fr&ee Cell Keys > Free Cell &" + d + "|Alt+" + d);
    }
    // The Speech submenu ends the Options menu.
    const std::vector<std::string> speech = {"Sp&eech > &Faster|Ctrl+=, Ctrl++",
                                             "Sp&eech > &Slower|Ctrl+-",
                                             "Sp&eech > &Louder|",
                                             "Sp&eech > S&ofter|",
                                             "Sp&eech > &Higher Pitch|",
                                             "Sp&eech > Lo&wer Pitch|",
                                             "Sp&eech > &Voice... |",
                                             "Sp&eech > &Default Speech|"};
    ASSERT_EQ(items.size(), 51u + speech.size());
    EXPECT_EQ(std::vector<std::string>(items.begin() + 16, items.begin() + 24), speech);
    items.erase(items.begin() + 16, items.begin() + 24);
    // The direct moves' submenus end the Play menu; the Help menu's two items follow them.
    ASSERT_EQ(items.size(), 51u);
    EXPECT_EQ(std::vector<std::string>(items.begin() + 29, items.begin() + 49), keys);
    items.erase(items.begin() + 29, items.begin() + 49);
    EXPECT_THAT(
        items,
        ElementsAre("&New Game |Ctrl+N", "&Open Game... |Ctrl+O", "&Save Game |Ctrl+S", "S&ave Game As... |",
                    "E&xit Program|", "&Find A Card... |Ctrl+F", "&Previous Card In Suite |F7",
                    "&Next Card In Suite |F8", "Previous Card In &Bottom Row |F5", "Next &Card In Bottom Row |F6",
                    "&Speak Column Numbers ||check", "Move Safe Cards &Home||check", "B&rief Speech||check",
                    "S&ounds||check", "Lo&uder Sounds|", "Sof&ter Sounds|", "&Undo Move|Ctrl+Z",
                    "&Redo Move|Ctrl+Y, Ctrl+Shift+Z", "Re&start This Deal|Ctrl+R", "&Deal Game Number... |Ctrl+G",
                    "&Hint|Ctrl+H", "Can This Game Be &Won?|Ctrl+Shift+H", "Read This &Column|F9",
                    "Read The &Table|Shift+F9", "Read The &Bottom Row|F11", "St&atistics|Ctrl+T", "&Quick Move|Space",
                    "Move To A &Free Cell|F", "Move To The H&ome Cells|H", "&Help Topics F1|", "&About Quorrel|"));
}

TEST(Menus, GameCommandsAreOffUntilAGameBeginsAndStayOnAfterwards) {
    TestTable t;
    t.Start();
    const MenuId off[] = {mnuGameSave,         mnuGameSaveAs,
                          mnuOptionsFind,      mnuOptionsPreviousCard,
                          mnuOptionsNextCard,  mnuOptionsPreviousBottom,
                          mnuOptionsNextBottom};
    const MenuId alwaysOn[] = {mnuGameNew,      mnuGameOpen,  mnuGameExit,       mnuOptionsSpeakColumns,
                               mnuHelpContents, mnuHelpAbout, mnuPlayDealNumber, mnuPlayStatistics};
    for (MenuId id : off) EXPECT_FALSE(t.window.menus.IsEnabled(id)) << id;
    for (MenuId id : alwaysOn) EXPECT_TRUE(t.window.menus.IsEnabled(id)) << id;
    // Both procedures set the ten game commands in the same order; the Play items follow on their own.
    const std::vector<int> order = {mnuGameNew,
                                    mnuGameOpen,
                                    mnuGameSave,
                                    mnuGameSaveAs,
                                    mnuGameExit,
                                    mnuOptionsFind,
                                    mnuOptionsPreviousCard,
                                    mnuOptionsNextCard,
                                    mnuOptionsPreviousBottom,
                                    mnuOptionsNextBottom,
                                    mnuPlayUndo,
                                    mnuPlayRedo,
                                    mnuPlayRestart,
                                    mnuPlayHint,
                                    mnuPlayVerdict,
                                    mnuPlayReadColumn,
                                    mnuPlayReadTable,
                                    mnuPlayReadBottomRow};
    EXPECT_EQ(t.window.menus.SetOrder, order);

    t.window.menus.SetOrder.clear();
    t.window.menus.Click(mnuGameNew);
    for (MenuId id : off) EXPECT_TRUE(t.window.menus.IsEnabled(id)) << id;
    EXPECT_EQ(t.window.menus.SetOrder, order);
}

TEST(Menus, ADisabledItemDoesNothing) {
    TestTable t;
    t.Start();
    t.Heard();
    t.window.menus.Click(t.window.menus.ByShortcut("F5"));
    t.window.menus.Click(t.window.menus.ByShortcut("Ctrl+S"));
    EXPECT_TRUE(t.Heard().empty());
    EXPECT_TRUE(t.messages.Asked.empty());
}

TEST(Menus, SpeakColumnNumbersTogglesAndIsStored) {
    TestTable t;
    t.Start();
    t.Heard();
    t.window.menus.Click(mnuOptionsSpeakColumns);
    EXPECT_FALSE(t.window.menus.IsChecked(mnuOptionsSpeakColumns));
    EXPECT_EQ(t.settings.Values["Quorrel/StartUp/Columns"], "Unchecked");
    t.window.menus.Click(mnuOptionsSpeakColumns);
    EXPECT_TRUE(t.window.menus.IsChecked(mnuOptionsSpeakColumns));
    EXPECT_EQ(t.settings.Values["Quorrel/StartUp/Columns"], "Checked");
    EXPECT_TRUE(t.Heard().empty());

    // The next run reads it back.
    TestTable next;
    next.settings = t.settings;
    next.Start();
    EXPECT_TRUE(next.window.menus.IsChecked(mnuOptionsSpeakColumns));
}

// The save questions, in every combination of the two flags.
struct QuestionCase {
    GameState::Flag inProgress;
    GameState::Flag unsaved;
    bool asked;
};

class SaveQuestion : public ::testing::TestWithParam<QuestionCase> {};

TEST_P(SaveQuestion, NewGameAsksOnlyWhenAChangedGameIsOnTheTable) {
    TestTable t;
    t.StartAndDeal();
    t.state.GameInProgress = GetParam().inProgress;
    t.state.UnsavedChanges = GetParam().unsaved;
    t.window.SetCaption("Untitled.qrl - Quorrel");
    t.messages.Answers = {MsgResult::No};
    t.window.menus.Click(mnuGameNew);
    ASSERT_EQ(t.messages.Asked.size(), GetParam().asked ? 1u : 0u);
    if (GetParam().asked) {
        const auto& box = t.messages.Asked[0];
        EXPECT_EQ(box.Text,
                  "There is a game in progress.\r\nDo you want to save this game before you start a new game?\r\n");
        EXPECT_EQ(box.Buttons, MsgButtons::YesNo);
        EXPECT_EQ(box.Icon, MsgIcon::Question);
        EXPECT_EQ(box.Title, "Untitled.qrl - Quorrel");
    }
    // There is no way to cancel: a new game is dealt either way.
    EXPECT_EQ(t.state.GameInProgress, -1);
    EXPECT_EQ(t.state.UnsavedChanges, -1);
}

TEST_P(SaveQuestion, ExitAsksOnlyWhenAChangedGameIsOnTheTableAndAlwaysCloses) {
    for (MsgResult answer : {MsgResult::Yes, MsgResult::No}) {
        TestTable t;
        t.StartAndDeal();
        t.state.GameInProgress = GetParam().inProgress;
        t.state.UnsavedChanges = GetParam().unsaved;
        t.messages.Answers = {answer};
        t.window.menus.Click(mnuGameExit);
        ASSERT_EQ(t.messages.Asked.size(), GetParam().asked ? 1u : 0u);
        if (GetParam().asked) {
            EXPECT_EQ(t.messages.Asked[0].Text,
                      "There is a game in progress.\r\nDo you want to save this game before exiting?\r\n");
            EXPECT_EQ(t.messages.Asked[0].Icon, MsgIcon::Question);
        }
        EXPECT_TRUE(t.window.Closed);
        EXPECT_EQ(t.window.OtherWindowsUnloaded, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Flags, SaveQuestion,
                         ::testing::Values(QuestionCase{0, 0, false}, QuestionCase{-1, 0, false},
                                           QuestionCase{0, -1, false}, QuestionCase{-1, -1, true}));

TEST(Closing, BeforeAnyGameClosesWithoutAQuestionAndTheCloseBoxUnloadsOnce) {
    TestTable t;
    t.Start();
    t.screen.Form_Unload();  // the close box
    t.screen.Form_Unload();  // a second close event while closing
    EXPECT_TRUE(t.messages.Asked.empty());
    EXPECT_EQ(t.window.OtherWindowsUnloaded, 1);
}

TEST(Closing, NewGameForgetsTheOpenedFile) {
    TestTable t;
    t.Start();
    t.state.OpenedFromFile = 1;
    t.window.menus.Click(mnuGameNew);
    EXPECT_EQ(t.state.OpenedFromFile, 0);
    EXPECT_EQ(t.state.GameFileName, "Untitled.qrl");
}

TEST(Failures, AHandlerReportsNumberDescriptionAndNameUnderTheCaption) {
    TestTable t;
    t.Start();
    t.window.SetCaption("Untitled.qrl - Quorrel");
    t.screen.Trap(ReportForm::Handler, " in Column_Click()",
                  [] { throw RunTimeError(5, "Invalid procedure call or argument"); });
    t.screen.Trap(ReportForm::Procedure, " in MoveFreeCell ToColumn()",
                  [] { throw RunTimeError(9, "Subscript out of range"); });
    t.screen.Trap(ReportForm::Module, " in GetSuite()", [] { throw RunTimeError(13, "Type mismatch"); });
    t.screen.Trap(ReportForm::GameFile, " in SaveGame()", [] { throw RunTimeError(70, "Permission denied"); });
    t.screen.Trap(ReportForm::GameFile, " in SaveGame()", [] { throw errors::Cancelled(); });
    ASSERT_EQ(t.messages.Asked.size(), 4u);
    EXPECT_EQ(t.messages.Asked[0].Text, "Error: 5 Invalid procedure call or argument in Column_Click()");
    EXPECT_EQ(t.messages.Asked[0].Icon, MsgIcon::Information);
    EXPECT_EQ(t.messages.Asked[0].Title, "Untitled.qrl - Quorrel");
    EXPECT_EQ(t.messages.Asked[1].Text, "Subscript out of range in MoveFreeCell ToColumn()");
    EXPECT_EQ(t.messages.Asked[1].Title, "Untitled.qrl - Quorrel");
    EXPECT_EQ(t.messages.Asked[2].Text, "Type mismatch in GetSuite()");
    EXPECT_EQ(t.messages.Asked[2].Icon, MsgIcon::None);
    EXPECT_EQ(t.messages.Asked[2].Title, "");
    EXPECT_EQ(t.messages.Asked[3].Text, "Permission denied in SaveGame()");
    EXPECT_EQ(t.messages.Asked[3].Title, "Quorrel");
    for (const auto& box : t.messages.Asked) EXPECT_EQ(box.Buttons, MsgButtons::OK);
}

TEST(Speech, ALostServerIsReportedOnceInTheSpeakForm) {
    TestTable t;
    t.Start();
    t.reader.OnFailure(RunTimeError(429, "Speech server unavailable"));
    ASSERT_EQ(t.messages.Asked.size(), 1u);
    EXPECT_EQ(t.messages.Asked[0].Text, "Error: 429 Speech server unavailable in Speak()");
    EXPECT_EQ(t.messages.Asked[0].Icon, MsgIcon::Information);
}

}  // namespace
}  // namespace quorrel::test
