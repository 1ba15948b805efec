// The solver's search: best-first over positions in a canonical form, with the moves home that can
// never hurt made at once, and the way found replayed on the table as it lies to name its cells.
#include "solver/Solver.h"
#include "solver/SolverCheck.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "cards/CardMod.h"
#include "table/Rules.h"

namespace quorrel::solver {

namespace {

constexpr int kRows = kCardRows;
constexpr std::uint8_t kNone = 0;

// Cards are numbered as the game numbers them: 1 to 52 in blocks of thirteen, spades, diamonds,
// clubs, hearts, each from ace to king.
// The suit and rank of each card are looked up: the search asks for them at every step it weighs.
struct CardFacts {
    std::array<std::uint8_t, 53> Suit{}, Rank{};
    std::array<std::array<bool, 53>, 53> Follows{};  // [card][above]: the card may lie below `above`
    constexpr CardFacts() {
        for (int card = 1; card <= 52; ++card) {
            Suit[static_cast<size_t>(card)] = static_cast<std::uint8_t>(rules::SuitOfNumber(card));
            Rank[static_cast<size_t>(card)] = static_cast<std::uint8_t>(rules::RankOfNumber(card));
        }
        for (int card = 1; card <= 52; ++card)
            for (int above = 1; above <= 52; ++above)
                Follows[static_cast<size_t>(card)][static_cast<size_t>(above)] = rules::FollowsByNumber(card, above);
    }
};
constexpr CardFacts kFacts;
constexpr int Suit(std::uint8_t card) { return kFacts.Suit[card]; }
constexpr int Rank(std::uint8_t card) { return kFacts.Rank[card]; }
constexpr bool Red(std::uint8_t card) { return (Suit(card) & 1) != 0; }
constexpr std::uint8_t CardOf(int suit, int rank) { return static_cast<std::uint8_t>(suit * 13 + rank); }
// The card may lie below `above` in a column.
constexpr bool Follows(std::uint8_t card, std::uint8_t above) { return kFacts.Follows[card][above]; }

// Random words for the position's hash: one for each card at each row of a column, and one for each
// card in a free cell.
struct HashWords {
    std::array<std::array<std::uint64_t, kRows>, 53> Column{};
    std::array<std::uint64_t, 53> Free{};
    constexpr HashWords() {
        std::uint64_t state = 0x9E3779B97F4A7C15u;
        auto next = [&state] {  // splitmix64
            std::uint64_t z = (state += 0x9E3779B97F4A7C15u);
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
            return z ^ (z >> 31);
        };
        for (auto& rows : Column)
            for (auto& word : rows) word = next();
        for (auto& word : Free) word = next();
        Free[kNone] = 0;  // an empty free cell adds nothing
    }
};
constexpr HashWords kWords;

// Mixes a column's sum of words, so that a position's hash, a sum over its columns, depends on which
// cards share a column and not only on the rows they lie at.
constexpr std::uint64_t Mix(std::uint64_t h) {
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDu;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53u;
    return h ^ (h >> 33);
}

struct Position {
    std::array<std::array<std::uint8_t, kRows>, kColumns> Col{};
    // Kept by every move: each column's sum of its cards' words, and the free cells' sum.
    std::array<std::uint64_t, kColumns> ColumnSum{};
    std::uint64_t FreeSum = 0;
    std::array<std::uint8_t, kColumns> Len{};
    std::array<std::uint8_t, kCells> Free{};
    std::array<std::uint8_t, 4> Home{};                        // cards home, by suit
    std::array<std::int8_t, kCells> HomeSuit{-1, -1, -1, -1};  // the suit each home cell holds

    std::uint8_t Bottom(int c) const { return Len[c] ? Col[c][Len[c] - 1] : kNone; }
    bool GoesHome(std::uint8_t card) const { return rules::GoesHome(Rank(card), Home[Suit(card)]); }
    int HomeCellFor(std::uint8_t card) const {
        for (int k = 0; k < kCells; ++k)
            if (HomeSuit[k] == Suit(card)) return k;
        for (int k = 0; k < kCells; ++k)
            if (HomeSuit[k] < 0) return k;
        return 0;
    }
    int CardsHome() const { return Home[0] + Home[1] + Home[2] + Home[3]; }

