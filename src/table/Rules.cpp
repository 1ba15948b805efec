// The game's rules over cards and tables.
#include "table/Rules.h"

#include <algorithm>

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

namespace {
// The rank of a suit's top card home, 0 when none of it is home.
int HomeRank(const Table& table, char suit) {
    for (const std::string& top : table.HomeCells)
        if (Suit(top) == suit) return GetCardValue(top);
    return 0;
}

int EmptyFreeCells(const Table& table) {
    int empty = 0;
    for (const std::string& cell : table.FreeCells) empty += cell.empty() ? 1 : 0;
    return empty;
}

int FirstEmptyFreeCell(const Table& table) {
    for (int k = 0; k < kCells; ++k)
        if (table.FreeCells[Table::Index(k)].empty()) return k;
    return -1;
}

CellPlace BottomOf(const Table& table, int column) { return {GridId::Column, table.Length(column), column}; }
CellPlace Below(const Table& table, int column) { return {GridId::Column, table.Length(column) + 1, column}; }
CellPlace FreeCellPlace(int k) { return {GridId::FreeCell, 0, k}; }
}  // namespace

std::optional<int> HomeCellFor(const Table& table, const std::string& card) {
    std::optional<int> empty;
    for (int k = 0; k < kCells; ++k) {
        const std::string& top = table.HomeCells[Table::Index(k)];
        if (!top.empty() && Suit(top) == Suit(card)) return k;
        if (top.empty() && !empty) empty = k;
    }
    return empty;
}

bool SafeToSendHome(const Table& table, const std::string& card) {
    const int rank = GetCardValue(card);
    if (rank <= 2) return true;
    const char* other = Red(card) ? "SC" : "DH";
    return HomeRank(table, other[0]) >= rank - 1 && HomeRank(table, other[1]) >= rank - 1;
}

std::vector<CellPlace> PlacesFor(const Table& table, const CellPlace& from) {
    const std::string& card = table.At(from);
    std::vector<CellPlace> places;
    if (card.empty()) return places;
    if (const auto home = HomeCellFor(table, card); home && GoesHome(card, table.HomeCells[Table::Index(*home)]))
        places.push_back({GridId::HomeCell, 0, *home});
    const bool inColumn = from.Grid == GridId::Column;
    // Column by column to the right of the card's own, going round; from the first for a free cell.
    const int start = inColumn ? from.Col : -1;
    std::optional<CellPlace> empty;
    for (int step = 1; step <= kColumns; ++step) {
        const int column = (start + step) % kColumns;
        if (inColumn && column == from.Col) continue;
        const int length = table.Length(column);
        if (length == 0) {
            if (!empty) empty = Below(table, column);
        } else if (length < kCardRows && Follows(card, table.Card(column, length))) {
            places.push_back(Below(table, column));
        }
    }
    const bool alone = inColumn && table.Length(from.Col) == 1;
    if (empty && !alone) places.push_back(*empty);
    if (from.Grid != GridId::FreeCell)
        if (const int cell = FirstEmptyFreeCell(table); cell >= 0) places.push_back(FreeCellPlace(cell));
    return places;
}

int RunCapacity(int freeCells, int emptyColumns) { return (freeCells + 1) << emptyColumns; }

RunPlan PlanRun(const Table& table, int from, int to) {
    if (from == to) return {RunPlan::SameColumn};
    const int length = table.Length(from);
    if (length == 0) return {RunPlan::EmptyColumn};
    int emptyColumns = 0;
    for (int column = 0; column < kColumns; ++column) emptyColumns += column != to && table.Length(column) == 0 ? 1 : 0;
    const int capacity = RunCapacity(EmptyFreeCells(table), emptyColumns);
    const int run = RunAtBottom(table, from);
    const int destination = table.Length(to);
    if (destination == 0) return {RunPlan::Moves, std::min(run, capacity), capacity};
    // Ranks go down by one along a run, so at most one of its cards follows the destination's bottom card.
    for (int count = 1; count <= run; ++count) {
        if (!Follows(table.Card(from, length - count + 1), table.Card(to, destination))) continue;
        if (destination + count > kCardRows) break;
        return {count <= capacity ? RunPlan::Moves : RunPlan::TooLong, count, capacity};
    }
    return {RunPlan::DoesNotFit, 0, capacity};
}

void MoveOnTable(Table& table, const CellPlace& from, const CellPlace& to) {
    table.At(to) = table.At(from);
    table.At(from).clear();
    if (to.Grid == GridId::HomeCell) ++table.HomeCount;
}

namespace {
// Moves the bottom `count` cards of column `from` onto column `to` with the free cells and the empty
// columns `spare`: straight through the free cells when they suffice, else by parking the upper part
// in an empty column, moving the rest, and bringing the parked part after it.
void Carry(Table& table, int from, int to, int count, std::vector<int> spare,
           std::vector<std::pair<CellPlace, CellPlace>>& steps) {
    auto step = [&](const CellPlace& a, const CellPlace& b) {
        MoveOnTable(table, a, b);
        steps.emplace_back(a, b);
    };
    const int freeCells = EmptyFreeCells(table);
    if (count <= freeCells + 1 || spare.empty()) {
        std::vector<int> parked;
        for (int n = 1; n < count; ++n) {
            parked.push_back(FirstEmptyFreeCell(table));
            step(BottomOf(table, from), FreeCellPlace(parked.back()));
        }
        step(BottomOf(table, from), Below(table, to));
        for (auto cell = parked.rbegin(); cell != parked.rend(); ++cell) step(FreeCellPlace(*cell), Below(table, to));
        return;
    }
    const int park = spare.back();
    spare.pop_back();
    const int direct = std::min(count - 1, RunCapacity(freeCells, static_cast<int>(spare.size())));
    Carry(table, from, park, count - direct, spare, steps);
    Carry(table, from, to, direct, spare, steps);
    Carry(table, park, to, count - direct, spare, steps);
}
}  // namespace

std::vector<std::pair<CellPlace, CellPlace>> PlayOutRun(Table& table, int from, int to, int count) {
    std::vector<int> spare;
    for (int column = kColumns - 1; column >= 0; --column)
        if (column != to && column != from && table.Length(column) == 0) spare.push_back(column);
    std::vector<std::pair<CellPlace, CellPlace>> steps;
    Carry(table, from, to, count, std::move(spare), steps);
    return steps;
}

}  // namespace quorrel::rules
