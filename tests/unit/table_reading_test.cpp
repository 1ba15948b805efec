// The Play menu's readings: a column, the table summary and the bottom row.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/TableOf.h"
#include "support/TestTable.h"

namespace quorrel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::StartsWith;

struct TableReading : ::testing::Test {
    void SetUp() override {
        t.StartAndDeal();
        t.Heard();
    }
    TestTable t;
};

TEST_F(TableReading, AColumnTopToBottomWithItsCountAndTheRunThatEndsIt) {
    // Column 1: six cards, then king down to ace in alternating colours; column 2 is one run whole.
    t.LayOut({{"2H", "9D", "4C", "JH", "6C", "10C", "KS", "QH", "JC", "10D", "9S", "8H", "7C", "6D", "5S", "4H", "3C",
               "2D", "AC"},
              {"9S", "8H", "7C"},
              {},
              {"5H", "4H"}});
    t.Shortcut("F9");
    auto heard = t.Heard();
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0], "<stop>");
    EXPECT_THAT(heard[1], StartsWith(" Column  1 dhe  de  Coeurs  neuf  de  Carreaux "));
    EXPECT_THAT(heard[1], EndsWith(" dhe  de  Carreaux  ace  de  Tr\u00E8fl  Cards  19 Run of  13"));

    // From another grid, for the column of the column grid's cursor, which stays where it is.
    t.window.column.SetCol(1);
    t.window.column.SetRow(2);
    t.Press(keys::Tab);
    t.Heard();
    t.Shortcut("F9");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>",
                                       " Column  2 neuf  de  Piques  huits  de  Coeurs  septs  de  Tr\u00E8fl "
                                       " Cards  3 Run of  3"));
    EXPECT_EQ(t.window.column.Row(), 2);
    EXPECT_EQ(t.Focused(), &t.window.freeCell);
}

// The words themselves, from a table alone.
TEST(TableWords, AColumnsRunNeedsTheOtherColour) {
    const Table table = TableOf({{}, {}, {}, {"5H", "4H"}});
    EXPECT_EQ(ColumnWords(table, 3), " Column  4 cinq  de  Coeurs  qat\u2E72  de  Coeurs  Cards  2 Run of  1");
    EXPECT_EQ(ColumnWords(table, 2), " Column  3 is empty! ");
}

TEST(TableWords, TheSummaryWithEverySuitHomeButOne) {
    EXPECT_EQ(TableWords(TableOf({{"KH", "QH", "JH", "10H", "9H", "8H", "7H", "6H", "5H", "4H", "3H", "2H"}},
                                 {"", "AH"}, {"KS", "KD", "KC"})),
              " Piques  up to  rois  Carreaux  up to  rois  Tr\u00E8fl  up to  rois "
              " Coeurs  none home  Empty free cells:  3 Empty columns:  2 3 4 5 6 7 8"
              " Cards on the table:  13");
    EXPECT_EQ(TableWords(TableOf({{"KS"}, {"QS"}, {"JS"}, {"10S"}, {"9S"}, {"8S"}, {"7S"}, {"6S"}},
                                 {"5S", "4S", "3S", "2S"}, {"KD", "KC", "KH", "AS"})),
              " Piques  up to  ace  Carreaux  up to  rois  Tr\u00E8fl  up to  rois "
              " Coeurs  up to  rois  Empty free cells:  0 Empty columns:  none "
              " Cards on the table:  12");
}

TEST_F(TableReading, TheBottomRowNamesEachColumnAndItsEmptyOnes) {
    t.LayOut({{"KS", "7H"}, {}, {"10D"}, {}, {}, {}, {}, {"AC", "QH", "9C"}});
    t.Shortcut("F11");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>",
                                       " Column  1 septs  de  Coeurs  Column  2 Empty  Column  3 dix  de  "
                                       "Carreaux  Column  4 Empty  Column  5 Empty  Column  6 Empty "
                                       " Column  7 Empty  Column  8 neuf  de  Tr\u00E8fl "));
    EXPECT_EQ(t.window.column.Row(), 1);
    EXPECT_EQ(t.window.column.Col(), 0);
}

TEST(TableReadingMenu, TheReadingsWaitForAGame) {
    TestTable t;
    t.Start();
    t.Heard();
    for (const char* key : {"F9", "Shift+F9", "F11"}) t.screen.MenuClick(t.window.menus.ByShortcut(key));
    EXPECT_TRUE(t.Heard().empty());
}

}  // namespace
}  // namespace quorrel::test
