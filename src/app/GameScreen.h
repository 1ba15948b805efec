// The main window's game logic: every handler of the window, toolkit-free, over the platform services.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "app/Platform.h"
#include "files/Statistics.h"
#include "moves/History.h"
#include "platform/RunTimeError.h"
#include "solver/Way.h"
#include "table/Board.h"
#include "table/GameState.h"

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
// Form_KeyDown, and the close box to Form_Unload; the grids' events are wired here.
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
    void StopSpeech();
    // Reports a lost or missing speech server (raised once per outage by the screen reader).
    void SpeechFailed(const RunTimeError& error);

    // Cell announcements.
    void SpeakCurrentCell(const std::string& text);
    void Column_RowColChange();
    void FreeCell_RowColChange();
    void HomeCell_RowColChange();
    void Column_GotFocus();
    void FreeCell_GotFocus();
    void HomeCell_GotFocus();
    void mnuOptionsSpeakColumns_Click();

    // Picking up and dropping (Enter or a click on a cell), and the six moves.
    void Column_Click();
    void FreeCell_Click();
    void HomeCell_Click();
    void Column_KeyDown(int KeyCode, int Shift);
    void FreeCell_KeyDown(int KeyCode, int Shift);
    void HomeCell_KeyDown(int KeyCode, int Shift);
    void MoveColumnToColumn();
    void MoveColumnToFreeCell();
    void MoveFreeCellToColumn();
    void MoveFreeCellToFreeCell();
    void MoveColumnToHomeCell();
    void MoveFreeCellToHomeCell();

    // Finding a card and the reading commands.
    void mnuOptionsFind_Click();
    void FindCard(const std::string& target);
    void ReadFreeCells();
    void ReadHomeCells();
    void ReadBottomRow();
    void ReadBottomRowForward();
    void ReadBottomCard(int column);
    void ReadPreviousCard();
    void ReadNextCard();
    void mnuOptionsPreviousCard_Click();
    void mnuOptionsNextCard_Click();
    void mnuOptionsPreviousBottom_Click();
    void mnuOptionsNextBottom_Click();

    // Game files.
    enum class SaveResult { Saved, Cancelled, Failed };
    void mnuGameOpen_Click();
    void mnuGameSave_Click();
    void mnuGameSaveAs_Click();
    SaveResult SaveGame();
    SaveResult SaveGameAs();
    // True when a game was opened.
    bool OpenGame();
    void SaveGameBoard();

    // Help and About.
    void mnuHelpContents_Click();
    void mnuHelpAbout_Click();
    void RunHelp(const std::string& document);

    // The Play menu: taking moves back and making them again, restarting the deal, numbered deals.
    void mnuPlayUndo_Click();
    void mnuPlayRedo_Click();
    void mnuPlayRestart_Click();
    // The Deal Game Number dialog; a number from it is dealt as DealGameNumber deals it.
    void mnuPlayDealNumber_Click();
    // Begins deal `number` (1 to 1000000) as New Game begins a shuffled one; other numbers do nothing.
    void DealGameNumber(std::int32_t number);
    // The Play items are disabled until the first game begins; Deal Game Number is always enabled.
    void SetPlayMenu(bool enabled);
    // After BeginGame has laid out the table: it becomes the table a restart lays out again, and a
    // numbered deal says its number.
    void GameBegun();
    // The number of the deal BeginGame deals, or 0 for a shuffled deck.
    std::int32_t DealNumber = 0;

    // Hints: the solver searches off the window's thread from the table as it stands, and the answer is
    // spoken when it comes. A change of the table (a move, a replayed step, a deal, an Open), a modal
    // window of the program and the unload cancel the search under way, so that no answer for another
    // table is ever spoken, nor the focus moved behind a dialog.
    void mnuPlayHint_Click();
    void mnuPlayVerdict_Click();
    void CancelSearch();
    // What one search for a hint or a verdict may spend. The program bounds it by time as well; tests
    // bound it by positions alone, so that their answers are the same on every machine.
    solver::Budget SearchBudget{.MaxTime = std::chrono::seconds(2)};
    // The Play menu's readings and the statistics. The readings speak one announcement each and move
    // nothing; they do nothing while no game is on the table.
    void mnuPlayReadColumn_Click();
    void mnuPlayReadTable_Click();
    void mnuPlayReadBottomRow_Click();
    // The statistics in a box that asks whether to reset them.
    void mnuPlayStatistics_Click();
    // The statistics file: read at start-up (a damaged one is renamed aside), written whenever the
    // record changes. CountGame writes the file when changed is true.
    void LoadStatistics();
    void CountGame(bool changed);
    // The game on the table is left: counted as lost, or put aside when its table is in a file.
    void LeaveGame();
    std::string StatisticsText() const;
    std::string StatisticsFile() const;
    Statistics Stats;

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
    // True once the player has been told that the settings store keeps nothing; a stored value ends it.
    bool settingNotSavedReported_ = false;

private:
    void AnnounceFocus(IGrid& grid, std::string_view gridName);
    void AnnounceCell(IGrid& grid);
    bool AskToSave(std::string_view firstLine, std::string_view question);
    void WriteRecord(const std::string& path);
    // Replaces the file's content through the file system's crash-safe steps; keepTail keeps what a
    // longer file held beyond the new bytes.
    void WriteSafely(const std::string& path, const std::vector<char>& bytes, bool keepTail);
    void ChooseGameFile(bool save);
    void Refuse(std::string_view text, const std::string& cell);
    void PickUp(IGrid& grid, std::int16_t from);
    void MoveCard(IGrid& source, IGrid& destination, std::string_view suffix);
    void CountCardHome();
    void PutBack();
    void SpeakKeyList();
    void ReadCells(IGrid& grid, std::string_view gridName, std::string_view allEmpty);
    void ReadNeighbourCard(int step);

    // The Play menu.
    void PutBackSilently();
    void LayOutTable(const Table& table);
    void AnnounceTable(std::string_view first);
    enum class Replay { Back, Again };
    void ReplayStep(Replay direction);
    void UndoMove(const MoveRecord& move);
    void RedoMove(const MoveRecord& move);
    void SayReplayed(const std::string& card, std::string_view link, const CellPlace& place);
    std::string PlaceWords(const CellPlace& place) const;

    // Hints.
    enum class Question { Hint, Verdict };
    struct Search;
    void AskSolver(Question question);
    void SolverAnswered();
    // Answers from the kept way, whose move `next` is the one to make on the table as it stands. After
    // " Thinking. " the answer follows it; otherwise it stops the speech under way first.
    void AnswerFromWay(Question question, std::size_t next, bool afterThinking);
    void GiveHint(const solver::SolverMove& move);
    void GoSilentlyTo(const CellPlace& place);
    std::shared_ptr<Search> search_;  // shared: the type is complete only where hints are given
    // The way home the last search found: hints and verdicts on a table it passes through answer from it.
    solver::Way way_;
    // Reading the table.
    void SpeakReading(const std::string& words);
    // The statistics file could not be written, or is kept aside: nothing more is written this run.
    bool statisticsReadOnly_ = false;
    bool statisticsNotSavedReported_ = false;

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