    void Push(int c, std::uint8_t card) {
        ColumnSum[static_cast<size_t>(c)] += kWords.Column[card][Len[c]];
        Col[c][Len[c]++] = card;
    }
    std::uint8_t Pop(int c) {
        const std::uint8_t card = Col[c][--Len[c]];
        ColumnSum[static_cast<size_t>(c)] -= kWords.Column[card][Len[c]];
        return card;
    }
    void SetFree(int k, std::uint8_t card) {
        FreeSum += kWords.Free[card] - kWords.Free[Free[static_cast<size_t>(k)]];
        Free[static_cast<size_t>(k)] = card;
    }
    // The same for two positions that differ only in the order of their columns or free cells; the
    // cards home are those missing.
    std::uint64_t Hash() const {
        std::uint64_t h = FreeSum;
        for (const std::uint64_t sum : ColumnSum) h += Mix(sum);
        return h;
    }
};

// Where cards are and where they go. A place is a column (0..7), a free cell (8..11) or home (12).
// Count cards leave the bottom of a column together, as a run the free cells and empty columns carry.
constexpr int kFreeBase = 8;
constexpr int kHome = 12;
struct Step {
    std::uint8_t From;
    std::uint8_t To;
    std::uint8_t Count;
};

std::uint8_t CardAt(const Position& p, int place) {
    return place < kFreeBase ? p.Bottom(place) : p.Free[static_cast<size_t>(place - kFreeBase)];
}

// Makes a one-card step, and the move with the cells named as the grids name them when `out` is given.
void Move(Position& p, int from, int to, std::vector<SolverMove>* out) {
    const std::uint8_t card = CardAt(p, from);
    SolverMove move;
    if (from < kFreeBase) {
        move.From = {GridId::Column, p.Len[from], from};
        p.Pop(from);
    } else {
        move.From = {GridId::FreeCell, 0, from - kFreeBase};
        p.SetFree(from - kFreeBase, kNone);
    }
    if (to < kFreeBase) {
        p.Push(to, card);
        move.To = {GridId::Column, p.Len[to], to};
    } else if (to < kHome) {
        p.SetFree(to - kFreeBase, card);
        move.To = {GridId::FreeCell, 0, to - kFreeBase};
    } else {
        const int k = p.HomeCellFor(card);
        p.HomeSuit[static_cast<size_t>(k)] = static_cast<std::int8_t>(Suit(card));
        ++p.Home[static_cast<size_t>(Suit(card))];
        move.To = {GridId::HomeCell, 0, k};
    }
    if (out) {
        move.Card = DetermineCard(card);
        out->push_back(std::move(move));
    }
}

int EmptyFreeCells(const Position& p) { return static_cast<int>(std::count(p.Free.begin(), p.Free.end(), kNone)); }

// How many cards a run may have to go onto a column with the free cells empty now and `emptyColumns`
// columns to park in: each empty column doubles it.
int Carry(const Position& p, int emptyColumns) { return (EmptyFreeCells(p) + 1) << emptyColumns; }

// Moves the last `count` cards of column `from` onto column `to` one at a time: through the free
// cells when they are enough, else part of the run parked in an empty column first and brought on last.
void MoveRun(Position& p, int from, int to, int count, std::array<int, kColumns>& empty, int emptyCount,
             std::vector<SolverMove>* out) {
    const int free = EmptyFreeCells(p);
    if (count <= free + 1) {
        std::array<int, kCells> used{};
        for (int i = 0; i + 1 < count; ++i) {
            int k = 0;
            while (p.Free[static_cast<size_t>(k)] != kNone) ++k;
            used[static_cast<size_t>(i)] = kFreeBase + k;
            Move(p, from, kFreeBase + k, out);
        }
        Move(p, from, to, out);
        for (int i = count - 2; i >= 0; --i) Move(p, used[static_cast<size_t>(i)], to, out);
        return;
    }
    const int park = empty[static_cast<size_t>(emptyCount - 1)];
    const int rest = Carry(p, emptyCount - 1);
    if (count <= rest) return MoveRun(p, from, to, count, empty, emptyCount - 1, out);
    MoveRun(p, from, park, count - rest, empty, emptyCount - 1, out);
    MoveRun(p, from, to, rest, empty, emptyCount - 1, out);
    MoveRun(p, park, to, count - rest, empty, emptyCount - 1, out);
}

// A step as the cards name it, which holds whatever order the columns and free cells are in: the
// card that leads the cards moved, how many they are, and where they go: below the card named, into
// an empty column, to a free cell or home. Three bytes.
constexpr std::uint32_t kIntoEmpty = 53, kToFree = 54, kToHome = 55;
std::uint32_t Name(const Position& p, Step s) {
    const std::uint8_t card = s.From < kFreeBase ? p.Col[s.From][p.Len[s.From] - s.Count] : CardAt(p, s.From);
    const std::uint32_t to = s.To == kHome       ? kToHome
                             : s.To >= kFreeBase ? kToFree
                             : p.Len[s.To]       ? p.Bottom(s.To)
                                                 : kIntoEmpty;
    return card | std::uint32_t{s.Count} << 6 | to << 11;
}

// The step named, on a position where it can be made.
Step Named(const Position& p, std::uint32_t name) {
    const std::uint8_t card = name & 63, count = name >> 6 & 31;
    const std::uint32_t to = name >> 11;
    Step s{0, 0, count};
    for (int place = 0; place < kHome; ++place)
        if (place < kFreeBase ? p.Len[place] >= count && p.Col[place][p.Len[place] - count] == card
                              : CardAt(p, place) == card)
            s.From = static_cast<std::uint8_t>(place);
    for (int place = kHome; place >= 0; --place)  // the first place of its kind
        if (to == kToHome ? place == kHome
            : to == kToFree
                ? place >= kFreeBase && place < kHome && CardAt(p, place) == kNone
                : place < kFreeBase && place != s.From && (to == kIntoEmpty ? !p.Len[place] : p.Bottom(place) == to))
            s.To = static_cast<std::uint8_t>(place);
    return s;
}

void Apply(Position& p, Step s, std::vector<SolverMove>* out) {
    if (s.Count == 1) return Move(p, s.From, s.To, out);
    std::array<int, kColumns> empty{};
    int emptyCount = 0;
    for (int c = 0; c < kColumns; ++c)
        if (!p.Len[c] && c != s.To) empty[static_cast<size_t>(emptyCount++)] = c;
    MoveRun(p, s.From, s.To, s.Count, empty, emptyCount, out);
}

// A card home can never be missed on the table when no card that could lie below it is still out:
// the aces and twos, and a card whose two suits of the other colour are home up to one rank below it.
// Nor when those two are home up to two ranks below it and its own colour's other suit up to three
// below: a card that could lie below it can then go home itself, and so can any card that could lie
// below that one.
bool SafeHome(const Position& p, std::uint8_t card) {
    if (!p.GoesHome(card)) return false;
    const int rank = Rank(card);
    if (rank <= 2) return true;
    const int other = Red(card) ? 0 : 1;  // spades and clubs are 0 and 2, diamonds and hearts 1 and 3
    const int opposite = std::min(p.Home[static_cast<size_t>(other)], p.Home[static_cast<size_t>(other + 2)]);
    if (opposite >= rank - 1) return true;
    return opposite >= rank - 2 && p.Home[static_cast<size_t>((Suit(card) + 2) % 4)] >= rank - 3;
}

// Makes every safe move home, again and again, until none is left.
void AutoHome(Position& p, std::vector<SolverMove>* out) {
    for (bool again = true; again;) {
        again = false;
        for (int place = 0; place < kHome; ++place) {
            const std::uint8_t card = CardAt(p, place);
            if (card != kNone && SafeHome(p, card)) {
                Move(p, place, kHome, out);
                again = true;
            }
        }
    }
}

// Whether cards go home after step `s` from a position where no safe move home is left: when the step
// brings one home, or uncovers a card that is safe home, the only card it can have made safe.
bool SendsHome(const Position& p, Step s) {
    if (s.To == kHome) return true;
    const int left = s.From < kFreeBase ? p.Len[s.From] - s.Count : 0;
    return left > 0 && SafeHome(p, p.Col[s.From][left - 1]);
}

// Makes step `s` from a position where no safe move home is left, then the safe moves home after it.
void MakeStep(Position& p, Step s, std::vector<SolverMove>* out) {
    const bool home = SendsHome(p, s);
    Apply(p, s, out);
    if (home) AutoHome(p, out);
}

// Every step worth trying: single cards home, to a free cell, onto a column or into an empty column,
// and runs from the bottom of a column onto a column or into an empty column. Moves to the same kind
// of empty place are told apart only by their place, so only the first of each is tried. Without
// `every`, a card that lies on the card it follows does not go to a free cell, and only the longest
// run that can go into an empty column goes there.
using Steps = std::array<Step, 256>;
[[gnu::always_inline]] inline  // into the search loop, though check::WeighingMismatches calls it too
    int
    StepsOf(const Position& p, Steps& steps, bool every) {
    int n = 0;
    int emptyCol = -1, emptyCols = 0, emptyFree = -1;
    for (int c = 0; c < kColumns; ++c)
        if (!p.Len[c]) {
            if (emptyCol < 0) emptyCol = c;
            ++emptyCols;
        }
    for (int k = 0; k < kCells; ++k)
        if (!p.Free[k] && emptyFree < 0) emptyFree = k;
    auto add = [&](int from, int to, int count) {
        steps[static_cast<size_t>(n++)] = {static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(to),
                                           static_cast<std::uint8_t>(count)};
    };
    // The runs at the bottoms of the columns, and for each card in one, its column.
    std::array<int, kColumns> runs{};
    std::array<std::int8_t, 53> runColumn;
    runColumn.fill(-1);
    for (int c = 0; c < kColumns; ++c) {
        const int len = p.Len[c];
        if (!len) continue;
        int run = 1;
        while (run < len && Follows(p.Col[c][len - run], p.Col[c][len - run - 1])) ++run;
        runs[static_cast<size_t>(c)] = run;
        for (int i = len - run; i < len; ++i) runColumn[p.Col[c][i]] = static_cast<std::int8_t>(c);
    }
    // The column a card lies last in, if any, and whether it has room below.
    auto underColumn = [&](int suit, int rank) {
        const int c = runColumn[CardOf(suit, rank)];
        return c >= 0 && p.Bottom(c) == CardOf(suit, rank) && p.Len[c] < kRows ? c : kColumns;
    };
    for (int from = kFreeBase; from < kHome; ++from) {
        const std::uint8_t card = CardAt(p, from);
        if (card == kNone) continue;
        if (p.GoesHome(card)) add(from, kHome, 1);
        if (Rank(card) < 13) {
            const int other = Red(card) ? 0 : 1;
            const int a = underColumn(other, Rank(card) + 1), b = underColumn(other + 2, Rank(card) + 1);
            if (std::min(a, b) < kColumns) add(from, std::min(a, b), 1);
            if (std::max(a, b) < kColumns) add(from, std::max(a, b), 1);
        }
        if (emptyCol >= 0) add(from, emptyCol, 1);
    }
    const int carryOnto = Carry(p, emptyCols);
    const int carryInto = emptyCols ? Carry(p, emptyCols - 1) : 0;
    // The columns each column's run, or its last cards, can go onto: below a column's last card go
    // only the two cards of the other colour one rank lower, so those are looked for in the runs.
    std::array<std::uint8_t, kColumns> onto{};
    for (int to = 0; to < kColumns; ++to) {
        if (!p.Len[to]) continue;
        const std::uint8_t under = p.Bottom(to);
        if (Rank(under) == 1) continue;
        const int other = Red(under) ? 0 : 1;
        for (const int suit : {other, other + 2}) {
            const int from = runColumn[CardOf(suit, Rank(under) - 1)];
            if (from < 0 || from == to) continue;
            const int count = Rank(under) - Rank(p.Bottom(from));
            if (count <= carryOnto && p.Len[to] + count <= kRows)
                onto[static_cast<size_t>(from)] |= static_cast<std::uint8_t>(1u << to);
        }
    }
    for (int from = 0; from < kColumns; ++from) {
        const int len = p.Len[from];
        if (!len) continue;
        const std::uint8_t card = p.Bottom(from);
        if (p.GoesHome(card)) add(from, kHome, 1);
        const int run = runs[static_cast<size_t>(from)];
        if (emptyFree >= 0 && (every || run == 1)) add(from, kFreeBase + emptyFree, 1);
        for (int to = 0; to < kColumns; ++to)
            if (onto[static_cast<size_t>(from)] >> to & 1) add(from, to, Rank(p.Bottom(to)) - Rank(card));
        if (emptyCol >= 0) {
            if (every)
                for (int count = 1; count <= std::min(run, carryInto) && count < len; ++count)
                    add(from, emptyCol, count);
            else if (std::min(run, carryInto) < len) add(from, emptyCol, std::min(run, carryInto));
        }
    }
    return n;
}

// The canonical form of a position: the free cells' cards from highest to lowest, a 0, then each
// column that holds cards, the columns in order of their top cards, each followed by a 0. The cards
// home are those missing. Two positions with the same form are the same game.
using Key = std::array<std::uint8_t, 64 + kRows>;  // a form is at most 61 bytes; Encode copies whole rows
int Encode(const Position& p, Key& key) {
    int n = 0;
    // Cards are numbered below 64, so a set of them is a word, read in order one bit at a time.
    std::uint64_t free = 0;
    for (const std::uint8_t card : p.Free) free |= std::uint64_t{card != kNone} << card;
    while (free) {  // from the highest card down
        const int card = 63 - std::countl_zero(free);
        key[static_cast<size_t>(n++)] = static_cast<std::uint8_t>(card);
        free ^= std::uint64_t{1} << card;
    }
    key[static_cast<size_t>(n++)] = 0;
    std::uint64_t tops = 0;
    std::array<std::uint8_t, 53> columnOf;  // by the card at a column's top
    for (int c = 0; c < kColumns; ++c)
        if (p.Len[c]) {
            tops |= std::uint64_t{1} << p.Col[c][0];
            columnOf[p.Col[c][0]] = static_cast<std::uint8_t>(c);
        }
    for (; tops; tops &= tops - 1) {
        const int c = columnOf[static_cast<size_t>(std::countr_zero(tops))];
        std::memcpy(&key[static_cast<size_t>(n)], p.Col[c].data(), kRows);  // a whole row: the key has room
        n += p.Len[c];
        key[static_cast<size_t>(n++)] = 0;
    }
    return n;
}

[[gnu::always_inline]] inline  // into the search loop, though check::WeighingMismatches calls it too
    Position
    Decode(const std::uint8_t* key) {
    Position p;
    std::array<bool, 53> out{};
    int i = 0;
    for (int k = 0; key[i]; ++i, ++k) {
        p.SetFree(k, key[i]);
        out[key[i]] = true;
    }
    ++i;
    const int length = key[-1];
    for (int c = 0; i < length; ++c, ++i) {
        std::uint64_t sum = 0;  // kept here, not in p, while the column is read
        std::uint8_t len = 0;
        for (; key[i]; ++i, ++len) {
            p.Col[c][len] = key[i];
            sum += kWords.Column[key[i]][len];
            out[key[i]] = true;
        }
        p.Len[c] = len;
        p.ColumnSum[static_cast<size_t>(c)] = sum;
    }
    for (int s = 0; s < 4; ++s)
        while (p.Home[static_cast<size_t>(s)] < 13 && !out[CardOf(s, p.Home[static_cast<size_t>(s)] + 1)])
            ++p.Home[static_cast<size_t>(s)];
    return p;
}

// How far a position seems from the end, lower is nearer, from its cards home, the cards above a
// lower one (each must move away before the lower one goes home), the free cells taken, the empty
// columns, and the cards over the next card of each suit to go home. Weighed on the deals 1 to 32000.
constexpr int Distance(int home, int blocking, int used, int empty, int covering) {
    return std::max(4 * (52 - home) + 4 * blocking + 5 * used - 4 * empty + covering, 0);
}

// What a position's distance and hash are made of, found once for all the positions one step away.
struct Weights {
    std::uint64_t Hash = 0;
    int Home = 0, Blocking = 0, Used = 0, Empty = 0, Covering = 0;
    std::array<std::uint64_t, kColumns> Mixed{};                    // each column's share of the hash
    std::array<std::uint8_t, kColumns> Waiting{};                   // the cards in the column that go home next
    std::array<std::uint8_t, kColumns> Lowest{};                    // the lowest rank in the column; 14 when empty
    std::array<std::array<std::uint8_t, kRows>, kColumns> Above{};  // the lowest rank above each row
};

Weights Weigh(const Position& p) {
    Weights w;
    w.Hash = p.FreeSum;
    for (int c = 0; c < kColumns; ++c) {
        w.Mixed[static_cast<size_t>(c)] = Mix(p.ColumnSum[static_cast<size_t>(c)]);
        w.Hash += w.Mixed[static_cast<size_t>(c)];
        const int len = p.Len[c];
        if (!len) ++w.Empty;
        int lowest = 14;
        for (int i = 0; i < len; ++i) {
            const std::uint8_t card = p.Col[c][i];
            w.Above[static_cast<size_t>(c)][static_cast<size_t>(i)] = static_cast<std::uint8_t>(lowest);
            if (Rank(card) > lowest) ++w.Blocking;
            lowest = std::min(lowest, Rank(card));
            if (p.GoesHome(card)) {
                w.Covering += len - 1 - i;
                ++w.Waiting[static_cast<size_t>(c)];
            }
        }
        w.Lowest[static_cast<size_t>(c)] = static_cast<std::uint8_t>(lowest);
    }
    w.Home = p.CardsHome();
    w.Used = 4 - EmptyFreeCells(p);
    return w;
}

int Distance(const Position& p) {
    const Weights w = Weigh(p);
    return Distance(w.Home, w.Blocking, w.Used, w.Empty, w.Covering);
}

// The hash and the distance of the position one step `s` from `p`, found from what the step changes;
// nothing when cards go home after it, as then more changes.
[[gnu::always_inline]] inline  // into the search loop, though check::WeighingMismatches calls it too
    std::optional<std::pair<std::uint64_t, int>>
    Weigh(const Position& p, const Weights& w, Step s) {
    if (SendsHome(p, s)) return std::nullopt;
    std::uint64_t hash = w.Hash;
    int blocking = w.Blocking, used = w.Used, empty = w.Empty, covering = w.Covering;
    const std::uint8_t* run;  // the cards moved, from the first
    if (s.From < kFreeBase) {
        const int c = s.From, len = p.Len[c];
        run = &p.Col[c][len - s.Count];
        std::uint64_t sum = p.ColumnSum[static_cast<size_t>(c)];
        int waiting = 0;
        for (int i = len - s.Count; i < len; ++i) {
            const std::uint8_t card = p.Col[c][i];
            sum -= kWords.Column[card][i];
            if (Rank(card) > w.Above[static_cast<size_t>(c)][static_cast<size_t>(i)]) --blocking;
            if (p.GoesHome(card)) {
                covering -= len - 1 - i;
                ++waiting;
            }
        }
        covering -= s.Count * (w.Waiting[static_cast<size_t>(c)] - waiting);
        hash += Mix(sum) - w.Mixed[static_cast<size_t>(c)];
        if (len == s.Count) ++empty;
    } else {
        run = &p.Free[static_cast<size_t>(s.From - kFreeBase)];
        hash -= kWords.Free[*run];
        --used;
    }
    if (s.To < kFreeBase) {
        const int c = s.To, len = p.Len[c];
        std::uint64_t sum = p.ColumnSum[static_cast<size_t>(c)];
        int lowest = w.Lowest[static_cast<size_t>(c)];
        for (int j = 0; j < s.Count; ++j) {
            const std::uint8_t card = run[j];
            sum += kWords.Column[card][len + j];
            if (Rank(card) > lowest) ++blocking;
            lowest = std::min(lowest, Rank(card));
            if (p.GoesHome(card)) covering += s.Count - 1 - j;
        }
        covering += s.Count * w.Waiting[static_cast<size_t>(c)];
        hash += Mix(sum) - w.Mixed[static_cast<size_t>(c)];
        if (!len) --empty;
    } else {
        hash += kWords.Free[*run];
        ++used;
    }
    return std::pair{hash, Distance(w.Home, blocking, used, empty, covering)};
}

// The positions found, each stored once in its canonical form, and the one it was reached from.
class Store {
public:
    explicit Store(std::size_t maxBytes) : maxBytes_(maxBytes) { slots_.assign(1u << 12, kEmpty); }

