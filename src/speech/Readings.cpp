// The reading commands and the card search.
#include "speech/Readings.h"

#include "app/GameScreen.h"
#include "cards/CardMod.h"
#include "speech/CardWords.h"
#include "texts/Texts.h"

namespace quorrel {

void Readings::ReadCells(IGrid& grid, std::string_view gridName, std::string_view allEmpty) {
    const GridId id = S.Board.IdOf(grid);
    int cards = 0;
    for (int k = 0; k < kCells; ++k) cards += !S.Board.At({id, 0, k}).empty();
    S.StopSpeech();
    if (cards == 0) return S.Speak(allEmpty);
    S.Speak(gridName);
    for (int k = 0; k < kCells; ++k) {
        S.Delay(7);  // keys pressed meanwhile are handled at once
        if (S.Unloaded) return;
        S.Speak(std::string(texts::Cell) + texts::SpokenNumber(k + 1));
        S.SpeakCurrentCell(S.Board.At({id, 0, k}));
    }
}

void Readings::ReadFreeCells() {
    S.Trap(ReportForm::Module, " in ReadFreeCells()",
           [&] { ReadCells(S.FreeCell, texts::FreeCellsGrid, texts::AllFreeCellsEmpty); });
}

void Readings::ReadHomeCells() {
    S.Trap(ReportForm::Module, " in ReadHomeCells()",
           [&] { ReadCells(S.HomeCell, texts::HomeCellsGrid, texts::AllHomeCellsEmpty); });
}

void Readings::ReadBottomRowForward() {
    S.Trap(ReportForm::Module, " in ReadBottomRowForward()", [&] {
        if (S.State.GameInProgress != -1) return;
        if (++S.State.BottomCursor == kColumns) S.State.BottomCursor = 0;
        ReadBottomCard(S.State.BottomCursor);
    });
}

void Readings::ReadBottomRow() {
    S.Trap(ReportForm::Module, " in ReadBottomRow()", [&] {
        if (S.State.GameInProgress != -1) return;
        if (--S.State.BottomCursor < 0) S.State.BottomCursor = kColumns - 1;
        ReadBottomCard(S.State.BottomCursor);
    });
}

// Moves the column cursor to the bottom card of the column; the cell-change events speak it.
void Readings::ReadBottomCard(int column) {
    S.Trap(ReportForm::Module, " in ReadBottomCard()", [&] {
        if (S.State.FocusGrid != 0) {
            S.StopSpeech();
            S.Speak(texts::MustBeInColumns);
            return;
        }
        if (const int length = S.Board.Snapshot().Length(column); length != 0) {
            S.Column.SetRow(length);
        } else {
            S.Speak(std::string(texts::Column) + texts::SpokenNumber(column + 1) + std::string(texts::IsEmpty));
            S.Column.SetRow(1);
        }
        S.Column.SetCol(column);
    });
}

// The card one rank below (step -1) or above (+1) the card under the cursor, in its suit, wrapping
// between king and ace.
void Readings::ReadNeighbourCard(int step) {
    if (S.State.GameInProgress != -1) return;
    const std::string text = S.Board.Current(static_cast<GridId>(S.State.FocusGrid));
    if (text.empty()) {
        S.StopSpeech();
        S.Speak(texts::MustBeOnACard);
        S.SpeakCurrentCell(text);
        return;
    }
    const int rank = (GetCardValue(text) - 1 + step + 13) % 13 + 1;
    FindCard(BuildCardString(rank, text));
}

void Readings::ReadPreviousCard() {
    S.Trap(ReportForm::Module, " in ReadPreviousCard()", [&] { ReadNeighbourCard(-1); });
}

void Readings::ReadNextCard() {
    S.Trap(ReportForm::Module, " in ReadNextCard()", [&] { ReadNeighbourCard(+1); });
}

// The cursor goes to the card, which the focus and cell-change events announce; a card not on the
// table is said to be home already.
void Readings::FindCard(const std::string& target) {
    S.Trap(ReportForm::Module, " in FindCard()", [&] {
        const Table table = S.Board.Snapshot();
        for (int k = 0; k < kCells; ++k) {
            if (table.FreeCells[Table::Index(k)] == target) {
                S.FreeCell.SetFocus();
                S.FreeCell.SetRow(0);
                S.FreeCell.SetCol(k);
                return;
            }
        }
        for (int row = 1; row <= kCardRows; ++row) {
            for (int col = 0; col < kColumns; ++col) {
                if (table.Card(col, row) == target) {
                    S.Column.SetFocus();
                    S.Column.SetRow(row);
                    S.Column.SetCol(col);
                    return;
                }
            }
        }
        S.SpeakCurrentCell(target);
        S.Speak(texts::AlreadyPlayed);
    });
}

void Readings::SpeakReading(const std::string& words) {
    S.StopSpeech();
    S.Speak(words);
}

void Readings::ReadColumn() {
    if (S.DealWaiting) return;
    S.Trap(ReportForm::Procedure, " in mnuPlayReadColumn()", [&] {
        if (S.State.GameInProgress == -1)
            SpeakReading(ColumnWords(S.Board.Snapshot(), S.Column.Col(), S.Chosen(texts::DeWords)));
    });
}

void Readings::ReadTable() {
    if (S.DealWaiting) return;
    S.Trap(ReportForm::Procedure, " in mnuPlayReadTable()", [&] {
        if (S.State.GameInProgress == -1) SpeakReading(TableWords(S.Board.Snapshot()));
    });
}

void Readings::ReadBottomRowCards() {
    if (S.DealWaiting) return;
    S.Trap(ReportForm::Procedure, " in mnuPlayReadBottomRow()", [&] {
        if (S.State.GameInProgress == -1) SpeakReading(BottomRowWords(S.Board.Snapshot(), S.Chosen(texts::DeWords)));
    });
}

}  // namespace quorrel
