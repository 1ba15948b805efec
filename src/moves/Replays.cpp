// Undo, redo and restart, replayed through the board.
#include "moves/Replays.h"

#include "app/GameScreen.h"
#include "speech/CardWords.h"
#include "texts/Texts.h"

namespace quorrel {

// Lays a whole table out, with the cursors where a deal leaves them, all without a sound.
void Replays::LayOutTable(const Table& table) {
    S.Board.LayOut(table);
    S.State.HomeCount = table.HomeCount;
    S.State.UnsavedChanges = -1;
    S.State.BottomCursor = -1;
    S.State.LastSpokenCol = 0;
    S.ForceColumnNumber = 0;
}

// The first text, then the column grid's announcement as after a deal; the column grid takes the
// focus, as after a deal, without a second announcement of its own.
void Replays::AnnounceTable(std::string_view first) {
    S.StopSpeech();
    S.Speak(first);
    if (!S.Column.HasFocus()) {
        S.SilentColumnFocus = -1;
        S.Column.SetFocus();
    }
    S.Speak(texts::ColumnsGrid);
    S.AnnounceCell(S.Column);
}

// A replayed move changes the game; the player hears the card and where it is now.
void Replays::SayReplayed(const std::string& card, std::string_view link, const CellPlace& place) {
    S.State.UnsavedChanges = -1;
    S.StopSpeech();
    S.SpeakCurrentCell(card);
    S.Speak(link);
    S.Speak(PlaceWords(place));
}

// The card goes back to its cell, whose grid's cursor goes there with it; the destination shows again
// what it showed before.
void Replays::UndoMove(const MoveRecord& move) {
    S.Board.Put(move.To, move.Under);
    S.Board.MoveSilently(move.From);
    S.Board.PutCurrent(move.From.Grid, move.Card);
    if (move.To.Grid == GridId::HomeCell) --S.State.HomeCount;
    // The words name the column, so the next cursor move in it does not.
    if (move.From.Grid == GridId::Column) S.State.LastSpokenCol = static_cast<std::int16_t>(move.From.Col);
    SayReplayed(move.Card, texts::BackTo, move.From);
}

// The move again, leaving the cursors as the move itself left them.
void Replays::RedoMove(const MoveRecord& move) {
    S.Board.MoveSilently(move.From);
    S.Board.PutCurrent(move.From.Grid, "");
    S.Board.MoveSilently(move.To);
    S.Board.PutCurrent(move.To.Grid, move.Card);
    if (move.To.Grid == GridId::HomeCell) ++S.State.HomeCount;
    if (move.To.Grid == GridId::Column) S.State.LastSpokenCol = static_cast<std::int16_t>(move.To.Col);
    SayReplayed(move.Card, S.Chosen(texts::MovedAgainWords), move.To);
}

// A step of several cards: the command's cards back, or made again, with the cursor on the top card's
// place; then the cards that went home with it. Said as one move, or as the count of cards and the top
// card, then the cards from home.
void Replays::ReplayCards(const StepRecord& step, bool back) {
    if (back)
        for (auto it = step.Moves.rbegin(); it != step.Moves.rend(); ++it) S.Moves.Unshift(*it);
    else
        for (const MoveRecord& move : step.Moves) S.Moves.Shift(move.From, move.To);
    const CellPlace& place = back ? step.From : step.To;
    S.Board.MoveSilently(place);
    if (place.Grid == GridId::Column) S.State.LastSpokenCol = static_cast<std::int16_t>(place.Col);
    S.State.UnsavedChanges = -1;
    S.StopSpeech();
    if (step.Count > 1) {
        S.Speak(texts::SpokenNumber(step.Count));
        S.Speak(texts::CardsFromWords);
    }
    S.SpeakCurrentCell(step.Top);
    if (back) S.Speak(texts::BackTo);
    else S.Speak(texts::MovedAgainWords);
    S.Speak(PlaceWords(place));
    if (step.Played == step.Moves.size()) return;
    for (std::size_t k = step.Played; k < step.Moves.size(); ++k) S.SpeakCurrentCell(step.Moves[k].Card);
    S.Speak(back ? texts::BackFromHomeWords : texts::WentHomeWords);
}

// Takes the last step back, or makes the last step taken back again.
void Replays::ReplayStep(Replay direction) {
    const bool back = direction == Replay::Back;
    if (back ? !S.State.History.CanUndo() : !S.State.History.CanRedo()) {
        S.StopSpeech();
        S.Speak(back ? texts::NothingToUndo : texts::NothingToRedo);
        return;
    }
    S.Moves.PutBackSilently();
    S.Hints.CancelSearch();
    const HistoryStep step = back ? S.State.History.Undo() : S.State.History.Redo();
    if (const auto* move = std::get_if<MoveRecord>(&step)) {
        if (back) UndoMove(*move);
        else RedoMove(*move);
    } else if (const auto* cards = std::get_if<StepRecord>(&step)) {
        ReplayCards(*cards, back);
    } else if (back) {
        LayOutTable(std::get<RestartRecord>(step).Before);
        AnnounceTable(texts::RestartUndone);
    } else {
        LayOutTable(*S.State.History.Start());
        AnnounceTable(texts::DealRestarted);
    }
}

// Restarting is one step of the history, so it asks nothing: undo brings the table before it back.
void Replays::Restart() {
    S.Trap(ReportForm::Handler, " in mnuPlayRestart_Click()", [&] {
        if (S.State.GameInProgress != -1 || !S.State.History.Start()) return;  // no game on the table
        // Nothing to lay out again: no step to take back, and the game is not given up.
        if (S.Board.Snapshot() == *S.State.History.Start()) {
            S.StopSpeech();
            S.Speak(texts::NothingToRestart);
            return;
        }
        S.Moves.PutBackSilently();
        S.Hints.CancelSearch();
        // Restarting gives the game up; the deal laid out again is a game of its own.
        const std::int32_t deal = S.Scores.Stats.Deal();
        S.Scores.LeaveGame();
        S.Scores.Stats.Began(deal);
        S.State.History.Record(RestartRecord{S.Board.Snapshot()});
        LayOutTable(*S.State.History.Start());
        AnnounceTable(texts::DealRestarted);
    });
}

}  // namespace quorrel
