// The main window's game logic: every handler of the window, toolkit-free, over the platform services.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "app/Hints.h"
#include "app/Platform.h"
#include "files/GameFiles.h"
#include "files/StatisticsKeeper.h"
#include "moves/Moves.h"
#include "moves/Replays.h"
#include "platform/RunTimeError.h"
#include "speech/Readings.h"
#include "speech/Sounds.h"
#include "speech/SpeechSettings.h"
#include "table/Board.h"
#include "table/DealNumbers.h"
#include "table/GameState.h"
#include "texts/Texts.h"

namespace quorrel {

// How a procedure reports a failure it traps.
enum class ReportForm {
    Handler,    // "Error: " number " " description suffix; information icon; the window's caption as title
    Procedure,  // description suffix; information icon; the window's caption as title
    Module,     // description suffix; no icon; the application's title
    GameFile,   // description suffix; information icon; "Quorrel"; nothing for the dialog's Cancel
};

// The window's handlers are named after the control and the event; the Qt window only turns widget
// events into calls of them. The shell wires menu clicks to MenuClick, key presses first to
// Form_KeyDown, and the close box to Form_Unload; the grids' events are wired here. The features beyond
// the window's own handlers are units of their own (moves, undo and restart, numbered deals, hints,
// readings, statistics, game files), reached from these handlers.
class GameScreen {
public:
    GameScreen(GameState& state, Platform& platform);
    ~GameScreen();
    GameScreen(const GameScreen&) = delete;
    GameScreen& operator=(const GameScreen&) = delete;

    // Start-up, new game and closing.
    void Form_Load();
    // False when the closing was stopped: a save the player asked for failed.
    bool Form_Unload();
    // Held is true for the repeats of a key held down: the reading keys, which pause between cells,
    // ignore them, or each repeat would start another reading inside the pause of the one before.
    void Form_KeyDown(int KeyCode, int Shift, bool Held = false);
    void mnuGameNew_Click();
    void mnuGameExit_Click();
    void TurnMenusOn();
    void TurnMenusOff();
    void MenuClick(int id);
    // Unloading the main window: Form_Unload, then the window closes and the program ends.
    void UnloadMainWindow();

    // Shuffle and deal.
    void BeginGame();
    void LoadGrid();
    void LoadFreeCells();
    void LoadHomeCells();
    void ShuffleDeck();
    // Waits n tenths of a second while processing window events.
    void Delay(std::int16_t n);

    // Speech.
    void Speak(std::string_view text);
    // Says the wording's brief form with Brief Speech on, its full form with it off.
    void Speak(const texts::Wording& words);
    // Which form of a wording is said: the one place that asks the option.
    std::string_view Chosen(const texts::Wording& words) const;
    void StopSpeech();
    // Reports a lost or missing speech server (raised once per outage by the screen reader).
    void SpeechFailed(const RunTimeError& error);

    // Cell announcements.
    void SpeakCurrentCell(const std::string& text);
    void AnnounceCell(IGrid& grid);
    void Column_RowColChange();
    void FreeCell_RowColChange();
    void HomeCell_RowColChange();
    void Column_GotFocus();
    void FreeCell_GotFocus();
    void HomeCell_GotFocus();
    void mnuOptionsSpeakColumns_Click();
    // Move Safe Cards Home: after each move, the cards no other card can want go home by themselves.
    void mnuOptionsSafeHome_Click();
    // Stores one setting of the program's section. A failure is raised only for the first store of an
    // outage of the settings store; the setting holds for the run either way.
    void StoreSetting(std::string_view section, std::string_view key, const std::string& value);
    // Brief Speech: the same facts in fewer words (texts::Wording).
    void mnuOptionsBrief_Click();
    // Sounds: a short sound for each event of the game, beside the words.
    void mnuOptionsSounds_Click();

    // Enter or a click on a cell.
    void Column_Click();
    void FreeCell_Click();
    void HomeCell_Click();
    void Column_KeyDown(int KeyCode, int Shift);
    void FreeCell_KeyDown(int KeyCode, int Shift);
    void HomeCell_KeyDown(int KeyCode, int Shift);

    // The Options menu's finding and reading commands.
    void mnuOptionsFind_Click();
    void mnuOptionsPreviousCard_Click();
    void mnuOptionsNextCard_Click();
    void mnuOptionsPreviousBottom_Click();
    void mnuOptionsNextBottom_Click();

    // Game files.
    void mnuGameOpen_Click();
    void mnuGameSave_Click();
    void mnuGameSaveAs_Click();

