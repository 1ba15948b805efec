// The grid control on Qt: a QTableWidget that keeps the grid contract of platform/Grid.h.
#pragma once

#include <QTableWidget>

#include "platform/Grid.h"

namespace quorrel {

// A grid on a QTableWidget.
// - With fixed rows, row 0 is the table's horizontal header and the table holds the other rows; without
//   them the header is hidden. Further fixed rows and fixed columns are table cells the cursor never enters.
// - The vertical header is hidden. Cells are never edited and never selected; the current cell is the cursor.
// - Events: RowColChange comes from the table's own change of its current cell (code, arrow keys, clicks);
//   shape changes move the cursor back into range without raising it. KeyDown is raised for each key press
//   that reaches the grid and has a code in QtKeys.h (the main window's key preview skips the same keys),
//   before the grid acts on it; only the arrow keys move the cursor. Tab and Shift+Tab never reach the
//   grid: they move the focus to the next or previous widget of the window.
//   Click follows a left-button press and release that began on a movable cell.
// - GotFocus is raised once per focus change: when the focus comes from another widget or another window
//   of the program (a dialog that closed), not when the player returns from another application or a
//   menu closes. SetFocus raises it before returning even while the window is inactive (the focus then
//   arrives with the window's activation and raises nothing more). Hiding the focused grid leaves no
//   widget of the window with the focus (Qt would pass it on to the next grid, which would announce itself).
// - Size: every cell shows its text whole. A column is as wide as the program sets it, or wider where one of
//   the texts to fit (SetTextsToFit) needs more; a row is as high as set, and by default as high as the font
//   needs. The grid shows no scroll bars: its window gives it room for its cells (CellsSizeChanged).
class QtGrid : public QTableWidget, public IGrid {
    Q_OBJECT

public:
    explicit QtGrid(QWidget* parent = nullptr);

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

    bool Visible() const override;
    void SetVisible(bool visible) override;
    bool HasFocus() const override;
    void SetFocus() override;

    // A modal window of the program opens over the grid's window: until the grid gets the focus back,
    // it does not have it, whatever the window system reports meanwhile, and that return raises GotFocus.
    void FocusTakenByModal() { focusReported_ = false; }

    // The table cell that shows a grid cell below the header (nullptr for header cells).
    QTableWidgetItem* CellItem(int row, int col) const;

    // The texts each cell must be able to show whole, in the grid's font; the widths set from then on are
    // widened where one of them needs it.
    void SetTextsToFit(const QStringList& texts);
    // The size that shows every cell, and the header row, whole.
    QSize CellsSize() const;

signals:
    // CellsSize() changed.
    void CellsSizeChanged();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Typing a letter must not jump to a cell that starts with it.
    void keyboardSearch(const QString&) override {}

private:
    int HeaderRows() const { return fixedRows_ > 0 ? 1 : 0; }
    bool IsMovable(int row, int col) const;
    void Reshape(int rows, int cols, int fixedRows, int fixedCols);
    void MoveCursor(int row, int col);
    void CheckCell(int row, int col) const;
    QTableWidgetItem* Current() const;
    QTableWidgetItem* NewCell(const QString& text) const;
    void RaiseRowColChange();
    void RaiseGotFocus();
    int LeastColumnWidth() const;
    void FitToCells();

    int rows_ = 1, cols_ = 1, fixedRows_ = 0, fixedCols_ = 0;
    int row_ = 0, col_ = 0;
    Color backColor_ = 0xFFFFFF, foreColor_ = 0x000000;
    bool shaping_ = false;         // the table is being reshaped: its cursor moves raise nothing
    bool focusReported_ = false;   // GotFocus was raised and the grid has not lost the focus since
    unsigned rowColChanges_ = 0;   // RowColChange events raised so far
    unsigned gotFocusEvents_ = 0;  // GotFocus events raised so far
    bool clickPending_ = false;    // a left press began on a movable cell
    QStringList textsToFit_;
    QSize cellsSize_;
};

}  // namespace quorrel
