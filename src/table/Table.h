// A table of the game as a value: its sizes, its cells, its conversions and the check that it is whole.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "files/GameRecord.h"

namespace quorrel {

// The sizes of the table. Every other file takes them from here.
inline constexpr int kColumns = 8;
inline constexpr int kCardRows = 19;  // a column holds cards in rows 1 to 19 of its grid; row 0 is its header
inline constexpr int kCells = 4;      // free cells, and home cells
inline constexpr int kCards = 52;

// The three grids, numbered as FocusGrid numbers them.
enum class GridId : std::int16_t { Column = 0, FreeCell = 1, HomeCell = 2 };

// A cell as the grids name it: a column cell is (row 1..19, column 0..7); a free cell or a home cell
// is (row 0, cell 0..3).
struct CellPlace {
    GridId Grid = GridId::Column;
    int Row = 0;
    int Col = 0;
    bool operator==(const CellPlace&) const = default;
};

// A column's cells from row 1 down.
using ColumnCells = std::array<std::string, kCardRows>;
// The cards from row 1 down to the first empty cell.
int LengthOf(const ColumnCells& column);

// Every card cell of the table, as the grids show them (a card code, or "" for an empty cell), and
// the count of cards home. A home cell shows its top card and holds as many cards as that card's rank.
struct Table {
    std::array<ColumnCells, kColumns> Columns;  // [column][row - 1]
    std::array<std::string, kCells> FreeCells;
    std::array<std::string, kCells> HomeCells;
    std::int16_t HomeCount = 0;

    const std::string& At(const CellPlace& place) const;
    std::string& At(const CellPlace& place);
    // The card at a column's row (1 to 19).
    const std::string& Card(int column, int row) const { return Columns[Index(column)][Index(row - 1)]; }
    std::string& Card(int column, int row) { return Columns[Index(column)][Index(row - 1)]; }
    // The cards from row 1 down to the first empty cell.
    int Length(int column) const;
    // The cards in home cell k.
    int HomeCards(int k) const;

    // Written out: clang 14 with the sanitizers crashes on the defaulted comparison of these arrays.
    bool operator==(const Table& other) const {
        return Columns == other.Columns && FreeCells == other.FreeCells && HomeCells == other.HomeCells &&
               HomeCount == other.HomeCount;
    }

    static constexpr std::size_t Index(int n) { return static_cast<std::size_t>(n); }
};

// The deck dealt row by row: entry i (0 to 51) in row i div 8 + 1, column i mod 8; free cells and
// home cells empty.
Table TableOfDeck(const std::array<std::int16_t, 53>& deck);
// The table of numbered deal `number` (1 to 1000000).
Table TableOfDeal(std::int32_t number);
// The saved table: each slot's text without its blanks, rows 1 to 19 of columns 0 to 7.
Table TableOfRecord(const GameRecord& record);
// The record a game file keeps of the table: each cell's text padded to three characters; the slots
// the table does not use stay as the record given holds them.
GameRecord RecordOfTable(const Table& table, GameRecord record = {});

// What keeps the table from being one this game can hold, or "" when it is whole: a cell that holds no
// card, a gap in a column, a card twice, a count of cards home out of range or not matching the home
// cells, or cards that do not add up to 52. The first problem found is told, in that order of search.
std::string Validate(const Table& table);

}  // namespace quorrel