    // Help and About.
    void mnuHelpContents_Click();
    void mnuHelpAbout_Click();
    void RunHelp(const std::string& document);

    // The Play menu's items, which MenuClick hands to the units, are disabled until the first game
    // begins; Deal Game Number and Statistics are always enabled.
    void SetPlayMenu(bool enabled);

    // Runs body; a failure it raises is reported in the given form and ends it. False after a failure.
    template <class Body>
    bool Trap(ReportForm form, std::string_view suffix, Body&& body);
    void Report(ReportForm form, std::string_view suffix, const RunTimeError& error);
    // Every message box of the program opens here. Unless a screen reader runs that reads the box
    // itself, the program first says the box's text and its buttons, after what the command has said
    // so far (a move's words) and in place of what earlier commands were still saying.
    MsgResult MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title);
    // What a modal window of the program says when it opens, unless a screen reader runs that reads it.
    void SayUnlessScreenReader(std::initializer_list<std::string_view> words);

    GameState& State;
    Platform& P;
    IWindow& Window;
    IGrid& Column;
    IGrid& FreeCell;
    IGrid& HomeCell;
    IMenus& Menus;
    Application App;
    // The card cells of the three grids.
    quorrel::Board Board;

    // The features, each a unit with its own state.
    quorrel::Moves Moves;
    quorrel::Replays Replays;
    quorrel::DealNumbers Deals;
    quorrel::Hints Hints;
    quorrel::Readings Readings;
    quorrel::StatisticsKeeper Scores;
    quorrel::GameFiles Files;
    quorrel::SpeechSettings Speech;
    quorrel::Sounds Sounds;

    // Flags private to the window (-1 / 0).
    GameState::Flag SilentColumnFocus = 0;
    // The free-cell or home-cell grid takes the focus without a word (after a hint).
    GameState::Flag SilentCellFocus = 0;
    GameState::Flag ForceColumnNumber = 0;

    // True once the window has been unloaded: waits end, and no new game begins.
    bool Unloaded = false;
    // True while a deal waits before it lays out the table: the commands that read the table (Save,
    // Save As, Find, Escape and F3 to F8) do nothing then, since the grids are empty or hold the old game.
    bool DealWaiting = false;

    // The most waits that nest one inside another (commands run during a wait, and may wait in turn).
    // A wait asked for at this depth returns at once, so no number of presses can exhaust the stack.
    static constexpr int kMaxNestedWaits = 8;

private:
    void AnnounceFocus(IGrid& grid, std::string_view gridName);
    // A grid takes the focus: said with its name, or without it when the player just heard it, or
    // silently when a command of the program moved the focus.
    void GridGotFocus(GridId id, GameState::Flag& silent, std::string_view gridName);
    void SpeakKeyList();
    // An arrow key against the grid's edge, where the cursor cannot go on, plays the edge's sound.
    void SoundAtEdge(const IGrid& grid, int KeyCode);
    // Turns a check item of the Options menu over and stores it in the settings store.
    void ToggleOption(int id, std::string_view section, std::string_view key);
    // After BeginGame has laid out the table: it becomes the table a restart lays out again, and a
    // numbered deal says its number.
    void GameBegun();

    // Where the focus has been, for Brief Speech's grid names: the grid it is in and the one before it,
    // and for each grid whether the player knew it was there when the focus last came to it (its name
    // was said, or left out because it was just heard).
    struct GridsVisited {
        int Here = -1;
        int Before = -1;
        bool Known[3] = {false, false, false};
        // The focus comes to the grid; true when its name can be left out.
        bool JustHeard(int grid) const { return (grid == Here || grid == Before) && Known[grid]; }
        void Arrive(int grid, bool known) {
            if (grid != Here) {
                Before = Here;
                Here = grid;
            }
            Known[grid] = known;
        }
    };
    GridsVisited grids_;
    // True once the player has been told that the settings store keeps nothing; a stored value ends it.
    bool settingNotSavedReported_ = false;
    // Counts the games begun, so that a deal interrupted by another during its wait gives way to it.
    int gamesBegun_ = 0;
    // How many waits are running, one inside another.
    int waitDepth_ = 0;
};

RunTimeError AsRunTimeError(const std::exception& e);

template <class Body>
bool GameScreen::Trap(ReportForm form, std::string_view suffix, Body&& body) {
    try {
        body();
        return true;
    } catch (const RunTimeError& error) {
        Report(form, suffix, error);
    } catch (const std::exception& e) {
        Report(form, suffix, AsRunTimeError(e));
    }
    return false;
}

}  // namespace quorrel
