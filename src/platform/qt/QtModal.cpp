// Running a modal window of the program on Qt.
#include "platform/qt/QtModal.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include "platform/qt/QtGrid.h"

namespace quorrel {

namespace {

// A window manager that a screen reader keeps busy, or a loaded machine, can take a while to hand the
// activation back; now and then it drops the request, so it is repeated.
constexpr qint64 kActivationDeadlineMs = 5000;
constexpr qint64 kActivationRepeatMs = 250;
constexpr int kActivationPollMs = 20;

// Asks the window system to activate the window until it is active. Only the window system's own
// events and the program's posted ones are processed meanwhile: the player's keys wait for the
// window, in order. False when the deadline passed first.
bool Activate(QWidget* window) {
    QElapsedTimer waited;
    waited.start();
    qint64 asked = -kActivationRepeatMs;
    while (QApplication::activeWindow() != window) {
        const qint64 now = waited.elapsed();
        if (!window->isVisible() || now >= kActivationDeadlineMs) return false;
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

}  // namespace

int ExecModal(QDialog& dialog) {
    QWidget* home = QApplication::activeModalWidget();
    if (!home && dialog.parentWidget()) home = dialog.parentWidget()->window();
    const QPointer<QWidget> window = home;
    const QPointer<QWidget> had = home ? home->focusWidget() : nullptr;
    // Whatever the window system reports while the dialog is open, the grid's focus comes back as a
    // change of focus, announced once.
    if (auto* grid = qobject_cast<QtGrid*>(had.data())) grid->FocusTakenByModal();

    const int result = dialog.exec();

    if (!window || !window->isVisible()) return result;
    Activate(window);
    if (!had || !had->isVisible() || had->window() != window) return result;
    if (auto* grid = qobject_cast<QtGrid*>(had.data())) {
        // The activation has raised GotFocus already when the focus came in with it; if it has not
        // come (the deadline passed, or the window never lost it), SetFocus raises it now, and the
        // later focus-in raises nothing more.
        if (!grid->HasFocus() && grid->isEnabled()) grid->SetFocus();
    } else if (!had->hasFocus()) {
        had->setFocus(Qt::OtherFocusReason);
    }
    return result;
}

}  // namespace quorrel
