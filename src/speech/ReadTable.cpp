// The Play menu's readings: the column under the column cursor, a summary of the table, and the
// bottom row. Each is one announcement that cuts off what was being said, and moves nothing.
#include "app/GameScreen.h"
#include "cards/CardMod.h"
#include "texts/Texts.h"

namespace quorrel {

namespace {
constexpr int kCardRows = 19;
constexpr int kColumns = 8;
constexpr int kCells = 4;

// The card may go on the one above it in a run: one rank lower and of the other colour.
bool Continues(const std::string& above, const std::string& card) {
    return GetCardValue(above) == GetCardValue(card) + 1 && CardColor(above) != CardColor(card);
}
}  // namespace

std::string GameScreen::ColumnWords(int column) const {
    std::string words = std::string(texts::Column) + texts::SpokenNumber(column + 1);
    std::vector<std::string> cards;
    for (int row = 1; row <= kCardRows && !Column.TextMatrix(row, column).empty(); ++row)
        cards.push_back(Column.TextMatrix(row, column));
    if (cards.empty()) return words + std::string(texts::IsEmpty);
    for (const auto& card : cards) words += CellWords(card);
    size_t run = 1;
    while (run < cards.size() && Continues(cards[cards.size() - run - 1], cards[cards.size() - run])) ++run;
    return words + std::string(texts::CardsInColumn) + texts::SpokenNumber(static_cast<int>(cards.size())) +
           std::string(texts::RunOf) + texts::SpokenNumber(static_cast<int>(run));
}

std::string GameScreen::TableWords() const {
    std::string words;
    // The suits in the order of the card numbers: spades, diamonds, clubs, hearts.
    for (char suit : {'S', 'D', 'C', 'H'}) {
        const std::string code(1, suit);
        words += GetSuite(code);
        std::string top;
        for (int k = 0; k < kCells; ++k) {
            const std::string card = HomeCell.TextMatrix(0, k);
            if (!card.empty() && card.back() == suit) top = card;
        }
        words += top.empty() ? std::string(texts::NoneHome) : std::string(texts::UpTo) + GetCardValueString(top);
    }
    int emptyCells = 0;
    int cards = 0;
    for (int k = 0; k < kCells; ++k) {
        if (FreeCell.TextMatrix(0, k).empty()) ++emptyCells;
        else ++cards;
    }
    words += std::string(texts::EmptyFreeCells) + texts::SpokenNumber(emptyCells) + std::string(texts::EmptyColumns);
    bool anyEmpty = false;
    for (int c = 0; c < kColumns; ++c) {
        if (Column.TextMatrix(1, c).empty()) {
            words += texts::SpokenNumber(c + 1);
            anyEmpty = true;
        }
        for (int row = 1; row <= kCardRows && !Column.TextMatrix(row, c).empty(); ++row) ++cards;
    }
    if (!anyEmpty) words += texts::NoColumns;
    return words + std::string(texts::CardsOnTable) + texts::SpokenNumber(cards);
}

std::string GameScreen::BottomRowWords() const {
    std::string words;
    for (int c = 0; c < kColumns; ++c) {
        int row = 0;
        while (row < kCardRows && !Column.TextMatrix(row + 1, c).empty()) ++row;
        words += std::string(texts::Column) + texts::SpokenNumber(c + 1) +
                 CellWords(row == 0 ? std::string() : Column.TextMatrix(row, c));
    }
    return words;
}

void GameScreen::SpeakReading(const std::string& words) {
    StopSpeech();
    Speak(words);
}

void GameScreen::mnuPlayReadColumn_Click() {
    if (DealWaiting) return;
    Trap(ReportForm::Procedure, " in mnuPlayReadColumn()", [&] {
        if (State.GameInProgress == -1) SpeakReading(ColumnWords(Column.Col()));
    });
}

void GameScreen::mnuPlayReadTable_Click() {
    if (DealWaiting) return;
    Trap(ReportForm::Procedure, " in mnuPlayReadTable()", [&] {
        if (State.GameInProgress == -1) SpeakReading(TableWords());
    });
}

void GameScreen::mnuPlayReadBottomRow_Click() {
    if (DealWaiting) return;
    Trap(ReportForm::Procedure, " in mnuPlayReadBottomRow()", [&] {
        if (State.GameInProgress == -1) SpeakReading(BottomRowWords());
    });
}

}  // namespace quorrel
