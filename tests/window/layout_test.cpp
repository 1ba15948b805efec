// The main window's layout on the offscreen platform: the grids keep their places and show every cell whole.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTest>

#include "app/GameScreen.h"
#include "app/Module1.h"
#include "platform/qt/QtMainWindow.h"
#include "platform/qt/QtUnits.h"
#include "support/QtTestKeys.h"
#include "support/TestTable.h"

namespace quorrel {
namespace {

struct Layout : ::testing::Test, test::MemoryServices {
    void SetUp() override {
        Main(screen);
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        test::Type(window, Qt::Key_N, Qt::ControlModifier);
        ASSERT_TRUE(window.ColumnGrid()->isVisible());
    }

    QtMainWindow window;
    Platform platform = On(window);
    GameState state;
    GameScreen screen{state, platform};
};

// Each grid at its place, at least its size there, every cell (the widest card codes in every one) whole
// inside the grid's viewport and inside the window, and no scroll bar.
TEST_F(Layout, EveryCellOfTheGridsShowsWhole) {
    struct Place {
        QtGrid* grid;
        int left, top, width, height;
    };
    for (const Place& place :
         {Place{window.ColumnGrid(), 1000, 2500, 6000, 3000}, Place{window.FreeCellGrid(), 1000, 1000, 1500, 500},
          Place{window.HomeCellGrid(), 5500, 1000, 1500, 500}}) {
        QtGrid* grid = place.grid;
        SCOPED_TRACE(grid->objectName().toStdString());
        for (int r = grid->FixedRows(); r < grid->Rows(); ++r)
            for (int c = 0; c < grid->Cols(); ++c) grid->SetTextMatrix(r, c, c % 2 ? "10D" : "10H");
        QApplication::processEvents();

        EXPECT_EQ(grid->pos(), QPoint(Px(grid, place.left), Px(grid, place.top)));
        EXPECT_GE(grid->width(), Px(grid, place.width));
        EXPECT_GE(grid->height(), Px(grid, place.height));
        EXPECT_TRUE(window.centralWidget()->rect().contains(grid->geometry()));
        EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
        EXPECT_FALSE(grid->verticalScrollBar()->isVisible());
        if (!grid->horizontalHeader()->isHidden()) {
            EXPECT_TRUE(grid->rect().contains(grid->horizontalHeader()->geometry()));
        }

        // The style draws a cell's text inside a margin on either side, and elides what does not fit.
        const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
        for (int r = grid->FixedRows(); r < grid->Rows(); ++r)
            for (int c = 0; c < grid->Cols(); ++c) {
                QTableWidgetItem* cell = grid->CellItem(r, c);
                const QRect rect = grid->visualItemRect(cell);
                ASSERT_TRUE(grid->viewport()->rect().contains(rect)) << "row " << r << ", col " << c;
                ASSERT_GE(rect.width() - 2 * margin, grid->fontMetrics().horizontalAdvance(cell->text()))
                    << "row " << r << ", col " << c;
                ASSERT_GE(rect.height(), grid->fontMetrics().height()) << "row " << r;
            }
    }
}

}  // namespace
}  // namespace quorrel
