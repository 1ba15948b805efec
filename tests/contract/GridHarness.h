// Three grids of one implementation that share a focus, with the player's clicks, for the contract tests.
#pragma once

#include <QApplication>
#include <QHBoxLayout>
#include <QTest>
#include <QWidget>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/memory/MemoryGrid.h"
#include "platform/qt/QtGrid.h"

namespace quorrel::test {

// Grids 0, 1 and 2 in tab order; grid 0 has the focus at the start.
class MemoryGrids {
public:
    MemoryGrids() {
        for (int i = 0; i < 3; ++i) grids_[i] = std::make_unique<MemoryGrid>("G" + std::to_string(i), &scope_);
        grids_[0]->SetFocus();
    }
    IGrid& Grid(int i) { return *grids_[static_cast<size_t>(i)]; }
    void Click(int i, int row, int col) { grids_[static_cast<size_t>(i)]->ClickCell(row, col); }
    FocusScope& Scope() { return scope_; }

private:
    FocusScope scope_;
    std::array<std::unique_ptr<MemoryGrid>, 3> grids_;
};

// Three QtGrids side by side in one window, shown and active.
class QtGrids {
public:
    QtGrids() {
        auto* layout = new QHBoxLayout(&window_);
        for (auto*& grid : grids_) {
            grid = new QtGrid(&window_);
            layout->addWidget(grid);
        }
        window_.resize(900, 700);
        window_.show();
        QApplication::setActiveWindow(&window_);
        if (!QTest::qWaitForWindowActive(&window_)) throw std::runtime_error("the grid window did not become active");
        grids_[0]->setFocus();
        QApplication::processEvents();
    }
    QtGrid& Grid(int i) { return *grids_[static_cast<size_t>(i)]; }
    QWidget& Window() { return window_; }
    void Click(int i, int row, int col) {
        QtGrid& grid = Grid(i);
        QTableWidgetItem* cell = grid.CellItem(row, col);
        grid.scrollToItem(cell);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualItemRect(cell).center());
    }

private:
    QWidget window_;
    std::array<QtGrid*, 3> grids_{};
};

// Writes every event of the three grids to one log: "G1.GotFocus", "G0.KeyDown 40 0".
template <class Grids>
void LogEvents(Grids& grids, std::vector<std::string>& log) {
    for (int i = 0; i < 3; ++i) {
        const std::string name = "G" + std::to_string(i);
        GridEvents& events = grids.Grid(i).Events;
        events.RowColChange = [&log, name] { log.push_back(name + ".RowColChange"); };
        events.Click = [&log, name] { log.push_back(name + ".Click"); };
        events.GotFocus = [&log, name] { log.push_back(name + ".GotFocus"); };
        events.KeyDown = [&log, name](int key, int shift) {
            log.push_back(name + ".KeyDown " + std::to_string(key) + " " + std::to_string(shift));
        };
    }
}

// The shape the game gives its column grid: a header row "1".."8" over 19 rows of 8 cells.
inline void ShapeAsColumns(IGrid& grid) {
    grid.Clear();
    grid.SetRowHeight(-1, -1);
    grid.SetFixedCols(0);
    grid.SetFixedRows(1);
    grid.SetRows(20);
    grid.SetCols(8);
    for (int c = 0; c < 8; ++c) {
        grid.SetColWidth(c, 500);
        grid.SetTextMatrix(0, c, std::to_string(c + 1));
    }
}

}  // namespace quorrel::test
