// The table as a value and the rules over it, without a window.
#include <gtest/gtest.h>

#include "cards/CardMod.h"
#include "files/Statistics.h"
#include "table/Rules.h"
#include "table/Table.h"
#include "texts/Texts.h"

namespace quorrel {
namespace {

TEST(TableValue, ARecordKeepsTheTableAndTheSlotsItDoesNotUse) {
    GameRecord old;
    GameRecord::Store(old.ColumnCards[0][8], "xyz");  // outside the table
    const Table deal = TableOfDeal(617);
    const GameRecord record = RecordOfTable(deal, old);
    EXPECT_EQ(TableOfRecord(record), deal);
    EXPECT_EQ(GameRecord::Trimmed(record.ColumnCards[0][8]), "xyz");
    EXPECT_EQ(Validate(deal), "");
}

TEST(TableValue, ValidateNamesTheFirstProblem) {
    const Table deal = TableOfDeal(1);
    Table twice = deal;
    twice.Card(0, 1) = twice.Card(1, 1);
    Table gap = deal;
    std::swap(gap.Card(0, 7), gap.Card(0, 8));
    Table missing = deal;
    missing.Card(0, 7).clear();
    Table home = deal;
    home.HomeCells[2] = "2H";  // two hearts home, still on the table, and a count of 0
    Table noCard = deal;
    noCard.FreeCells[3] = "1\tX";
    EXPECT_EQ(Validate(twice), twice.Card(1, 1) + " appears twice");
    EXPECT_EQ(Validate(gap), "column 1 has a gap");
    EXPECT_EQ(Validate(missing), "it holds 51 cards instead of 52");
    EXPECT_EQ(Validate(home), "AH appears twice");
    EXPECT_EQ(Validate(noCard), "a cell holds \"1\\tX\", which is no card");
}

// Saved statistics name a game by its table's key: the key of a table must never change.
TEST(TableValue, TheStatisticsKeyOfATableStaysAsFilesKeepIt) {
    EXPECT_EQ(TableKey(TableOfDeal(1)), "95e9ce130bedc91e");
    Table played = TableOfDeal(1);
    played.FreeCells[0] = played.Card(0, 7);
    played.Card(0, 7).clear();
    EXPECT_NE(TableKey(played), TableKey(TableOfDeal(1)));
}

TEST(Rules, CodesAndNumbersFollowAlike) {
    for (int card = 1; card <= kCards; ++card)
        for (int above = 1; above <= kCards; ++above)
            EXPECT_EQ(rules::Follows(DetermineCard(card), DetermineCard(above)), rules::FollowsByNumber(card, above))
                << DetermineCard(card) << " below " << DetermineCard(above);
    EXPECT_FALSE(rules::Follows("AH", ""));
}

TEST(Rules, TheRunAtTheBottomCountsTheCardsThatFollow) {
    Table table;
    const char* column[] = {"9S", "KD", "QS", "JH", "10C"};
    for (int r = 1; r <= 5; ++r) table.Card(2, r) = column[r - 1];
    table.Card(3, 1) = "5H";
    table.Card(4, 1) = "5H";
    table.Card(4, 2) = "4D";  // the same colour breaks the run
    EXPECT_EQ(rules::RunAtBottom(table, 2), 4);
    EXPECT_EQ(rules::RunAtBottom(table, 3), 1);
    EXPECT_EQ(rules::RunAtBottom(table, 4), 1);
    EXPECT_EQ(rules::RunAtBottom(table, 0), 0);
}

TEST(Rules, DropsAreMovedRefusedOrIgnored) {
    using rules::Outcome;
    Table table;
    table.Card(0, 1) = "8S";
    const Outcome move{};
    EXPECT_EQ(rules::DropOnColumn(table.Columns[0], "7H", 2), move);
    EXPECT_EQ(rules::DropOnColumn(table.Columns[1], "KH", 1), move);
    EXPECT_EQ(rules::DropOnColumn(table.Columns[0], "7C", 2).Refusal, texts::AlternatingColors);
    EXPECT_EQ(rules::DropOnColumn(table.Columns[0], "6H", 2).Refusal, texts::DescendingOrder);
    EXPECT_EQ(rules::DropOnColumn(table.Columns[0], "7H", 3).Refusal, texts::DescendingOrder);  // a gap above
    EXPECT_EQ(rules::DropOnColumn(table.Columns[0], "7H", 1).Refusal, texts::ColumnCellMustBeEmpty);
    EXPECT_EQ(rules::DropOnHomeCell("AD", ""), move);
    EXPECT_EQ(rules::DropOnHomeCell("2D", "AD"), move);
    EXPECT_EQ(rules::DropOnHomeCell("2D", "").Refusal, texts::FirstHomeCardAce);
    EXPECT_EQ(rules::DropOnHomeCell("2C", "AD").Refusal, texts::HomeSameSuit);
    EXPECT_EQ(rules::DropOnHomeCell("3D", "AD").What, Outcome::Ignore);
    EXPECT_EQ(rules::PickUpFromColumn(table.Columns[0], 1), move);
    table.Card(0, 2) = "7H";
    EXPECT_EQ(rules::PickUpFromColumn(table.Columns[0], 1).Refusal, texts::OnlyBottomCard);
    EXPECT_EQ(rules::PickUpFromColumn(table.Columns[0], 3).Refusal, texts::CannotMoveEmptyCell);
}

}  // namespace
}  // namespace quorrel
