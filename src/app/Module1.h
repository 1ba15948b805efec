// The program's start: load the main window, show it and speak the welcome.
#pragma once

namespace quorrel {

class GameScreen;

void Main(GameScreen& screen);

}  // namespace quorrel
