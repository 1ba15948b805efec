// Numbered deals: the Deal Game Number dialog, and dealing a numbered deck as New Game deals a shuffled one.
#pragma once

#include <cstdint>

namespace quorrel {

class GameScreen;

class DealNumbers {
public:
    explicit DealNumbers(GameScreen& screen) : S(screen) {}

    // The dialog stays open until it is cancelled or gives a deal number, dealt once it has closed.
    void Ask();
    // Begins deal `number` (1 to 1000000) as New Game begins a shuffled one; other numbers do nothing.
    void DealGameNumber(std::int32_t number);
    // Says the number of the deal just laid out, if it is a numbered one.
    void SayNumber();

    // The number of the deal BeginGame deals, or 0 for a shuffled deck.
    std::int32_t DealNumber = 0;

private:
    GameScreen& S;
};

}  // namespace quorrel
