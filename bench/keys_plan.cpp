// Plays numbered deals to the end through the game's own keys on the in-memory platform, following
// quorrel-solve's way home, and counts the keys pressed and the characters spoken: the program that
// bench/keys.py runs.
//
// Three ways of playing:
//   today   Tab and Shift+Tab between the grids, the arrow keys, F5 and F6 (the bottom row's previous
//           and next card), Enter to pick up and Enter to drop;
//   direct  the direct-move keys (digits, Alt+digit, F, H, Space), one card at a time;
//   safe    the same with the option Move Safe Cards Home on;
//   runs    the same with Shift+digit for runs too.
// Each of them also with the option Brief Speech on: the mode's name followed by "-brief".
// Each move's keys are planned from the table and the cursors the game really has, with the fewest keys
// that the commands allow; after each command the table must be the one planned, and the game must end
// with 52 cards home. The words counted are the texts each key sends to the speech server, from the
// first key to the last: those it says after its own last stop (what it says before that is dropped
// unsent); the box that ends the game (the same in every way of playing) is not counted.
//
// Usage:
//   quorrel_keys [--mode today|direct|safe|runs[-brief]|all] [--deals A-B]   one line of totals per mode:
//       "mode M deals D moves N keys K chars C resolved R skipped S runs U run_moves V keys_a_move ..
//       keys_a_game .. chars_a_move .." (N: the solver's moves for the deals, the denominator of every
//       figure a move; S: the solver's moves of cards already home, left out; U: the Shift+digit moves,
//       standing for V of the solver's moves)
//   ... --texts          also a line "text M COUNT ESCAPED" for each distinct text heard
//   quorrel_keys --mode M --deal N --script   one line a key: "key NAME<TAB>TEXT<TAB>TEXT...", NAME as
//       xdotool names it, the texts escaped (\\ \t \n \r); then "end" with the game's figures.
// Exit status: 0 when every game was won as planned, 1 otherwise (the reason on standard error).
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cards/CardMod.h"
#include "solver/Solver.h"
#include "solver/Way.h"
#include "support/TestTable.h"
#include "table/Rules.h"
#include "texts/Texts.h"

