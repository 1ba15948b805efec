// The game's rules over cards and tables: what may follow what in a column, what may go home, the run
// at the bottom of a column, and the outcome of picking a card up or dropping it. No grid, no toolkit:
// the click handlers, the readings, the solver and the file check all ask here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "table/Table.h"

namespace quorrel::rules {

// Cards by number, as the deck numbers them: 1 to 52 in blocks of thirteen, spades, diamonds, clubs,
// hearts, each from ace to king. Diamonds and hearts are red.
constexpr int SuitOfNumber(int card) { return (card - 1) / 13; }
constexpr int RankOfNumber(int card) { return (card - 1) % 13 + 1; }
constexpr bool RedSuit(int suit) { return (suit & 1) != 0; }

// The one rule of a column: a card may lie below another of the other colour and one rank higher.
constexpr bool Follows(bool red, int rank, bool aboveRed, int aboveRank) {
    return red != aboveRed && rank + 1 == aboveRank;
}
constexpr bool FollowsByNumber(int card, int above) {
    return Follows(RedSuit(SuitOfNumber(card)), RankOfNumber(card), RedSuit(SuitOfNumber(above)), RankOfNumber(above));
}
// The same over card codes; nothing follows an empty cell.
bool Follows(const std::string& card, const std::string& above);

// The one rule of a home cell: it takes the ace of a suit when empty, then the suit's next rank.
// homeRank is the rank of the cell's top card, 0 for an empty cell.
constexpr bool GoesHome(int rank, int homeRank) { return rank == homeRank + 1; }
// The same over card codes: the card goes on `top`, the home cell's top card ("" when empty).
bool GoesHome(const std::string& card, const std::string& top);

// The cards at the bottom of a column that each follow the one above them: 1 for a column whose last
// two cards do not, 0 for an empty column.
int RunAtBottom(const Table& table, int column);

// What a click or a key does with a card: the move is made, refused with one of the game's refusal
// texts, or ignored without a word.
struct Outcome {
    enum Kind { Move, Refuse, Ignore } What = Move;
    std::string_view Refusal;
    bool operator==(const Outcome&) const = default;
};

// Picking up the card at a column's cell (row 1 to 19): only the bottom card of a column moves.
Outcome PickUpFromColumn(const ColumnCells& column, int row);
// Picking up a free cell's card, whose text is `cell`.
Outcome PickUpFromFreeCell(const std::string& cell);
// Picking up a home cell's card: cards home stay home.
Outcome PickUpFromHomeCell();
// Dropping `card` on a column's cell: an empty cell that starts an empty column or lies just below a
// card that the dropped one follows.
Outcome DropOnColumn(const ColumnCells& column, const std::string& card, int row);
// Dropping a card on a free cell, whose text is `cell` (the card's own cell too is not empty).
Outcome DropOnFreeCell(const std::string& cell);
// Dropping `card` on a home cell whose top card is `top`. A card of the home cell's suit but of
// the wrong rank is ignored.
Outcome DropOnHomeCell(const std::string& card, const std::string& top);

// The home cell a card goes to: the one that holds its suit, else the first empty one; nullopt when
// every cell holds another suit (a table that is not whole).
std::optional<int> HomeCellFor(const Table& table, const std::string& card);

// A card is safe to send home when no card left on the table could ever want to lie on it: aces and
// twos always, and any other card once both cards of the other colour one rank lower are home. Only a
// card that may go home now (GoesHome) is asked about.
bool SafeToSendHome(const Table& table, const std::string& card);

// The places a card may go from `from`, best first, as a quick move tries them: home; a column whose
// bottom card it follows, the nearest to the right of its own column first, going round (from the first
// column for a card in a free cell); the first empty column in the same order; the first empty free
// cell. An empty column is not offered to a card alone in its column, nor a free cell to a card in one.
// Column places are the cell below the bottom card, home and free cells their (row 0, cell) place.
std::vector<CellPlace> PlacesFor(const Table& table, const CellPlace& from);

// The cards a run move may take at once with `freeCells` empty free cells and `emptyColumns` empty
// columns besides the destination: (free cells + 1) x 2^(empty columns).
int RunCapacity(int freeCells, int emptyColumns);

// How many cards at the bottom of column `from` a run move onto column `to` would take: the longest
// part of the run there that follows the destination's bottom card, or that can move at all when the
// destination is empty. Why it cannot move otherwise.
struct RunPlan {
    enum Kind { Moves, EmptyColumn, SameColumn, DoesNotFit, TooLong } What = Moves;
    int Count = 0;     // the cards that would move (for TooLong, those that fit)
    int Capacity = 0;  // the most that can move at once
};
RunPlan PlanRun(const Table& table, int from, int to);

// Plays a run move out as single-card moves under the game's own rules, through the free cells and
// the empty columns other than the destination: the bottom `count` cards of column `from` end on column
// `to` in the same order, and every free cell and empty column ends as it began. `table` is changed
// along the way. `count` must be within RunCapacity and the cards must be a run that fits.
std::vector<std::pair<CellPlace, CellPlace>> PlayOutRun(Table& table, int from, int to, int count);

// Moves the card at `from` to `to` on a table value (the count of cards home follows).
void MoveOnTable(Table& table, const CellPlace& from, const CellPlace& to);

}  // namespace quorrel::rules
