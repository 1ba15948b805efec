// The moves of the game on the table, for taking them back and making them again.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace quorrel {

// The three grids, numbered as FocusGrid numbers them.
enum class GridId : std::int16_t { Column = 0, FreeCell = 1, HomeCell = 2 };

struct CellPlace {
    GridId Grid = GridId::Column;
    int Row = 0;
    int Col = 0;
    bool operator==(const CellPlace&) const = default;
};

// One executed move: the card went from From to To, where To showed Under before (empty for a column
// or a free cell, the card under it or nothing for a home cell).
struct MoveRecord {
    CellPlace From;
    CellPlace To;
    std::string Card;
    std::string Under;
    bool operator==(const MoveRecord&) const = default;
};

// Every card cell of the table and the count of cards home.
struct TableRecord {
    std::array<std::array<std::string, 8>, 20> Columns;  // row 0 is the header and stays empty here
    std::array<std::string, 4> FreeCells;
    std::array<std::string, 4> HomeCells;
    std::int16_t HomeCount = 0;
    // Written out: clang 14 with the sanitizers crashes on the defaulted comparison of these arrays.
    bool operator==(const TableRecord& other) const {
        return Columns == other.Columns && FreeCells == other.FreeCells && HomeCells == other.HomeCells &&
               HomeCount == other.HomeCount;
    }
};

// A restart laid the starting table out over Before.
struct RestartRecord {
    TableRecord Before;
};

using HistoryStep = std::variant<MoveRecord, RestartRecord>;

// The history of one game: the steps done, newest last, and the steps undone, most recently undone
// last. A new step clears the undone ones. It has no depth limit and knows nothing of the grids: the
// game replays its steps through them.
class MoveHistory {
public:
    // An empty history without a starting table: a game is beginning, or none is on the table.
    void Clear();
    // The table the game began with, that a restart lays out again.
    void SetStart(TableRecord start) { start_ = std::move(start); }
    const std::optional<TableRecord>& Start() const { return start_; }

    void Record(HistoryStep step);
    bool CanUndo() const { return !done_.empty(); }
    bool CanRedo() const { return !undone_.empty(); }
    // The step to take back, now counted as undone; the caller replays it backwards.
    HistoryStep Undo();
    // The step to make again, now counted as done.
    HistoryStep Redo();

private:
    std::vector<HistoryStep> done_;
    std::vector<HistoryStep> undone_;
    std::optional<TableRecord> start_;
};

}  // namespace quorrel
