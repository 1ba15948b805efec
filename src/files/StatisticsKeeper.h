// The player's statistics: their file in the data folder, the moments a game is counted, and the
// Statistics command.
#pragma once

#include <string>

#include "files/Statistics.h"

namespace quorrel {

class GameScreen;

class StatisticsKeeper {
public:
    explicit StatisticsKeeper(GameScreen& screen) : S(screen) {}

    // The statistics file: read at start-up (a damaged one is renamed aside), written whenever the
    // record changes. CountGame writes the file when changed is true.
    void LoadStatistics();
    void CountGame(bool changed);
    // The game on the table is left: counted as lost, or put aside when its table is in a file.
    void LeaveGame();
    std::string StatisticsText() const;
    std::string StatisticsFile() const;
    // The statistics in a box that asks whether to reset them.
    void Show();

    Statistics Stats;

private:
    GameScreen& S;
    // The statistics file could not be written, or is kept aside: nothing more is written this run.
    bool statisticsReadOnly_ = false;
    bool statisticsNotSavedReported_ = false;
};

}  // namespace quorrel
