// Accessibility of the grids: screen readers stay silent on them, because the game speaks every grid event itself.
#pragma once

namespace quorrel {

// Installs, for the whole application, an accessibility factory and an event filter for the grids (QtGrid):
// - each grid shows assistive technologies one plain focusable object, named after the grid's accessible
//   name, with no table structure and no children;
// - no accessibility event that comes from a grid or from a widget inside one (focus, cell and text
//   changes, header and scroll bar updates) reaches the platform's accessibility bridge.
// Every other widget (menus, message boxes, dialogs) keeps Qt's own accessibility.
// Call it once, after the QApplication exists and before the first grid is created; later calls do nothing.
void InstallQuietGridAccessibility();

}  // namespace quorrel
