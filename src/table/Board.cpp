// The board over the three grids.
#include "table/Board.h"

namespace quorrel {

namespace {
constexpr int kColumnWidth = 500;  // twips
constexpr int kCellWidth = 300;
}  // namespace

IGrid& Board::Grid(GridId id) const {
    switch (id) {
    case GridId::Column: return column_;
    case GridId::FreeCell: return freeCell_;
    case GridId::HomeCell: break;
    }
    return homeCell_;
}

GridId Board::IdOf(const IGrid& grid) const {
    if (&grid == &column_) return GridId::Column;
    return &grid == &freeCell_ ? GridId::FreeCell : GridId::HomeCell;
}

Table Board::Snapshot() const {
    Table table;
    for (int c = 0; c < kColumns; ++c)
        for (int r = 1; r <= kCardRows; ++r) table.Card(c, r) = column_.TextMatrix(r, c);
    for (int k = 0; k < kCells; ++k) {
        table.FreeCells[Table::Index(k)] = freeCell_.TextMatrix(0, k);
        table.HomeCells[Table::Index(k)] = homeCell_.TextMatrix(0, k);
    }
    table.HomeCount = state_.HomeCount;
    return table;
}

ColumnCells Board::ColumnSnapshot(int column) const {
    ColumnCells cells;
    for (int r = 1; r <= kCardRows; ++r) cells[Table::Index(r - 1)] = column_.TextMatrix(r, column);
    return cells;
}

void Board::LayOut(const Table& table) {
    const Mute mute(state_);
    for (int r = 1; r <= kCardRows; ++r)
        for (int c = 0; c < kColumns; ++c) column_.SetTextMatrix(r, c, table.Card(c, r));
    for (int k = 0; k < kCells; ++k) {
        freeCell_.SetTextMatrix(0, k, table.FreeCells[Table::Index(k)]);
        homeCell_.SetTextMatrix(0, k, table.HomeCells[Table::Index(k)]);
    }
    column_.SetRow(1);
    column_.SetCol(0);
    for (IGrid* grid : {&freeCell_, &homeCell_}) {
        grid->SetRow(0);
        grid->SetCol(0);
    }
}

std::string Board::At(const CellPlace& place) const { return Grid(place.Grid).TextMatrix(place.Row, place.Col); }

std::string Board::Current(GridId id) const { return Grid(id).Text(); }

CellPlace Board::Cursor(GridId id) const {
    const IGrid& grid = Grid(id);
    return {id, grid.Row(), grid.Col()};
}

void Board::Put(const CellPlace& place, const std::string& text) {
    Grid(place.Grid).SetTextMatrix(place.Row, place.Col, text);
}

void Board::PutCurrent(GridId id, const std::string& text) { Grid(id).SetText(text); }

void Board::MoveSilently(const CellPlace& place) {
    const Mute mute(state_);
    IGrid& grid = Grid(place.Grid);
    grid.SetRow(place.Row);
    grid.SetCol(place.Col);
}

void Board::Mark(GridId id) {
    IGrid& grid = Grid(id);
    grid.SetCellBackColor(grid.ForeColor());
    grid.SetCellForeColor(grid.BackColor());
}

void Board::Unmark(GridId id) {
    IGrid& grid = Grid(id);
    grid.SetCellBackColor(grid.BackColor());
    grid.SetCellForeColor(grid.ForeColor());
}

bool Board::IsMarked(GridId id) const {
    const IGrid& grid = Grid(id);
    return grid.CellBackColor() == grid.ForeColor();
}

void Board::UnmarkSilently(const CellPlace& place) {
    const Mute mute(state_);
    IGrid& grid = Grid(place.Grid);
    const int row = grid.Row();
    const int col = grid.Col();
    grid.SetRow(place.Row);
    grid.SetCol(place.Col);
    Unmark(place.Grid);
    grid.SetRow(row);
    grid.SetCol(col);
}

void Board::ShapeColumns() {
    const Mute mute(state_);
    column_.Clear();
    column_.SetRowHeight(-1, -1);
    column_.SetFixedCols(0);
    column_.SetFixedRows(1);
    column_.SetRows(kCardRows + 1);
    column_.SetCols(kColumns);
    for (int j = 0; j < kColumns; ++j) column_.SetColWidth(j, kColumnWidth);
    for (int j = 0; j < kColumns; ++j) column_.SetTextMatrix(0, j, std::to_string(j + 1));
}

void Board::ShapeCells(GridId id) {
    const Mute mute(state_);
    IGrid& grid = Grid(id);
    grid.Clear();
    grid.SetRowHeight(-1, -1);
    grid.SetFixedCols(0);
    grid.SetFixedRows(0);
    grid.SetRows(1);
    grid.SetCols(kCells);
    for (int k = 0; k < kCells; ++k) grid.SetColWidth(k, kCellWidth);
    for (int k = 0; k < kCells; ++k) {
        grid.SetRow(0);
        grid.SetCol(k);
        Unmark(id);
    }
    grid.SetRow(0);
    grid.SetCol(0);
}

}  // namespace quorrel
