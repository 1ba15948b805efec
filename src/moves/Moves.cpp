// Picking up, dropping, the six moves and the end of the game.
#include "moves/Moves.h"

#include "app/GameScreen.h"
#include "table/Rules.h"
#include "texts/Texts.h"

namespace quorrel {

namespace {
constexpr std::int16_t kFromColumn = 0;
constexpr std::int16_t kFromFreeCell = 1;
constexpr std::int16_t kNothingSelected = 3;
}  // namespace

// A refusal: the reason, then the clicked cell. The selection stays as it was.
void Moves::Refuse(std::string_view text, const std::string& cell) {
    S.StopSpeech();
    S.Speak(text);
    S.SpeakCurrentCell(cell);
}

// Picks up the current cell's card: the state first, then the mark (inverted colours), then the words.
// Only a pick-up from a column stops the speech under way.
void Moves::PickUp(IGrid& grid, std::int16_t from) {
    S.State.CardSelected = -1;
    S.State.SelectedFrom = from;
    S.State.SelectedRow = static_cast<std::int16_t>(grid.Row());
    S.State.SelectedCol = static_cast<std::int16_t>(grid.Col());
    S.State.SelectedCard = S.Board.Current(S.Board.IdOf(grid));
    S.Board.Mark(S.Board.IdOf(grid));
    if (from == kFromColumn) S.StopSpeech();
    S.SpeakCurrentCell(S.State.SelectedCard);
    S.Speak(texts::Selected);
}

void Moves::ClickColumn() {
    S.Trap(ReportForm::Handler, " in Column_Click()", [&] {
        const int row = S.Column.Row();
        const int col = S.Column.Col();
        const ColumnCells cells = S.Board.ColumnSnapshot(col);
        const std::string& text = cells[Table::Index(row - 1)];
        if (S.State.CardSelected == 0) {
            const rules::Outcome pickUp = rules::PickUpFromColumn(cells, row);
            if (pickUp.What == rules::Outcome::Move) return PickUp(S.Column, kFromColumn);
            // An empty cell is refused without the cell's words.
            if (text.empty()) {
                S.StopSpeech();
                S.Speak(pickUp.Refusal);
            } else {
                Refuse(pickUp.Refusal, text);
            }
            return;
        }
        if (S.State.SelectedFrom != kFromColumn && S.State.SelectedFrom != kFromFreeCell) return;
        const rules::Outcome drop = rules::DropOnColumn(cells, S.State.SelectedCard, row);
        if (drop.What == rules::Outcome::Refuse) return Refuse(drop.Refusal, text);
        if (S.State.SelectedFrom == kFromColumn) MoveColumnToColumn();
        else MoveFreeCellToColumn();
    });
}

void Moves::ClickFreeCell() {
    S.Trap(ReportForm::Handler, " in FreeCell_Click()", [&] {
        const std::string text = S.Board.Current(GridId::FreeCell);
        if (S.State.CardSelected == 0) {
            const rules::Outcome pickUp = rules::PickUpFromFreeCell(text);
            if (pickUp.What == rules::Outcome::Refuse) Refuse(pickUp.Refusal, text);
            else PickUp(S.FreeCell, kFromFreeCell);
            return;
        }
        const rules::Outcome drop = rules::DropOnFreeCell(text);
        if (drop.What == rules::Outcome::Refuse) Refuse(drop.Refusal, text);
        else if (S.State.SelectedFrom == kFromFreeCell) MoveFreeCellToFreeCell();
        else MoveColumnToFreeCell();
    });
}

void Moves::ClickHomeCell() {
    S.Trap(ReportForm::Handler, " in HomeCell_Click()", [&] {
        const std::string text = S.Board.Current(GridId::HomeCell);
        const rules::Outcome outcome = S.State.CardSelected != -1 ? rules::PickUpFromHomeCell()
                                                                  : rules::DropOnHomeCell(S.State.SelectedCard, text);
        if (outcome.What == rules::Outcome::Refuse) return Refuse(outcome.Refusal, text);
        if (outcome.What == rules::Outcome::Ignore) return;
        if (S.State.SelectedFrom == kFromColumn) MoveColumnToHomeCell();
        else MoveFreeCellToHomeCell();
    });
}

// Escape: the cursor goes back to the picked-up card (its announcement still says " selected "), the
// mark comes off, and the card is spoken again as unselected after that announcement.
void Moves::PutBack() {
    const GridId id = S.State.SelectedFrom == kFromColumn ? GridId::Column : GridId::FreeCell;
    IGrid& grid = S.Board.Grid(id);
    grid.SetRow(S.State.SelectedRow);
    grid.SetCol(S.State.SelectedCol);
    S.Board.Unmark(id);
    S.State.CardSelected = 0;
    S.State.SelectedFrom = kNothingSelected;
    S.SpeakCurrentCell(S.Board.Current(id));
    S.Speak(texts::Unselected);
}

// Empties and unmarks the source cell, writes the card into the destination's current cell and says
// so. Within one grid the cursor goes back to the destination; across grids the source grid's cursor
// stays on the emptied cell and the destination's never moves. Every cursor change is announced.
void Moves::MoveCard(IGrid& source, IGrid& destination, std::string_view suffix) {
    S.Trap(ReportForm::Procedure, suffix, [&] {
        const bool sameGrid = &source == &destination;
        const GridId from = S.Board.IdOf(source);
        const GridId to = S.Board.IdOf(destination);
        const int row = destination.Row();
        const int col = destination.Col();
        const std::string under = S.Board.Current(to);
        source.SetRow(S.State.SelectedRow);
        source.SetCol(S.State.SelectedCol);
        S.Board.PutCurrent(from, "");
        S.Board.Unmark(from);
        if (sameGrid) {
            destination.SetRow(row);
            destination.SetCol(col);
        }
        S.Board.PutCurrent(to, S.State.SelectedCard);
        S.Hints.CancelSearch();
        S.State.History.Record(
            MoveRecord{{from, S.State.SelectedRow, S.State.SelectedCol}, {to, row, col}, S.State.SelectedCard, under});
        if (!S.DealWaiting) S.Scores.CountGame(S.Scores.Stats.MoveMade());
        S.SpeakCurrentCell(S.Board.Current(to));
        S.Speak(texts::WasMoved);
        S.State.UnsavedChanges = -1;
        S.State.CardSelected = 0;
        S.State.SelectedFrom = 3;
        S.State.SelectedRow = 0;
        S.State.SelectedCol = 0;
        S.State.SelectedCard.clear();
        if (&destination == &S.HomeCell) CountCardHome();
    });
}

void Moves::MoveColumnToColumn() { MoveCard(S.Column, S.Column, " in MoveColumnToColumn()"); }

void Moves::MoveColumnToFreeCell() { MoveCard(S.Column, S.FreeCell, " in MoveColumnToFreeCell()"); }

void Moves::MoveFreeCellToColumn() { MoveCard(S.FreeCell, S.Column, " in MoveFreeCell ToColumn()"); }

void Moves::MoveFreeCellToFreeCell() { MoveCard(S.FreeCell, S.FreeCell, " in MoveFreeCell ToFreeCell()"); }

void Moves::MoveColumnToHomeCell() { MoveCard(S.Column, S.HomeCell, " in MoveColumnToHomeCell()"); }

void Moves::MoveFreeCellToHomeCell() { MoveCard(S.FreeCell, S.HomeCell, " in MoveFreeCellToHomeCell()"); }

// One more card home; the 52nd ends the game with the question whether to play again.
void Moves::CountCardHome() {
    ++S.State.HomeCount;
    if (S.State.HomeCount != kCards) return;
    S.State.GameInProgress = 0;
    S.Scores.CountGame(S.Scores.Stats.GameWon());
    S.State.History.Clear();  // the end of a game cannot be undone
    S.Deals.DealNumber = 0;   // playing again deals a shuffled deck
    S.Column.SetVisible(false);
    S.FreeCell.SetVisible(false);
    S.HomeCell.SetVisible(false);
    S.State.UnsavedChanges = 0;
    const std::string text = std::string(texts::GameOver) + std::string(texts::CrLf) + std::string(texts::PlayAgain) +
                             std::string(texts::CrLf);
    if (S.MsgBox(text, MsgButtons::YesNo, MsgIcon::Question, S.Window.Caption()) == MsgResult::Yes) S.BeginGame();
    else S.UnloadMainWindow();
}

// A picked-up card goes back unannounced: the mark comes off and every cursor stays where it was.
void Moves::PutBackSilently() {
    if (S.State.CardSelected != -1) return;
    S.Board.UnmarkSilently(
        {S.State.SelectedFrom == 0 ? GridId::Column : GridId::FreeCell, S.State.SelectedRow, S.State.SelectedCol});
    S.State.CardSelected = 0;
    S.State.SelectedFrom = 3;
}

}  // namespace quorrel