    // Whether a position with this hash is stored.
    bool Has(std::uint64_t h) const {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = h & mask;; i = (i + 1) & mask) {
            const std::uint32_t at = slots_[i];
            if (at == kEmpty) return false;
            if (nodes_[at].Hash == h) return true;
        }
    }
    // The index of the position, and whether it is new. Nothing when the budget is spent.
    // `step` is the named step from the parent.
    std::optional<std::pair<std::uint32_t, bool>> Insert(std::uint64_t h, const Key& key, int length,
                                                         std::uint32_t parent, std::uint32_t step,
                                                         std::size_t otherBytes = 0) {
        if ((nodes_.size() + 1) * 2 > slots_.size() && !Grow(otherBytes)) return std::nullopt;
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = h & mask;; i = (i + 1) & mask) {
            const std::uint32_t at = slots_[i];
            if (at == kEmpty) {
                if (Bytes() + otherBytes + static_cast<std::size_t>(length) + 4 + sizeof(Node) > maxBytes_)
                    return std::nullopt;
                slots_[i] = static_cast<std::uint32_t>(nodes_.size());
                nodes_.push_back({h, static_cast<std::uint32_t>(arena_.size() + 4), parent});
                for (const int shift : {0, 8, 16}) arena_.push_back(static_cast<std::uint8_t>(step >> shift));
                arena_.push_back(static_cast<std::uint8_t>(length));
                arena_.insert(arena_.end(), key.begin(), key.begin() + length);
                return std::pair{slots_[i], true};
            }
            const Node& node = nodes_[at];
            // The whole form is compared: positions with the same hash are told apart exactly.
            if (node.Hash == h && arena_[node.Offset - 1] == length &&
                std::memcmp(&arena_[node.Offset], key.data(), static_cast<std::size_t>(length)) == 0)
                return std::pair{at, false};
        }
    }
    const std::uint8_t* KeyOf(std::uint32_t index) const { return &arena_[nodes_[index].Offset]; }
    std::uint32_t Parent(std::uint32_t index) const { return nodes_[index].Parent; }
    std::uint32_t StepTo(std::uint32_t index) const {
        const std::uint8_t* at = &arena_[nodes_[index].Offset - 4];
        return at[0] | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16;
    }
    std::size_t Count() const { return nodes_.size(); }
    std::size_t Bytes() const {
        return arena_.capacity() + nodes_.capacity() * sizeof(Node) + slots_.size() * sizeof(std::uint32_t);
    }

private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
    struct Node {
        std::uint64_t Hash;
        std::uint32_t Offset;
        std::uint32_t Parent;
    };
    bool Grow(std::size_t otherBytes) {
        if (Bytes() + otherBytes + slots_.size() * sizeof(std::uint32_t) > maxBytes_) return false;
        std::vector<std::uint32_t> slots(slots_.size() * 2, kEmpty);
        const std::size_t mask = slots.size() - 1;
        for (std::uint32_t n = 0; n < nodes_.size(); ++n) {
            std::size_t i = nodes_[n].Hash & mask;
            while (slots[i] != kEmpty) i = (i + 1) & mask;
            slots[i] = n;
        }
        slots_.swap(slots);
        return true;
    }
    std::size_t maxBytes_;
    std::vector<std::uint8_t> arena_;
    std::vector<Node> nodes_;
    std::vector<std::uint32_t> slots_;
};

