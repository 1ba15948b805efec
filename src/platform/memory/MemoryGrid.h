// An in-memory grid for tests: cells held in vectors, events raised exactly as the contract says.
#pragma once

#include <string>
#include <vector>

#include "platform/Grid.h"

namespace quorrel {

class MemoryGrid;

// Which of a set of grids has the keyboard focus. Grids that share a scope take the focus from each other.
struct FocusScope {
    MemoryGrid* Focused = nullptr;
    // A chain of modal windows (IWindow::BeginModalChain): how deep, and the grid that the focus goes
    // back to when it ends, once a window of the chain has closed.
    int ChainDepth = 0;
    bool ChainOwesFocus = false;
    MemoryGrid* ChainHad = nullptr;
    void BeginChain() { ++ChainDepth; }
    void EndChain();
};

class MemoryGrid : public IGrid {
public:
    // name prefixes the entries written to log ("Column.RowColChange"); log and scope may be null.
    MemoryGrid(std::string name, FocusScope* scope, std::vector<std::string>* log = nullptr);

    void Clear() override;
    int Rows() const override { return rows_; }
    void SetRows(int rows) override;
    int Cols() const override { return cols_; }
    void SetCols(int cols) override;
    int FixedRows() const override { return fixedRows_; }
    void SetFixedRows(int rows) override;
    int FixedCols() const override { return fixedCols_; }
    void SetFixedCols(int cols) override;
    void SetColWidth(int col, int twips) override;
    void SetRowHeight(int row, int twips) override;

    int Row() const override { return row_; }
    void SetRow(int row) override;
    int Col() const override { return col_; }
    void SetCol(int col) override;

    std::string Text() const override { return TextMatrix(row_, col_); }
    void SetText(const std::string& text) override { SetTextMatrix(row_, col_, text); }
    std::string TextMatrix(int row, int col) const override;
    void SetTextMatrix(int row, int col, const std::string& text) override;

    Color BackColor() const override { return backColor_; }
    Color ForeColor() const override { return foreColor_; }
    Color CellBackColor() const override;
    void SetCellBackColor(Color color) override;
    Color CellForeColor() const override;
    void SetCellForeColor(Color color) override;

    bool Visible() const override { return visible_; }
    void SetVisible(bool visible) override;
    bool HasFocus() const override;
    void SetFocus() override;

    // What a player does to the grid.
    // A key press that reached the grid: raises KeyDown, then moves the cursor for the arrow keys.
    void PressKey(int key, int shift = 0);
    // A mouse click on a cell: moves the cursor there (raising RowColChange), then raises Click.
    void ClickCell(int row, int col);
    // The focus leaves all grids of the scope (another window took it).
    void LoseFocus();

    int ColWidth(int col) const;
    // A cell's own background colour, read without moving the cursor.
    Color CellBackColorAt(int row, int col) const;
    const std::string& Name() const { return name_; }

private:
    struct Cell {
        std::string text;
        Color back;
        Color fore;
    };
    void Reshape();
    void Clamp();
    void CheckCell(int row, int col) const;
    Cell& Current();
    const Cell& Current() const;
    void Raise(const char* event);

    std::string name_;
    FocusScope* scope_;
    std::vector<std::string>* log_;
    int rows_ = 1, cols_ = 1, fixedRows_ = 0, fixedCols_ = 0;
    int row_ = 0, col_ = 0;
    bool visible_ = true;
    Color backColor_ = 0xFFFFFF, foreColor_ = 0x000000;
    std::vector<Cell> cells_;
    std::vector<int> widths_;
};

}  // namespace quorrel
