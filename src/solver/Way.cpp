// A way home as the player walks it.
#include "solver/Way.h"

namespace quorrel::solver {

namespace {
std::string& Cell(TableRecord& table, const CellPlace& place) {
    const auto col = static_cast<std::size_t>(place.Col);
    switch (place.Grid) {
    case GridId::Column: return table.Columns[static_cast<std::size_t>(place.Row)][col];
    case GridId::FreeCell: return table.FreeCells[col];
    case GridId::HomeCell: break;
    }
    return table.HomeCells[col];
}
}  // namespace

TableRecord Played(TableRecord table, const SolverMove& move) {
    Cell(table, move.From).clear();
    Cell(table, move.To) = move.Card;
    if (move.To.Grid == GridId::HomeCell) ++table.HomeCount;
    return table;
}

Way::Way(const TableRecord& from, std::vector<SolverMove> moves) : moves_(std::move(moves)) {
    before_.reserve(moves_.size());
    TableRecord table = from;
    for (const SolverMove& move : moves_) {
        before_.push_back(table);
        table = Played(std::move(table), move);
    }
}

std::optional<std::size_t> Way::Next(const TableRecord& table) const {
    // From the end: should a table come twice, the player is led past the loop.
    for (std::size_t i = before_.size(); i-- > 0;)
        if (before_[i] == table) return i;
    return std::nullopt;
}

}  // namespace quorrel::solver
