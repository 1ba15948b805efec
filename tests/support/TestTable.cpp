// A whole game on the in-memory platform.
#include "support/TestTable.h"

#include <algorithm>

namespace quorrel::test {

void TestTable::Press(int key, int shift) {
    screen.Form_KeyDown(key, shift);
    if (key == keys::Tab) {
        std::vector<MemoryGrid*> order = {&window.column, &window.freeCell, &window.homeCell};
        if (shift & keys::ShiftMask) std::reverse(order.begin(), order.end());
        size_t start = 0;
        for (size_t i = 0; i < order.size(); ++i)
            if (order[i] == Focused()) start = i + 1;
        for (size_t n = 0; n < order.size(); ++n) {
            MemoryGrid* next = order[(start + n) % order.size()];
            if (next->Visible()) {
                next->SetFocus();
                return;
            }
        }
        return;
    }
    if (MemoryGrid* grid = Focused()) grid->PressKey(key, shift);
}

void TestTable::LayOut(const std::vector<std::vector<std::string>>& columns, const std::vector<std::string>& freeCells,
                       const std::vector<std::string>& homeCells) {
    const auto mute = screen.Board.MuteEcho();
    auto& column = window.column;
    for (int r = 1; r < column.Rows(); ++r)
        for (int c = 0; c < column.Cols(); ++c) column.SetTextMatrix(r, c, "");
    for (size_t c = 0; c < columns.size(); ++c)
        for (size_t r = 0; r < columns[c].size(); ++r)
            column.SetTextMatrix(static_cast<int>(r + 1), static_cast<int>(c), columns[c][r]);
    for (int k = 0; k < kCells; ++k) {
        window.freeCell.SetTextMatrix(0, k,
                                      k < static_cast<int>(freeCells.size()) ? freeCells[static_cast<size_t>(k)] : "");
        window.homeCell.SetTextMatrix(0, k,
                                      k < static_cast<int>(homeCells.size()) ? homeCells[static_cast<size_t>(k)] : "");
    }
    column.SetRow(1);
    column.SetCol(0);
}

std::vector<std::string> TestTable::Cells() const {
    std::vector<std::string> cells;
    for (int r = 1; r <= kCardRows; ++r)
        for (int c = 0; c < kColumns; ++c) cells.push_back(window.column.TextMatrix(r, c));
    for (int k = 0; k < kCells; ++k) cells.push_back(window.freeCell.TextMatrix(0, k));
    for (int k = 0; k < kCells; ++k) cells.push_back(window.homeCell.TextMatrix(0, k));
    cells.push_back(std::to_string(state.HomeCount));
    return cells;
}

std::vector<std::string> TestTable::Heard() {
    std::vector<std::string> heard(reader.Transcript.begin() + static_cast<std::ptrdiff_t>(heard_),
                                   reader.Transcript.end());
    heard_ = reader.Transcript.size();
    return heard;
}

}  // namespace quorrel::test
