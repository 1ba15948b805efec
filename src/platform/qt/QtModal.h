// Running a modal window of the program on Qt so that it keeps the focus contract of platform/Dialogs.h.
#pragma once

class QDialog;

namespace quorrel {

// Runs the dialog with exec() and returns its result. The window it finds active (its owner's window,
// or a dialog of the program that is open) is its home. While it runs, no grid of the home window
// counts as having the focus. Afterwards the home window is activated again and awaited: asked for
// again and again, processing no input of the player meanwhile, until the window system has made it
// active or a generous deadline has passed. Then the widget that had the home window's focus has it
// again, and a grid among them has raised GotFocus exactly once.
int ExecModal(QDialog& dialog);

// A chain of modal windows (IWindow::BeginModalChain): while one is open, a window that ExecModal ran
// hands nothing back when it closes; the next one finds the same home and the same focus, and the end
// of the outermost chain gives them back as one window's close would.
void BeginModalChain();
void EndModalChain();
// True while a modal window of the program is open, or a window of an open chain has closed and the
// focus is owed: a grid that the window system hands the focus to meanwhile (the main window activated
// by the window manager once a box has gone, while the next dialog opens) stays silent.
bool ModalWindowHasTheFocus();

}  // namespace quorrel
