// Accessibility of the grids and the menu items.
#include "platform/qt/QtAccessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStyle>
#include <QTimer>
#include <QWindow>

#include "platform/qt/QtGrid.h"

namespace quorrel {

namespace {

// A grid as assistive technologies see it: one focusable object with no text, no relations and no cells.
// A screen reader follows the focus into it (so that it also notices the focus leaving a menu or a
// dialog for the grid) and finds nothing to say there; the game says everything about the grid itself.
// Orca would read a grid's name, its description and the label that names it each time the grid took
// the focus, so there are none.
class GridAccessible : public QAccessibleWidget {
public:
    explicit GridAccessible(QtGrid* grid) : QAccessibleWidget(grid, QAccessible::Client) {}

    QString text(QAccessible::Text) const override { return {}; }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation) const override {
        return {};
    }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    // Qt's table view still reports its current cell, by index, when the cursor moves. The report must find
    // an object, or Qt warns on every move: it finds the grid's viewport, and FilterUpdate() then drops it.
    QAccessibleInterface* child(int index) const override {
        if (index < 0) return nullptr;
        return QAccessible::queryAccessibleInterface(static_cast<QtGrid*>(widget())->viewport());
    }
};

// A key in the form GTK gives it (and Orca reads): "n", "F7", "Delete".
QString GtkKeyName(Qt::Key key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return QString(QChar(u'a' + (key - Qt::Key_A)));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35) return QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1);
    return QKeySequence(key).toString(QKeySequence::PortableText);
}

// The first key combination of a shortcut in GTK's form: "<Control>n".
QString GtkAccelerator(const QKeySequence& shortcut) {
    if (shortcut.isEmpty()) return {};
    const QKeyCombination combination = shortcut[0];
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    QString text;
    if (modifiers & Qt::ControlModifier) text += QStringLiteral("<Control>");
    if (modifiers & Qt::ShiftModifier) text += QStringLiteral("<Shift>");
    if (modifiers & Qt::AltModifier) text += QStringLiteral("<Alt>");
    if (modifiers & Qt::MetaModifier) text += QStringLiteral("<Super>");
    return text + GtkKeyName(combination.key());
}

// The access key of a caption ("&New Game " gives "n"), or an empty string.
QString MnemonicKey(const QString& caption) {
    const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
    return mnemonic.isEmpty() ? QString() : GtkKeyName(mnemonic[0].key());
}

// The menu or menu bar that shows an action, or nullptr.
QWidget* MenuOwner(const QAction* action) {
    const auto owners = action->associatedObjects();
    for (QObject* owner : owners)
        if (qobject_cast<QMenu*>(owner) || qobject_cast<QMenuBar*>(owner)) return static_cast<QWidget*>(owner);
    return nullptr;
}

// The access keys that reach an action from its window: "<Alt>g:n" for New Game in the Game menu; empty
// where a menu on the way has no access key.
QString MnemonicPath(const QAction* action, int depth = 0) {
    const QString key = MnemonicKey(action->text());
    QWidget* owner = MenuOwner(action);
    if (key.isEmpty() || !owner || depth > 8) return {};
    if (qobject_cast<QMenuBar*>(owner)) return QStringLiteral("<Alt>") + key;
    const QString above = MnemonicPath(static_cast<QMenu*>(owner)->menuAction(), depth + 1);
    return above.isEmpty() ? QString() : above + u':' + key;
}

QString StripAccessKeys(QString caption) {
    for (qsizetype i = 0; i < caption.size(); ++i)
        if (caption[i] == u'&') caption.remove(i, 1);  // "&&" leaves one "&", which the loop then steps over
    return caption;
}

