// Keys typed into the program's window as the window system delivers them: to the widget that has the
// keyboard focus, or to the window itself while no widget has it.
#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

namespace quorrel::test {

inline void Type(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus && focus->window() == &window ? focus : &window, key, modifiers);
}

}  // namespace quorrel::test
