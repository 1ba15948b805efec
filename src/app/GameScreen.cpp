// The main window's life: start-up, the game commands' menus, New Game, Exit and closing.
#include "app/GameScreen.h"

#include <new>

#include "app/Menus.h"
#include "platform/Keys.h"
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
      Board(Column, FreeCell, HomeCell, state),
      Moves(*this),
      Replays(*this),
      Deals(*this),
      Hints(*this),
      Readings(*this),
      Scores(*this),
      Files(*this),
      Speech(*this),
      Sounds(*this) {
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

GameScreen::~GameScreen() = default;

void GameScreen::Report(ReportForm form, std::string_view suffix, const RunTimeError& error) {
    std::string text;
    if (form == ReportForm::Handler) {
        text = std::string(texts::ErrorPrefix) + std::to_string(error.Number) + " ";
    }
    text += error.Description;
    text += suffix;
    switch (form) {
    case ReportForm::Handler:
    case ReportForm::Procedure: MsgBox(text, MsgButtons::OK, MsgIcon::Information, Window.Caption()); break;
    case ReportForm::Module: MsgBox(text, MsgButtons::OK, MsgIcon::None, App.Title); break;
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
    Hints.CancelSearch();
    SayUnlessScreenReader({text, buttons == MsgButtons::OK ? texts::BoxOk : texts::BoxYesNo});
    return P.MsgBox.Show(text, buttons, icon, title);
}

void GameScreen::Form_Load() {
    App.HelpFile = App.Path + "/" + std::string(texts::HelpFileName);
    App.Title.clear();
    const std::string columns = P.Settings.GetSetting(std::string(texts::SettingsApp),
                                                      std::string(texts::SettingsSection),
                                                      std::string(texts::SettingsColumnsKey),
                                                      std::string(texts::Checked));
    Menus.SetChecked(mnuOptionsSpeakColumns, columns == texts::Checked);
    const std::string safeHome = P.Settings.GetSetting(std::string(texts::SettingsApp),
                                                       std::string(texts::SettingsPlaySection),
                                                       std::string(texts::SettingsSafeHomeKey),
                                                       std::string(texts::Unchecked));
    Menus.SetChecked(mnuOptionsSafeHome, safeHome == texts::Checked);
    const std::string brief = P.Settings.GetSetting(std::string(texts::SettingsApp),
                                                    std::string(texts::SettingsWordsSection),
                                                    std::string(texts::SettingsBriefKey),
                                                    std::string(texts::Unchecked));
    Menus.SetChecked(mnuOptionsBrief, brief == texts::Checked);
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
    Scores.LoadStatistics();
    Speech.Load();
    Sounds.Load();
}

void GameScreen::mnuGameNew_Click() {
    Trap(ReportForm::Handler, " in mnuGameNew()", [&] {
        if (!Files.AskToSave(texts::GameInProgress, texts::SaveBeforeNewGame)) return;
        State.OpenedFromFile = 0;
        Deals.DealNumber = 0;
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
    Hints.CancelSearch();
    bool close = true;
    const bool done = Trap(ReportForm::Handler, " in Form_Unload()", [&] {
        if (!Files.AskToSave(texts::GameInProgress, texts::SaveBeforeExiting)) {
            close = false;
            return;
        }
        Scores.LeaveGame();
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
// Deal Game Number is not among them: like New Game, it is always enabled.
constexpr MenuId kPlayCommands[] = {mnuPlayUndo, mnuPlayRedo, mnuPlayRestart, mnuPlayHint, mnuPlayVerdict};
// The readings follow the same rule; Statistics, like Deal Game Number, is always enabled.
constexpr MenuId kReadingCommands[] = {mnuPlayReadColumn, mnuPlayReadTable, mnuPlayReadBottomRow};
// The game commands, in the order both procedures set them.
constexpr MenuId kGameCommands[] = {mnuGameNew,
                                    mnuGameOpen,
                                    mnuGameSave,
                                    mnuGameSaveAs,
                                    mnuGameExit,
                                    mnuOptionsFind,
                                    mnuOptionsPreviousCard,
                                    mnuOptionsNextCard,
                                    mnuOptionsPreviousBottom,
                                    mnuOptionsNextBottom};
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
    if (id != mnuPlayQuickMove) Moves.EndQuickRound();
    if (id >= mnuPlayColumn1 && id < mnuPlayColumn1 + kColumns) return Moves.ColumnKey(id - mnuPlayColumn1);
    if (id >= mnuPlayRun1 && id < mnuPlayRun1 + kColumns) return Moves.RunTo(id - mnuPlayRun1);
    if (id >= mnuPlayFreeCell1 && id < mnuPlayFreeCell1 + kCells) return Moves.FreeCellKey(id - mnuPlayFreeCell1);
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
    case mnuOptionsSafeHome: mnuOptionsSafeHome_Click(); break;
    case mnuOptionsBrief: mnuOptionsBrief_Click(); break;
    case mnuOptionsSounds: mnuOptionsSounds_Click(); break;
    case mnuSoundsLouder: Sounds.Step(true); break;
    case mnuSoundsSofter: Sounds.Step(false); break;
    case mnuHelpContents: mnuHelpContents_Click(); break;
    case mnuHelpAbout: mnuHelpAbout_Click(); break;
    // The Play menu's items go straight to their units.
    case mnuPlayUndo:
        Trap(ReportForm::Handler, " in mnuPlayUndo_Click()", [&] { Replays.ReplayStep(Replays::Replay::Back); });
        break;
    case mnuPlayRedo:
        Trap(ReportForm::Handler, " in mnuPlayRedo_Click()", [&] { Replays.ReplayStep(Replays::Replay::Again); });
        break;
    case mnuPlayRestart: Replays.Restart(); break;
    case mnuPlayDealNumber: Deals.Ask(); break;
    case mnuPlayHint:
        Trap(ReportForm::Handler, " in mnuPlayHint_Click()", [&] { Hints.AskSolver(Hints::Question::Hint); });
        break;
    case mnuPlayVerdict:
        Trap(ReportForm::Handler, " in mnuPlayVerdict_Click()", [&] { Hints.AskSolver(Hints::Question::Verdict); });
        break;
    case mnuPlayReadColumn: Readings.ReadColumn(); break;
    case mnuPlayReadTable: Readings.ReadTable(); break;
    case mnuPlayReadBottomRow: Readings.ReadBottomRowCards(); break;
    case mnuPlayStatistics: Scores.Show(); break;
    case mnuPlayQuickMove: Moves.QuickMove(); break;
    case mnuPlayToFreeCell: Moves.ToFreeCell(); break;
    case mnuPlayToHome: Moves.ToHome(); break;
    // The Speech submenu.
    case mnuSpeechFaster: Speech.Step(SpeechSettings::Change::Faster); break;
    case mnuSpeechSlower: Speech.Step(SpeechSettings::Change::Slower); break;
    case mnuSpeechLouder: Speech.Step(SpeechSettings::Change::Louder); break;
    case mnuSpeechSofter: Speech.Step(SpeechSettings::Change::Softer); break;
    case mnuSpeechHigher: Speech.Step(SpeechSettings::Change::Higher); break;
    case mnuSpeechLower: Speech.Step(SpeechSettings::Change::Lower); break;
    case mnuSpeechVoice: Speech.ChooseVoice(); break;
    case mnuSpeechDefaults: Speech.Defaults(); break;
    default: break;
    }
}

void GameScreen::SetPlayMenu(bool enabled) {
    for (MenuId id : kPlayCommands) Menus.SetEnabled(id, enabled);
    for (MenuId id : kReadingCommands) Menus.SetEnabled(id, enabled);
}

void GameScreen::GameBegun() {
    State.History.SetStart(Board.Snapshot());
    if (State.OpenedFromFile != 0) Scores.CountGame(Scores.Stats.Began(0, TableKey(Board.Snapshot())));
    else Scores.Stats.Began(Deals.DealNumber);
    if (State.OpenedFromFile == 0) Deals.SayNumber();
}

// The save question, a save's dialog and its refusals, the Open dialog and the refusal of the file follow
// one another: the table takes the focus back only once they are over. An opened game gives the column
// grid the focus, which keeps it.
void GameScreen::mnuGameOpen_Click() {
    ModalChain chain(Window);
    Trap(ReportForm::Handler, " in mnuGameOpen_Click()", [&] {
        if (!Files.AskToSave(texts::GameInProgressOpen, texts::SaveBeforeOpening)) return;
        const auto before = State.OpenedFromFile;
        State.OpenedFromFile = 1;
        // When no game was opened (Cancel, or a file that is no game), a later "play again" must not
        // lay out a record that was never opened.
        if (!Files.OpenGame()) State.OpenedFromFile = before;
    });
}

void GameScreen::mnuGameSave_Click() {
    if (DealWaiting) return;
    ModalChain chain(Window);
    Trap(ReportForm::Handler, " in mnuGameSave_Click()", [&] { Files.SaveGame(); });
}

void GameScreen::mnuGameSaveAs_Click() {
    if (DealWaiting) return;
    ModalChain chain(Window);
    Trap(ReportForm::Handler, " in mnuGameSaveAs_Click()", [&] { Files.SaveGameAs(); });
}

void GameScreen::Column_KeyDown(int KeyCode, int /*Shift*/) {
    Trap(ReportForm::Handler, " in Column_KeyDown()", [&] {
        if (KeyCode == keys::Return) Column_Click();
        else SoundAtEdge(Column, KeyCode);
    });
}

void GameScreen::FreeCell_KeyDown(int KeyCode, int /*Shift*/) {
    Trap(ReportForm::Handler, " in FreeCell_KeyDown()", [&] {
        if (KeyCode == keys::Return) FreeCell_Click();
        else SoundAtEdge(FreeCell, KeyCode);
    });
}

void GameScreen::HomeCell_KeyDown(int KeyCode, int /*Shift*/) {
    Trap(ReportForm::Handler, " in HomeCell_KeyDown()", [&] {
        if (KeyCode == keys::Return) HomeCell_Click();
        else SoundAtEdge(HomeCell, KeyCode);
    });
}

// The grid moves its cursor after its KeyDown event: an arrow key that will not move it is at the edge.
void GameScreen::SoundAtEdge(const IGrid& grid, int KeyCode) {
    bool edge = false;
    switch (KeyCode) {
    case keys::Up: edge = grid.Row() <= grid.FixedRows(); break;
    case keys::Down: edge = grid.Row() >= grid.Rows() - 1; break;
    case keys::Left: edge = grid.Col() <= grid.FixedCols(); break;
    case keys::Right: edge = grid.Col() >= grid.Cols() - 1; break;
    default: break;
    }
    if (edge) Sounds.Play(Sound::Edge);
}

void GameScreen::mnuOptionsPreviousCard_Click() {
    if (DealWaiting) return;
    Trap(ReportForm::Procedure, " in mnuOptionsPreviousCard()", [&] {
        ForceColumnNumber = -1;
        Readings.ReadPreviousCard();
    });
}

void GameScreen::mnuOptionsNextCard_Click() {
    if (DealWaiting) return;
    Trap(ReportForm::Procedure, " in mnuOptionsNextCard()", [&] {
        ForceColumnNumber = -1;
        Readings.ReadNextCard();
    });
}

void GameScreen::mnuOptionsPreviousBottom_Click() {
    if (DealWaiting) return;
    Trap(ReportForm::Procedure, " in mnuOptionsPreviousBottom()", [&] {
        ForceColumnNumber = -1;
        Readings.ReadBottomRow();
    });
}

void GameScreen::mnuOptionsNextBottom_Click() {
    if (DealWaiting) return;
    Trap(ReportForm::Procedure, " in mnuOptionsNextBottom()", [&] {
        ForceColumnNumber = -1;
        Readings.ReadBottomRowForward();
    });
}

// Enter and a click on a cell pick a card up or drop the picked-up one.
void GameScreen::Column_Click() {
    Moves.EndQuickRound();
    Moves.ClickColumn();
}
void GameScreen::FreeCell_Click() {
    Moves.EndQuickRound();
    Moves.ClickFreeCell();
}
void GameScreen::HomeCell_Click() {
    Moves.EndQuickRound();
    Moves.ClickHomeCell();
}

}  // namespace quorrel
