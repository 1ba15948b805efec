// Accessibility for screen readers: silent grids (the game speaks for them), menu items whose shortcuts and check marks
// Orca reads, lists that name their entry.
#pragma once

namespace quorrel {

// Installs, for the whole application, an accessibility factory and an accessibility event filter:
// - Each grid (QtGrid) is one focusable object with no name, no description, no labels and no children
//   (no cells, no table). Its own focus changes and its showing and hiding reach assistive technologies;
//   its cursor moves, text changes and everything from the widgets inside it (viewport, header, scroll
//   bars) do not. A screen reader thus follows the focus into a grid and has nothing to say there.
// - Each menu item (an action in a menu or in the menu bar) keeps Qt's name, role, states and actions,
//   and gives its key binding as "mnemonic;access-key path;shortcut" in GTK's notation
//   ("n;<Alt>g:n;<Control>n" for New Game), the form Orca reads shortcuts from.
//   A check item is a check box, so that a screen reader says "not checked" as well as "checked" (Qt's bridge
//   to AT-SPI passes neither a checkable state nor a check menu item on); its menu counts it among its items.
// - A list that takes the focus reports it on its current entry, which a screen reader then reads.
// Every other widget (dialogs, message boxes, the file dialog) keeps Qt's own accessibility.
// Call it once, after the QApplication exists and before the main window is created (Qt keeps the first
// interface it made for an object); later calls do nothing. It installs an accessibility update handler
// (QAccessible::installUpdateHandler) that passes the events it lets through on to the handler installed
// before it, if any, or else to the platform's bridge; nothing may replace it afterwards.
void InstallQuietGridAccessibility();

}  // namespace quorrel
