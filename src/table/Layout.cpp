// The layouts of a table from a deck and from a saved record.
#include "table/Layout.h"

#include "cards/CardMod.h"
#include "table/NumberedDeal.h"

namespace quorrel {

TableRecord TableOfDeck(const std::array<std::int16_t, 53>& deck) {
    TableRecord table;
    for (size_t i = 0; i < 52; ++i) table.Columns[i / 8 + 1][i % 8] = DetermineCard(deck[i]);
    return table;
}

TableRecord TableOfDeal(std::int32_t number) {
    std::array<std::int16_t, 53> deck{};
    NumberedDeck(number, deck);
    return TableOfDeck(deck);
}

TableRecord TableOfRecord(const GameRecord& record) {
    TableRecord table;
    for (size_t r = 1; r <= 19; ++r)
        for (size_t c = 0; c < 8; ++c) table.Columns[r][c] = GameRecord::Trimmed(record.ColumnCards[r][c]);
    for (size_t k = 0; k < 4; ++k) {
        table.FreeCells[k] = GameRecord::Trimmed(record.FreeCellCards[k]);
        table.HomeCells[k] = GameRecord::Trimmed(record.HomeCellCards[k]);
    }
    table.HomeCount = record.HomeCount;
    return table;
}

}  // namespace quorrel
