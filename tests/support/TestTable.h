// A whole game on the in-memory platform, built in one line for tests.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "app/GameScreen.h"
#include "app/Menus.h"
#include "app/Module1.h"
#include "platform/Keys.h"
#include "platform/memory/MemoryPlatform.h"
#include "platform/memory/MemoryServices.h"
#include "speech/CardWords.h"

namespace quorrel::test {

using quorrel::MemoryServices;

struct TestTable : MemoryServices {
    std::vector<std::string> events;  // the grids' events, in order
    MemoryWindow window{&events};
    Platform platform = On(window);
    GameState state;
    GameScreen screen{state, platform};

    // The program starts: the window loads and the welcome is spoken.
    void Start() { Main(screen); }
    // Starts and deals a game (the two-second wait passes on the fake clock).
    void StartAndDeal() {
        Start();
        window.menus.Click(mnuGameNew);
    }
    // A key as the player presses it: the window sees it first, then the focused grid; Tab moves the
    // focus among the visible grids.
    void Press(int key, int shift = 0);
    // Replaces the table with the given columns (top card first), free cells and home cells, and puts
    // the column cursor on row 1 of column 0 without a sound.
    void LayOut(const std::vector<std::vector<std::string>>& columns, const std::vector<std::string>& freeCells = {},
                const std::vector<std::string>& homeCells = {});
    // A menu shortcut key ("F6", "Ctrl+F"): runs its item when the item is enabled.
    void Shortcut(const std::string& keys) { window.menus.Click(window.menus.ByShortcut(keys)); }
    MemoryGrid* Focused() { return window.focus.Focused; }
    // Every card cell and the home count, to compare whole tables.
    std::vector<std::string> Cells() const;
    // The texts spoken since the last call of Heard (stops shown as "<stop>").
    std::vector<std::string> Heard();

private:
    size_t heard_ = 0;
};

}  // namespace quorrel::test
