// A table as a value: cell access, the layouts from a deck, a deal or a record, and the whole-table check.
#include "table/Table.h"

#include "cards/CardMod.h"
#include "table/NumberedDeal.h"

namespace quorrel {

namespace {
// A cell's text as a message can show and a screen reader can say whole: printable ASCII as it is,
// a tab as \t, a backslash doubled, every other byte (code 0, control codes, 0x80 and up) as \xHH.
std::string Readable(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') shown += "\\\\";
        else if (c == '\t') shown += "\\t";
        else if (byte >= 0x20 && byte < 0x7F) shown += c;
        else shown += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
    }
    return shown;
}

}  // namespace

const std::string& Table::At(const CellPlace& place) const {
    switch (place.Grid) {
    case GridId::Column: return Card(place.Col, place.Row);
    case GridId::FreeCell: return FreeCells[Index(place.Col)];
    case GridId::HomeCell: break;
    }
    return HomeCells[Index(place.Col)];
}

std::string& Table::At(const CellPlace& place) {
    return const_cast<std::string&>(static_cast<const Table&>(*this).At(place));
}

int LengthOf(const ColumnCells& column) {
    int length = 0;
    while (length < kCardRows && !column[Table::Index(length)].empty()) ++length;
    return length;
}

int Table::Length(int column) const { return LengthOf(Columns[Index(column)]); }

int Table::HomeCards(int k) const {
    const std::string& top = HomeCells[Index(k)];
    return top.empty() ? 0 : GetCardValue(top);
}

Table TableOfDeck(const std::array<std::int16_t, 53>& deck) {
    Table table;
    for (int i = 0; i < kCards; ++i) table.Card(i % kColumns, i / kColumns + 1) = DetermineCard(deck[Table::Index(i)]);
    return table;
}

Table TableOfDeal(std::int32_t number) {
    std::array<std::int16_t, 53> deck{};
    NumberedDeck(number, deck);
    return TableOfDeck(deck);
}

Table TableOfRecord(const GameRecord& record) {
    Table table;
    for (int c = 0; c < kColumns; ++c)
        for (int r = 1; r <= kCardRows; ++r)
            table.Card(c, r) = GameRecord::Trimmed(record.ColumnCards[Table::Index(r)][Table::Index(c)]);
    for (int k = 0; k < kCells; ++k) {
        table.FreeCells[Table::Index(k)] = GameRecord::Trimmed(record.FreeCellCards[Table::Index(k)]);
        table.HomeCells[Table::Index(k)] = GameRecord::Trimmed(record.HomeCellCards[Table::Index(k)]);
    }
    table.HomeCount = record.HomeCount;
    return table;
}

GameRecord RecordOfTable(const Table& table, GameRecord record) {
    for (int r = 1; r <= kCardRows; ++r)
        for (int c = 0; c < kColumns; ++c)
            GameRecord::Store(record.ColumnCards[Table::Index(r)][Table::Index(c)], table.Card(c, r));
    for (int k = 0; k < kCells; ++k) {
        GameRecord::Store(record.FreeCellCards[Table::Index(k)], table.FreeCells[Table::Index(k)]);
        GameRecord::Store(record.HomeCellCards[Table::Index(k)], table.HomeCells[Table::Index(k)]);
    }
    record.HomeCount = table.HomeCount;
    return record;
}

std::string Validate(const Table& table) {
    std::array<bool, kCards + 1> seen{};
    int cards = 0;
    std::string twice;
    auto count = [&](const std::string& card) {
        bool& once = seen[Table::Index(CardNumber(card))];
        if (!once) ++cards;
        else if (twice.empty()) twice = card + " appears twice";
        once = true;
    };
    auto noCard = [](const std::string& text) { return "a cell holds \"" + Readable(text) + "\", which is no card"; };
    for (int c = 0; c < kColumns; ++c) {
        bool emptySeen = false;
        for (int r = 1; r <= kCardRows; ++r) {
            const std::string& text = table.Card(c, r);
            if (text.empty()) {
                emptySeen = true;
                continue;
            }
            if (!CardNumber(text)) return noCard(text);
            if (emptySeen) return "column " + std::to_string(c + 1) + " has a gap";
            count(text);
        }
    }
    int homeCards = 0;
    for (int k = 0; k < kCells; ++k) {
        const std::string& free = table.FreeCells[Table::Index(k)];
        if (!free.empty()) {
            if (!CardNumber(free)) return noCard(free);
            count(free);
        }
        const std::string& home = table.HomeCells[Table::Index(k)];
        if (!home.empty()) {
            if (!CardNumber(home)) return noCard(home);
            for (int v = 1; v <= GetCardValue(home); ++v) count(BuildCardString(v, home));
            homeCards += GetCardValue(home);
        }
    }
    if (!twice.empty()) return twice;
    if (table.HomeCount < 0 || table.HomeCount > kCards) return "its count of cards played home is out of range";
    if (table.HomeCount != homeCards) return "its count of cards played home does not match the home cells";
    if (cards != kCards) return "it holds " + std::to_string(cards) + " cards instead of 52";
    return {};
}

}  // namespace quorrel
