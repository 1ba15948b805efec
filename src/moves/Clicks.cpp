// Picking a card up and dropping it: the three grids' click handlers and the rules of a drop.
#include "app/GameScreen.h"
#include "cards/CardMod.h"
#include "platform/Keys.h"
#include "texts/Texts.h"

namespace quorrel {

namespace {
constexpr std::int16_t kFromColumn = 0;
constexpr std::int16_t kFromFreeCell = 1;
constexpr std::int16_t kNothingSelected = 3;
}  // namespace

// A refusal: the reason, then the clicked cell. The selection stays as it was.
void GameScreen::Refuse(std::string_view text, const std::string& cell) {
    StopSpeech();
    Speak(text);
    SpeakCurrentCell(cell);
}

// Picks up the current cell's card: the state first, then the mark (inverted colours), then the words.
// Only a pick-up from a column stops the speech under way.
void GameScreen::PickUp(IGrid& grid, std::int16_t from) {
    State.CardSelected = -1;
    State.SelectedFrom = from;
    State.SelectedRow = static_cast<std::int16_t>(grid.Row());
    State.SelectedCol = static_cast<std::int16_t>(grid.Col());
    State.SelectedCard = grid.Text();
    grid.SetCellBackColor(grid.ForeColor());
    grid.SetCellForeColor(grid.BackColor());
    if (from == kFromColumn) StopSpeech();
    SpeakCurrentCell(State.SelectedCard);
    Speak(texts::Selected);
}

void GameScreen::Column_Click() {
    Trap(ReportForm::Handler, " in Column_Click()", [&] {
        const int row = Column.Row();
        const int col = Column.Col();
        const std::string text = Column.Text();
        if (State.CardSelected == 0) {
            if (text.empty()) {
                StopSpeech();
                Speak(texts::CannotMoveEmptyCell);
            } else if (row + 1 < Column.Rows() && !Column.TextMatrix(row + 1, col).empty()) {
                // The last card row has nothing below it, so its card can always be picked up.
                Refuse(texts::OnlyBottomCard, text);
            } else {
                PickUp(Column, kFromColumn);
            }
            return;
        }
        if (State.SelectedFrom == kFromColumn || State.SelectedFrom == kFromFreeCell) DropOnColumn();
    });
}

// A drop on the column grid's current cell, of a card from a column or from a free cell.
void GameScreen::DropOnColumn() {
    const int row = Column.Row();
    const std::string text = Column.Text();
    auto move = [&] {
        if (State.SelectedFrom == kFromColumn) MoveColumnToColumn();
        else MoveFreeCellToColumn();
    };
    if (!text.empty()) return Refuse(texts::ColumnCellMustBeEmpty, text);
    if (row == 1) return move();  // any card may start an empty column
    const std::string above = Column.TextMatrix(row - 1, Column.Col());
    if (CardColor(State.SelectedCard) == CardColor(above)) return Refuse(texts::AlternatingColors, text);
    // An empty cell above would leave a gap in the column: refused like a card of the wrong rank.
    if (above.empty() || GetCardValue(above) != GetCardValue(State.SelectedCard) + 1)
        return Refuse(texts::DescendingOrder, text);
    move();
}

void GameScreen::FreeCell_Click() {
    Trap(ReportForm::Handler, " in FreeCell_Click()", [&] {
        const std::string text = FreeCell.Text();
        if (State.CardSelected == 0) {
            if (text.empty()) Refuse(texts::FreeCellEmpty, text);
            else PickUp(FreeCell, kFromFreeCell);
        } else if (!text.empty()) {
            // Also the free cell the card itself lies in.
            Refuse(texts::FreeCellMustBeEmpty, text);
        } else if (State.SelectedFrom == kFromFreeCell) {
            MoveFreeCellToFreeCell();
        } else {
            MoveColumnToFreeCell();
        }
    });
}

void GameScreen::HomeCell_Click() {
    Trap(ReportForm::Handler, " in HomeCell_Click()", [&] {
        const std::string text = HomeCell.Text();
        auto moveHome = [&] {
            if (State.SelectedFrom == kFromColumn) MoveColumnToHomeCell();
            else MoveFreeCellToHomeCell();
        };
        if (State.CardSelected != -1) return Refuse(texts::HomeCardsStay, text);
        if (text.empty()) {
            // Any ace may go to any empty home cell.
            if (GetCardValue(State.SelectedCard) == 1) return moveHome();
            return Refuse(texts::FirstHomeCardAce, text);
        }
        if (GetSuite(text) != GetSuite(State.SelectedCard)) return Refuse(texts::HomeSameSuit, text);
        // A card of the same suit but the wrong rank is neither moved nor refused aloud.
        if (GetCardValue(State.SelectedCard) == GetCardValue(text) + 1) moveHome();
    });
}

void GameScreen::Column_KeyDown(int KeyCode, int /*Shift*/) {
    Trap(ReportForm::Handler, " in Column_KeyDown()", [&] {
        if (KeyCode == keys::Return) Column_Click();
    });
}

void GameScreen::FreeCell_KeyDown(int KeyCode, int /*Shift*/) {
    Trap(ReportForm::Handler, " in FreeCell_KeyDown()", [&] {
        if (KeyCode == keys::Return) FreeCell_Click();
    });
}

void GameScreen::HomeCell_KeyDown(int KeyCode, int /*Shift*/) {
    Trap(ReportForm::Handler, " in HomeCell_KeyDown()", [&] {
        if (KeyCode == keys::Return) HomeCell_Click();
    });
}

// Escape: the cursor goes back to the picked-up card (its announcement still says " selected "), the
// mark comes off, and the card is spoken again as unselected after that announcement.
void GameScreen::PutBack() {
    IGrid& grid = State.SelectedFrom == kFromColumn ? Column : FreeCell;
    grid.SetRow(State.SelectedRow);
    grid.SetCol(State.SelectedCol);
    grid.SetCellBackColor(grid.BackColor());
    grid.SetCellForeColor(grid.ForeColor());
    State.CardSelected = 0;
    State.SelectedFrom = kNothingSelected;
    SpeakCurrentCell(grid.Text());
    Speak(texts::Unselected);
}

}  // namespace quorrel
