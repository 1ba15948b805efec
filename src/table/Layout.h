// How a game's table is laid out from a shuffled or numbered deck, or from a saved record.
#pragma once

#include <array>
#include <cstdint>

#include "files/GameRecord.h"
#include "moves/History.h"

namespace quorrel {

// The deck dealt row by row: entry i (0 to 51) in row i div 8 + 1, column i mod 8; free cells and
// home cells empty.
TableRecord TableOfDeck(const std::array<std::int16_t, 53>& deck);
// The table of numbered deal `number` (1 to 1000000).
TableRecord TableOfDeal(std::int32_t number);
// The saved table: each slot's text without its blanks, rows 1 to 19 of columns 0 to 7.
TableRecord TableOfRecord(const GameRecord& record);

}  // namespace quorrel
