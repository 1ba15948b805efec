// Replaying a solution through the game's own click handlers.
#include "solver/replay/Replay.h"

#include "app/GameScreen.h"
#include "app/Module1.h"
#include "cards/CardMod.h"
#include "platform/memory/MemoryServices.h"

namespace quorrel::solver {

namespace {
struct Game : MemoryServices {
    MemoryWindow window;
    Platform platform = On(window);
    GameState state;
    GameScreen screen{state, platform};

    MemoryGrid& Grid(GridId id) {
        return id == GridId::Column ? window.column : id == GridId::FreeCell ? window.freeCell : window.homeCell;
    }
};

// The table's record, with the count of cards home that its home cells show.
GameRecord RecordOf(const Table& table) {
    GameRecord record = RecordOfTable(table);
    record.HomeCount = 0;
    for (int k = 0; k < kCells; ++k)
        record.HomeCount = static_cast<std::int16_t>(record.HomeCount + table.HomeCards(k));
    return record;
}
}  // namespace

std::string Replay(const Table& table, const std::vector<SolverMove>& moves) {
    auto game = std::make_unique<Game>();
    Main(game->screen);
    game->state.OpenedFromFile = 1;
    game->state.SavedGame = RecordOf(table);
    game->screen.BeginGame();
    if (game->state.GameInProgress == 0) return "the table was not laid out";
    for (size_t i = 0; i < moves.size(); ++i) {
        const SolverMove& move = moves[i];
        const std::string which = "move " + std::to_string(i + 1) + " (" + move.Card + ")";
        if (game->state.HomeCount == 52) return which + ": the game was already over";
        MemoryGrid& from = game->Grid(move.From.Grid);
        MemoryGrid& to = game->Grid(move.To.Grid);
        if (from.TextMatrix(move.From.Row, move.From.Col) != move.Card) return which + ": the card is not there";
        from.ClickCell(move.From.Row, move.From.Col);
        if (game->state.CardSelected != -1) return which + ": the card was not picked up";
        const auto home = game->state.HomeCount;
        to.ClickCell(move.To.Row, move.To.Col);
        if (game->state.CardSelected != 0) return which + ": the card was not dropped";
        const bool moved = game->state.HomeCount == 52 ||
                           (to.TextMatrix(move.To.Row, move.To.Col) == move.Card &&
                            from.TextMatrix(move.From.Row, move.From.Col).empty() &&
                            game->state.HomeCount == home + (move.To.Grid == GridId::HomeCell ? 1 : 0));
        if (!moved) return which + ": the card did not arrive";
    }
    if (game->state.HomeCount != 52) return std::to_string(game->state.HomeCount) + " cards home at the end";
    return {};
}

}  // namespace quorrel::solver
