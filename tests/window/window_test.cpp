// The Qt main window with the game behind it: the menu bar, key preview, grids and dialogs, driven with
// real key events. Speech, message boxes and the clock are the in-memory ones.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/GameScreen.h"
#include "app/Menus.h"
#include "app/Module1.h"
#include "platform/memory/MemoryPlatform.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtMainWindow.h"
#include "support/QtTestKeys.h"
#include "support/TestTable.h"

namespace quorrel {
namespace {

using ::testing::ElementsAre;

struct Window : ::testing::Test, test::MemoryServices {
    void SetUp() override {
        window.OnKeyPreview = [this](int key, int shift, bool held) { screen.Form_KeyDown(key, shift, held); };
        window.OnUnload = [this] { return screen.Form_Unload(); };
        Main(screen);
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void Deal() {
        test::Type(window, Qt::Key_N, Qt::ControlModifier);
        ASSERT_TRUE(window.ColumnGrid()->hasFocus());
    }
    QAction* Item(int id) { return window.MenuActions().Action(id); }
    // Runs an action on the next modal dialog once it is shown.
    void WhenDialogShows(std::function<void(QDialog*)> act) {
        QTimer::singleShot(0, [this, act] {
            ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            QApplication::setActiveWindow(dialog);
            ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
            act(dialog);
        });
    }
    // After a dialog the main window takes the keys again once it is active.
    void BackToTheWindow() {
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QtMainWindow window;
    Platform platform = On(window);
    GameState state;
    GameScreen screen{state, platform};
};

TEST_F(Window, TheMenuBarShowsTheTreeWithItsShortcuts) {
    const auto menus = window.menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    std::vector<std::string> items;
    for (QAction* menu : menus) {
        items.push_back("[" + menu->text().toStdString() + "]");
        for (QAction* item : menu->menu()->actions())
            items.push_back(item->isSeparator()
                                ? "---"
                                : item->text().toStdString() + "|" + item->shortcut().toString().toStdString() +
                                      (item->isCheckable() ? "|check" : ""));
    }
    EXPECT_THAT(items,
                ElementsAre("[&Game]", "&New Game |Ctrl+N", "&Open Game... |Ctrl+O", "&Save Game |Ctrl+S",
                            "S&ave Game As... |", "E&xit Program|", "[&Options]", "&Find A Card... |Ctrl+F",
                            "&Previous Card In Suite |F7", "&Next Card In Suite |F8",
                            "Previous Card In &Bottom Row |F5", "Next &Card In Bottom Row |F6",
                            "&Speak Column Numbers ||check", "Move Safe Cards &Home||check", "B&rief Speech||check",
                            "S&ounds||check", "Lo&uder Sounds|", "Sof&ter Sounds|", "---", "Sp&eech|", "[&Play]",
                            "&Undo Move|Ctrl+Z", "&Redo Move|Ctrl+Y", "Re&start This Deal|Ctrl+R",
                            "&Deal Game Number... |Ctrl+G", "&Hint|Ctrl+H", "Can This Game Be &Won?|Ctrl+Shift+H",
                            "---", "Read This &Column|F9", "Read The &Table|Shift+F9", "Read The &Bottom Row|F11",
                            "St&atistics|Ctrl+T", "---", "&Quick Move|Space", "Move To A &Free Cell|F",
                            "Move To The H&ome Cells|H", "Co&lumn Keys|", "Move Ru&n To Column|", "Fr&ee Cell Keys|",
                            "[&Help]", "&Help Topics F1|", "&About Quorrel|"));
    // The submenus' items: a column's digit, on the keypad too; Shift with it; Alt with a free cell's.
    EXPECT_EQ(Item(mnuPlayColumn1 + 7)->shortcuts(), QList<QKeySequence>({QKeySequence("8"), QKeySequence("Num+8")}));
    EXPECT_EQ(Item(mnuPlayRun1)->shortcut(), QKeySequence("Shift+1"));
    EXPECT_EQ(Item(mnuPlayFreeCell1 + 3)->shortcut(), QKeySequence("Alt+4"));
    EXPECT_EQ(Item(mnuPlayRedo)->shortcuts(),
              QList<QKeySequence>({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
    EXPECT_TRUE(Item(mnuOptionsSpeakColumns)->isChecked());
}

TEST_F(Window, StartsWithHiddenGridsAndTheGameCommandsOff) {
    EXPECT_FALSE(window.ColumnGrid()->isVisible());
    EXPECT_FALSE(window.FreeCellGrid()->isVisible());
    EXPECT_FALSE(window.HomeCellGrid()->isVisible());
    EXPECT_EQ(window.windowTitle(), "Quorrel");
    for (int id : {mnuGameSave, mnuGameSaveAs, mnuOptionsFind, mnuOptionsPreviousCard, mnuOptionsNextCard,
                   mnuOptionsPreviousBottom, mnuOptionsNextBottom})
        EXPECT_FALSE(Item(id)->isEnabled()) << id;
    reader.Transcript.clear();
    test::Type(window, Qt::Key_F6);  // a disabled item's shortcut does nothing
    test::Type(window, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(reader.Transcript.empty());
}

TEST_F(Window, CtrlNDealsAndTheColumnGridAnnouncesItself) {
    reader.Transcript.clear();
    Deal();
    EXPECT_TRUE(window.ColumnGrid()->isVisible());
    EXPECT_EQ(window.windowTitle(), "Untitled.qrl - Quorrel");
    for (int id : {mnuGameSave, mnuOptionsFind, mnuOptionsNextBottom}) EXPECT_TRUE(Item(id)->isEnabled()) << id;
    ASSERT_GE(reader.Transcript.size(), 5u);
    EXPECT_EQ(reader.Transcript[1], "Shuffeling cards, please wait!");
    EXPECT_EQ(reader.SinceLastStop().front(), " Columns ");
    EXPECT_EQ(reader.SinceLastStop().size(), 2u);
}

TEST_F(Window, ArrowsTabAndEnterReachTheGameOnce) {
    Deal();
    reader.Mark();
    QTest::keyClick(window.ColumnGrid(), Qt::Key_Right);
    EXPECT_EQ(reader.SinceMark().at(1), " Column  2");

    reader.Mark();
    QTest::keyClick(window.ColumnGrid(), Qt::Key_Tab);
    EXPECT_TRUE(window.FreeCellGrid()->hasFocus());
    EXPECT_THAT(reader.SinceMark(), ElementsAre("<stop>", " Free Cells ", " Empty "));
    QTest::keyClick(window.FreeCellGrid(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(window.ColumnGrid()->hasFocus());
    // Tab goes round the three grids only.
    QTest::keyClick(window.ColumnGrid(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(window.HomeCellGrid()->hasFocus());
    QTest::keyClick(window.HomeCellGrid(), Qt::Key_Tab);
    EXPECT_TRUE(window.ColumnGrid()->hasFocus());

    // Enter on the bottom card of column 2 (row 7 is empty there: six cards in columns 5 to 8 only).
    for (int i = 0; i < 5; ++i) QTest::keyClick(window.ColumnGrid(), Qt::Key_Down);
    ASSERT_EQ(window.ColumnGrid()->Row(), 6);
    reader.Mark();
    QTest::keyClick(window.ColumnGrid(), Qt::Key_Down);
    QTest::keyClick(window.ColumnGrid(), Qt::Key_Return);
    EXPECT_EQ(state.CardSelected, -1);
    EXPECT_EQ(state.SelectedRow, 7);
    EXPECT_EQ(reader.Transcript.back(), " selected ");

    // F2 is seen once by the window, though the grid gets the key too.
    reader.Mark();
    QTest::keyClick(window.ColumnGrid(), Qt::Key_F2);
    EXPECT_EQ(reader.SinceMark().size(), 12u);
    reader.Mark();
    QTest::keyClick(window.ColumnGrid(), Qt::Key_Escape);
    EXPECT_EQ(reader.Transcript.back(), " unselected ");
    EXPECT_EQ(state.CardSelected, 0);
}

// Holds key presses back and hands them on later, as the accessibility bridge does while a screen
// reader looks at each key first.
struct KeyHolder : QObject {
    KeyHolder() { qApp->installEventFilter(this); }
    ~KeyHolder() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* target, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !event->spontaneous()) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        held.emplace_back(target,
                          std::make_unique<QKeyEvent>(QEvent::KeyPress, key->key(), key->modifiers(), key->text()));
        return true;
    }
    void HandOn() {
        auto keys = std::move(held);
        for (auto& [target, key] : keys) QCoreApplication::sendEvent(target, key.get());
    }
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QKeyEvent>>> held;
};

TEST_F(Window, ShortcutsWaitForTheKeysTypedBeforeThem) {
    Deal();
    const int bottom = state.BottomCursor;
    KeyHolder holder;
    reader.Mark();
    test::Type(window, Qt::Key_Right);
    test::Type(window, Qt::Key_F6);
    EXPECT_TRUE(reader.SinceMark().empty());
    EXPECT_EQ(state.BottomCursor, bottom);
    holder.HandOn();
    EXPECT_NE(state.BottomCursor, bottom);
    const auto said = reader.SinceMark();
    ASSERT_EQ(said.at(1), " Column  2");  // the arrow's cell first, then the reading
    EXPECT_NE(std::find(said.begin() + 2, said.end(), "<stop>"), said.end());
}

TEST_F(Window, HeldKeysStartNoNewReadingOrDeal) {
    Deal();
    reader.Mark();
    QTest::simulateEvent(window.ColumnGrid(), true, Qt::Key_F3, Qt::NoModifier, QString(), true);
    QTest::simulateEvent(window.ColumnGrid(), true, Qt::Key_N, Qt::ControlModifier, QString(), true);
    EXPECT_TRUE(reader.SinceMark().empty());
    test::Type(window, Qt::Key_F3);
    EXPECT_FALSE(reader.SinceMark().empty());
}

// The window system's repeats of a held key may come unmarked: a press with no release since the last
// press of the same key is a repeat all the same.
TEST_F(Window, APressWithoutAReleaseSinceTheLastIsARepeat) {
    Deal();
    QWindow* handle = window.windowHandle();
    const auto readings = [&] {
        const auto said = reader.SinceMark();
        return std::count(said.begin(), said.end(), "<stop>");
    };
    reader.Mark();
    for (Qt::Key key : {Qt::Key_F3, Qt::Key_F9}) {
        QTest::keyPress(handle, key);
        QTest::keyPress(handle, key);
        QTest::keyPress(handle, key);
        QTest::keyRelease(handle, key);
    }
    EXPECT_EQ(readings(), 2);
    QTest::qWait(2);  // a press at the very time of the release would be the second half of a repeat
    QTest::keyClick(handle, Qt::Key_F9);
    EXPECT_EQ(readings(), 3);
}

TEST_F(Window, WhileTheMenuBarHasTheKeyboardTheGameKeysRest) {
    Deal();
    for (int i = 0; i < 6; ++i) test::Type(window, Qt::Key_Down);
    test::Type(window, Qt::Key_Return);
    ASSERT_EQ(state.CardSelected, -1);
    test::Type(window, Qt::Key_Alt, Qt::AltModifier);
    ASSERT_TRUE(window.menuBar()->hasFocus());
    test::Type(window, Qt::Key_Escape);
    EXPECT_EQ(state.CardSelected, -1);
}

TEST_F(Window, TheCloseBoxAsksToSaveAChangedGame) {
    Deal();
    messages.Answers = {MsgResult::No};
    window.close();
    ASSERT_EQ(messages.Asked.size(), 1u);
    EXPECT_EQ(messages.Asked[0].Text,
              "There is a game in progress.\r\nDo you want to save this game before exiting?\r\n");
    EXPECT_FALSE(window.isVisible());
}

TEST_F(Window, SpeakColumnNumbersTogglesThroughTheMenuOnly) {
    Item(mnuOptionsSpeakColumns)->trigger();
    EXPECT_FALSE(Item(mnuOptionsSpeakColumns)->isChecked());
    EXPECT_EQ(settings.Values["Quorrel/StartUp/Columns"], "Unchecked");
    Item(mnuOptionsSpeakColumns)->trigger();
    EXPECT_TRUE(Item(mnuOptionsSpeakColumns)->isChecked());
}

TEST_F(Window, TheFindDialogHasItsListsAndEnterPressesFind) {
    Deal();
    bool checked = false;
    WhenDialogShows([&](QDialog* dialog) {
        auto* find = qobject_cast<QtFindDialog*>(dialog);
        ASSERT_NE(find, nullptr);
        EXPECT_EQ(find->windowTitle(), "Find A Card");
        EXPECT_EQ(find->Cards()->count(), 13);
        EXPECT_EQ(find->Cards()->item(10)->text(), "Valé");
        EXPECT_EQ(find->Suites()->item(0)->text(), "Trèfl");
        EXPECT_EQ(find->Cards()->currentRow(), 0);
        EXPECT_EQ(find->Suites()->currentRow(), 0);
        EXPECT_TRUE(find->Cards()->hasFocus());
        QTest::keyClick(find->Cards(), Qt::Key_Tab);
        EXPECT_TRUE(find->Suites()->hasFocus());
        QTest::keyClick(find->Suites(), Qt::Key_Down);
        QTest::keyClick(find->Cards(), Qt::Key_Return);
        checked = true;
    });
    test::Type(window, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(checked);
    EXPECT_EQ(state.FindCancelled, 0);
    EXPECT_EQ(state.FindTarget, "AD");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(Window, EscapeAndTheFrameCancelTheFindDialog) {
    Deal();
    WhenDialogShows([](QDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    test::Type(window, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(state.FindCancelled, -1);
    state.FindCancelled = 0;
    BackToTheWindow();
    WhenDialogShows([](QDialog* dialog) { dialog->close(); });
    test::Type(window, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(state.FindCancelled, -1);
}

TEST_F(Window, TheAboutDialogClosesWithEnterOrEscape) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        std::string title, version;
        WhenDialogShows([&](QDialog* dialog) {
            auto* about = qobject_cast<QtAboutDialog*>(dialog);
            ASSERT_NE(about, nullptr);
            title = about->TitleLabel()->text().toStdString();
            version = about->VersionLabel()->text().toStdString();
            EXPECT_EQ(about->windowTitle(), "About Quorrel");
            QTest::keyClick(about, key);
        });
        Item(mnuHelpAbout)->trigger();
        EXPECT_EQ(title, "About ");
        EXPECT_EQ(version, "Version 1.0.0");
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        BackToTheWindow();
    }
}

TEST_F(Window, TheDealNumberDialogDealsATypedNumberOnEnterAndEscapeOrTheFrameCancels) {
    auto cancel = [this](std::function<void(QDialog*)> how) {
        WhenDialogShows(how);
        test::Type(window, Qt::Key_G, Qt::ControlModifier);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(state.GameInProgress, 0);
        BackToTheWindow();
    };
    cancel([](QDialog* dialog) {
        QTest::keyClicks(static_cast<QtDealNumberDialog*>(dialog)->Number(), "617");
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    cancel([](QDialog* dialog) { dialog->close(); });

    bool checked = false;
    WhenDialogShows([&](QDialog* dialog) {
        auto* deal = qobject_cast<QtDealNumberDialog*>(dialog);
        ASSERT_NE(deal, nullptr);
        EXPECT_EQ(deal->windowTitle(), "Deal Game Number");
        QLineEdit* number = deal->Number();
        EXPECT_TRUE(number->hasFocus());
        EXPECT_TRUE(deal->OkButton()->isDefault());
        // A screen reader names the field by its label and reads its text.
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(number);
        EXPECT_EQ(field->text(QAccessible::Name), "Game number, from 1 to 1000000:");
        QTest::keyClicks(number, "abc");
        EXPECT_EQ(field->text(QAccessible::Value), "abc");
        // Refused: the dialog stays open, the field has the focus, and the next number replaces the text.
        QTest::keyClick(number, Qt::Key_Return);
        EXPECT_EQ(messages.Asked.size(), 1u);
        EXPECT_EQ(QApplication::activeModalWidget(), deal);
        EXPECT_TRUE(number->hasFocus());
        QTest::keyClicks(number, "617");
        EXPECT_EQ(number->text(), "617");
        QTest::keyClick(number, Qt::Key_Return);
        checked = true;
    });
    test::Type(window, Qt::Key_G, Qt::ControlModifier);
    EXPECT_TRUE(checked);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(window.ColumnGrid()->TextMatrix(1, 0), "7D");
    EXPECT_TRUE(window.ColumnGrid()->hasFocus());
    EXPECT_EQ(reader.Transcript.back(), " Game number  617");
}

// The arrow keys in the first list of the voice chooser show that voice's variants in the second, each
// list named by its label; Enter in the second chooses the variant.
TEST_F(Window, TheVoiceChooserShowsTheVariantsOfTheVoiceTheArrowKeysReach) {
    reader.VoiceNames = {"Afrikaans", "Afrikaans+Adam", "German", "German+Adam", "German+Alex"};
    bool checked = false;
    WhenDialogShows([&](QDialog* dialog) {
        auto* voice = qobject_cast<QtVoiceDialog*>(dialog);
        ASSERT_NE(voice, nullptr);
        EXPECT_TRUE(voice->Groups()->hasFocus());
        EXPECT_EQ(QAccessible::queryAccessibleInterface(voice->Voices())->text(QAccessible::Name),
                  "Variants of the voice:");
        EXPECT_EQ(voice->Groups()->item(1)->text(), "German, 3 voices");
        EXPECT_EQ(voice->Voices()->count(), 2);
        QTest::keyClick(voice->Groups(), Qt::Key_Down);
        ASSERT_EQ(voice->Voices()->count(), 3);
        EXPECT_EQ(voice->Voices()->currentItem()->text(), "German");
        QTest::keyClick(voice->Groups(), Qt::Key_Tab);
        EXPECT_TRUE(voice->Voices()->hasFocus());
        QTest::keyClick(voice->Voices(), Qt::Key_Down);
        QTest::keyClick(voice->Voices(), Qt::Key_Down);
        QTest::keyClick(voice->Voices(), Qt::Key_Return);
        checked = true;
    });
    Item(mnuSpeechVoice)->trigger();
    EXPECT_TRUE(checked);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(reader.VoicesSet.back().Voice, "German+Alex");
}

}  // namespace
}  // namespace quorrel
