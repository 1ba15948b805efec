// The accessibility of the grids and the menu items, on the offscreen platform: what a screen reader is shown and told.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <vector>

#include "app/Menus.h"
#include "platform/qt/QtAccessibility.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtMainWindow.h"

namespace quorrel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct Seen {
    QObject* object;
    QAccessible::Event type;
    int child;
};

// Everything the grids' filter passes on. Without a screen reader Qt sends no accessibility events (and
// the offscreen platform has no bridge that could turn them on), so the tests hand events to the filter.
std::vector<Seen> seen;
void Record(QAccessibleEvent* event) { seen.push_back({event->object(), event->type(), event->child()}); }
QAccessible::UpdateHandler filter = nullptr;

struct Accessibility : ::testing::Test {
    static void SetUpTestSuite() {
        // The recorder stands for the platform's bridge, which the filter passes the events on to.
        QAccessible::installUpdateHandler(&Record);
        InstallQuietGridAccessibility();
        filter = QAccessible::installUpdateHandler(nullptr);
        QAccessible::installUpdateHandler(filter);
    }
    void SetUp() override {
        window.Menus().Build(MenuTree());
        for (QtGrid* grid : Grids()) {
            grid->SetRows(3);
            grid->SetCols(4);
            grid->SetFixedRows(1);
            grid->SetVisible(true);
        }
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        window.ColumnGrid()->SetFocus();
        seen.clear();
    }
    std::vector<QtGrid*> Grids() { return {window.ColumnGrid(), window.FreeCellGrid(), window.HomeCellGrid()}; }
    // Whether the filter passes an event on.
    bool Passes(QAccessibleEvent&& event) {
        seen.clear();
        filter(&event);
        return seen.size() == 1 && seen[0].object == event.object() && seen[0].type == event.type();
    }
    bool Passes(QObject* object, QAccessible::Event type, int child = -1) {
        QAccessibleEvent event(object, type);
        event.setChild(child);
        return Passes(std::move(event));
    }
    QAccessibleInterface* Item(int id) {
        return QAccessible::queryAccessibleInterface(window.MenuActions().Action(id));
    }
    QStringList Binding(QAccessibleInterface* item) {
        QAccessibleActionInterface* actions = item->actionInterface();
        return actions ? actions->keyBindingsForAction(actions->actionNames().value(0)) : QStringList{"no actions"};
    }

    QtMainWindow window;
};

TEST_F(Accessibility, AGridIsOneFocusableObjectWithoutTextLabelsOrCells) {
    for (QtGrid* grid : Grids()) {
        SCOPED_TRACE(grid->objectName().toStdString());
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(grid);
        ASSERT_NE(iface, nullptr);
        EXPECT_EQ(iface->role(), QAccessible::Client);
        for (auto text : {QAccessible::Name, QAccessible::Description, QAccessible::Value, QAccessible::Help})
            EXPECT_EQ(iface->text(text), QString());
        EXPECT_THAT(iface->relations(), IsEmpty());  // not even the label that names it on screen
        EXPECT_EQ(iface->childCount(), 0);
        EXPECT_EQ(iface->tableInterface(), nullptr);
        EXPECT_TRUE(iface->state().focusable);
        EXPECT_EQ(iface->state().focused, grid == window.ColumnGrid());
    }
}

TEST_F(Accessibility, OfAGridOnlyItsOwnFocusAndVisibilityPassTheFilter) {
    QtGrid* grid = window.ColumnGrid();
    EXPECT_TRUE(Passes(grid, QAccessible::Focus));
    EXPECT_TRUE(Passes(grid, QAccessible::ObjectShow));
    EXPECT_TRUE(Passes(grid, QAccessible::ObjectHide));
    EXPECT_FALSE(Passes(grid, QAccessible::Focus, 5));  // the current cell
    EXPECT_FALSE(Passes(grid, QAccessible::NameChanged));
    EXPECT_FALSE(Passes(QAccessibleValueChangeEvent(grid, 3)));
    QAccessible::State focused;
    focused.focused = true;
    EXPECT_FALSE(Passes(QAccessibleStateChangeEvent(grid, focused)));
    EXPECT_FALSE(Passes(QAccessibleTableModelChangeEvent(grid, QAccessibleTableModelChangeEvent::DataChanged)));
    EXPECT_FALSE(Passes(grid->viewport(), QAccessible::Focus));
    EXPECT_FALSE(Passes(grid->horizontalHeader(), QAccessible::ObjectShow));
    EXPECT_FALSE(Passes(QAccessibleValueChangeEvent(grid->verticalScrollBar(), 1)));

    EXPECT_TRUE(Passes(&window, QAccessible::NameChanged));
    EXPECT_TRUE(Passes(window.menuBar(), QAccessible::Focus, 0));
}

