// The reading commands: all free cells or home cells read aloud, the bottom card of the previous or
// next column, and the previous or next card of the same suit.
#include "app/GameScreen.h"
#include "cards/CardMod.h"
#include "texts/Texts.h"

namespace quorrel {

void GameScreen::ReadCells(IGrid& grid, std::string_view gridName, std::string_view allEmpty) {
    const GridId id = Board.IdOf(grid);
    int cards = 0;
    for (int k = 0; k < kCells; ++k) cards += !Board.At({id, 0, k}).empty();
    StopSpeech();
    if (cards == 0) return Speak(allEmpty);
    Speak(gridName);
    for (int k = 0; k < kCells; ++k) {
        Delay(7);  // keys pressed meanwhile are handled at once
        if (Unloaded) return;
        Speak(std::string(texts::Cell) + texts::SpokenNumber(k + 1));
        SpeakCurrentCell(Board.At({id, 0, k}));
    }
}

void GameScreen::ReadFreeCells() {
    Trap(ReportForm::Module, " in ReadFreeCells()",
         [&] { ReadCells(FreeCell, texts::FreeCellsGrid, texts::AllFreeCellsEmpty); });
}

void GameScreen::ReadHomeCells() {
    Trap(ReportForm::Module, " in ReadHomeCells()",
         [&] { ReadCells(HomeCell, texts::HomeCellsGrid, texts::AllHomeCellsEmpty); });
}

void GameScreen::ReadBottomRowForward() {
    Trap(ReportForm::Module, " in ReadBottomRowForward()", [&] {
        if (State.GameInProgress != -1) return;
        if (++State.BottomCursor == 8) State.BottomCursor = 0;
        ReadBottomCard(State.BottomCursor);
    });
}

void GameScreen::ReadBottomRow() {
    Trap(ReportForm::Module, " in ReadBottomRow()", [&] {
        if (State.GameInProgress != -1) return;
        if (--State.BottomCursor < 0) State.BottomCursor = 7;
        ReadBottomCard(State.BottomCursor);
    });
}

// Moves the column cursor to the bottom card of the column; the cell-change events speak it.
void GameScreen::ReadBottomCard(int column) {
    Trap(ReportForm::Module, " in ReadBottomCard()", [&] {
        if (State.FocusGrid != 0) {
            StopSpeech();
            Speak(texts::MustBeInColumns);
            return;
        }
        if (const int length = Board.Snapshot().Length(column); length != 0) {
            Column.SetRow(length);
        } else {
            Speak(std::string(texts::Column) + texts::SpokenNumber(column + 1) + std::string(texts::IsEmpty));
            Column.SetRow(1);
        }
        Column.SetCol(column);
    });
}

// The card one rank below (step -1) or above (+1) the card under the cursor, in its suit, wrapping
// between king and ace.
void GameScreen::ReadNeighbourCard(int step) {
    if (State.GameInProgress != -1) return;
    const std::string text = Board.Current(static_cast<GridId>(State.FocusGrid));
    if (text.empty()) {
        StopSpeech();
        Speak(texts::MustBeOnACard);
        SpeakCurrentCell(text);
        return;
    }
    const int rank = (GetCardValue(text) - 1 + step + 13) % 13 + 1;
    FindCard(BuildCardString(rank, text));
}

void GameScreen::ReadPreviousCard() {
    Trap(ReportForm::Module, " in ReadPreviousCard()", [&] { ReadNeighbourCard(-1); });
}

void GameScreen::ReadNextCard() {
    Trap(ReportForm::Module, " in ReadNextCard()", [&] { ReadNeighbourCard(+1); });
}

void GameScreen::mnuOptionsPreviousCard_Click() {
    if (DealWaiting) return;
    Trap(ReportForm::Procedure, " in mnuOptionsPreviousCard()", [&] {
        ForceColumnNumber = -1;
        ReadPreviousCard();
    });
}

void GameScreen::mnuOptionsNextCard_Click() {
    if (DealWaiting) return;
    Trap(ReportForm::Procedure, " in mnuOptionsNextCard()", [&] {
        ForceColumnNumber = -1;
        ReadNextCard();
    });
}

void GameScreen::mnuOptionsPreviousBottom_Click() {
    if (DealWaiting) return;
    Trap(ReportForm::Procedure, " in mnuOptionsPreviousBottom()", [&] {
        ForceColumnNumber = -1;
        ReadBottomRow();
    });
}

void GameScreen::mnuOptionsNextBottom_Click() {
    if (DealWaiting) return;
    Trap(ReportForm::Procedure, " in mnuOptionsNextBottom()", [&] {
        ForceColumnNumber = -1;
        ReadBottomRowForward();
    });
}

}  // namespace quorrel
