// A card and a table in words.
#include "speech/CardWords.h"

#include "table/Rules.h"
#include "texts/Texts.h"

namespace quorrel {

std::string GetCardValueString(const std::string& code) {
    if (code.size() == 2) {
        static constexpr std::string_view kRanks = "23456789JQKA";
        static constexpr int kValues[] = {2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 1};
        const auto at = kRanks.find(code[0]);
        if (at == std::string_view::npos) return {};
        return std::string(texts::RankWords[static_cast<size_t>(kValues[at] - 1)]);
    }
    if (code.size() == 3) return std::string(texts::RankWords[9]);
    return {};
}

std::string GetSuite(const std::string& code) {
    if (code.empty()) return {};
    switch (code.back()) {
    case 'S': return std::string(texts::SuitSpades);
    case 'C': return std::string(texts::SuitClubs);
    case 'H': return std::string(texts::SuitHearts);
    case 'D': return std::string(texts::SuitDiamonds);
    default: return {};
    }
}

std::string CellWords(const std::string& text, std::string_view de) {
    if (text.empty()) return std::string(texts::Empty);
    return GetCardValueString(text) + std::string(de) + GetSuite(text);
}

std::string ColumnWords(const Table& table, int column, std::string_view de) {
    std::string words = std::string(texts::Column) + texts::SpokenNumber(column + 1);
    const int length = table.Length(column);
    if (length == 0) return words + std::string(texts::IsEmpty);
    for (int row = 1; row <= length; ++row) words += CellWords(table.Card(column, row), de);
    return words + std::string(texts::CardsInColumn) + texts::SpokenNumber(length) + std::string(texts::RunOf) +
           texts::SpokenNumber(rules::RunAtBottom(table, column));
}

std::string TableWords(const Table& table) {
    std::string words;
    // The suits in the order of the card numbers: spades, diamonds, clubs, hearts.
    for (char suit : {'S', 'D', 'C', 'H'}) {
        const std::string code(1, suit);
        words += GetSuite(code);
        std::string top;
        for (const std::string& card : table.HomeCells)
            if (!card.empty() && card.back() == suit) top = card;
        words += top.empty() ? std::string(texts::NoneHome) : std::string(texts::UpTo) + GetCardValueString(top);
    }
    int emptyCells = 0;
    int cards = 0;
    for (const std::string& card : table.FreeCells) {
        if (card.empty()) ++emptyCells;
        else ++cards;
    }
    words += std::string(texts::EmptyFreeCells) + texts::SpokenNumber(emptyCells) + std::string(texts::EmptyColumns);
    bool anyEmpty = false;
    for (int c = 0; c < kColumns; ++c) {
        if (table.Card(c, 1).empty()) {
            words += texts::SpokenNumber(c + 1);
            anyEmpty = true;
        }
        cards += table.Length(c);
    }
    if (!anyEmpty) words += texts::NoColumns;
    return words + std::string(texts::CardsOnTable) + texts::SpokenNumber(cards);
}

std::string BottomRowWords(const Table& table, std::string_view de) {
    std::string words;
    for (int c = 0; c < kColumns; ++c) {
        const int length = table.Length(c);
        words += std::string(texts::Column) + texts::SpokenNumber(c + 1) +
                 CellWords(length == 0 ? std::string() : table.Card(c, length), de);
    }
    return words;
}

std::string PlaceWords(const CellPlace& place) {
    switch (place.Grid) {
    case GridId::Column: return std::string(texts::Column) + texts::SpokenNumber(place.Col + 1);
    case GridId::FreeCell: return std::string(texts::AFreeCell);
    case GridId::HomeCell: break;
    }
    return std::string(texts::TheHomeCells);
}

}  // namespace quorrel