// The table as a position, or nothing when the game cannot hold it.
std::optional<Position> Read(const Table& table) {
    if (!Validate(table).empty()) return std::nullopt;
    auto card = [](const std::string& code) { return static_cast<std::uint8_t>(CardNumber(code)); };
    Position p;
    for (int c = 0; c < kColumns; ++c)
        for (int r = 1; r <= table.Length(c); ++r) p.Push(c, card(table.Card(c, r)));
    for (int k = 0; k < kCells; ++k) {
        const std::string& code = table.FreeCells[static_cast<size_t>(k)];
        if (!code.empty()) p.SetFree(k, card(code));
        const std::string& home = table.HomeCells[static_cast<size_t>(k)];
        if (home.empty()) continue;
        const int suit = Suit(card(home));
        p.Home[static_cast<size_t>(suit)] = static_cast<std::uint8_t>(Rank(card(home)));
        p.HomeSuit[static_cast<size_t>(k)] = static_cast<std::int8_t>(suit);
    }
    return p;
}

// Positions waiting to be looked at, by distance; the newest first among equals.
class Queue {
public:
    void Push(int distance, std::uint64_t node) {
        if (static_cast<std::size_t>(distance) >= buckets_.size())
            buckets_.resize(static_cast<std::size_t>(distance) + 1);
        buckets_[static_cast<std::size_t>(distance)].push_back(node);
        lowest_ = std::min(lowest_, static_cast<std::size_t>(distance));
        ++count_;
        ++pushed_;
    }
    std::optional<std::uint64_t> Pop() {
        if (!count_) return std::nullopt;
        while (buckets_[lowest_].empty()) ++lowest_;
        const std::uint64_t node = buckets_[lowest_].back();
        buckets_[lowest_].pop_back();
        popped_ = lowest_;
        --count_;
        return node;
    }
    // Puts the entry just popped back where it was.
    void Unpop(std::uint64_t node) {
        buckets_[popped_].push_back(node);
        lowest_ = std::min(lowest_, popped_);
        ++count_;
    }
    // Near the memory the buckets take: popped entries leave their room behind.
    std::size_t Bytes() const { return pushed_ * sizeof(std::uint64_t) + buckets_.size() * sizeof(buckets_[0]); }

private:
    std::vector<std::vector<std::uint64_t>> buckets_;
    std::size_t lowest_ = 0;
    std::size_t popped_ = 0;  // the bucket of the entry popped last
    std::size_t count_ = 0;
    std::size_t pushed_ = 0;
};

