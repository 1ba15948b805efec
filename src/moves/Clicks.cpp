// Picking a card up and dropping it: the three grids' click handlers and the rules of a drop.
#include "app/GameScreen.h"
#include "table/Rules.h"
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
    State.SelectedCard = Board.Current(Board.IdOf(grid));
    Board.Mark(Board.IdOf(grid));
    if (from == kFromColumn) StopSpeech();
    SpeakCurrentCell(State.SelectedCard);
    Speak(texts::Selected);
}

void GameScreen::Column_Click() {
    Trap(ReportForm::Handler, " in Column_Click()", [&] {
        const int row = Column.Row();
        const int col = Column.Col();
        const Table table = Board.Snapshot();
        const std::string& text = table.Card(col, row);
        if (State.CardSelected == 0) {
            const rules::Outcome pickUp = rules::PickUpFromColumn(table, col, row);
            if (pickUp.What == rules::Outcome::Move) return PickUp(Column, kFromColumn);
            // An empty cell is refused without the cell's words.
            if (text.empty()) {
                StopSpeech();
                Speak(pickUp.Refusal);
            } else {
                Refuse(pickUp.Refusal, text);
            }
            return;
        }
        if (State.SelectedFrom != kFromColumn && State.SelectedFrom != kFromFreeCell) return;
        const rules::Outcome drop = rules::DropOnColumn(table, State.SelectedCard, col, row);
        if (drop.What == rules::Outcome::Refuse) return Refuse(drop.Refusal, text);
        if (State.SelectedFrom == kFromColumn) MoveColumnToColumn();
        else MoveFreeCellToColumn();
    });
}

void GameScreen::FreeCell_Click() {
    Trap(ReportForm::Handler, " in FreeCell_Click()", [&] {
        const std::string text = Board.Current(GridId::FreeCell);
        if (State.CardSelected == 0) {
            const rules::Outcome pickUp = rules::PickUpFromFreeCell(text);
            if (pickUp.What == rules::Outcome::Refuse) Refuse(pickUp.Refusal, text);
            else PickUp(FreeCell, kFromFreeCell);
            return;
        }
        const rules::Outcome drop = rules::DropOnFreeCell(text);
        if (drop.What == rules::Outcome::Refuse) Refuse(drop.Refusal, text);
        else if (State.SelectedFrom == kFromFreeCell) MoveFreeCellToFreeCell();
        else MoveColumnToFreeCell();
    });
}

void GameScreen::HomeCell_Click() {
    Trap(ReportForm::Handler, " in HomeCell_Click()", [&] {
        const std::string text = Board.Current(GridId::HomeCell);
        const rules::Outcome outcome =
            State.CardSelected != -1 ? rules::PickUpFromHomeCell() : rules::DropOnHomeCell(State.SelectedCard, text);
        if (outcome.What == rules::Outcome::Refuse) return Refuse(outcome.Refusal, text);
        if (outcome.What == rules::Outcome::Ignore) return;
        if (State.SelectedFrom == kFromColumn) MoveColumnToHomeCell();
        else MoveFreeCellToHomeCell();
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
    const GridId id = State.SelectedFrom == kFromColumn ? GridId::Column : GridId::FreeCell;
    IGrid& grid = Board.Grid(id);
    grid.SetRow(State.SelectedRow);
    grid.SetCol(State.SelectedCol);
    Board.Unmark(id);
    State.CardSelected = 0;
    State.SelectedFrom = kNothingSelected;
    SpeakCurrentCell(Board.Current(id));
    Speak(texts::Unselected);
}

}  // namespace quorrel