// A menu item (an action in a menu or in the menu bar). It behaves as Qt's own, except for its key
// binding: Qt gives only the shortcut ("Ctrl+N"), which Orca does not read, while Orca reads the form
// GTK gives, "mnemonic;path;accelerator" ("n;<Alt>g:n;<Control>n").
class MenuItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    MenuItemAccessible(QWidget* owner, QAction* action) : owner_(owner), action_(action) {}

    bool isValid() const override { return owner_ && action_; }
    QObject* object() const override { return action_; }
    QWindow* window() const override { return owner_ ? owner_->window()->windowHandle() : nullptr; }

    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(owner_.data()); }
    int childCount() const override { return action_ && action_->menu() ? 1 : 0; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 && childCount() == 1 ? QAccessible::queryAccessibleInterface(action_->menu()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && childCount() == 1 && child->object() == action_->menu() ? 0 : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        QAccessibleInterface* menu = child(0);
        return menu && menu->rect().contains(x, y) ? menu : nullptr;
    }

    QString text(QAccessible::Text t) const override {
        if (!action_) return {};
        switch (t) {
        case QAccessible::Name: return StripAccessKeys(action_->text());
        case QAccessible::Accelerator:
            if (!action_->shortcut().isEmpty()) return action_->shortcut().toString(QKeySequence::NativeText);
            if (const QKeySequence key = QKeySequence::mnemonic(action_->text()); !key.isEmpty())
                return key.toString(QKeySequence::NativeText);
            return {};
        default: return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!action_) return {};
        if (auto* bar = qobject_cast<QMenuBar*>(owner_.data()))
            return bar->actionGeometry(action_).translated(bar->mapToGlobal(QPoint(0, 0)));
        if (auto* menu = qobject_cast<QMenu*>(owner_.data()))
            return menu->actionGeometry(action_).translated(menu->mapToGlobal(QPoint(0, 0)));
        return {};
    }

    // Qt's bridge to AT-SPI knows no check menu item and passes no checkable state on, so a screen reader
    // could only tell a check item that is on ("checked") and would say nothing of one that is off. A check
    // item is therefore a check box, whose two states Orca reads: "checked" and "not checked".
    QAccessible::Role role() const override {
        if (!action_) return QAccessible::MenuItem;
        if (action_->isSeparator()) return QAccessible::Separator;
        return action_->isCheckable() ? QAccessible::CheckBox : QAccessible::MenuItem;
    }

    QAccessible::State state() const override {
        QAccessible::State s;
        if (!owner_ || !action_) {
            s.invisible = true;
            return s;
        }
        if (!owner_->testAttribute(Qt::WA_WState_Visible) || !action_->isVisible()) s.invisible = true;
        if (auto* menu = qobject_cast<QMenu*>(owner_.data())) s.focused = menu->activeAction() == action_;
        if (auto* bar = qobject_cast<QMenuBar*>(owner_.data())) s.focused = bar->activeAction() == action_;
        if (owner_->style()->styleHint(QStyle::SH_Menu_MouseTracking)) s.hotTracked = true;
        if (action_->isSeparator() || !action_->isEnabled()) s.disabled = true;
        s.checkable = action_->isCheckable();
        s.checked = action_->isChecked();
        s.hasPopup = action_->menu() != nullptr;
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override {
        if (!action_ || action_->isSeparator()) return {};
        return {action_->menu() ? showMenuAction() : pressAction()};
    }

    void doAction(const QString& name) override {
        if (!action_ || !action_->isEnabled()) return;
        if (name == pressAction()) {
            action_->trigger();
        } else if (name == showMenuAction()) {
            if (action_->menu() && action_->menu()->isVisible()) {
                action_->menu()->hide();
            } else if (auto* bar = qobject_cast<QMenuBar*>(owner_.data())) {
                bar->setActiveAction(action_);
            } else if (auto* menu = qobject_cast<QMenu*>(owner_.data())) {
                menu->setActiveAction(action_);
            }
        }
    }

    QStringList keyBindingsForAction(const QString& name) const override {
        if (!action_ || !actionNames().contains(name)) return {};
        const QString key = MnemonicKey(action_->text());
        const QString mnemonic = key.isEmpty() || !qobject_cast<QMenuBar*>(owner_.data()) ? key : "<Alt>" + key;
        const QString accelerator = GtkAccelerator(action_->shortcut());
        if (mnemonic.isEmpty() && accelerator.isEmpty()) return {};
        return {mnemonic, MnemonicPath(action_), accelerator};
    }

private:
    QPointer<QWidget> owner_;
    QPointer<QAction> action_;
};

// A menu as Qt shows it (a popup menu whose children are its items, and whose parent is the item that opens
// it), except that it also counts its check items, which are check boxes (MenuItemAccessible::role): Qt's
// own menu finds only the items and separators among its children, and a screen reader drops an object
// its parent does not count.
class MenuAccessible : public QAccessibleWidget {
public:
    explicit MenuAccessible(QMenu* menu) : QAccessibleWidget(menu, QAccessible::PopupMenu) {}

    QString text(QAccessible::Text t) const override {
        const QString text = QAccessibleWidget::text(t);
        return text.isEmpty() && t == QAccessible::Name ? Menu()->windowTitle() : text;
    }
    int childCount() const override { return static_cast<int>(Menu()->actions().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QAction*> actions = Menu()->actions();
        return index >= 0 && index < actions.size() ? QAccessible::queryAccessibleInterface(actions.at(index))
                                                    : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        auto* action = child ? qobject_cast<QAction*>(child->object()) : nullptr;
        return action ? static_cast<int>(Menu()->actions().indexOf(action)) : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        QAction* action = Menu()->actionAt(Menu()->mapFromGlobal(QPoint(x, y)));
        return action && !action->isSeparator() ? QAccessible::queryAccessibleInterface(action) : nullptr;
    }
    QAccessibleInterface* parent() const override {
        QAction* opener = Menu()->menuAction();
        if (opener && MenuOwner(opener)) return QAccessible::queryAccessibleInterface(opener);
        return QAccessibleWidget::parent();
    }

private:
    QMenu* Menu() const { return static_cast<QMenu*>(widget()); }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className == QLatin1String("quorrel::QtGrid")) {
        if (auto* grid = qobject_cast<QtGrid*>(object)) return new GridAccessible(grid);
    } else if (className == QLatin1String("QMenu")) {
        if (auto* menu = qobject_cast<QMenu*>(object)) return new MenuAccessible(menu);
    } else if (className == QLatin1String("QAction")) {
        auto* action = static_cast<QAction*>(object);
        if (QWidget* owner = MenuOwner(action)) return new MenuItemAccessible(owner, action);
    }
    return nullptr;
}

const QtGrid* GridOf(const QObject* object) {
    for (; object; object = object->parent())
        if (auto* grid = qobject_cast<const QtGrid*>(object)) return grid;
    return nullptr;
}

// Of a grid's own accessibility events, only its focus and its coming and going reach the platform's
// bridge; its cursor (the current cell), text and state changes do not, nor anything from the widgets
// inside it (viewport, header, scroll bars), which have no place in the tree. Every other event passes.
bool PassesForGrid(const QAccessibleEvent& event) {
    switch (event.type()) {
    case QAccessible::Focus: return event.child() < 0;
    case QAccessible::ObjectCreated:
    case QAccessible::ObjectDestroyed:
    case QAccessible::ObjectShow:
    case QAccessible::ObjectHide: return true;
    default: return false;
    }
}

// When a menu has closed and the focus is in a grid that never lost it (menus do not take the focus), Qt
// reports no focus change: a screen reader would stay on the menu item, and keep quiet when the same item
// comes back the next time the menu opens. The grid reports the focus itself (the reader has nothing to
// say about it). Called once the menu is gone, when the event loop is back.
void ReportFocusBackInGrid() {
    auto* grid = qobject_cast<QtGrid*>(QApplication::focusWidget());
    if (!grid || QApplication::activePopupWidget() || !grid->isActiveWindow()) return;
    QAccessibleEvent focus(grid, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

// The update handler that was there before FilterUpdate(); none, unless a test installed one.
QAccessible::UpdateHandler previousHandler = nullptr;

// A list that takes the focus reports it on its current entry. Qt reports the list alone, and its bridge
// to AT-SPI offers no selection that a screen reader could ask for the entry: Orca would say "List with 13
// items" and never which entry Enter would take. (Qt itself reports the entry when the current entry moves.)
void FocusOnCurrentEntry(QAccessibleEvent& event) {
    auto* list = qobject_cast<QListView*>(event.object());
    if (event.type() != QAccessible::Focus || event.child() >= 0 || !list || list->viewMode() != QListView::ListMode)
        return;
    if (const QModelIndex current = list->currentIndex(); current.isValid() && !list->isRowHidden(current.row()))
        event.setChild(current.row());
}

void FilterUpdate(QAccessibleEvent* event) {
    QObject* object = event->object();
    if (const QtGrid* grid = GridOf(object); grid && (object != grid || !PassesForGrid(*event))) return;
    FocusOnCurrentEntry(*event);
    if (previousHandler) {
        previousHandler(event);
    } else {
        // The bridge gets the event as it would without a handler: Qt offers no other way to pass it on.
        QAccessible::installUpdateHandler(nullptr);
        QAccessible::updateAccessibility(event);
        QAccessible::installUpdateHandler(&FilterUpdate);
    }
    if (event->type() == QAccessible::PopupMenuEnd) QTimer::singleShot(0, qApp, &ReportFocusBackInGrid);
}

}  // namespace

void InstallQuietGridAccessibility() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(&Factory);
    previousHandler = QAccessible::installUpdateHandler(&FilterUpdate);
}

}  // namespace quorrel
