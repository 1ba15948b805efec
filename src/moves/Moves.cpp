// Carrying out a move that passed the rules, and the end of the game.
#include "app/GameScreen.h"
#include "texts/Texts.h"

namespace quorrel {

// Empties and unmarks the source cell, writes the card into the destination's current cell and says
// so. Within one grid the cursor goes back to the destination; across grids the source grid's cursor
// stays on the emptied cell and the destination's never moves. Every cursor change is announced.
void GameScreen::MoveCard(IGrid& source, IGrid& destination, std::string_view suffix) {
    Trap(ReportForm::Procedure, suffix, [&] {
        const bool sameGrid = &source == &destination;
        const GridId from = Board.IdOf(source);
        const GridId to = Board.IdOf(destination);
        const int row = destination.Row();
        const int col = destination.Col();
        const std::string under = Board.Current(to);
        source.SetRow(State.SelectedRow);
        source.SetCol(State.SelectedCol);
        Board.PutCurrent(from, "");
        Board.Unmark(from);
        if (sameGrid) {
            destination.SetRow(row);
            destination.SetCol(col);
        }
        Board.PutCurrent(to, State.SelectedCard);
        CancelSearch();
        State.History.Record(
            MoveRecord{{from, State.SelectedRow, State.SelectedCol}, {to, row, col}, State.SelectedCard, under});
        if (!DealWaiting) CountGame(Stats.MoveMade());
        SpeakCurrentCell(Board.Current(to));
        Speak(texts::WasMoved);
        State.UnsavedChanges = -1;
        State.CardSelected = 0;
        State.SelectedFrom = 3;
        State.SelectedRow = 0;
        State.SelectedCol = 0;
        State.SelectedCard.clear();
        if (&destination == &HomeCell) CountCardHome();
    });
}

void GameScreen::MoveColumnToColumn() { MoveCard(Column, Column, " in MoveColumnToColumn()"); }
void GameScreen::MoveColumnToFreeCell() { MoveCard(Column, FreeCell, " in MoveColumnToFreeCell()"); }
void GameScreen::MoveFreeCellToColumn() { MoveCard(FreeCell, Column, " in MoveFreeCell ToColumn()"); }
void GameScreen::MoveFreeCellToFreeCell() { MoveCard(FreeCell, FreeCell, " in MoveFreeCell ToFreeCell()"); }
void GameScreen::MoveColumnToHomeCell() { MoveCard(Column, HomeCell, " in MoveColumnToHomeCell()"); }
void GameScreen::MoveFreeCellToHomeCell() { MoveCard(FreeCell, HomeCell, " in MoveFreeCellToHomeCell()"); }

// One more card home; the 52nd ends the game with the question whether to play again.
void GameScreen::CountCardHome() {
    ++State.HomeCount;
    if (State.HomeCount != 52) return;
    State.GameInProgress = 0;
    CountGame(Stats.GameWon());
    State.History.Clear();  // the end of a game cannot be undone
    DealNumber = 0;         // playing again deals a shuffled deck
    Column.SetVisible(false);
    FreeCell.SetVisible(false);
    HomeCell.SetVisible(false);
    State.UnsavedChanges = 0;
    const std::string text = std::string(texts::GameOver) + std::string(texts::CrLf) + std::string(texts::PlayAgain) +
                             std::string(texts::CrLf);
    if (MsgBox(text, MsgButtons::YesNo, MsgIcon::Question, Window.Caption()) == MsgResult::Yes) BeginGame();
    else UnloadMainWindow();
}

}  // namespace quorrel