namespace {

using namespace quorrel;
using quorrel::test::TestTable;

enum class Mode { Today, Direct, Safe, Runs };
const char* Name(Mode mode) {
    return mode == Mode::Today ? "today" : mode == Mode::Direct ? "direct" : mode == Mode::Safe ? "safe" : "runs";
}
// A way of playing: the keys, and whether Brief Speech is on.
struct Way {
    Mode Keys;
    bool Brief = false;
};
std::string Name(Way way) { return std::string(Name(way.Keys)) + (way.Brief ? "-brief" : ""); }
// The ways of playing with Move Safe Cards Home on.
bool SafeHome(Mode mode) { return mode == Mode::Safe || mode == Mode::Runs; }

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct KeyHeard {
    std::string Key;  // as xdotool names it
    std::vector<std::string> Texts;
};

struct Figures {
    long Moves = 0;  // the solver's single-card moves for the deal: the denominator
    long Keys = 0;
    long Chars = 0;
    long Resolved = 0;  // searches made again from the game's table (a planned move no longer legal)
    long Skipped = 0;   // the solver's moves of cards already home
    long Runs = 0;      // Shift+digit moves, and the solver's moves they stand for
    long RunMoves = 0;
    std::map<std::string, long> Texts;
};

// Characters as heard: UTF-8 code points.
long Chars(const std::string& text) {
    return static_cast<long>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string Digit(int column) { return std::to_string(column + 1); }

// --- the table ------------------------------------------------------------------------------------

std::string Bottom(const Table& table, int column) {
    const int length = table.Length(column);
    return length == 0 ? std::string() : table.Card(column, length);
}

// The home cell that takes the card: the one of its suit, or the first empty one for an ace; -1 for none.
int HomeFor(const Table& table, const std::string& card) {
    for (int k = 0; k < kCells; ++k)
        if (!table.HomeCells[Table::Index(k)].empty() && rules::GoesHome(card, table.HomeCells[Table::Index(k)]))
            return k;
    if (GetCardValue(card) != 1) return -1;
    for (int k = 0; k < kCells; ++k)
        if (table.HomeCells[Table::Index(k)].empty()) return k;
    return -1;
}

int FirstEmptyFreeCell(const Table& table) {
    for (int k = 0; k < kCells; ++k)
        if (table.FreeCells[Table::Index(k)].empty()) return k;
    return -1;
}

int EmptyFreeCells(const Table& table) {
    int n = 0;
    for (const auto& cell : table.FreeCells) n += cell.empty();
    return n;
}

// Where a card can be picked up: the bottom of a column or a free cell.
std::optional<CellPlace> Movable(const Table& table, const std::string& card) {
    for (int c = 0; c < kColumns; ++c)
        if (Bottom(table, c) == card) return CellPlace{GridId::Column, table.Length(c), c};
    for (int k = 0; k < kCells; ++k)
        if (table.FreeCells[Table::Index(k)] == card) return CellPlace{GridId::FreeCell, 0, k};
    return std::nullopt;
}

bool IsHome(const Table& table, const std::string& card) {
    const char suit = card.back();
    for (const auto& top : table.HomeCells)
        if (!top.empty() && top.back() == suit && GetCardValue(top) >= GetCardValue(card)) return true;
    return false;
}

int HomeRank(const Table& table, char suit) {
    for (const auto& top : table.HomeCells)
        if (!top.empty() && top.back() == suit) return GetCardValue(top);
    return 0;
}

// A card that goes home by itself when the option is on: an ace or a two, or a card whose two cards
// of the other colour one rank lower are home.
bool Safe(const Table& table, const std::string& card) {
    if (HomeFor(table, card) < 0) return false;
    const int rank = GetCardValue(card);
    if (rank <= 2) return true;
    const bool red = CardColor(card) == 1;
    const std::string other = red ? "SC" : "DH";
    return HomeRank(table, other[0]) >= rank - 1 && HomeRank(table, other[1]) >= rank - 1;
}

Table WithSafeCardsHome(Table table) {
    for (bool moved = true; moved;) {
        moved = false;
        for (int c = 0; c < kColumns; ++c) {
            const std::string card = Bottom(table, c);
            if (card.empty() || !Safe(table, card)) continue;
            table.HomeCells[Table::Index(HomeFor(table, card))] = card;
            table.Card(c, table.Length(c)).clear();
            ++table.HomeCount;
            moved = true;
        }
        for (auto& cell : table.FreeCells) {
            if (cell.empty() || !Safe(table, cell)) continue;
            table.HomeCells[Table::Index(HomeFor(table, cell))] = cell;
            cell.clear();
            ++table.HomeCount;
            moved = true;
        }
    }
    return table;
}

// Tables alike but for which home cell took which suit (any ace may start any home cell).
bool SameTable(const Table& a, const Table& b) {
    auto homes = [](const Table& t) {
        auto h = t.HomeCells;
        std::sort(h.begin(), h.end());
        return h;
    };
    return a.Columns == b.Columns && a.FreeCells == b.FreeCells && a.HomeCount == b.HomeCount && homes(a) == homes(b);
}

std::string Describe(const Table& table) {
    std::string out;
    for (int c = 0; c < kColumns; ++c) {
        out += "  column " + Digit(c) + ":";
        for (int r = 1; r <= table.Length(c); ++r) out += " " + table.Card(c, r);
        out += "\n";
    }
    out += "  free:";
    for (const auto& cell : table.FreeCells) out += " " + (cell.empty() ? std::string("--") : cell);
    out += "\n  home:";
    for (const auto& cell : table.HomeCells) out += " " + (cell.empty() ? std::string("--") : cell);
    return out + "\n";
}

// A solver's move as the game's table has it now: the card picked up where it really is, dropped on
// the solver's column, the first empty free cell, or its home cell. Nothing when the move is not legal
// on this table.
std::optional<solver::SolverMove> OnTable(const Table& table, const solver::SolverMove& move) {
    const auto from = Movable(table, move.Card);
    if (!from) return std::nullopt;
    solver::SolverMove played{*from, move.To, move.Card};
    switch (move.To.Grid) {
    case GridId::Column: {
        const int d = move.To.Col;
        if (from->Grid == GridId::Column && from->Col == d) return std::nullopt;
        const std::string bottom = Bottom(table, d);
        if (!bottom.empty() && !rules::Follows(move.Card, bottom)) return std::nullopt;
        if (table.Length(d) == kCardRows) return std::nullopt;
        played.To = {GridId::Column, table.Length(d) + 1, d};
        break;
    }
    case GridId::FreeCell: {
        const int k = FirstEmptyFreeCell(table);
        if (k < 0) return std::nullopt;
        played.To = {GridId::FreeCell, 0, k};
        break;
    }
    case GridId::HomeCell: {
        const int k = HomeFor(table, move.Card);
        if (k < 0) return std::nullopt;
        played.To = {GridId::HomeCell, 0, k};
        break;
    }
    }
    return played;
}

// --- what the direct commands do, as the player is told -----------------------------------------

// Where Space sends a card that does not go home: the nearest column to the right of its own (from the
// first column for a card in a free cell), going round, whose bottom card takes it; else the first empty
// column in that order, unless the card is alone in its column; else the first empty free cell, for a
// card in a column. A column is named by its number, a free cell by -1; -2 for nowhere.
int QuickPlace(const Table& table, const CellPlace& from) {
    const bool inColumn = from.Grid == GridId::Column;
    const std::string& card = table.At(from);
    const int start = inColumn ? from.Col : -1;
    int empty = -1;
    for (int step = 1; step <= kColumns; ++step) {
        const int c = (start + step) % kColumns;
        if (inColumn && c == from.Col) continue;
        const int length = table.Length(c);
        if (length == 0 && empty < 0) empty = c;
        if (length > 0 && length < kCardRows && rules::Follows(card, Bottom(table, c))) return c;
    }
    if (empty >= 0 && !(inColumn && table.Length(from.Col) == 1)) return empty;
    return inColumn && FirstEmptyFreeCell(table) >= 0 ? -1 : -2;
}

// How many cards Shift+digit moves from column a onto column b: the longest part of the run at a's
// bottom that fits there, within (empty free cells + 1) x 2^(empty columns other than b); 0 for none.
int RunMoved(const Table& table, int a, int b) {
    if (a == b || table.Length(a) == 0) return 0;
    const int run = rules::RunAtBottom(table, a);
    int emptyColumns = 0;
    for (int c = 0; c < kColumns; ++c) emptyColumns += c != b && table.Length(c) == 0;
    const int room = (EmptyFreeCells(table) + 1) << emptyColumns;
    if (table.Length(b) == 0) return std::min(run, room);
    const std::string bottom = Bottom(table, b);
    for (int j = 1; j <= run; ++j) {
        if (!rules::Follows(table.Card(a, table.Length(a) - j + 1), bottom)) continue;
        if (table.Length(b) + j > kCardRows) return 0;
        return j <= room ? j : 0;
    }
    return 0;
}

Table RunPlayed(Table table, int a, int b, int count) {
    const int la = table.Length(a);
    const int lb = table.Length(b);
    for (int j = 0; j < count; ++j) {
        table.Card(b, lb + 1 + j) = table.Card(a, la - count + 1 + j);
        table.Card(a, la - count + 1 + j).clear();
    }
    return table;
}

// --- one game ---------------------------------------------------------------------------------------

class Player {
public:
    Player(Way way, int deal) : mode_(way.Keys), brief_(way.Brief), deal_(deal) {}

    // Plays the deal to its end; throws Failure when a command did not do what was planned.
    Figures Play() {
        TestTable& t = *t_;
        t.Start();
        if (SafeHome(mode_)) {
            t.window.menus.Click(mnuOptionsSafeHome);
            if (!t.window.menus.IsChecked(mnuOptionsSafeHome)) Fail("the option Move Safe Cards Home did not come on");
        }
        if (brief_) {
            t.window.menus.Click(mnuOptionsBrief);
            if (!t.window.menus.IsChecked(mnuOptionsBrief)) Fail("the option Brief Speech did not come on");
        }
        t.window.DealNumberScript = [this](MemoryDealNumberView& dialog) {
            dialog.Type(std::to_string(deal_));
            dialog.PressOk();
        };
        t.Shortcut("Ctrl+G");
        if (t.state.GameInProgress != -1) Fail("the deal did not begin");
        const Table dealt = TableOfDeal(deal_);
        if (!(t.screen.Board.Snapshot() == dealt))
            Fail("the table is not the deal's:\n" + Describe(t.screen.Board.Snapshot()));
        t.Heard();

        const solver::Answer answer = solver::Solve(dealt);
        if (answer.Outcome != solver::Verdict::Solved) Fail("the solver found no way home");
        figures_.Moves = static_cast<long>(answer.Moves.size());
        moves_ = answer.Moves;
        next_ = 0;
        while (t.state.HomeCount < kCards) {
            if (next_ >= moves_.size()) Fail("the solver's moves ran out before the end");
            PlayNext();
        }
        if (t.messages.Asked.empty() || t.messages.Asked.back().Text.rfind(texts::GameOver, 0) != 0)
            Fail("the game ended without its box");
        return figures_;
    }

    const std::vector<KeyHeard>& Heard() const { return heard_; }

private:
    [[noreturn]] void Fail(const std::string& why) const {
        throw Failure("deal " + std::to_string(deal_) + " (" + Name(Way{mode_, brief_}) + "), solver move " +
                      std::to_string(next_ + 1) + ": " + why);
    }

    Table Now() const { return t_->screen.Board.Snapshot(); }
    int Focus() const { return t_->state.FocusGrid; }
    bool Holding() const { return t_->state.CardSelected == -1; }

    void Send(const std::string& key) {
        static const std::map<std::string, std::pair<int, int>> pressed = {
            {"Tab", {keys::Tab, 0}},       {"shift+Tab", {keys::Tab, keys::ShiftMask}},
            {"Up", {keys::Up, 0}},         {"Down", {keys::Down, 0}},
            {"Left", {keys::Left, 0}},     {"Right", {keys::Right, 0}},
            {"Return", {keys::Return, 0}},
        };
        TestTable& t = *t_;
        if (const auto it = pressed.find(key); it != pressed.end()) {
            t.Press(it->second.first, it->second.second);
        } else {
            // A menu shortcut: "shift+3" is "Shift+3", "alt+2" "Alt+2", "f" "F", "space" "Space".
            std::string shortcut = key;
            if (key.rfind("shift+", 0) == 0) shortcut = "Shift+" + key.substr(6);
            else if (key.rfind("alt+", 0) == 0) shortcut = "Alt+" + key.substr(4);
            else if (key == "space") shortcut = "Space";
            else if (key == "f" || key == "h") shortcut = std::string(1, static_cast<char>(key[0] - 'a' + 'A'));
            const int id = t.window.menus.ByShortcut(shortcut);
            if (id < 0) Fail("no menu item has the shortcut " + shortcut);
            t.window.menus.Click(id);
        }
        // What one key says before a stop of its own never reaches the speech server: the program sends
        // a key's texts after its last stop. A stop of earlier speech (the box) keeps the key's own.
        KeyHeard said{key, {}};
        for (const std::string& text : t.Heard()) {
            if (text == RecordingScreenReader::kStop) said.Texts.clear();
            if (text == RecordingScreenReader::kStop || text == RecordingScreenReader::kStopEarlier) continue;
            if (text.rfind(texts::GameOver, 0) == 0) break;  // the box at the end is not counted
            said.Texts.push_back(text);
        }
        for (const std::string& text : said.Texts) {
            figures_.Chars += Chars(text);
            ++figures_.Texts[text];
        }
        ++figures_.Keys;
        lastKey_ = key;
        heard_.push_back(std::move(said));
    }

    void SendAll(const std::vector<std::string>& keys) {
        for (const auto& key : keys) Send(key);
    }

    // The table after the command must be the planned one (with the safe cards home when the option is on).
    void Check(const Table& planned, const std::string& what) {
        const Table expected = SafeHome(mode_) ? WithSafeCardsHome(planned) : planned;
        const Table now = Now();
        if (Holding()) Fail(what + ": a card is still picked up");
        if (!SameTable(now, expected))
            Fail(what + ": the table is not the one planned.\nplanned:\n" + Describe(expected) + "got:\n" +
                 Describe(now));
    }

    void PlayNext() {
        const Table table = Now();
        const solver::SolverMove& move = moves_[next_];
        if (SafeHome(mode_) && IsHome(table, move.Card)) {
            ++figures_.Skipped;
            ++next_;
            return;
        }
        if (mode_ == Mode::Runs && TryRun(table)) return;
        const auto played = OnTable(table, move);
        if (!played) {
            // Cards that went home by themselves changed the table the solver planned for: search again.
            if (!SafeHome(mode_)) Fail("the solver's move " + move.Card + " is not legal on the table");
            const solver::Answer answer = solver::Solve(table);
            if (answer.Outcome != solver::Verdict::Solved) Fail("no way home from the table:\n" + Describe(table));
            moves_ = answer.Moves;
            next_ = 0;
            ++figures_.Resolved;
            return;
        }
        if (mode_ == Mode::Today) PlayToday(table, *played);
        else PlayDirect(table, *played);
        ++next_;
    }

    // --- today's keys ---

    // The keys from the cursors as they are to the given cell: Tab or Shift+Tab to its grid, then the
    // arrow keys, or in the column grid F5 or F6 to a column's bottom card and arrow keys from there.
    std::vector<std::string> Route(const Table& table, const CellPlace& to) const {
        const TestTable& t = *t_;
        std::vector<std::string> keys;
        const int grid = static_cast<int>(to.Grid);
        if (Focus() != grid) keys.push_back((grid - Focus() + 3) % 3 == 1 ? "Tab" : "shift+Tab");
        auto arrows = [&](int row, int col, std::vector<std::string> out) {
            for (; row < to.Row; ++row) out.push_back("Down");
            for (; row > to.Row; --row) out.push_back("Up");
            for (; col < to.Col; ++col) out.push_back("Right");
            for (; col > to.Col; --col) out.push_back("Left");
            return out;
        };
        std::vector<std::string> best;
        if (to.Grid == GridId::Column) {
            best = arrows(t.window.column.Row(), t.window.column.Col(), {});
            for (const int step : {+1, -1}) {
                int bottom = t.state.BottomCursor;
                std::vector<std::string> presses;
                for (int n = 1; n < kColumns; ++n) {
                    bottom = step > 0 ? (bottom + 1 == kColumns ? 0 : bottom + 1)
                                      : (bottom - 1 < 0 ? kColumns - 1 : bottom - 1);
                    presses.push_back(step > 0 ? "F6" : "F5");
                    const int length = table.Length(bottom);
                    auto route = arrows(length == 0 ? 1 : length, bottom, presses);
                    if (route.size() < best.size()) best = route;
                }
            }
        } else {
            const IGrid& grid = to.Grid == GridId::FreeCell ? static_cast<const IGrid&>(t.window.freeCell)
                                                            : static_cast<const IGrid&>(t.window.homeCell);
            best = arrows(0, grid.Col(), {});
        }
        keys.insert(keys.end(), best.begin(), best.end());
        return keys;
    }

    CellPlace Cursor(GridId id) const { return t_->screen.Board.Cursor(id); }

    void GoAndPress(const Table& table, const CellPlace& to, const std::string& what) {
        SendAll(Route(table, to));
        if (Focus() != static_cast<int>(to.Grid) || !(Cursor(to.Grid) == to))
            Fail(what + ": the keys did not lead to the planned cell");
        Send("Return");
    }

    void PlayToday(const Table& table, solver::SolverMove played) {
        GoAndPress(table, played.From, "pick-up of " + played.Card);
        if (!Holding() || t_->state.SelectedCard != played.Card) Fail("Enter did not pick up " + played.Card);
        // Of the free cells or home cells that take the card, the nearest.
        if (played.To.Grid != GridId::Column) {
            size_t fewest = 100;
            for (int k = 0; k < kCells; ++k) {
                const CellPlace place{played.To.Grid, 0, k};
                const bool takes = played.To.Grid == GridId::FreeCell
                                       ? table.FreeCells[Table::Index(k)].empty()
                                       : rules::GoesHome(played.Card, table.HomeCells[Table::Index(k)]);
                if (takes && Route(table, place).size() < fewest) {
                    fewest = Route(table, place).size();
                    played.To = place;
                }
            }
        }
        GoAndPress(table, played.To, "drop of " + played.Card);
        Check(solver::Played(table, played), "Enter");
    }

    // --- the direct keys ---

    void PlayDirect(const Table& table, const solver::SolverMove& played) {
        const TestTable& t = *t_;
        const bool inColumns = Focus() == 0 && played.From.Grid == GridId::Column &&
                               t.window.column.Col() == played.From.Col;
        const bool onFreeCell = Focus() == 1 && played.From.Grid == GridId::FreeCell &&
                                t.window.freeCell.Col() == played.From.Col;
        const std::string pickUp = played.From.Grid == GridId::Column ? Digit(played.From.Col)
                                                                      : "alt+" + Digit(played.From.Col);
        std::vector<std::string> keys;
        switch (played.To.Grid) {
        case GridId::Column: {
            const int d = played.To.Col;
            // Space on the card the last Space moved would send it to that move's next place instead.
            const bool freshQuickMove = !(lastKey_ == "space" && lastSpaced_ == played.Card);
            if ((inColumns || onFreeCell) && freshQuickMove && HomeFor(table, played.Card) < 0 &&
                QuickPlace(table, played.From) == d)
                keys = {"space"};
            else if (inColumns && mode_ == Mode::Runs && RunMoved(table, played.From.Col, d) == 1)
                keys = {"shift+" + Digit(d)};
            else keys = {pickUp, Digit(d)};
            break;
        }
        case GridId::FreeCell:
            keys = inColumns ? std::vector<std::string>{"f"} : std::vector<std::string>{pickUp, "f"};
            break;
        case GridId::HomeCell:
            keys = inColumns || onFreeCell ? std::vector<std::string>{"h"} : std::vector<std::string>{pickUp, "h"};
            break;
        }
        SendAll(keys);
        lastSpaced_ = played.Card;
        std::string what;
        for (const auto& key : keys) what += (what.empty() ? "" : " ") + key;
        Check(solver::Played(table, played), what + " (" + played.Card + ")");
    }

    // Shift+digit in place of the solver's moves from here when they only carry a run from one column
    // to another: the longest such stretch of moves whose run the command moves whole.
    bool TryRun(const Table& table) {
        Table way = table;
        std::optional<std::pair<size_t, std::pair<int, int>>> best;  // moves taken, (from, onto)
        int bestCount = 0;
        for (size_t m = 0; next_ + m < moves_.size() && m < 40; ++m) {
            const auto played = OnTable(way, moves_[next_ + m]);
            if (!played || played->To.Grid == GridId::HomeCell) break;
            way = solver::Played(way, *played);
            if (m == 0) continue;
            // Which columns changed, and how.
            std::vector<int> changed;
            for (int c = 0; c < kColumns; ++c)
                if (way.Columns[Table::Index(c)] != table.Columns[Table::Index(c)]) changed.push_back(c);
            auto freeCells = [](const Table& x) {
                auto f = x.FreeCells;
                std::sort(f.begin(), f.end());
                return f;
            };
            if (changed.size() != 2 || freeCells(way) != freeCells(table)) continue;
            for (const auto& [a, b] : {std::pair{changed[0], changed[1]}, std::pair{changed[1], changed[0]}}) {
                const int count = table.Length(a) - way.Length(a);
                if (count < 2 || way.Length(b) - table.Length(b) != count) continue;
                if (!SameTable(RunPlayed(table, a, b, count), way)) continue;
                if (RunMoved(table, a, b) != count) continue;
                best = {m + 1, {a, b}};
                bestCount = count;
            }
        }
        if (!best) return false;
        const auto [a, b] = best->second;
        const bool inColumns = Focus() == 0 && t_->window.column.Col() == a;
        std::vector<std::string> keys;
        if (!inColumns) keys.push_back(Digit(a));
        keys.push_back("shift+" + Digit(b));
        SendAll(keys);
        Check(RunPlayed(table, a, b, bestCount),
              "run of " + std::to_string(bestCount) + " from column " + Digit(a) + " onto column " + Digit(b));
        next_ += best->first;
        ++figures_.Runs;
        figures_.RunMoves += static_cast<long>(best->first);
        return true;
    }

    Mode mode_;
    bool brief_;
    int deal_;
    std::unique_ptr<TestTable> t_ = std::make_unique<TestTable>();
    std::vector<solver::SolverMove> moves_;
    size_t next_ = 0;
    Figures figures_;
    std::vector<KeyHeard> heard_;
    std::string lastKey_;     // the last key sent
    std::string lastSpaced_;  // the card of the last direct move
};

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: quorrel_keys [--mode today|direct|safe|runs[-brief]|all] [--deals A-B] [--texts]\n"
                 "       quorrel_keys --mode today|direct|safe|runs[-brief] --deal N --script\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<Way> modes;
    for (const bool brief : {false, true})
        for (const Mode mode : {Mode::Today, Mode::Direct, Mode::Safe, Mode::Runs}) modes.push_back({mode, brief});
    int first = 1;
    int last = 200;
    bool script = false;
    bool listTexts = false;
    try {
        for (int i = 1; i < argc; ++i) {
            const std::string arg = argv[i];
            const bool hasValue = i + 1 < argc;
            if (arg == "--mode" && hasValue) {
                std::string m = argv[++i];
                const bool brief = m.size() > 6 && m.substr(m.size() - 6) == "-brief";
                if (brief) m.resize(m.size() - 6);
                if (m == "today") modes = {{Mode::Today, brief}};
                else if (m == "direct") modes = {{Mode::Direct, brief}};
                else if (m == "safe") modes = {{Mode::Safe, brief}};
                else if (m == "runs") modes = {{Mode::Runs, brief}};
                else if (m != "all" || brief) return Usage();
            } else if (arg == "--deals" && hasValue) {
                const std::string range = argv[++i];
                const auto dash = range.find('-');
                if (dash == std::string::npos) return Usage();
                first = std::stoi(range.substr(0, dash));
                last = std::stoi(range.substr(dash + 1));
            } else if (arg == "--deal" && hasValue) {
                first = last = std::stoi(argv[++i]);
            } else if (arg == "--script") {
                script = true;
            } else if (arg == "--texts") {
                listTexts = true;
            } else {
                return Usage();
            }
        }
    } catch (const std::exception&) {
        return Usage();
    }
    if (first < 1 || last < first || (script && (modes.size() != 1 || first != last))) return Usage();

    try {
        for (const Way mode : modes) {
            Figures total;
            for (int deal = first; deal <= last; ++deal) {
                Player player(mode, deal);
                const Figures figures = player.Play();
                total.Moves += figures.Moves;
                total.Keys += figures.Keys;
                total.Chars += figures.Chars;
                total.Resolved += figures.Resolved;
                total.Skipped += figures.Skipped;
                total.Runs += figures.Runs;
                total.RunMoves += figures.RunMoves;
                for (const auto& [text, count] : figures.Texts) total.Texts[text] += count;
                if (script) {
                    for (const KeyHeard& key : player.Heard()) {
                        std::string line = "key " + key.Key;
                        for (const auto& text : key.Texts) line += "\t" + Escaped(text);
                        std::printf("%s\n", line.c_str());
                    }
                }
            }
            const int deals = last - first + 1;
            const double moves = static_cast<double>(std::max(total.Moves, 1L));
            std::printf(
                "mode %s deals %d moves %ld keys %ld chars %ld resolved %ld skipped %ld runs %ld run_moves %ld "
                "keys_a_move %.2f keys_a_game %.1f chars_a_move %.1f\n",
                Name(mode).c_str(), deals, total.Moves, total.Keys, total.Chars, total.Resolved, total.Skipped,
                total.Runs, total.RunMoves, total.Keys / moves, static_cast<double>(total.Keys) / deals,
                total.Chars / moves);
            if (listTexts)
                for (const auto& [text, count] : total.Texts)
                    std::printf("text %s %ld %s\n", Name(mode).c_str(), count, Escaped(text).c_str());
            std::fflush(stdout);
        }
    } catch (const Failure& failure) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", failure.what());
        return 1;
    }
    return 0;
}
