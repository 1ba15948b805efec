// Undo, redo and restart: the steps of the game's history replayed through the board, which stays the
// one copy of the table.
#pragma once

#include <string>
#include <string_view>

#include "moves/History.h"

namespace quorrel {

class GameScreen;

class Replays {
public:
    explicit Replays(GameScreen& screen) : S(screen) {}

    enum class Replay { Back, Again };
    // Takes the last step back, or makes the last step taken back again.
    void ReplayStep(Replay direction);
    // Lays the deal out again as one step of the history, so it asks nothing: undo brings the table
    // before it back.
    void Restart();

private:
    void LayOutTable(const Table& table);
    void AnnounceTable(std::string_view first);
    void UndoMove(const MoveRecord& move);
    void RedoMove(const MoveRecord& move);
    void ReplayCards(const StepRecord& step, bool back);
    void SayReplayed(const std::string& card, std::string_view link, const CellPlace& place);

    GameScreen& S;
};

}  // namespace quorrel
