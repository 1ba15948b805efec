// The game's rules over cards and tables.
#include "table/Rules.h"

#include "cards/CardMod.h"
#include "texts/Texts.h"

namespace quorrel::rules {

namespace {
constexpr Outcome kMove{};
constexpr Outcome Refused(std::string_view text) { return {Outcome::Refuse, text}; }
bool Red(const std::string& card) { return CardColor(card) == 1; }
// The suit letter of a card code; 0 for an empty cell.
char Suit(const std::string& card) { return card.empty() ? 0 : card.back(); }
}  // namespace

bool Follows(const std::string& card, const std::string& above) {
    return !above.empty() && CardColor(card) != CardColor(above) &&
           Follows(Red(card), GetCardValue(card), Red(above), GetCardValue(above));
}

bool GoesHome(const std::string& card, const std::string& top) {
    if (top.empty()) return GoesHome(GetCardValue(card), 0);
    return Suit(top) == Suit(card) && GoesHome(GetCardValue(card), GetCardValue(top));
}

int RunAtBottom(const Table& table, int column) {
    const int length = table.Length(column);
    int run = length == 0 ? 0 : 1;
    while (run < length && Follows(table.Card(column, length - run + 1), table.Card(column, length - run))) ++run;
    return run;
}

Outcome PickUpFromColumn(const ColumnCells& column, int row) {
    if (column[Table::Index(row - 1)].empty()) return Refused(texts::CannotMoveEmptyCell);
    // The last card row has nothing below it, so its card can always be picked up.
    if (row < kCardRows && !column[Table::Index(row)].empty()) return Refused(texts::OnlyBottomCard);
    return kMove;
}

Outcome PickUpFromFreeCell(const std::string& cell) { return cell.empty() ? Refused(texts::FreeCellEmpty) : kMove; }

Outcome PickUpFromHomeCell() { return Refused(texts::HomeCardsStay); }

Outcome DropOnColumn(const ColumnCells& column, const std::string& card, int row) {
    if (!column[Table::Index(row - 1)].empty()) return Refused(texts::ColumnCellMustBeEmpty);
    if (row == 1) return kMove;  // any card may start an empty column
    const std::string& above = column[Table::Index(row - 2)];
    if (Follows(card, above)) return kMove;
    // An empty cell above would leave a gap in the column: refused like a card of the wrong rank.
    return Refused(CardColor(card) == CardColor(above) ? texts::AlternatingColors : texts::DescendingOrder);
}

Outcome DropOnFreeCell(const std::string& cell) { return cell.empty() ? kMove : Refused(texts::FreeCellMustBeEmpty); }

Outcome DropOnHomeCell(const std::string& card, const std::string& top) {
    if (top.empty()) return GetCardValue(card) == 1 ? kMove : Refused(texts::FirstHomeCardAce);
    if (Suit(top) != Suit(card)) return Refused(texts::HomeSameSuit);
    return GoesHome(card, top) ? kMove : Outcome{Outcome::Ignore, {}};
}

}  // namespace quorrel::rules