// The moves from the table to the end: the steps that led to the positions found, made on the table
// as it lies.
std::vector<SolverMove> WayHome(Position p, const Store& store, std::uint32_t last) {
    std::vector<std::uint32_t> chain;
    for (std::uint32_t n = last; n != 0; n = store.Parent(n)) chain.push_back(n);
    std::vector<SolverMove> moves;
    AutoHome(p, &moves);
    for (auto next = chain.rbegin(); next != chain.rend(); ++next) {
        MakeStep(p, Named(p, store.StepTo(*next)), &moves);
    }
    return moves;
}

enum class Ending { Solved, Unsolvable, Spent, Paused, Cancelled };

// What every search of one table shares: the caller's budget and cancel flag, and when it began.
struct Limits {
    const Budget& budget;
    const std::atomic<bool>* cancel;
    std::chrono::steady_clock::time_point began;
    bool OutOfTime() const { return budget.MaxTime && std::chrono::steady_clock::now() - began > *budget.MaxTime; }
};

// One best-first search from the root, which may pause when it has stored a number of positions and
// go on later where it stopped. A position's priority is its distance plus its depth in steps times
// depthWeight / 4; among equals, the steps of a position are tried in an order drawn from `seed`
// (none with seed 0). `every` tries every step; without it the search cannot prove a table lost.
class Scan {
public:
    Scan(const Position& root, std::size_t maxBytes, int depthWeight, std::uint64_t seed, bool every)
        : store_(maxBytes), depthWeight_(depthWeight), seed_(seed), every_(every) {
        Key key{};
        if (store_.Insert(root.Hash(), key, Encode(root, key), 0, 0)) queue_.Push(0, 0);
    }

