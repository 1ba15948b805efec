// The main window's life: start-up, the game commands' menus, New Game, Exit and closing.
#include "app/GameScreen.h"

#include <new>

#include "app/Menus.h"
#include "texts/Texts.h"

namespace quorrel {

RunTimeError AsRunTimeError(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e)) return {7, "Out of memory"};
    return {51, std::string("Internal error: ") + e.what()};
}

GameScreen::GameScreen(GameState& state, Platform& platform)
    : State(state),
      P(platform),
      Window(platform.Window),
      Column(platform.Window.Column()),
      FreeCell(platform.Window.FreeCell()),
      HomeCell(platform.Window.HomeCell()),
      Menus(platform.Window.Menus()),
      Board(Column, FreeCell, HomeCell, state) {
    App.Path = platform.ProgramFolder;
    Menus.Build(MenuTree());
    Menus.OnClick = [this](int id) { MenuClick(id); };
    Column.Events.RowColChange = [this] { Column_RowColChange(); };
    FreeCell.Events.RowColChange = [this] { FreeCell_RowColChange(); };
    HomeCell.Events.RowColChange = [this] { HomeCell_RowColChange(); };
    Column.Events.GotFocus = [this] { Column_GotFocus(); };
    FreeCell.Events.GotFocus = [this] { FreeCell_GotFocus(); };
    HomeCell.Events.GotFocus = [this] { HomeCell_GotFocus(); };
    Column.Events.Click = [this] { Column_Click(); };
    FreeCell.Events.Click = [this] { FreeCell_Click(); };
    HomeCell.Events.Click = [this] { HomeCell_Click(); };
    Column.Events.KeyDown = [this](int key, int shift) { Column_KeyDown(key, shift); };
    FreeCell.Events.KeyDown = [this](int key, int shift) { FreeCell_KeyDown(key, shift); };
    HomeCell.Events.KeyDown = [this](int key, int shift) { HomeCell_KeyDown(key, shift); };
    P.Reader.OnFailure = [this](const RunTimeError& error) { SpeechFailed(error); };
    // The file dialog's settings from the window's design.
    P.FileDialog.Filter = texts::GameFileFilter;
    P.FileDialog.DefaultExt = texts::GameFileDefaultExt;
}

void GameScreen::Report(ReportForm form, std::string_view suffix, const RunTimeError& error) {
    std::string text;
    if (form == ReportForm::Handler) {
        text = std::string(texts::ErrorPrefix) + std::to_string(error.Number) + " ";
    }
    text += error.Description;
    text += suffix;
    switch (form) {
    case ReportForm::Handler:
    case ReportForm::Procedure:
        MsgBox(text, MsgButtons::OK, MsgIcon::Information, Window.Caption());
        break;
    case ReportForm::Module:
        MsgBox(text, MsgButtons::OK, MsgIcon::None, App.Title);
        break;
    case ReportForm::GameFile:
        if (error.Number != errors::CancelError)
            MsgBox(text, MsgButtons::OK, MsgIcon::Information, std::string(texts::ProgramName));
        break;
    }
}

void GameScreen::SayUnlessScreenReader(std::initializer_list<std::string_view> words) {
    // Straight to the reader, not through Speak: a failure to speak must not open a box about itself.
    // The window's own modal loop lets the words out to the speech server while the player listens.
    try {
        if (P.Desktop.ScreenReaderRunning()) return;
        // What the command said before the window opened (a move, a refusal) is heard first.
        P.Reader.StopEarlierSpeech();
        for (std::string_view text : words) P.Reader.Say(std::string(text));
    } catch (const std::exception&) {
        // The window is shown all the same; the speech server's outage is reported on its own.
    }
}

MsgResult GameScreen::MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) {
    CancelSearch();
    SayUnlessScreenReader({text, buttons == MsgButtons::OK ? texts::BoxOk : texts::BoxYesNo});
    return P.MsgBox.Show(text, buttons, icon, title);
}

void GameScreen::Form_Load() {
    App.HelpFile = App.Path + "/" + std::string(texts::HelpFileName);
    App.Title.clear();
    const std::string columns = P.Settings.GetSetting(std::string(texts::SettingsApp), std::string(texts::SettingsSection),
                                                      std::string(texts::SettingsColumnsKey), std::string(texts::Checked));
    Menus.SetChecked(mnuOptionsSpeakColumns, columns == texts::Checked);
    State.UnsavedChanges = 0;
    // The Games folder beside the program; where it cannot be made or written to (a read-only
    // installation, even one that ships a Games folder), the user's own.
    State.GamesFolder = App.Path + "/" + std::string(texts::GamesFolderName);
    if (!P.FileSystem.MakeFolder(State.GamesFolder) || !P.FileSystem.CanWriteIn(State.GamesFolder)) {
        State.GamesFolder = P.FileSystem.UserDataFolder() + "/" + std::string(texts::GamesFolderName);
        P.FileSystem.MakeFolder(State.GamesFolder);
    }
    P.FileDialog.InitDir = State.GamesFolder;
    P.FileDialog.Flags = dialogflags::FileMustExist | dialogflags::OverwritePrompt | dialogflags::HideReadOnly;
    State.GameInProgress = 0;
    TurnMenusOff();
    SetPlayMenu(false);
    LoadStatistics();
}

