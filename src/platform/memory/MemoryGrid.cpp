// An in-memory grid for tests.
#include "platform/memory/MemoryGrid.h"

#include <algorithm>

#include "platform/Keys.h"
#include "platform/RunTimeError.h"

namespace quorrel {

MemoryGrid::MemoryGrid(std::string name, FocusScope* scope, std::vector<std::string>* log)
    : name_(std::move(name)), scope_(scope), log_(log) {
    Reshape();
}

void MemoryGrid::Raise(const char* event) {
    if (log_) log_->push_back(name_ + "." + event);
}

void MemoryGrid::Reshape() {
    std::vector<Cell> cells(static_cast<size_t>(rows_ * cols_), Cell{"", backColor_, foreColor_});
    // Keep what survives of the old cells.
    const int oldCols = widths_.empty() ? cols_ : static_cast<int>(widths_.size());
    const int oldRows = oldCols ? static_cast<int>(cells_.size()) / oldCols : 0;
    for (int r = 0; r < std::min(rows_, oldRows); ++r)
        for (int c = 0; c < std::min(cols_, oldCols); ++c)
            cells[static_cast<size_t>(r * cols_ + c)] = cells_[static_cast<size_t>(r * oldCols + c)];
    cells_ = std::move(cells);
    widths_.resize(static_cast<size_t>(cols_), 0);
    Clamp();
}

void MemoryGrid::Clamp() {
    row_ = std::clamp(row_, fixedRows_, std::max(fixedRows_, rows_ - 1));
    col_ = std::clamp(col_, fixedCols_, std::max(fixedCols_, cols_ - 1));
}

void MemoryGrid::Clear() {
    for (auto& cell : cells_) cell = Cell{"", backColor_, foreColor_};
}

void MemoryGrid::SetRows(int rows) {
    if (rows < 0) throw errors::InvalidCall();
    rows_ = rows;
    fixedRows_ = std::min(fixedRows_, rows_);
    Reshape();
}

void MemoryGrid::SetCols(int cols) {
    if (cols < 0) throw errors::InvalidCall();
    cols_ = cols;
    fixedCols_ = std::min(fixedCols_, cols_);
    Reshape();
}

void MemoryGrid::SetFixedRows(int rows) {
    if (rows < 0 || rows > rows_) throw errors::InvalidCall();
    fixedRows_ = rows;
    Clamp();
}

void MemoryGrid::SetFixedCols(int cols) {
    if (cols < 0 || cols > cols_) throw errors::InvalidCall();
    fixedCols_ = cols;
    Clamp();
}

void MemoryGrid::SetColWidth(int col, int twips) {
    if (col < 0 || col >= cols_) throw errors::InvalidCall();
    widths_[static_cast<size_t>(col)] = twips;
}

void MemoryGrid::SetRowHeight(int row, int /*twips*/) {
    if (row < -1 || row >= rows_) throw errors::InvalidCall();
}

Color MemoryGrid::CellBackColorAt(int row, int col) const {
    CheckCell(row, col);
    return cells_[static_cast<size_t>(row * cols_ + col)].back;
}

int MemoryGrid::ColWidth(int col) const { return widths_.at(static_cast<size_t>(col)); }

void MemoryGrid::SetRow(int row) {
    if (row < fixedRows_ || row >= rows_) throw errors::InvalidCall();
    if (row == row_) return;
    row_ = row;
    Raise("RowColChange");
    if (Events.RowColChange) Events.RowColChange();
}

void MemoryGrid::SetCol(int col) {
    if (col < fixedCols_ || col >= cols_) throw errors::InvalidCall();
    if (col == col_) return;
    col_ = col;
    Raise("RowColChange");
    if (Events.RowColChange) Events.RowColChange();
}

void MemoryGrid::CheckCell(int row, int col) const {
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_) throw RunTimeError(381, "Subscript out of range");
}

std::string MemoryGrid::TextMatrix(int row, int col) const {
    CheckCell(row, col);
    return cells_[static_cast<size_t>(row * cols_ + col)].text;
}

void MemoryGrid::SetTextMatrix(int row, int col, const std::string& text) {
    CheckCell(row, col);
    cells_[static_cast<size_t>(row * cols_ + col)].text = text;
}

MemoryGrid::Cell& MemoryGrid::Current() {
    CheckCell(row_, col_);
    return cells_[static_cast<size_t>(row_ * cols_ + col_)];
}

const MemoryGrid::Cell& MemoryGrid::Current() const {
    CheckCell(row_, col_);
    return cells_[static_cast<size_t>(row_ * cols_ + col_)];
}

Color MemoryGrid::CellBackColor() const { return Current().back; }
void MemoryGrid::SetCellBackColor(Color color) { Current().back = color; }
Color MemoryGrid::CellForeColor() const { return Current().fore; }
void MemoryGrid::SetCellForeColor(Color color) { Current().fore = color; }

void MemoryGrid::SetVisible(bool visible) {
    visible_ = visible;
    if (!visible && HasFocus()) scope_->Focused = nullptr;
}

bool MemoryGrid::HasFocus() const { return scope_ && scope_->Focused == this; }

void MemoryGrid::SetFocus() {
    if (!visible_) throw errors::InvalidCall();
    if (HasFocus()) return;
    if (scope_) scope_->Focused = this;
    Raise("GotFocus");
    if (Events.GotFocus) Events.GotFocus();
}

void MemoryGrid::LoseFocus() {
    if (scope_) scope_->Focused = nullptr;
}

void MemoryGrid::PressKey(int key, int shift) {
    Raise("KeyDown");
    if (Events.KeyDown) Events.KeyDown(key, shift);
    switch (key) {
    case keys::Up:
        if (row_ > fixedRows_) SetRow(row_ - 1);
        break;
    case keys::Down:
        if (row_ < rows_ - 1) SetRow(row_ + 1);
        break;
    case keys::Left:
        if (col_ > fixedCols_) SetCol(col_ - 1);
        break;
    case keys::Right:
        if (col_ < cols_ - 1) SetCol(col_ + 1);
        break;
    default: break;
    }
}

void MemoryGrid::ClickCell(int row, int col) {
    // A click moves the cursor in one step, as a real grid does: one RowColChange at the most.
    if (row < fixedRows_ || row >= rows_ || col < fixedCols_ || col >= cols_) throw errors::InvalidCall();
    if (row != row_ || col != col_) {
        row_ = row;
        col_ = col;
        Raise("RowColChange");
        if (Events.RowColChange) Events.RowColChange();
    }
    Raise("Click");
    if (Events.Click) Events.Click();
}

}  // namespace quorrel
