// The grid control: a table of text cells with fixed header rows and a current cell.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace quorrel {

// A colour as 0xRRGGBB.
using Color = std::uint32_t;

// Events a grid raises. Each is raised synchronously, on the caller's thread, before the call that
// caused it returns; a handler may itself change the grid, and the events it causes are raised at
// once, inside the handler.
struct GridEvents {
    std::function<void()> RowColChange;               // the current cell changed (by the player or by code)
    std::function<void()> Click;                      // a click on a cell, after the cursor moved onto it
    std::function<void()> GotFocus;                   // the grid gained the keyboard focus
    std::function<void(int key, int shift)> KeyDown;  // a key reached the grid (key codes in app/Keys.h)
};

// The contract every grid keeps (a contract test suite runs it against each implementation):
// - Rows and columns count the fixed header rows and columns; cards live in the other cells.
// - Row and Col name the current cell. It is never in a fixed row or fixed column; setting Row or Col
//   to a value outside the movable range raises RunTimeError(InvalidProcedureCall).
// - Setting Row or Col to a different value raises RowColChange once; an unchanged value raises nothing.
// - Clear empties every cell's text and resets every cell's colours to the grid's colours.
// - Cell colours are kept per cell; CellBackColor and CellForeColor act on the current cell.
// - SetFocus on a hidden grid raises RunTimeError(InvalidProcedureCall); on a visible grid that does not
//   have the focus it moves the focus there and raises GotFocus; on the focused grid it raises nothing.
class IGrid {
public:
    virtual ~IGrid() = default;

    GridEvents Events;

    virtual void Clear() = 0;

    virtual int Rows() const = 0;
    virtual void SetRows(int rows) = 0;
    virtual int Cols() const = 0;
    virtual void SetCols(int cols) = 0;
    virtual int FixedRows() const = 0;
    virtual void SetFixedRows(int rows) = 0;
    virtual int FixedCols() const = 0;
    virtual void SetFixedCols(int cols) = 0;
    // Width of one column in twips (1440 to the inch).
    virtual void SetColWidth(int col, int twips) = 0;
    // Height of one row in twips; row -1 with height -1 resets every row to the default height.
    virtual void SetRowHeight(int row, int twips) = 0;

    virtual int Row() const = 0;
    virtual void SetRow(int row) = 0;
    virtual int Col() const = 0;
    virtual void SetCol(int col) = 0;

    // Text of the current cell.
    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& text) = 0;
    // Text of any cell, fixed rows included.
    virtual std::string TextMatrix(int row, int col) const = 0;
    virtual void SetTextMatrix(int row, int col, const std::string& text) = 0;
    // Text of any cell by its flat index, row * Cols() + col.
    std::string TextArray(int index) const { return TextMatrix(index / Cols(), index % Cols()); }

    virtual Color BackColor() const = 0;
    virtual Color ForeColor() const = 0;
    virtual Color CellBackColor() const = 0;
    virtual void SetCellBackColor(Color color) = 0;
    virtual Color CellForeColor() const = 0;
    virtual void SetCellForeColor(Color color) = 0;

    virtual bool Visible() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool HasFocus() const = 0;
    virtual void SetFocus() = 0;
};

}  // namespace quorrel