// Asks the save question when a changed game is on the table; Yes saves. False when that save failed,
// so that the command stops and the game stays on the table. The question, a save's dialog and its
// refusals follow one another.
bool GameScreen::AskToSave(std::string_view firstLine, std::string_view question) {
    if (State.GameInProgress != -1 || State.UnsavedChanges != -1) return true;
    ModalChain chain(Window);
    const std::string text = std::string(firstLine) + std::string(texts::CrLf) + std::string(question) +
                             std::string(texts::CrLf);
    if (MsgBox(text, MsgButtons::YesNo, MsgIcon::Question, Window.Caption()) == MsgResult::Yes)
        return SaveGame() != SaveResult::Failed;
    return true;
}

void GameScreen::mnuGameNew_Click() {
    Trap(ReportForm::Handler, " in mnuGameNew()", [&] {
        if (!AskToSave(texts::GameInProgress, texts::SaveBeforeNewGame)) return;
        State.OpenedFromFile = 0;
        DealNumber = 0;
        Column.SetVisible(false);
        FreeCell.SetVisible(false);
        HomeCell.SetVisible(false);
        BeginGame();
    });
}

void GameScreen::mnuGameExit_Click() {
    Trap(ReportForm::Handler, " in mnuGameExit_Click()", [&] { UnloadMainWindow(); });
}

void GameScreen::UnloadMainWindow() {
    if (Form_Unload()) Window.Close();
}

bool GameScreen::Form_Unload() {
    if (Unloaded) return true;  // the window is already on its way out
    Unloaded = true;
    CancelSearch();
    bool close = true;
    const bool done = Trap(ReportForm::Handler, " in Form_Unload()", [&] {
        if (!AskToSave(texts::GameInProgress, texts::SaveBeforeExiting)) {
            close = false;
            return;
        }
        LeaveGame();
        Window.UnloadOtherWindows();
    });
    if (!close) {
        Unloaded = false;
        return false;
    }
    if (!done) Window.Close();  // after a failure the program ends at once
    return true;
}

namespace {
// The game commands, in the order both procedures set them.
constexpr MenuId kGameCommands[] = {mnuGameNew, mnuGameOpen, mnuGameSave, mnuGameSaveAs, mnuGameExit,
                                    mnuOptionsFind, mnuOptionsPreviousCard, mnuOptionsNextCard,
                                    mnuOptionsPreviousBottom, mnuOptionsNextBottom};
// Whether each is enabled while no game has begun.
bool EnabledBeforeAnyGame(MenuId id) { return id == mnuGameNew || id == mnuGameOpen || id == mnuGameExit; }
}  // namespace

void GameScreen::TurnMenusOn() {
    Trap(ReportForm::Procedure, " in TurnMenusOn()", [&] {
        for (MenuId id : kGameCommands) Menus.SetEnabled(id, true);
    });
}

void GameScreen::TurnMenusOff() {
    Trap(ReportForm::Procedure, " in TurnMenusOff()", [&] {
        for (MenuId id : kGameCommands) Menus.SetEnabled(id, EnabledBeforeAnyGame(id));
    });
}

void GameScreen::MenuClick(int id) {
    switch (id) {
    case mnuGameNew: mnuGameNew_Click(); break;
    case mnuGameOpen: mnuGameOpen_Click(); break;
    case mnuGameSave: mnuGameSave_Click(); break;
    case mnuGameSaveAs: mnuGameSaveAs_Click(); break;
    case mnuGameExit: mnuGameExit_Click(); break;
    case mnuOptionsFind: mnuOptionsFind_Click(); break;
    case mnuOptionsPreviousCard: mnuOptionsPreviousCard_Click(); break;
    case mnuOptionsNextCard: mnuOptionsNextCard_Click(); break;
    case mnuOptionsPreviousBottom: mnuOptionsPreviousBottom_Click(); break;
    case mnuOptionsNextBottom: mnuOptionsNextBottom_Click(); break;
    case mnuOptionsSpeakColumns: mnuOptionsSpeakColumns_Click(); break;
    case mnuHelpContents: mnuHelpContents_Click(); break;
    case mnuHelpAbout: mnuHelpAbout_Click(); break;
    case mnuPlayUndo: mnuPlayUndo_Click(); break;
    case mnuPlayRedo: mnuPlayRedo_Click(); break;
    case mnuPlayRestart: mnuPlayRestart_Click(); break;
    case mnuPlayDealNumber: mnuPlayDealNumber_Click(); break;
    case mnuPlayHint: mnuPlayHint_Click(); break;
    case mnuPlayVerdict: mnuPlayVerdict_Click(); break;
    case mnuPlayReadColumn: mnuPlayReadColumn_Click(); break;
    case mnuPlayReadTable: mnuPlayReadTable_Click(); break;
    case mnuPlayReadBottomRow: mnuPlayReadBottomRow_Click(); break;
    case mnuPlayStatistics: mnuPlayStatistics_Click(); break;
    default: break;
    }
}

}  // namespace quorrel
