// A way home as the player walks it.
#include "solver/Way.h"

namespace quorrel::solver {

Table Played(Table table, const SolverMove& move) {
    table.At(move.From).clear();
    table.At(move.To) = move.Card;
    if (move.To.Grid == GridId::HomeCell) ++table.HomeCount;
    return table;
}

Way::Way(const Table& from, std::vector<SolverMove> moves) : moves_(std::move(moves)) {
    before_.reserve(moves_.size());
    Table table = from;
    for (const SolverMove& move : moves_) {
        before_.push_back(table);
        table = Played(std::move(table), move);
    }
}

std::optional<std::size_t> Way::Next(const Table& table) const {
    // From the end: should a table come twice, the player is led past the loop.
    for (std::size_t i = before_.size(); i-- > 0;)
        if (before_[i] == table) return i;
    return std::nullopt;
}

}  // namespace quorrel::solver
