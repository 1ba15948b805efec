// The board: the only code that reads or writes the card cells of the three grids. The grids stay the
// one copy of the table; the board reads them on demand and raises no event of its own.
#pragma once

#include <string>

#include "platform/Grid.h"
#include "table/GameState.h"
#include "table/ScopedSet.h"
#include "table/Table.h"

namespace quorrel {

class Board {
public:
    Board(IGrid& column, IGrid& freeCell, IGrid& homeCell, GameState& state)
        : column_(column), freeCell_(freeCell), homeCell_(homeCell), state_(state) {}

    IGrid& Grid(GridId id) const;
    GridId IdOf(const IGrid& grid) const;

    // The table as the grids show it, with the game's count of cards home.
    Table Snapshot() const;
    // One column's cells, all that the rules of a click on it read.
    ColumnCells ColumnSnapshot(int column) const;
    // Writes every card cell of the table, then puts the cursors where a deal leaves them (row 1 of the
    // first column; the first cell), all without an echo. The count of cards home is the caller's.
    void LayOut(const Table& table);

    // One cell's text, and the text under a grid's cursor.
    std::string At(const CellPlace& place) const;
    std::string Current(GridId id) const;
    CellPlace Cursor(GridId id) const;
    // Writes one cell; no cursor moves.
    void Put(const CellPlace& place, const std::string& text);
    // Writes the cell under a grid's cursor.
    void PutCurrent(GridId id, const std::string& text);
    // Moves a grid's cursor without an echo; the focus stays where it is.
    void MoveSilently(const CellPlace& place);

    // The picked-up card's cell shows the grid's colours swapped. These act on the cell under the cursor.
    void Mark(GridId id);
    void Unmark(GridId id);
    bool IsMarked(GridId id) const;
    // Takes the mark off a cell without an echo, leaving every cursor where it was.
    void UnmarkSilently(const CellPlace& place);

    // Shapes the grids for a new game, empty and unmarked: the column grid's header row and card rows,
    // and one row of cells for the free cells or the home cells. The cursors end on the first card cell.
    void ShapeColumns();
    void ShapeCells(GridId id);

    // While a Mute lives, the grids' cell-change events that the program's own cursor moves raise are
    // not announced. It restores what it found, so mutes nest and a failure cannot leave one on.
    class Mute : ScopedSet<GameState::Flag> {
    public:
        explicit Mute(GameState& state) : ScopedSet(state.Loading, -1) {}
    };
    [[nodiscard]] Mute MuteEcho() { return Mute(state_); }
    // True while a Mute lives: the cell-change handlers say nothing.
    bool EchoMuted() const { return state_.Loading != 0; }

private:
    IGrid& column_;
    IGrid& freeCell_;
    IGrid& homeCell_;
    GameState& state_;
};

}  // namespace quorrel
