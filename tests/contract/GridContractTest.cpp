// The grid contract, run against the in-memory grid and the Qt grid alike.
#include <gtest/gtest.h>

#include "GridHarness.h"
#include "platform/RunTimeError.h"

namespace quorrel::test {
namespace {

using Log = std::vector<std::string>;

template <class Grids>
class GridContract : public ::testing::Test {
protected:
    GridContract() {
        LogEvents(grids, log);
        log.clear();
    }
    IGrid& G(int i) { return grids.Grid(i); }
    // Runs the call and returns the error number it raised, 0 when it raised none.
    template <class Call>
    static int ErrorOf(Call call) {
        try {
            call();
        } catch (const RunTimeError& e) {
            return e.Number;
        }
        return 0;
    }

    Grids grids;
    Log log;
};

using Implementations = ::testing::Types<MemoryGrids, QtGrids>;
class ImplementationNames {
public:
    template <class T>
    static std::string GetName(int) {
        return std::is_same_v<T, MemoryGrids> ? "Memory" : "Qt";
    }
};
TYPED_TEST_SUITE(GridContract, Implementations, ImplementationNames);

TYPED_TEST(GridContract, NewGridHasTheDefaults) {
    IGrid& g = this->G(2);
    EXPECT_EQ(g.Rows(), 1);
    EXPECT_EQ(g.Cols(), 1);
    EXPECT_EQ(g.FixedRows(), 0);
    EXPECT_EQ(g.FixedCols(), 0);
    EXPECT_EQ(g.Row(), 0);
    EXPECT_EQ(g.Col(), 0);
    EXPECT_TRUE(g.Visible());
    EXPECT_EQ(g.BackColor(), 0xFFFFFFu);
    EXPECT_EQ(g.ForeColor(), 0x000000u);
    EXPECT_EQ(g.CellBackColor(), g.BackColor());
    EXPECT_EQ(g.CellForeColor(), g.ForeColor());
    EXPECT_EQ(g.Text(), "");
}

// --- The cursor and its events

TYPED_TEST(GridContract, SettingRowThenColRaisesOneEventEach) {
    IGrid& g = this->G(0);
    ShapeAsColumns(g);
    this->log.clear();
    g.SetRow(5);
    EXPECT_EQ(this->log, Log{"G0.RowColChange"});
    g.SetCol(3);
    EXPECT_EQ(this->log, (Log{"G0.RowColChange", "G0.RowColChange"}));
    EXPECT_EQ(g.Row(), 5);
    EXPECT_EQ(g.Col(), 3);
}

TYPED_TEST(GridContract, SettingUnchangedValuesRaisesNothing) {
    IGrid& g = this->G(0);
    ShapeAsColumns(g);
    g.SetRow(4);
    g.SetCol(2);
    this->log.clear();
    g.SetRow(4);
    g.SetCol(2);
    EXPECT_TRUE(this->log.empty());
}

TYPED_TEST(GridContract, EventRaisedInsideAHandlerArrivesBeforeTheOuterSetterReturns) {
    IGrid& g = this->G(0);
    ShapeAsColumns(g);
    this->log.clear();
    Log& log = this->log;
    int depth = 0;
    g.Events.RowColChange = [&] {
        log.push_back("change at " + std::to_string(g.Row()) + "," + std::to_string(g.Col()));
        if (depth++ == 0) {
            g.SetCol(6);
            log.push_back("handler done");
        }
    };
    g.SetRow(9);
    log.push_back("SetRow returned");
    EXPECT_EQ(log, (Log{"change at 9,0", "change at 9,6", "handler done", "SetRow returned"}));
    EXPECT_EQ(g.Row(), 9);
    EXPECT_EQ(g.Col(), 6);
}

TYPED_TEST(GridContract, CursorOutsideTheMovableCellsIsRefused) {
    IGrid& g = this->G(0);
    ShapeAsColumns(g);
    g.SetRow(3);
    g.SetCol(3);
    this->log.clear();
    EXPECT_EQ(this->ErrorOf([&] { g.SetRow(0); }), errors::InvalidProcedureCall);  // the header row
    EXPECT_EQ(this->ErrorOf([&] { g.SetRow(20); }), errors::InvalidProcedureCall);
    EXPECT_EQ(this->ErrorOf([&] { g.SetRow(-1); }), errors::InvalidProcedureCall);
    EXPECT_EQ(this->ErrorOf([&] { g.SetCol(8); }), errors::InvalidProcedureCall);
    EXPECT_EQ(this->ErrorOf([&] { g.SetCol(-1); }), errors::InvalidProcedureCall);
    EXPECT_EQ(g.Row(), 3);
    EXPECT_EQ(g.Col(), 3);
    EXPECT_TRUE(this->log.empty());
}

TYPED_TEST(GridContract, ReshapingKeepsTheCursorInRangeWithoutEvents) {
    IGrid& g = this->G(0);
    ShapeAsColumns(g);
    g.SetRow(19);
    g.SetCol(7);
    this->log.clear();
    g.SetRows(5);
    g.SetCols(3);
    EXPECT_EQ(g.Row(), 4);
    EXPECT_EQ(g.Col(), 2);
    g.SetFixedRows(0);
    g.SetRow(0);
    this->log.clear();
    g.SetFixedRows(2);
    EXPECT_EQ(g.Row(), 2);
    EXPECT_TRUE(this->log.empty());
    EXPECT_EQ(this->ErrorOf([&] { g.SetRow(1); }), errors::InvalidProcedureCall);
    g.SetRow(4);
    EXPECT_EQ(this->log, Log{"G0.RowColChange"});
}

TYPED_TEST(GridContract, FixedColumnsAreNeverEntered) {
    IGrid& g = this->G(0);
    g.SetRows(3);
    g.SetCols(4);
    g.SetFixedCols(1);
    EXPECT_EQ(g.Col(), 1);
    EXPECT_EQ(this->ErrorOf([&] { g.SetCol(0); }), errors::InvalidProcedureCall);
}

// The loaders of the game shape and fill the grids in this order, on fresh grids and on used ones.
TYPED_TEST(GridContract, LoadersShapeTheGridsAsTheGameDoes) {
    IGrid& column = this->G(0);
    IGrid& freeCell = this->G(1);
    for (int game = 0; game < 2; ++game) {
        ShapeAsColumns(column);
        for (int r = 1; r < 20; ++r)
            for (int c = 0; c < 8; ++c) column.SetTextMatrix(r, c, r < 7 ? "AS" : "");
        column.SetRow(1);
        column.SetCol(0);
        EXPECT_EQ(column.TextMatrix(0, 7), "8");
        EXPECT_EQ(column.Row(), 1);
        EXPECT_EQ(column.Col(), 0);

        freeCell.Clear();
        freeCell.SetRowHeight(-1, -1);
        freeCell.SetFixedCols(0);
        freeCell.SetFixedRows(0);
        freeCell.SetRows(1);
        freeCell.SetCols(4);
        for (int k = 0; k < 4; ++k) freeCell.SetColWidth(k, 300);
        this->log.clear();
        for (int k = 0; k < 4; ++k) {
            freeCell.SetRow(0);
            freeCell.SetCol(k);
            freeCell.SetCellBackColor(freeCell.BackColor());
            freeCell.SetCellForeColor(freeCell.ForeColor());
            freeCell.SetText("");
        }
        freeCell.SetRow(0);
        freeCell.SetCol(0);
        EXPECT_EQ(this->log, Log(4, "G1.RowColChange"));

        // The player moved about before the next game.
        column.SetRow(12);
        column.SetCol(5);
    }
}

// --- Cell texts

TYPED_TEST(GridContract, HeaderRowIsRowZeroOfTheTextMatrix) {
    IGrid& g = this->G(0);
    ShapeAsColumns(g);
    for (int c = 0; c < 8; ++c) EXPECT_EQ(g.TextMatrix(0, c), std::to_string(c + 1));
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.TextArray(3), "4");
}

TYPED_TEST(GridContract, EveryCellOfAColumnGridKeepsItsText) {
    IGrid& g = this->G(0);
    ShapeAsColumns(g);
    ASSERT_EQ(g.Rows(), 20);
    ASSERT_EQ(g.Cols(), 8);
    ASSERT_EQ(g.FixedRows(), 1);
    const auto textOf = [](int r, int c) { return "Trèfl " + std::to_string(r) + "/" + std::to_string(c); };
    for (int r = 0; r < 20; ++r)
        for (int c = 0; c < 8; ++c) g.SetTextMatrix(r, c, textOf(r, c));
    for (int r = 0; r < 20; ++r)
        for (int c = 0; c < 8; ++c) {
            EXPECT_EQ(g.TextMatrix(r, c), textOf(r, c));
            EXPECT_EQ(g.TextArray(r * 8 + c), textOf(r, c));
        }
    g.SetRow(7);
    g.SetCol(2);
    EXPECT_EQ(g.Text(), textOf(7, 2));
    g.SetText("10H");
    EXPECT_EQ(g.TextMatrix(7, 2), "10H");
}

TYPED_TEST(GridContract, FixingRowZeroKeepsItsText) {
    IGrid& g = this->G(0);
    g.SetRows(3);
    g.SetCols(2);
    g.SetTextMatrix(0, 0, "a");
    g.SetTextMatrix(0, 1, "b");
    g.SetTextMatrix(1, 1, "c");
    g.SetFixedRows(1);
    EXPECT_EQ(g.TextMatrix(0, 0), "a");
    EXPECT_EQ(g.TextMatrix(0, 1), "b");
    EXPECT_EQ(g.TextMatrix(1, 1), "c");
    g.SetFixedRows(0);
    EXPECT_EQ(g.TextMatrix(0, 1), "b");
    EXPECT_EQ(g.TextMatrix(1, 1), "c");
    g.SetRow(0);
    EXPECT_EQ(g.Text(), "a");
}

TYPED_TEST(GridContract, CellsOutsideTheGridAreOutOfRange) {
    IGrid& g = this->G(1);
    g.SetCols(4);
    EXPECT_EQ(this->ErrorOf([&] { g.TextMatrix(1, 0); }), 381);
    EXPECT_EQ(this->ErrorOf([&] { g.SetTextMatrix(0, 4, "x"); }), 381);
    EXPECT_EQ(this->ErrorOf([&] { g.TextArray(4); }), 381);
    EXPECT_EQ(this->ErrorOf([&] { g.SetColWidth(4, 300); }), errors::InvalidProcedureCall);
    EXPECT_EQ(this->ErrorOf([&] { g.SetRowHeight(1, 300); }), errors::InvalidProcedureCall);
    EXPECT_EQ(this->ErrorOf([&] { g.SetRowHeight(-1, -1); }), 0);
}

// --- Colours

TYPED_TEST(GridContract, CellColoursAreKeptPerCell) {
    IGrid& g = this->G(0);
    ShapeAsColumns(g);
    g.SetRow(2);
    g.SetCol(3);
    g.SetCellBackColor(0x000000);
    g.SetCellForeColor(0xFFFFFF);
    g.SetRow(5);
    g.SetCellBackColor(0x123456);
    EXPECT_EQ(g.CellForeColor(), g.ForeColor());
    g.SetRow(2);
    EXPECT_EQ(g.CellBackColor(), 0x000000u);
    EXPECT_EQ(g.CellForeColor(), 0xFFFFFFu);
    g.SetCol(4);
    EXPECT_EQ(g.CellBackColor(), g.BackColor());
    g.SetCol(3);
    g.SetRow(5);
    EXPECT_EQ(g.CellBackColor(), 0x123456u);
}

TYPED_TEST(GridContract, ClearEmptiesEveryCellAndResetsItsColours) {
    IGrid& g = this->G(0);
    ShapeAsColumns(g);
    for (int r = 1; r < 20; ++r) {
        g.SetRow(r);
        g.SetText("KD");
        g.SetCellBackColor(0x000000);
        g.SetCellForeColor(0xFFFFFF);
    }
    g.Clear();
    for (int i = 0; i < 20 * 8; ++i) EXPECT_EQ(g.TextArray(i), "") << "cell " << i;
    for (int r = 1; r < 20; ++r) {
        g.SetRow(r);
        EXPECT_EQ(g.CellBackColor(), g.BackColor());
        EXPECT_EQ(g.CellForeColor(), g.ForeColor());
    }
    EXPECT_EQ(g.Rows(), 20);
    EXPECT_EQ(g.FixedRows(), 1);
}

// --- Focus and clicks

TYPED_TEST(GridContract, FocusMovesWithOneEventPerChange) {
    EXPECT_TRUE(this->G(0).HasFocus());
    this->G(1).SetFocus();
    EXPECT_EQ(this->log, Log{"G1.GotFocus"});
    EXPECT_TRUE(this->G(1).HasFocus());
    EXPECT_FALSE(this->G(0).HasFocus());
    this->G(1).SetFocus();
    EXPECT_EQ(this->log, Log{"G1.GotFocus"});
    this->G(2).SetFocus();
    this->G(0).SetFocus();
    EXPECT_EQ(this->log, (Log{"G1.GotFocus", "G2.GotFocus", "G0.GotFocus"}));
}

TYPED_TEST(GridContract, FocusingAHiddenGridRaisesError5) {
    IGrid& g = this->G(1);
    g.SetVisible(false);
    EXPECT_FALSE(g.Visible());
    try {
        g.SetFocus();
        FAIL() << "no error raised";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.Number, 5);
        EXPECT_EQ(e.Description, "Invalid procedure call or argument");
    }
    EXPECT_TRUE(this->log.empty());
    EXPECT_FALSE(g.HasFocus());
    g.SetVisible(true);
    EXPECT_TRUE(g.Visible());
    g.SetFocus();
    EXPECT_EQ(this->log, Log{"G1.GotFocus"});
}

// The game hides all three grids, the focused one first, before each new deal: no other grid takes the focus.
TYPED_TEST(GridContract, HidingTheFocusedGridTakesItsFocusAndGivesItToNoOne) {
    for (int i = 0; i < 3; ++i) this->G(i).SetVisible(false);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(this->G(i).HasFocus());
        this->G(i).SetVisible(true);
    }
    EXPECT_FALSE(this->G(0).HasFocus());
    EXPECT_TRUE(this->log.empty());
    this->G(0).SetFocus();
    EXPECT_EQ(this->log, Log{"G0.GotFocus"});
}

TYPED_TEST(GridContract, ClickMovesTheCursorOnceThenRaisesClick) {
    IGrid& g = this->G(0);
    ShapeAsColumns(g);
    this->log.clear();
    this->grids.Click(0, 6, 4);
    EXPECT_EQ(this->log, (Log{"G0.RowColChange", "G0.Click"}));
    EXPECT_EQ(g.Row(), 6);
    EXPECT_EQ(g.Col(), 4);
    this->log.clear();
    this->grids.Click(0, 6, 4);
    EXPECT_EQ(this->log, Log{"G0.Click"});
}

}  // namespace
}  // namespace quorrel::test
