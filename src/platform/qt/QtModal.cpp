// Running a modal window of the program on Qt.
#include "platform/qt/QtModal.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <utility>

#include "platform/qt/QtGrid.h"

#if QUORREL_HAVE_XCB
#include <xcb/xcb.h>
#include <QGuiApplication>

#include <cstdlib>
#endif

namespace quorrel {

namespace {

// A window manager that a screen reader keeps busy, or a loaded machine, can take a while to hand the
// activation back; now and then it drops the request, so it is repeated.
constexpr qint64 kActivationDeadlineMs = 5000;
constexpr qint64 kActivationRepeatMs = 250;
constexpr int kActivationPollMs = 20;

// True when the X server has given the window the keyboard focus. Qt can miss that: after a file
// dialog whose name completer had the keyboard, the focus is on the main window and the keys go there,
// but Qt, which was told of no change, holds no window active, so Tab moves nothing. Asking the
// window manager again changes nothing, since for it the window is active already.
bool HasKeyboardOfTheWindowSystem(QWidget* window) {
#if QUORREL_HAVE_XCB
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return false;
    xcb_connection_t* connection = x11->connection();
    xcb_get_input_focus_reply_t* reply = xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection),
                                                                   nullptr);
    if (!reply) return false;
    const bool focused = reply->focus == static_cast<xcb_window_t>(window->winId());
    std::free(reply);
    return focused;
#else
    (void)window;
    return false;
#endif
}

// Asks the window system to activate the window until it is active. Only the window system's own
// events and the program's posted ones are processed meanwhile: the player's keys wait for the
// window, in order. False when the deadline passed first.
bool Activate(QWidget* window) {
    QElapsedTimer waited;
    waited.start();
    // The window manager hands the activation back by itself when a dialog closes. Asking at once
    // races with what comes next: a request it carries out late can take the activation from the
    // next dialog, which is already open by then. So the first request waits as long as a repeat.
    qint64 asked = 0;
    while (QApplication::activeWindow() != window) {
        const qint64 now = waited.elapsed();
        if (!window->isVisible() || now >= kActivationDeadlineMs) return false;
        // Once Qt has had the time to hear of an activation, the window system's own word counts.
        if (now >= kActivationRepeatMs && HasKeyboardOfTheWindowSystem(window)) {
            QApplication::setActiveWindow(window);
            continue;
        }
        if (now - asked >= kActivationRepeatMs) {
            // On X11 activateWindow() sends the window manager the _NET_ACTIVE_WINDOW request (or sets
            // the input focus where there is no window manager); raise() keeps the window on top.
            window->raise();
            window->activateWindow();
            asked = now;
        }
        QTimer wake;
        wake.setSingleShot(true);
        wake.start(kActivationPollMs);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// The open chain of modal windows, and what its first window found, once one of them has closed.
struct Chain {
    int depth = 0;
    bool owesFocus = false;
    QPointer<QWidget> home;
    QPointer<QWidget> had;
};
Chain chain;
// How many modal windows ExecModal runs now, one within another. Qt may hand the main window the
// activation as soon as a box hides, before exec() has returned.
int running = 0;

// The home window is activated again and the widget that had its focus gets it back; at the end of a
// chain, unless the program gave the focus to another widget of the window meanwhile (a game begun).
void GiveBack(const QPointer<QWidget>& window, const QPointer<QWidget>& had, bool endOfChain = false) {
    if (!window || !window->isVisible()) return;
    const bool moved = endOfChain && window->focusWidget() != had;
    Activate(window);
    if (moved || !had || !had->isVisible() || had->window() != window) return;
    if (auto* grid = qobject_cast<QtGrid*>(had.data())) {
        // The activation has raised GotFocus already when the focus came in with it; if it has not
        // come (the deadline passed, or the window never lost it), SetFocus raises it now, and the
        // later focus-in raises nothing more.
        if (!grid->HasFocus() && grid->isEnabled()) grid->SetFocus();
    } else if (!had->hasFocus()) {
        had->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace

int ExecModal(QDialog& dialog) {
    QPointer<QWidget> window;
    QPointer<QWidget> had;
    // A window opened over another modal window is no link of a chain: that one gets the focus back.
    const bool overModal = QApplication::activeModalWidget() != nullptr;
    if (chain.owesFocus && !overModal) {
        // The window before it in the chain has closed: its home and focus are this one's.
        window = chain.home;
        had = chain.had;
        chain.owesFocus = false;
    } else {
        QWidget* home = QApplication::activeModalWidget();
        if (!home && dialog.parentWidget()) home = dialog.parentWidget()->window();
        window = home;
        had = home ? home->focusWidget() : nullptr;
    }
    // Whatever the window system reports while the dialog is open, the grid's focus comes back as a
    // change of focus, announced once.
    if (auto* grid = qobject_cast<QtGrid*>(had.data())) grid->FocusTakenByModal();

    ++running;
    const int result = dialog.exec();
    --running;

    if (chain.depth > 0 && !overModal) {
        chain.owesFocus = true;
        chain.home = window;
        chain.had = had;
        return result;
    }
    GiveBack(window, had);
    return result;
}

void BeginModalChain() { ++chain.depth; }

void EndModalChain() {
    if (chain.depth == 0 || --chain.depth > 0 || !chain.owesFocus) return;
    chain.owesFocus = false;
    GiveBack(std::exchange(chain.home, nullptr), std::exchange(chain.had, nullptr), true);
}

bool ModalWindowHasTheFocus() { return chain.owesFocus || running > 0; }

}  // namespace quorrel