    // Goes on until the position won is found (`Last()`), the queue runs dry, or a new position would
    // make more than `quota` (Paused: the position being looked at is looked at again when the search
    // goes on); Spent when it would make more than `hardCap` or the memory runs out, with `otherBytes`
    // taken elsewhere.
    Ending Run(const Limits& limits, std::size_t quota, std::size_t hardCap, std::size_t otherBytes) {
        if (!store_.Count()) return Ending::Spent;
        Key key{};
        for (;;) {
            const auto entry = queue_.Pop();
            if (!entry) return Ending::Unsolvable;
            const std::uint32_t node = static_cast<std::uint32_t>(*entry);
            const std::uint32_t depth = static_cast<std::uint32_t>(*entry >> 32) + 1;
            const Position p = Decode(store_.KeyOf(node));
            if (p.CardsHome() == 52) {
                last_ = node;
                return Ending::Solved;
            }
            if ((++looked_ & 1023) == 0) {
                if (limits.cancel && limits.cancel->load(std::memory_order_relaxed)) return Ending::Cancelled;
                if (limits.OutOfTime()) return Ending::Spent;
            }
            Steps steps;  // only the first `count` are read
            const int count = StepsOf(p, steps, every_);
            if (seed_) Shuffle(steps, count, node);
            const Weights weights = Weigh(p);
            for (int i = 0; i < count; ++i) {
                const Step step = steps[static_cast<size_t>(i)];
                // Most steps are weighed before they are made, and those to a position seen are not made.
                const auto weighed = Weigh(p, weights, step);
                // The short searches take a position whose hash is stored for one seen before; only
                // the search that may prove a table lost compares whole forms.
                auto seen = [&](std::uint64_t hash) { return !every_ && store_.Has(hash); };
                if (weighed && seen(weighed->first)) continue;
                Position q = p;
                MakeStep(q, step, nullptr);
                const std::uint64_t h = weighed ? weighed->first : q.Hash();
                if (!weighed && seen(h)) continue;
                const int length = Encode(q, key);
                if (store_.Count() >= hardCap) return Ending::Spent;
                if (store_.Count() >= quota) {
                    queue_.Unpop(*entry);
                    return Ending::Paused;
                }
                const auto found = store_.Insert(h, key, length, node, Name(p, step), otherBytes + queue_.Bytes());
                if (!found) return Ending::Spent;
                if (found->second)
                    queue_.Push((weighed ? weighed->second : Distance(q)) + static_cast<int>(depth) * depthWeight_ / 4,
                                found->first | std::uint64_t{depth} << 32);
            }
        }
    }
    const Store& Positions() const { return store_; }
    std::uint32_t Last() const { return last_; }
    std::size_t Bytes() const { return store_.Bytes() + queue_.Bytes(); }

private:
    // The same order for the same position and seed, whenever it is drawn.
    void Shuffle(Steps& steps, int count, std::uint32_t node) const {
        std::uint64_t x = seed_ * 0x9E3779B97F4A7C15u ^ (node + 1u) * 0xBF58476D1CE4E5B9u;
        for (int i = count - 1; i > 0; --i) {  // xorshift64
            x ^= x << 13;
            x ^= x >> 7;
            x ^= x << 17;
            std::swap(steps[static_cast<size_t>(i)], steps[static_cast<size_t>(x % static_cast<std::uint64_t>(i + 1))]);
        }
    }
    Store store_;
    Queue queue_;
    int depthWeight_;
    std::uint64_t seed_;
    bool every_;
    std::size_t looked_ = 0;
    std::uint32_t last_ = 0;
};

}  // namespace