// A report of the current cell must find an object, or Qt warns on every move of the cursor.
TEST_F(Accessibility, AReportOfTheCurrentCellFindsAnObject) {
    QAccessibleEvent cell(window.ColumnGrid(), QAccessible::Focus);
    cell.setChild(6);
    QAccessibleInterface* found = cell.accessibleInterface();
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->object(), window.ColumnGrid()->viewport());
}

TEST_F(Accessibility, MenuItemsGiveAccessKeysAndShortcutsInTheFormOrcaReads) {
    EXPECT_THAT(Binding(Item(mnuGameNew)), ElementsAre("n", "<Alt>g:n", "<Control>n"));
    EXPECT_THAT(Binding(Item(mnuGameExit)), ElementsAre("x", "<Alt>g:x", ""));
    EXPECT_THAT(Binding(Item(mnuOptionsNextCard)), ElementsAre("n", "<Alt>o:n", "F8"));
    EXPECT_THAT(Binding(Item(mnuHelpContents)), ElementsAre("h", "<Alt>h:h", ""));
    EXPECT_THAT(Binding(Item(mnuPlayUndo)), ElementsAre("u", "<Alt>p:u", "<Control>z"));
    EXPECT_THAT(Binding(Item(mnuPlayRedo)), ElementsAre("r", "<Alt>p:r", "<Control>y"));
    EXPECT_THAT(Binding(Item(mnuPlayRestart)), ElementsAre("s", "<Alt>p:s", "<Control>r"));
    EXPECT_THAT(Binding(Item(mnuPlayDealNumber)), ElementsAre("d", "<Alt>p:d", "<Control>g"));
    QAction* gameMenu = window.menuBar()->actions().value(0);
    EXPECT_THAT(Binding(QAccessible::queryAccessibleInterface(gameMenu)), ElementsAre("<Alt>g", "<Alt>g", ""));
}

TEST_F(Accessibility, MenuItemsKeepTheirNamesRolesStatesAndPlaceInTheTree) {
    QAccessibleInterface* item = Item(mnuGameNew);
    EXPECT_EQ(item->text(QAccessible::Name), "New Game ");
    EXPECT_EQ(item->role(), QAccessible::MenuItem);
    EXPECT_FALSE(item->state().checkable);

    QMenu* game = window.menuBar()->actions().value(0)->menu();
    EXPECT_EQ(item->parent()->object(), game);
    QAccessibleInterface* menuIface = QAccessible::queryAccessibleInterface(game);
    EXPECT_EQ(menuIface->child(0), item);
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(game->menuAction());
    EXPECT_EQ(bar->text(QAccessible::Name), "Game");
    ASSERT_EQ(bar->childCount(), 1);
    EXPECT_EQ(bar->child(0)->object(), game);
    EXPECT_EQ(bar->parent()->object(), window.menuBar());

    window.Menus().SetEnabled(mnuGameSave, false);
    EXPECT_TRUE(Item(mnuGameSave)->state().disabled);

    // Pressing it runs the item.
    int clicked = 0;
    window.Menus().OnClick = [&clicked](int id) { clicked = id; };
    item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicked, mnuGameNew);
}

// Qt's bridge passes neither a checkable state nor a check menu item on, so a check item is a check box,
// whose "not checked" a screen reader reads too. Its menu still counts it, or the reader drops it.
TEST_F(Accessibility, ACheckItemIsACheckBoxInItsMenu) {
    QAccessibleInterface* speak = Item(mnuOptionsSpeakColumns);
    EXPECT_EQ(speak->role(), QAccessible::CheckBox);
    EXPECT_EQ(speak->text(QAccessible::Name), "Speak Column Numbers ");
    for (bool checked : {true, false}) {
        window.Menus().SetChecked(mnuOptionsSpeakColumns, checked);
        EXPECT_TRUE(speak->state().checkable);
        EXPECT_EQ(speak->state().checked, checked);
    }
    QAccessibleInterface* options = speak->parent();
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->role(), QAccessible::PopupMenu);
    const int index = options->indexOfChild(speak);
    ASSERT_GE(index, 0);
    EXPECT_EQ(options->child(index), speak);
    EXPECT_EQ(options->parent()->text(QAccessible::Name), "Options");
}

// Qt reports the focus of a list on the list alone, and offers no selection to ask for its entry.
TEST_F(Accessibility, AListThatTakesTheFocusReportsItOnItsCurrentEntry) {
    QListWidget list;
    list.addItems({"Ace", "2", "3", "4"});
    list.setCurrentRow(2);
    seen.clear();
    QAccessibleEvent focus(&list, QAccessible::Focus);
    filter(&focus);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].child, 2);
    EXPECT_EQ(focus.accessibleInterface()->text(QAccessible::Name), "3");
}

TEST_F(Accessibility, TheAboutDialogGivesItsVersionAsItsDescription) {
    QtAboutDialog about(&window);
    about.SetVersion("Version 1.0.0");
    EXPECT_EQ(about.VersionLabel()->text(), "Version 1.0.0");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&about)->text(QAccessible::Description), "Version 1.0.0");
}

}  // namespace
}  // namespace quorrel
