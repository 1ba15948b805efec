// Qt key events as the program's key codes and shift state.
#pragma once

#include <Qt>

namespace quorrel {

// The program's key code for a Qt key (Keys.h), or 0 for a key the program has no code for.
int ToKeyCode(int qtKey);
// The shift state of Qt modifiers: 1 Shift, 2 Ctrl, 4 Alt.
int ToShiftState(Qt::KeyboardModifiers modifiers);

}  // namespace quorrel