Answer Solve(const Table& table, const Budget& budget, const std::atomic<bool>* cancel) {
    Answer answer;
    const std::optional<Position> start = Read(table);
    if (!start) {
        answer.Outcome = Verdict::NotAGame;
        return answer;
    }
    if (cancel && cancel->load()) {
        answer.Outcome = Verdict::Cancelled;
        return answer;
    }
    Position root = *start;
    AutoHome(root, nullptr);
    const Limits limits{budget, cancel, std::chrono::steady_clock::now()};
    auto solved = [&](const Scan& scan) {
        answer.Outcome = Verdict::Solved;
        answer.Moves = WayHome(*start, scan.Positions(), scan.Last());
    };
    // A search that does not find the way soon seldom finds it later, while one that weighs the depth
    // and breaks ties otherwise often finds it soon. So four short searches take turns, each going on
    // where it stopped, with three times as many positions each round, up to a cap. They leave out
    // moves that seldom help (a card of a run to a free cell, part of a run into an empty column).
    // Then one search tries every move with all that is left of the budget: only it proves a table lost.
    struct Kind {
        int DepthWeight;
        std::uint64_t Seed;
    };
    // Chosen on the deals 1 to 32000: the last one halves the longest search.
    static constexpr std::array<Kind, 4> kShort{{{0, 2}, {4, 3}, {8, 1}, {16, 4}}};
    static constexpr std::size_t kFirstQuota = 3'200, kShortCap = 100'000;
    {
        std::vector<Scan> scans;
        scans.reserve(kShort.size());
        auto stored = [&scans] {
            std::size_t count = 0;
            for (const Scan& scan : scans) count += scan.Positions().Count();
            return count;
        };
        std::array<bool, kShort.size()> over{};
        bool dry = false;  // one went through every position the others can reach
        for (std::size_t quota = kFirstQuota; quota <= kShortCap && !dry; quota *= 3)
            for (std::size_t i = 0; i < kShort.size() && !dry; ++i) {
                if (over[i]) continue;
                if (i == scans.size())
                    scans.emplace_back(root, budget.MaxBytes, kShort[i].DepthWeight, kShort[i].Seed, false);
                Scan& scan = scans[i];
                std::size_t otherBytes = 0;
                for (const Scan& other : scans)
                    if (&other != &scan) otherBytes += other.Bytes();
                const std::size_t left = budget.MaxPositions -
                                         std::min(budget.MaxPositions, stored() - scan.Positions().Count());
                const Ending ending = scan.Run(limits, std::min(quota, left), left, otherBytes);
                if (ending == Ending::Solved) solved(scan);
                if (ending == Ending::Solved || ending == Ending::Cancelled ||
                    (ending == Ending::Spent && limits.OutOfTime())) {
                    answer.Positions = stored();
                    if (ending == Ending::Cancelled) answer.Outcome = Verdict::Cancelled;
                    return answer;
                }
                over[i] = ending != Ending::Paused;
                dry = ending == Ending::Unsolvable;
            }
        answer.Positions = stored();
    }
    const std::size_t left = budget.MaxPositions - std::min(budget.MaxPositions, answer.Positions);
    Scan last(root, budget.MaxBytes, 6, 0, true);
    switch (last.Run(limits, left, left, 0)) {
    case Ending::Solved: solved(last); break;
    case Ending::Unsolvable: answer.Outcome = Verdict::Unsolvable; break;
    case Ending::Cancelled: answer.Outcome = Verdict::Cancelled; break;
    case Ending::Spent:
    case Ending::Paused: break;  // GaveUp
    }
    answer.Positions += last.Positions().Count();
    return answer;
}

