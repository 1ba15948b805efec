// The Play menu: taking moves back and making them again, restarting the deal, and numbered deals.
// Every step is replayed through the grids, which stay the one copy of the table.
#include "app/GameScreen.h"
#include "app/Menus.h"
#include "table/NumberedDeal.h"
#include "texts/Texts.h"

namespace quorrel {

namespace {
// Deal Game Number is not among them: like New Game, it is always enabled.
constexpr MenuId kPlayCommands[] = {mnuPlayUndo, mnuPlayRedo, mnuPlayRestart, mnuPlayHint, mnuPlayVerdict};
// The readings follow the same rule; Statistics, like Deal Game Number, is always enabled.
constexpr MenuId kReadingCommands[] = {mnuPlayReadColumn, mnuPlayReadTable, mnuPlayReadBottomRow};
}  // namespace

void GameScreen::SetPlayMenu(bool enabled) {
    for (MenuId id : kPlayCommands) Menus.SetEnabled(id, enabled);
    for (MenuId id : kReadingCommands) Menus.SetEnabled(id, enabled);
}

// A picked-up card goes back unannounced: the mark comes off and every cursor stays where it was.
void GameScreen::PutBackSilently() {
    if (State.CardSelected != -1) return;
    Board.UnmarkSilently({State.SelectedFrom == 0 ? GridId::Column : GridId::FreeCell, State.SelectedRow,
                          State.SelectedCol});
    State.CardSelected = 0;
    State.SelectedFrom = 3;
}

// Lays a whole table out, with the cursors where a deal leaves them, all without a sound.
void GameScreen::LayOutTable(const Table& table) {
    Board.LayOut(table);
    State.HomeCount = table.HomeCount;
    State.UnsavedChanges = -1;
    State.BottomCursor = -1;
    State.LastSpokenCol = 0;
    ForceColumnNumber = 0;
}

// The first text, then the column grid's announcement as after a deal; the column grid takes the
// focus, as after a deal, without a second announcement of its own.
void GameScreen::AnnounceTable(std::string_view first) {
    StopSpeech();
    Speak(first);
    if (!Column.HasFocus()) {
        SilentColumnFocus = -1;
        Column.SetFocus();
    }
    Speak(texts::ColumnsGrid);
    AnnounceCell(Column);
}

std::string GameScreen::PlaceWords(const CellPlace& place) const {
    switch (place.Grid) {
    case GridId::Column: return std::string(texts::Column) + texts::SpokenNumber(place.Col + 1);
    case GridId::FreeCell: return std::string(texts::AFreeCell);
    case GridId::HomeCell: break;
    }
    return std::string(texts::TheHomeCells);
}

// A replayed move changes the game; the player hears the card and where it is now.
void GameScreen::SayReplayed(const std::string& card, std::string_view link, const CellPlace& place) {
    State.UnsavedChanges = -1;
    StopSpeech();
    SpeakCurrentCell(card);
    Speak(link);
    Speak(PlaceWords(place));
}

// The card goes back to its cell, whose grid's cursor goes there with it; the destination shows again
// what it showed before.
void GameScreen::UndoMove(const MoveRecord& move) {
    {
        const auto mute = Board.MuteEcho();
        Board.Put(move.To, move.Under);
        Board.MoveSilently(move.From);
        Board.PutCurrent(move.From.Grid, move.Card);
    }
    if (move.To.Grid == GridId::HomeCell) --State.HomeCount;
    // The words name the column, so the next cursor move in it does not.
    if (move.From.Grid == GridId::Column) State.LastSpokenCol = static_cast<std::int16_t>(move.From.Col);
    SayReplayed(move.Card, texts::BackTo, move.From);
}

// The move again, leaving the cursors as the move itself left them.
void GameScreen::RedoMove(const MoveRecord& move) {
    {
        const auto mute = Board.MuteEcho();
        Board.MoveSilently(move.From);
        Board.PutCurrent(move.From.Grid, "");
        Board.MoveSilently(move.To);
        Board.PutCurrent(move.To.Grid, move.Card);
    }
    if (move.To.Grid == GridId::HomeCell) ++State.HomeCount;
    if (move.To.Grid == GridId::Column) State.LastSpokenCol = static_cast<std::int16_t>(move.To.Col);
    SayReplayed(move.Card, texts::MovedAgainTo, move.To);
}

// Takes the last step back, or makes the last step taken back again.
void GameScreen::ReplayStep(Replay direction) {
    const bool back = direction == Replay::Back;
    if (back ? !State.History.CanUndo() : !State.History.CanRedo()) {
        StopSpeech();
        Speak(back ? texts::NothingToUndo : texts::NothingToRedo);
        return;
    }
    PutBackSilently();
    CancelSearch();
    const HistoryStep step = back ? State.History.Undo() : State.History.Redo();
    if (const auto* move = std::get_if<MoveRecord>(&step)) {
        if (back) UndoMove(*move);
        else RedoMove(*move);
    } else if (back) {
        LayOutTable(std::get<RestartRecord>(step).Before);
        AnnounceTable(texts::RestartUndone);
    } else {
        LayOutTable(*State.History.Start());
        AnnounceTable(texts::DealRestarted);
    }
}

void GameScreen::mnuPlayUndo_Click() {
    Trap(ReportForm::Handler, " in mnuPlayUndo_Click()", [&] { ReplayStep(Replay::Back); });
}

void GameScreen::mnuPlayRedo_Click() {
    Trap(ReportForm::Handler, " in mnuPlayRedo_Click()", [&] { ReplayStep(Replay::Again); });
}

// Restarting is one step of the history, so it asks nothing: undo brings the table before it back.
void GameScreen::mnuPlayRestart_Click() {
    Trap(ReportForm::Handler, " in mnuPlayRestart_Click()", [&] {
        if (State.GameInProgress != -1 || !State.History.Start()) return;  // no game on the table
        // Nothing to lay out again: no step to take back, and the game is not given up.
        if (Board.Snapshot() == *State.History.Start()) {
            StopSpeech();
            Speak(texts::NothingToRestart);
            return;
        }
        PutBackSilently();
        CancelSearch();
        // Restarting gives the game up; the deal laid out again is a game of its own.
        const std::int32_t deal = Stats.Deal();
        LeaveGame();
        Stats.Began(deal);
        State.History.Record(RestartRecord{Board.Snapshot()});
        LayOutTable(*State.History.Start());
        AnnounceTable(texts::DealRestarted);
    });
}

void GameScreen::GameBegun() {
    State.History.SetStart(Board.Snapshot());
    if (State.OpenedFromFile != 0) CountGame(Stats.Began(0, TableKey(Board.Snapshot())));
    else Stats.Began(DealNumber);
    if (State.OpenedFromFile == 0 && DealNumber != 0)
        Speak(std::string(texts::GameNumber) + texts::SpokenNumber(DealNumber));
}

void GameScreen::DealGameNumber(std::int32_t number) {
    Trap(ReportForm::Handler, " in DealGameNumber()", [&] {
        if (!IsDealNumber(number)) return;
        if (!AskToSave(texts::GameInProgress, texts::SaveBeforeNewGame)) return;
        State.OpenedFromFile = 0;
        DealNumber = number;
        Column.SetVisible(false);
        FreeCell.SetVisible(false);
        HomeCell.SetVisible(false);
        BeginGame();
    });
}

// The dialog stays open until it is cancelled or gives a deal number; the deal begins once it has
// closed and the focus is back in the main window.
void GameScreen::mnuPlayDealNumber_Click() {
    Trap(ReportForm::Handler, " in mnuPlayDealNumber_Click()", [&] {
        CancelSearch();
        std::int32_t chosen = 0;
        {
            auto view = Window.CreateDealNumberDialog();
            view->Load = [this] { SayUnlessScreenReader({texts::DealNumberLabel}); };
            view->OkClick = [&] {
                Trap(ReportForm::Handler, " in btnDealOk_Click()", [&] {
                    const auto number = ParseDealNumber(view->NumberText());
                    if (!number) {
                        MsgBox(std::string(texts::NotADealNumber), MsgButtons::OK, MsgIcon::Information,
                               std::string(texts::DealNumberCaption));
                        view->FocusNumber();
                        return;
                    }
                    chosen = *number;
                    // The column grid gets the focus back without a word: the old table is going.
                    if (Column.Visible() && State.FocusGrid == 0) SilentColumnFocus = -1;
                    view->Unload();
                });
            };
            view->CancelClick = [&] { view->Unload(); };
            view->ShowModal();
        }
        if (chosen != 0) DealGameNumber(chosen);
    });
}

}  // namespace quorrel
