// The reading commands: the free cells or the home cells read aloud, the bottom card of the previous
// or next column, the previous or next card of the same suit, finding a card, and the Play menu's
// readings of a column, the table and the bottom row.
#pragma once

#include <string>
#include <string_view>

namespace quorrel {

class GameScreen;
class IGrid;

class Readings {
public:
    explicit Readings(GameScreen& screen) : S(screen) {}

    void ReadFreeCells();
    void ReadHomeCells();
    void ReadBottomRow();
    void ReadBottomRowForward();
    void ReadBottomCard(int column);
    void ReadPreviousCard();
    void ReadNextCard();
    void FindCard(const std::string& target);
    // The Play menu's readings: each speaks one announcement and moves nothing; they do nothing while
    // no game is on the table.
    void ReadColumn();
    void ReadTable();
    void ReadBottomRowCards();

private:
    void ReadCells(IGrid& grid, std::string_view gridName, std::string_view allEmpty);
    void ReadNeighbourCard(int step);
    void SpeakReading(const std::string& words);

    GameScreen& S;
};

}  // namespace quorrel
