// Picking up, dropping, the six moves and the end of the game.
#include "moves/Moves.h"

#include <algorithm>
#include <utility>

#include "app/GameScreen.h"
#include "app/Menus.h"
#include "speech/CardWords.h"
#include "table/Rules.h"
#include "table/ScopedSet.h"
#include "texts/Texts.h"

namespace quorrel {

namespace {
constexpr std::int16_t kFromColumn = 0;
constexpr std::int16_t kFromFreeCell = 1;
constexpr std::int16_t kNothingSelected = 3;
}  // namespace

// A refusal: the reason, then the clicked cell. The selection stays as it was.
void Moves::Refuse(std::string_view text, const std::string& cell) {
    S.Sounds.Play(Sound::Refusal);
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
    S.Sounds.Play(Sound::PickUp);
    if (from == kFromColumn) S.StopSpeech();
    S.SpeakCurrentCell(S.State.SelectedCard);
    S.Speak(texts::PickedUpWords);
    pickedUpAloud_ = true;
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
                S.Sounds.Play(Sound::Refusal);
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
        {
            // A key's move jumps no cursor the player has to hear: the cursors are where the key put them.
            std::optional<Board::Mute> mute;
            if (keyed_) mute.emplace(S.State);
            source.SetRow(S.State.SelectedRow);
            source.SetCol(S.State.SelectedCol);
            S.Board.PutCurrent(from, "");
            S.Board.Unmark(from);
            if (sameGrid) {
                destination.SetRow(row);
                destination.SetCol(col);
            }
        }
        S.Board.PutCurrent(to, S.State.SelectedCard);
        S.Hints.CancelSearch();
        S.State.History.Record(
            MoveRecord{{from, S.State.SelectedRow, S.State.SelectedCol}, {to, row, col}, S.State.SelectedCard, under});
        if (!S.DealWaiting) S.Scores.CountGame(S.Scores.Stats.MoveMade());
        // Brief, a card said as it was picked up is not said again as it drops.
        S.Sounds.Play(to == GridId::HomeCell ? Sound::Home : Sound::Drop);
        const std::string card = CellWords(S.Board.Current(to), S.Chosen(texts::DeWords));
        S.Speak(texts::Wording{card, pickedUpAloud_ ? "" : card});
        S.Speak(texts::MovedWords);
        S.State.UnsavedChanges = -1;
        S.State.CardSelected = 0;
        S.State.SelectedFrom = 3;
        S.State.SelectedRow = 0;
        S.State.SelectedCol = 0;
        S.State.SelectedCard.clear();
        if (&destination == &S.HomeCell) CountCardHome();
        SendSafeCardsHome();
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
    if (S.State.HomeCount == kCards) GameWon();
}

void Moves::GameWon() {
    round_.reset();
    S.State.GameInProgress = 0;
    S.Scores.CountGame(S.Scores.Stats.GameWon());
    S.State.History.Clear();  // the end of a game cannot be undone
    S.Deals.DealNumber = 0;   // playing again deals a shuffled deck
    S.Column.SetVisible(false);
    S.FreeCell.SetVisible(false);
    S.HomeCell.SetVisible(false);
    S.State.UnsavedChanges = 0;
    S.Sounds.Play(Sound::Won);
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

bool Moves::Playing() const { return S.State.GameInProgress == -1 && !S.DealWaiting; }

MoveRecord Moves::Shift(const CellPlace& from, const CellPlace& to) {
    MoveRecord move{from, to, S.Board.At(from), S.Board.At(to)};
    S.Board.Put(from, "");
    S.Board.Put(to, move.Card);
    if (to.Grid == GridId::HomeCell) ++S.State.HomeCount;
    return move;
}

void Moves::Unshift(const MoveRecord& move) {
    S.Board.Put(move.To, move.Under);
    S.Board.Put(move.From, move.Card);
    if (move.To.Grid == GridId::HomeCell) --S.State.HomeCount;
}

void Moves::Moved(HistoryStep step) {
    S.Hints.CancelSearch();
    S.State.History.Record(std::move(step));
    if (!S.DealWaiting) S.Scores.CountGame(S.Scores.Stats.MoveMade());
    S.State.UnsavedChanges = -1;
}

void Moves::FocusSilently(GridId id) {
    IGrid& grid = S.Board.Grid(id);
    if (grid.HasFocus()) return;
    if (id == GridId::Column) S.SilentColumnFocus = -1;
    else S.SilentCellFocus = -1;
    grid.SetFocus();
}

void Moves::SelectSilently(const CellPlace& place) {
    S.State.CardSelected = -1;
    S.State.SelectedFrom = place.Grid == GridId::Column ? kFromColumn : kFromFreeCell;
    pickedUpAloud_ = false;
    S.State.SelectedRow = static_cast<std::int16_t>(place.Row);
    S.State.SelectedCol = static_cast<std::int16_t>(place.Col);
    S.State.SelectedCard = S.Board.At(place);
}

std::optional<CellPlace> Moves::CardToMove() {
    if (S.State.CardSelected == -1)
        return CellPlace{S.State.SelectedFrom == kFromColumn ? GridId::Column : GridId::FreeCell, S.State.SelectedRow,
                         S.State.SelectedCol};
    if (S.State.FocusGrid == 1) {
        const std::string text = S.Board.Current(GridId::FreeCell);
        if (text.empty()) {
            Refuse(texts::FreeCellEmpty, text);
            return std::nullopt;
        }
        return S.Board.Cursor(GridId::FreeCell);
    }
    if (S.State.FocusGrid == 2) {
        Refuse(rules::PickUpFromHomeCell().Refusal, S.Board.Current(GridId::HomeCell));
        return std::nullopt;
    }
    const int column = S.Column.Col();
    const int length = LengthOf(S.Board.ColumnSnapshot(column));
    if (length == 0) {
        S.Sounds.Play(Sound::Refusal);
        S.StopSpeech();
        S.Speak(texts::CannotMoveEmptyCell);
        return std::nullopt;
    }
    const CellPlace place{GridId::Column, length, column};
    S.Board.MoveSilently(place);
    return place;
}

void Moves::ColumnKey(int column) {
    S.Trap(ReportForm::Handler, " in ColumnKey()", [&] {
        if (!Playing()) return;
        if (S.State.CardSelected == -1 && S.State.SelectedFrom == kFromColumn && S.State.SelectedCol == column) {
            S.StopSpeech();
            return PutBack();
        }
        const int length = LengthOf(S.Board.ColumnSnapshot(column));
        // The bottom card to pick up; below it to drop, or the bottom card's own cell when the column is full.
        const int row = S.State.CardSelected == -1 ? std::min(length + 1, kCardRows) : std::max(length, 1);
        FocusSilently(GridId::Column);
        S.Board.MoveSilently({GridId::Column, row, column});
        const ScopedSet keyed(keyed_, true);
        ClickColumn();
    });
}

void Moves::FreeCellKey(int cell) {
    S.Trap(ReportForm::Handler, " in FreeCellKey()", [&] {
        if (!Playing()) return;
        const bool own = S.State.CardSelected == -1 && S.State.SelectedFrom == kFromFreeCell &&
                         S.State.SelectedCol == cell;
        FocusSilently(GridId::FreeCell);
        S.Board.MoveSilently({GridId::FreeCell, 0, cell});
        const ScopedSet keyed(keyed_, true);
        if (!own) return ClickFreeCell();
        S.StopSpeech();
        PutBack();
    });
}

void Moves::ToFreeCell() {
    S.Trap(ReportForm::Handler, " in ToFreeCell()", [&] {
        if (!Playing()) return;
        const Table table = S.Board.Snapshot();
        int empty = 0;
        while (empty < kCells && !table.FreeCells[Table::Index(empty)].empty()) ++empty;
        const ScopedSet keyed(keyed_, true);
        if (S.State.CardSelected == 0 && S.State.FocusGrid == 1) return ClickFreeCell();  // picks up its card
        const bool selected = S.State.CardSelected == -1;
        const std::optional<CellPlace> from = CardToMove();
        if (!from) return;
        if (empty == kCells) {
            if (selected) return ClickFreeCell();  // Enter's refusal, and the card stays picked up
            return Refuse(texts::FreeCellMustBeEmpty, S.Board.Current(GridId::FreeCell));
        }
        S.Board.MoveSilently({GridId::FreeCell, 0, empty});
        if (selected) return ClickFreeCell();
        SelectSilently(*from);
        if (from->Grid == GridId::Column) MoveColumnToFreeCell();
        else MoveFreeCellToFreeCell();
    });
}

void Moves::ToHome() {
    S.Trap(ReportForm::Handler, " in ToHome()", [&] {
        if (!Playing()) return;
        const std::optional<CellPlace> from = CardToMove();
        if (!from) return;
        const Table table = S.Board.Snapshot();
        const std::string& card = table.At(*from);
        const std::optional<int> home = rules::HomeCellFor(table, card);
        if (!home) return;
        const std::string& top = table.HomeCells[Table::Index(*home)];
        const rules::Outcome outcome = rules::DropOnHomeCell(card, top);
        if (outcome.What == rules::Outcome::Refuse) return Refuse(outcome.Refusal, top);
        if (outcome.What == rules::Outcome::Ignore) return Refuse(texts::NotNextHome, top);
        if (S.State.CardSelected == 0) SelectSilently(*from);
        S.Board.MoveSilently({GridId::HomeCell, 0, *home});
        const ScopedSet keyed(keyed_, true);
        if (S.State.SelectedFrom == kFromColumn) MoveColumnToHomeCell();
        else MoveFreeCellToHomeCell();
    });
}

void Moves::QuickMove() {
    S.Trap(ReportForm::Handler, " in QuickMove()", [&] {
        if (!Playing()) return;
        if (round_ && round_->Step == S.State.History.Done() && S.State.History.CanUndo()) {
            // Again at once: the last quick move (with the cards it sent home) is taken back without a
            // word, and the card goes to the next place.
            const HistoryStep last = S.State.History.TakeLast();
            if (const auto* move = std::get_if<MoveRecord>(&last)) Unshift(*move);
            else if (const auto* step = std::get_if<StepRecord>(&last))
                for (auto it = step->Moves.rbegin(); it != step->Moves.rend(); ++it) Unshift(*it);
            round_->Next = (round_->Next + 1) % round_->Places.size();
        } else {
            round_.reset();
            const std::optional<CellPlace> from = CardToMove();
            if (!from) return;
            std::vector<CellPlace> places = rules::PlacesFor(S.Board.Snapshot(), *from);
            if (places.empty()) {
                S.Sounds.Play(Sound::Refusal);
                S.StopSpeech();
                S.Speak(texts::NowhereToGo);
                return;
            }
            round_ = QuickRound{*from, std::move(places)};
        }
        PutBackSilently();
        const CellPlace to = round_->Places[round_->Next];
        const MoveRecord move = Shift(round_->From, to);
        // The column grid's cursor follows a card to a column; a card to a free cell or home leaves it.
        if (to.Grid == GridId::Column) S.Board.MoveSilently(to);
        Moved(move);
        S.Sounds.Play(to.Grid == GridId::HomeCell ? Sound::Home : Sound::Drop);
        S.StopSpeech();
        S.SpeakCurrentCell(move.Card);
        S.Speak(texts::WentTo);
        S.Speak(PlaceWords(to));
        if (S.State.HomeCount == kCards) return GameWon();
        SendSafeCardsHome();
        if (round_) round_->Step = S.State.History.Done();
    });
}

void Moves::RunTo(int column) {
    S.Trap(ReportForm::Handler, " in RunTo()", [&] {
        if (!Playing()) return;
        // A free cell's card is no run: the key drops it, as the column's own key would.
        if (S.State.CardSelected == -1 && S.State.SelectedFrom == kFromFreeCell) return ColumnKey(column);
        const int from = S.State.CardSelected == -1 ? S.State.SelectedCol : S.Column.Col();
        Table table = S.Board.Snapshot();
        const rules::RunPlan plan = rules::PlanRun(table, from, column);
        S.Sounds.Play(plan.What == rules::RunPlan::Moves ? Sound::Drop : Sound::Refusal);
        S.StopSpeech();
        switch (plan.What) {
        case rules::RunPlan::Moves: break;
        case rules::RunPlan::EmptyColumn: return S.Speak(texts::NoRun);
        case rules::RunPlan::SameColumn: return S.Speak(texts::RunAlreadyThere);
        case rules::RunPlan::DoesNotFit: return S.Speak(texts::RunDoesNotFit);
        case rules::RunPlan::TooLong:
            S.Speak(texts::SpokenNumber(plan.Count));
            S.Speak(texts::RunTooLong);
            S.Speak(texts::SpokenNumber(plan.Capacity));
            return S.Speak(texts::CanMoveNow);
        }
        PutBackSilently();
        const int topRow = table.Length(from) - plan.Count + 1;
        const CellPlace topFrom{GridId::Column, topRow, from};
        const CellPlace topTo{GridId::Column, table.Length(column) + 1, column};
        const std::string top = table.At(topFrom);
        std::vector<MoveRecord> moves;
        for (const auto& [a, b] : rules::PlayOutRun(table, from, column, plan.Count)) moves.push_back(Shift(a, b));
        FocusSilently(GridId::Column);
        S.Board.MoveSilently({GridId::Column, topTo.Row + plan.Count - 1, column});
        const std::size_t played = moves.size();
        if (plan.Count == 1) Moved(moves.front());
        else Moved(StepRecord{std::move(moves), played, plan.Count, top, topFrom, topTo});
        if (plan.Count > 1) {
            S.Speak(texts::SpokenNumber(plan.Count));
            S.Speak(texts::CardsFromWords);
        }
        S.SpeakCurrentCell(top);
        S.Speak(texts::WentTo);
        S.Speak(PlaceWords(topTo));
        SendSafeCardsHome();
    });
}

bool Moves::SafeCardsHomeOn() const { return S.Menus.IsChecked(mnuOptionsSafeHome); }

void Moves::SendSafeCardsHome() {
    if (!SafeCardsHomeOn() || S.State.GameInProgress != -1 || !S.State.History.CanUndo()) return;
    std::vector<MoveRecord> home;
    for (;;) {
        const Table table = S.Board.Snapshot();
        std::optional<std::pair<CellPlace, int>> next;
        auto consider = [&](const CellPlace& place) {
            const std::string& card = table.At(place);
            if (next || card.empty()) return;
            const std::optional<int> cell = rules::HomeCellFor(table, card);
            if (cell && rules::GoesHome(card, table.HomeCells[Table::Index(*cell)]) &&
                rules::SafeToSendHome(table, card))
                next = {place, *cell};
        };
        for (int column = 0; column < kColumns; ++column)
            if (const int length = table.Length(column); length > 0) consider({GridId::Column, length, column});
        for (int cell = 0; cell < kCells; ++cell) consider({GridId::FreeCell, 0, cell});
        if (!next) break;
        home.push_back(Shift(next->first, {GridId::HomeCell, 0, next->second}));
    }
    if (home.empty()) return;
    S.Sounds.Play(Sound::Home);
    // The cards join the step of the move that sent them.
    HistoryStep last = S.State.History.TakeLast();
    StepRecord step;
    if (const auto* move = std::get_if<MoveRecord>(&last)) step = {{*move}, 1, 1, move->Card, move->From, move->To};
    else step = std::get<StepRecord>(std::move(last));
    for (const MoveRecord& move : home) {
        step.Moves.push_back(move);
        S.SpeakCurrentCell(move.Card);
    }
    S.Speak(texts::WentHomeWords);
    S.State.History.Record(std::move(step));
    if (S.State.HomeCount == kCards) GameWon();
}

}  // namespace quorrel
