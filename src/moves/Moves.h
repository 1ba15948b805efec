// Picking a card up and dropping it: what Enter or a click does on each grid, the six moves, putting
// a card back, and the end of the game.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "moves/History.h"

namespace quorrel {

class GameScreen;
class IGrid;

class Moves {
public:
    explicit Moves(GameScreen& screen) : S(screen) {}

    // Enter or a click on the current cell of each grid.
    void ClickColumn();
    void ClickFreeCell();
    void ClickHomeCell();
    // Escape: the picked-up card goes back, said as unselected.
    void PutBack();
    // A picked-up card goes back unannounced: the mark comes off and every cursor stays where it was.
    void PutBackSilently();

    void MoveColumnToColumn();
    void MoveColumnToFreeCell();
    void MoveFreeCellToColumn();
    void MoveFreeCellToFreeCell();
    void MoveColumnToHomeCell();
    void MoveFreeCellToHomeCell();

    // The direct moves, each one key. A column's key (column 0 to 7): with nothing picked up, its
    // bottom card is picked up, as Enter on it would; with a card picked up, the card is dropped below
    // the bottom card, as Enter on that cell would; the key of the picked-up card's own column puts it
    // back. The column grid's cursor and the focus go there without a word.
    void ColumnKey(int column);
    // A free cell's key (cell 0 to 3): Enter on that free cell, the focus there without a word; the
    // key of the picked-up card's own cell puts it back.
    void FreeCellKey(int cell);
    // The picked-up card, or the card under the cursor, to the first empty free cell.
    void ToFreeCell();
    // The picked-up card, or the card under the cursor, to its home cell.
    void ToHome();
    // The picked-up card, or the card under the cursor, to its best place (home, a column that takes
    // it, an empty column, a free cell). Pressed again before any other command, the same card goes
    // to the next of those places instead, going round; the history keeps one step.
    void QuickMove();
    // The longest part of the run at the bottom of the picked-up card's column (or the cursor's) that
    // can go on the column, played out card by card as one step.
    void RunTo(int column);
    // Another command came between two quick moves: the next one starts afresh.
    void EndQuickRound() { round_.reset(); }

    // A card's move on the board alone, without a word or a cursor move, and its taking back.
    MoveRecord Shift(const CellPlace& from, const CellPlace& to);
    void Unshift(const MoveRecord& move);

private:
    void Refuse(std::string_view text, const std::string& cell);
    void PickUp(IGrid& grid, std::int16_t from);
    void MoveCard(IGrid& source, IGrid& destination, std::string_view suffix);
    void CountCardHome();
    void GameWon();

    bool Playing() const;
    // The card a key moves: the picked-up one, or else the bottom card of the column grid cursor's
    // column (the cursor goes there without a word), or the free cell under the cursor when the free
    // cells have the focus. Nothing, with the refusal Enter would give, when there is no such card.
    std::optional<CellPlace> CardToMove();
    // The card counts as picked up, without a mark or a word: a key's move goes on as Enter's drop.
    void SelectSilently(const CellPlace& place);
    void FocusSilently(GridId id);
    // A step of the keys' own is taken into the history, the game has changed and a hint's search stops.
    void Moved(HistoryStep step);
    // After each move of the player's, with the option on: every card safe to send home goes there,
    // said once after the move's words, and joins the move's step.
    void SendSafeCardsHome();
    bool SafeCardsHomeOn() const;

    // A quick move's round: the card's first place and the places it may go, the one it went to last,
    // and the history's length after that move.
    struct QuickRound {
        CellPlace From;
        std::vector<CellPlace> Places;
        std::size_t Next = 0;
        std::size_t Step = 0;
    };
    std::optional<QuickRound> round_;

    // True when the picked-up card's words were said as it was picked up, false when a key took it
    // without a word (F, H and Space on the card under the cursor).
    bool pickedUpAloud_ = false;

    // True while a key's own move runs through Enter's code.
    bool keyed_ = false;

    GameScreen& S;
};

}  // namespace quorrel
