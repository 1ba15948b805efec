// What only the Qt grid can show: real keys, real focus changes between windows, the header and twips.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTimer>

#include "GridHarness.h"
#include "platform/RunTimeError.h"
#include "platform/qt/QtServices.h"

namespace quorrel::test {
namespace {

using Log = std::vector<std::string>;

class QtGridTest : public ::testing::Test {
protected:
    QtGridTest() {
        LogEvents(grids, log);
        ShapeAsColumns(g0());
        g0().SetRow(3);
        g0().SetCol(3);
        log.clear();
    }
    QtGrid& g0() { return grids.Grid(0); }

    QtGrids grids;
    Log log;
};

TEST_F(QtGridTest, ArrowKeyRaisesKeyDownThenMovesTheCursor) {
    QTest::keyClick(&g0(), Qt::Key_Down);
    EXPECT_EQ(log, (Log{"G0.KeyDown 40 0", "G0.RowColChange"}));
    EXPECT_EQ(g0().Row(), 4);
    log.clear();
    QTest::keyClick(&g0(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(log, (Log{"G0.KeyDown 37 1", "G0.RowColChange"}));
    EXPECT_EQ(g0().Col(), 2);
    EXPECT_EQ(g0().currentRow(), 3);  // the table's own cursor, below the header
    EXPECT_EQ(g0().currentColumn(), 2);
}

TEST_F(QtGridTest, ArrowKeysStopAtTheEdgesAndNeverEnterTheHeader) {
    g0().SetRow(1);
    g0().SetCol(0);
    log.clear();
    QTest::keyClick(&g0(), Qt::Key_Up);
    QTest::keyClick(&g0(), Qt::Key_Left);
    EXPECT_EQ(log, (Log{"G0.KeyDown 38 0", "G0.KeyDown 37 0"}));
    EXPECT_EQ(g0().Row(), 1);
    g0().SetRow(19);
    g0().SetCol(7);
    log.clear();
    QTest::keyClick(&g0(), Qt::Key_Down);
    QTest::keyClick(&g0(), Qt::Key_Right);
    EXPECT_EQ(log, (Log{"G0.KeyDown 40 0", "G0.KeyDown 39 0"}));
}

TEST_F(QtGridTest, OtherKeysOnlyRaiseKeyDownWithTheirCode) {
    g0().SetTextMatrix(9, 3, "AH");  // a letter must not jump to a cell that starts with it
    struct Press {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* logged;
    };
    const Press presses[] = {
        {Qt::Key_Return, Qt::NoModifier, "G0.KeyDown 13 0"}, {Qt::Key_Enter, Qt::KeypadModifier, "G0.KeyDown 13 0"},
        {Qt::Key_Escape, Qt::NoModifier, "G0.KeyDown 27 0"}, {Qt::Key_F3, Qt::ShiftModifier, "G0.KeyDown 114 1"},
        {Qt::Key_F8, Qt::AltModifier, "G0.KeyDown 119 4"},   {Qt::Key_A, Qt::NoModifier, "G0.KeyDown 65 0"},
        {Qt::Key_Z, Qt::ControlModifier, "G0.KeyDown 90 2"}, {Qt::Key_7, Qt::NoModifier, "G0.KeyDown 55 0"},
    };
    for (const Press& press : presses) {
        log.clear();
        QTest::keyClick(&g0(), press.key, press.modifiers);
        EXPECT_EQ(log, Log{press.logged});
    }
    // Keys without a code of their own (the modifier keys themselves among them) raise nothing.
    log.clear();
    QTest::keyClick(&g0(), Qt::Key_Home);
    QTest::keyClick(&g0(), Qt::Key_PageDown);
    QTest::keyClick(&g0(), Qt::Key_Shift);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(g0().Row(), 3);
    EXPECT_EQ(g0().Col(), 3);
}

TEST_F(QtGridTest, NoCellIsEverEdited) {
    g0().SetText("5C");
    QTest::keyClick(&g0(), Qt::Key_F2);
    QTest::keyClicks(&g0(), "x");
    QTest::mouseDClick(g0().viewport(), Qt::LeftButton, {}, g0().visualItemRect(g0().CellItem(3, 3)).center());
    QTest::keyClicks(&g0(), "y");
    QTest::keyClick(&g0(), Qt::Key_Return);
    EXPECT_EQ(g0().Text(), "5C");
    EXPECT_EQ(QApplication::focusWidget(), &g0());  // an open editor would have the focus
}

TEST_F(QtGridTest, TabLeavesTheGridWithoutMovingTheCursor) {
    QTest::keyClick(&g0(), Qt::Key_Tab);
    EXPECT_EQ(log, Log{"G1.GotFocus"});
    EXPECT_TRUE(grids.Grid(1).HasFocus());
    EXPECT_FALSE(g0().HasFocus());
    QTest::keyClick(&grids.Grid(1), Qt::Key_Tab);
    QTest::keyClick(&grids.Grid(2), Qt::Key_Backtab, Qt::ShiftModifier);
    QTest::keyClick(&grids.Grid(1), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(log, (Log{"G1.GotFocus", "G2.GotFocus", "G1.GotFocus", "G0.GotFocus"}));
    EXPECT_EQ(g0().Row(), 3);
    EXPECT_EQ(g0().Col(), 3);
}

TEST_F(QtGridTest, ClickingAnotherGridFocusesItThenClicks) {
    QtGrid& g1 = grids.Grid(1);
    g1.SetCols(4);
    log.clear();
    grids.Click(1, 0, 2);
    EXPECT_EQ(log, (Log{"G1.GotFocus", "G1.RowColChange", "G1.Click"}));
}

TEST_F(QtGridTest, ClickOnTheHeaderMovesNothing) {
    QHeaderView* header = g0().horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(5) + 3, 3));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(g0().Col(), 3);
}

TEST_F(QtGridTest, HeaderRowIsTheTableHeader) {
    EXPECT_FALSE(g0().horizontalHeader()->isHidden());
    EXPECT_TRUE(g0().verticalHeader()->isHidden());
    EXPECT_EQ(g0().rowCount(), 19);
    EXPECT_EQ(g0().horizontalHeaderItem(4)->text(), "5");
    g0().SetFixedRows(0);
    EXPECT_TRUE(g0().horizontalHeader()->isHidden());
    EXPECT_EQ(g0().rowCount(), 20);
    EXPECT_EQ(g0().item(0, 4)->text(), "5");
}

TEST_F(QtGridTest, SizesAreInTwips) {
    g0().SetColWidth(2, 1440);
    EXPECT_EQ(g0().columnWidth(2), g0().logicalDpiX());
    g0().SetRowHeight(4, 720);
    EXPECT_EQ(g0().rowHeight(3), g0().logicalDpiY() / 2);
    g0().SetRowHeight(-1, -1);
    EXPECT_EQ(g0().rowHeight(3), g0().verticalHeader()->defaultSectionSize());
}

// Visible is the grid's own setting, as the game sets it before its window is first shown; focus needs
// the grid on the screen.
TEST(QtGridVisibilityTest, VisibleIsTheGridsOwnSetting) {
    QWidget window;
    auto* grid = new QtGrid(&window);
    EXPECT_TRUE(grid->Visible());
    grid->SetVisible(false);
    EXPECT_FALSE(grid->Visible());
    grid->SetVisible(true);
    EXPECT_TRUE(grid->Visible());
    try {
        grid->SetFocus();
        FAIL() << "no error raised";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.Number, errors::InvalidProcedureCall);
    }
    window.show();
    EXPECT_TRUE(grid->isVisible());
}

// The focus comes back to the grid that had it when a box of the program closes: that is a focus change.
TEST_F(QtGridTest, ReturnFromAMessageBoxIsReportedOnce) {
    QtMessageBox boxes(&grids.Window());
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_TRUE(box);
        ASSERT_TRUE(QTest::qWaitFor([box] { return QApplication::activeWindow() == box; }));
        EXPECT_FALSE(g0().HasFocus());
        QTest::keyClick(box, Qt::Key_Return);
    });
    boxes.Show("Error: 5", MsgButtons::OK, MsgIcon::Information, "");
    EXPECT_TRUE(QTest::qWaitFor([&] { return g0().hasFocus(); }));
    QApplication::processEvents();
    EXPECT_EQ(log, Log{"G0.GotFocus"});
    EXPECT_TRUE(g0().HasFocus());
}

// While another window is active Qt only notes the focus for later; SetFocus still reports it at once,
// and the window's activation then reports nothing more.
TEST_F(QtGridTest, SetFocusInAnInactiveWindowIsReportedAtOnce) {
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    log.clear();
    QtGrid& g1 = grids.Grid(1);
    g1.SetFocus();
    EXPECT_EQ(log, Log{"G1.GotFocus"});
    EXPECT_TRUE(g1.HasFocus());
    EXPECT_FALSE(g0().HasFocus());
    g1.SetFocus();
    QApplication::setActiveWindow(&grids.Window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grids.Window()));
    QApplication::processEvents();
    EXPECT_TRUE(g1.hasFocus());
    EXPECT_EQ(log, Log{"G1.GotFocus"});
}

}  // namespace
}  // namespace quorrel::test
