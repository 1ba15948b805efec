// The program-wide game state: every variable the game keeps from one event to the next.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "files/GameRecord.h"
#include "moves/History.h"

namespace quorrel {

// Flags hold -1 for true and 0 for false (OpenedFromFile is set to 1 and tested for non-zero).
// Rules that hold between them:
// - While CardSelected is -1, SelectedFrom is 0 (column) or 1 (free cell) and SelectedRow, SelectedCol
//   and SelectedCard describe the picked-up card, whose cell carries the selection mark. While it is 0,
//   SelectedFrom is 3 and the other three are not consulted.
// - UnsavedChanges is -1 only while GameInProgress is -1.
// - HomeCount is the number of cards played home in this game; at 52 the game is over.
// - Loading is -1 only while a mute of the board lives (Board::MuteEcho): the program moving a cursor itself.
struct GameState {
    using Flag = std::int16_t;

    Flag CardSelected = 0;
    std::int16_t SelectedFrom = 0;  // 0 column grid, 1 free-cell grid, 3 nothing picked up
    std::int16_t SelectedRow = 0;
    std::int16_t SelectedCol = 0;
    std::string SelectedCard;
    std::int16_t HomeCount = 0;
    std::int16_t OpenedFromFile = 0;
    Flag GameInProgress = 0;
    Flag UnsavedChanges = 0;
    Flag Loading = 0;
    std::int16_t FocusGrid = 0;      // 0 columns, 1 free cells, 2 home cells
    std::int16_t LastSpokenCol = 0;  // -1: none yet in this game
    std::int16_t BottomCursor = 0;   // -1: none read yet in this game
    Flag FindCancelled = 0;
    std::string FindTarget;
    std::string GameFileName;
    std::string GamesFolder;
    std::array<std::int16_t, 53> Deck{};  // entries 0..51 hold the shuffled card numbers
    GameRecord SavedGame;

    // The moves of the game on the table, for undo, redo and restart; empty at every BeginGame.
    MoveHistory History;
};

}  // namespace quorrel