namespace check {
namespace {

// A position's hash from its cards alone, not from the sums its moves kept.
std::uint64_t HashOfCards(const Position& p) {
    std::uint64_t h = 0;
    for (const std::uint8_t card : p.Free) h += kWords.Free[card];
    for (int c = 0; c < kColumns; ++c) {
        std::uint64_t sum = 0;
        for (int i = 0; i < p.Len[c]; ++i) sum += kWords.Column[p.Col[c][i]][i];
        h += Mix(sum);
    }
    return h;
}

// The same game with its columns and its free cells in the opposite order: the empty ones first.
Position Reversed(const Position& p) {
    Position r;
    for (int c = 0; c < kColumns; ++c)
        for (int i = 0; i < p.Len[c]; ++i) r.Push(kColumns - 1 - c, p.Col[c][i]);
    for (int k = 0; k < kCells; ++k) r.SetFree(kCells - 1 - k, p.Free[static_cast<size_t>(k)]);
    r.Home = p.Home;
    r.HomeSuit = p.HomeSuit;
    return r;
}

// Appended piece by piece: gcc 12 at -O3 warns wrongly of an overlapping copy in "x" + std::string.
std::string Described(const Position& p) {
    std::string text = "free cells";
    for (const std::uint8_t card : p.Free) text.append(" ").append(card ? DetermineCard(card) : "-");
    for (int c = 0; c < kColumns; ++c) {
        text.append("; column ").append(std::to_string(c + 1)).append(":");
        for (int i = 0; i < p.Len[c]; ++i) text.append(" ").append(DetermineCard(p.Col[c][i]));
    }
    text.append("; home by suit");
    for (const std::uint8_t rank : p.Home) text.append(" ").append(std::to_string(rank));
    return text;
}

std::string Described(int place) {
    return place < kFreeBase ? std::string("column ").append(std::to_string(place + 1))
           : place < kHome   ? std::string("free cell ").append(std::to_string(place - kFreeBase + 1))
                             : std::string("home");
}

// Weighs every step from `p` ahead and after it is made.
void Compare(const Position& p, WeighingWalk& walk) {
    ++walk.Positions;
    const Weights weights = Weigh(p);
    Steps steps;
    const int count = StepsOf(p, steps, true);
    for (int i = 0; i < count; ++i) {
        const Step step = steps[static_cast<size_t>(i)];
        const auto weighed = Weigh(p, weights, step);
        Position q = p;
        MakeStep(q, step, nullptr);
        const std::uint64_t hash = HashOfCards(q);
        const int distance = Distance(q);
        if (weighed) {
            ++walk.Weighed;
            walk.Runs += step.Count > 1;
            walk.FromCell += step.From >= kFreeBase;
            walk.ToCell += step.To >= kFreeBase;
            walk.Emptying += step.From < kFreeBase && p.Len[step.From] == step.Count;
            walk.IntoEmpty += step.To < kFreeBase && !p.Len[step.To];
            walk.CellsFull += weights.Used == kCells;
        }
        // The hash the moves kept counts too: the search takes it when it weighs no step ahead.
        if (weights.Hash == HashOfCards(p) && q.Hash() == hash && (!weighed || *weighed == std::pair{hash, distance}))
            continue;
        if (walk.Mismatches++) continue;
        walk.First = Described(p);
        walk.First.append("; ")
            .append(std::to_string(step.Count))
            .append(" card(s) from ")
            .append(Described(step.From));
        walk.First.append(" to ").append(Described(step.To)).append(": weighed ahead ");
        if (weighed)
            walk.First.append("hash ")
                .append(std::to_string(weighed->first))
                .append(" distance ")
                .append(std::to_string(weighed->second));
        else walk.First.append("not");
        walk.First.append(", made: hash ")
            .append(std::to_string(hash))
            .append(" (kept ")
            .append(std::to_string(q.Hash()));
        walk.First.append(", before it ")
            .append(std::to_string(weights.Hash))
            .append(" for ")
            .append(std::to_string(HashOfCards(p)));
        walk.First.append(") distance ").append(std::to_string(distance));
    }
}

}  // namespace

WeighingWalk WeighingMismatches(const Table& table, std::size_t positions) {
    WeighingWalk walk;
    const std::optional<Position> start = Read(table);
    if (!start) return walk;
    Position root = *start;
    AutoHome(root, nullptr);
    // The search that tries every step, as Solve runs it last.
    const Budget budget;
    Scan scan(root, budget.MaxBytes, 6, 0, true);
    scan.Run(Limits{budget, nullptr, std::chrono::steady_clock::now()}, positions, positions, 0);
    const Store& store = scan.Positions();
    for (std::uint32_t n = 0; n < store.Count(); ++n) {
        const Position p = Decode(store.KeyOf(n));
        Compare(p, walk);
        Compare(Reversed(p), walk);
    }
    return walk;
}

}  // namespace check

}  // namespace quorrel::solver
