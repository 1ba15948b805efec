// Picking a card up and dropping it: what Enter or a click does on each grid, the six moves, putting
// a card back, and the end of the game.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorrel {

class GameScreen;
class IGrid;

class Moves {
public:
    explicit Moves(GameScreen& screen) : S(screen) {}

    // Enter or a click on the current cell of each grid.
    void ClickColumn();
    void ClickFreeCell();
    void ClickHomeCell();
    // Escape: the picked-up card goes back, said as unselected.
    void PutBack();
    // A picked-up card goes back unannounced: the mark comes off and every cursor stays where it was.
    void PutBackSilently();

    void MoveColumnToColumn();
    void MoveColumnToFreeCell();
    void MoveFreeCellToColumn();
    void MoveFreeCellToFreeCell();
    void MoveColumnToHomeCell();
    void MoveFreeCellToHomeCell();

private:
    void Refuse(std::string_view text, const std::string& cell);
    void PickUp(IGrid& grid, std::int16_t from);
    void MoveCard(IGrid& source, IGrid& destination, std::string_view suffix);
    void CountCardHome();

    GameScreen& S;
};

}  // namespace quorrel
