// The Qt main window.
#include "platform/qt/QtMainWindow.h"
#include "platform/qt/QtUnits.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <vector>

// Qt's own way to offer a key to the shortcuts, as its test library does: a shortcut override to the
// object, then, unless that accepts it, the shortcut map. True when a shortcut ran.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text, bool autorep, ushort count);
QT_END_NAMESPACE

#include "cards/CardMod.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtKeys.h"
#include "platform/qt/QtModal.h"
#include "texts/Texts.h"

namespace quorrel {

namespace {

// Gives each grid the room its cells need: a grid keeps its place, and grows to the right and down where
// its cells need more than the place's size. The client area (and with it the window) grows by as much as
// the grids reach past their places.
class GridPlaces : public QObject {
public:
    GridPlaces(QWidget* client, std::vector<QtGrid*> grids)
        : QObject(client), client_(client), grids_(std::move(grids)) {
        base_ = client->size();
        for (QtGrid* grid : grids_) {
            placed_.push_back(grid->geometry());
            QObject::connect(grid, &QtGrid::CellsSizeChanged, this, [this] { Fit(); });
        }
        Fit();
    }

private:
    void Fit() {
        int wider = 0, higher = 0;
        for (size_t i = 0; i < grids_.size(); ++i) {
            grids_[i]->resize(placed_[i].size().expandedTo(grids_[i]->CellsSize()));
            wider = std::max(wider, grids_[i]->geometry().right() - placed_[i].right());
            higher = std::max(higher, grids_[i]->geometry().bottom() - placed_[i].bottom());
        }
        client_->setFixedSize(base_ + QSize(wider, higher));
    }

    QWidget* client_;
    std::vector<QtGrid*> grids_;
    std::vector<QRect> placed_;
    QSize base_;
};

}  // namespace

void QtMenus::Build(const std::vector<MenuEntry>& tree) {
    window_->menuBar()->clear();
    actions_.clear();
    for (const auto& menuEntry : tree) AddItems(window_->menuBar()->addMenu(Q(menuEntry.Caption)), menuEntry.Items);
}

void QtMenus::AddItems(QMenu* menu, const std::vector<MenuItemEntry>& items) {
    for (const auto& itemEntry : items) {
        if (itemEntry.SeparatorBefore) menu->addSeparator();
        if (!itemEntry.Submenu.empty()) {
            AddItems(menu->addMenu(Q(itemEntry.Caption)), itemEntry.Submenu);
            continue;
        }
        QAction* action = menu->addAction(Q(itemEntry.Caption));
        if (!itemEntry.Shortcut.empty()) {
            // The first is the one the menu shows and the one assistive technologies are given.
            QList<QKeySequence> shortcuts = {QKeySequence(Q(itemEntry.Shortcut))};
            for (const auto& other : itemEntry.OtherShortcuts) shortcuts.append(QKeySequence(Q(other)));
            action->setShortcuts(shortcuts);
        }
        action->setAutoRepeat(itemEntry.Repeats);
        action->setCheckable(itemEntry.Checkable);
        const int id = itemEntry.Id;
        QObject::connect(action, &QAction::triggered, window_, [this, action, id](bool checked) {
            // Only the program changes check marks: undo Qt's own toggle before the handler runs.
            if (action->isCheckable()) action->setChecked(!checked);
            if (OnClick) OnClick(id);
        });
        actions_[id] = action;
    }
}

QAction* QtMenus::Action(int id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void QtMenus::SetEnabled(int id, bool enabled) {
    if (QAction* action = Action(id)) action->setEnabled(enabled);
}

bool QtMenus::IsEnabled(int id) const {
    QAction* action = Action(id);
    return action && action->isEnabled();
}

void QtMenus::SetChecked(int id, bool checked) {
    if (QAction* action = Action(id)) action->setChecked(checked);
}

bool QtMenus::IsChecked(int id) const {
    QAction* action = Action(id);
    return action && action->isChecked();
}

QtMainWindow::QtMainWindow() : menus_(this) {
    setWindowTitle(Q(texts::ProgramName));
    auto* client = new QWidget(this);
    setCentralWidget(client);
    client->setFixedSize(Px(this, 7995), Px(this, 6015));

    column_ = new QtGrid(client);
    freeCell_ = new QtGrid(client);
    homeCell_ = new QtGrid(client);
    column_->setObjectName("Column");
    freeCell_->setObjectName("FreeCell");
    homeCell_->setObjectName("HomeCell");
    column_->setAccessibleName(Q(texts::LabelColumns));
    freeCell_->setAccessibleName(Q(texts::LabelFree));
    homeCell_->setAccessibleName(Q(texts::LabelHome));
    Place(column_, 1000, 2500, 6000, 3000);
    Place(freeCell_, 1000, 1000, 1500, 500);
    Place(homeCell_, 5500, 1000, 1500, 500);
    auto* lblFree = new QLabel(Q(texts::LabelFree), client);
    auto* lblHome = new QLabel(Q(texts::LabelHome), client);
    auto* lblColumn = new QLabel(Q(texts::LabelColumns), client);
    Place(lblFree, 500, 1000, 500, 255);
    Place(lblHome, 5000, 1000, 500, 255);
    Place(lblColumn, 200, 2500, 800, 255);
    lblFree->setBuddy(freeCell_);
    lblHome->setBuddy(homeCell_);
    lblColumn->setBuddy(column_);
    // The cells hold card codes and the column numbers: each cell is made wide enough for any card code.
    QStringList cardCodes;
    for (int card = 1; card <= 52; ++card) cardCodes << Q(DetermineCard(card));
    for (QtGrid* grid : {column_, freeCell_, homeCell_}) grid->SetTextsToFit(cardCodes);
    new GridPlaces(client, {column_, freeCell_, homeCell_});
    QWidget::setTabOrder(column_, freeCell_);
    QWidget::setTabOrder(freeCell_, homeCell_);
    for (QtGrid* grid : {column_, freeCell_, homeCell_}) grid->setVisible(false);

    // Key preview: the window sees every key before the widget that has the focus.
    qApp->installEventFilter(this);
}

QtMainWindow::~QtMainWindow() { qApp->removeEventFilter(this); }

// Shortcuts wait for their key press, so that they run in the order of the keys. With a screen reader,
// the accessibility bridge holds every key press back until the screen reader has seen it, but Qt runs a
// shortcut as soon as its key comes in: on a busy machine a shortcut overtook the keys typed before it,
// and the Alt of Alt+H, delivered late to the Help menu that Alt+H had just opened, closed it again.
// Offering a shortcut's key to the focus widget first ("shortcut override") and accepting it there
// stops Qt from running the shortcut then; when the key press itself comes, the shortcut is looked up
// again and runs, or the key goes on to the focus widget as before.
bool QtMainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && !lookingUpShortcut_) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            event->accept();
            return true;
        }
    }
    if (event->type() == QEvent::ApplicationStateChange && qApp->applicationState() != Qt::ApplicationActive) {
        // Another program takes the keyboard: the releases of the keys down now go there.
        keysDown_.clear();
    }
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) && qobject_cast<QWindow*>(watched) &&
        !resending_)
        NoteKey(static_cast<const QKeyEvent&>(*event));
    if (event->type() != QEvent::KeyPress) return QMainWindow::eventFilter(watched, event);
    // A key the bridge held back is handed on to the window it came to. When that was a menu that has
    // closed meanwhile (the first of two quick Escapes closed it), the key goes to the window that has
    // the keyboard now, instead of being lost.
    if (auto* gone = qobject_cast<QWindow*>(watched); gone && !gone->isVisible()) {
        QWidget* now = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                         : QApplication::activeWindow();
        if (now && now->windowHandle() && now->windowHandle() != gone) {
            resending_ = true;
            QCoreApplication::sendEvent(now->windowHandle(), event);
            resending_ = false;
            return true;
        }
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    QWidget* focus = QApplication::focusWidget();
    // A key is delivered to the focus widget first and then to its parents; handle it only once.
    const bool first = widget && widget->window() == this && (widget == focus || (!focus && widget == this));
    if (!first) return QMainWindow::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    // The press as its window was given it, noted there; a key sent straight to a widget was not.
    const bool held = event == notedPress_ ? pressHeld_ : key->isAutoRepeat();
    // A highlighted menu bar takes its access letters before the shortcuts that are plain keys (F, H,
    // Space, the digits), as it would without them.
    const bool menuBars = KeyIsTheMenuBars(widget, *key);
    const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (!(menuBars && plain) && RunShortcut(widget, *key, held)) return true;
    if (OnKeyPreview && !menuBars) {
        const int code = ToKeyCode(key->key());
        if (code) OnKeyPreview(code, ToShiftState(key->modifiers()), held);
    }
    return QMainWindow::eventFilter(watched, event);
}

// While the menu bar is highlighted (after Alt alone, or after Escape closed one of its menus), the keys
// it walks its menus with are its own; the function keys mean nothing to it and stay the window's. Once
// it is no longer highlighted it may still hold the focus (Qt gives the focus back only to a widget that
// had it before, and before the first deal no widget of the window takes the focus), and then every key
// is the window's again. A menu that is open keeps every key: those it has no use for it hands on to
// the menu bar, and they come here as the menu bar's.
bool QtMainWindow::KeyIsTheMenuBars(QWidget* focus, const QKeyEvent& key) {
    if (QApplication::activePopupWidget()) return true;
    auto* bar = qobject_cast<QMenuBar*>(focus);
    if (!bar || !bar->activeAction()) return false;
    return key.key() < Qt::Key_F1 || key.key() > Qt::Key_F35;
}

// A key held down repeats. Qt marks a repeat as such only now and then: the X server's repeats come
// as presses without releases between them (Qt asks for that), and then Qt marks none; or as a release
// and a press that share their timestamp, which Qt marks only when both are already there when it reads
// the release. So a press is a repeat when Qt says so, when no release of its key came since the key's
// last press, or when it follows a release of its key at the very same time. Keys are told apart by
// their scan code. Every window of the program is watched, since a key pressed on one may be released
// on another, and whatever is down is forgotten when another program takes the keyboard.
void QtMainWindow::NoteKey(const QKeyEvent& key) {
    const quint32 code = key.nativeScanCode() != 0 ? key.nativeScanCode() : static_cast<quint32>(key.key());
    if (key.type() == QEvent::KeyRelease) {
        if (key.isAutoRepeat()) return;  // the release half of a repeat Qt has recognised
        keysDown_.erase(code);
        lastRelease_ = {code, key.timestamp()};
        return;
    }
    pressHeld_ = key.isAutoRepeat() || keysDown_.count(code) != 0 ||
                 (lastRelease_ && lastRelease_->first == code && lastRelease_->second == key.timestamp() &&
                  key.timestamp() != 0);
    keysDown_.insert(code);
    notedPress_ = &key;
}

namespace {
// The keys of the main row's digits count by their place on the keyboard: with Shift they type other
// characters ("%" for Shift+5 on many layouts, and on some layouts without Shift too), but the game's
// keys are the digits' places. The X server and Wayland number them 10 to 19, 1 to 9 and 0.
int DigitRowKey(const QKeyEvent& key) {
    if (key.modifiers() & Qt::KeypadModifier) return 0;
    static const bool xkb = QGuiApplication::platformName() == "xcb" || QGuiApplication::platformName() == "wayland";
    const quint32 code = key.nativeScanCode();
    if (!xkb || code < 10 || code > 19) return 0;
    return code == 19 ? Qt::Key_0 : Qt::Key_1 + static_cast<int>(code - 10);
}
}  // namespace

bool QtMainWindow::RunShortcut(QWidget* focus, const QKeyEvent& key, bool held) {
    lookingUpShortcut_ = true;
    const int digit = DigitRowKey(key);
    // A repeat runs only the shortcuts that repeat.
    const bool ran = qt_sendShortcutOverrideEvent(focus, key.timestamp(), digit ? digit : key.key(), key.modifiers(),
                                                  key.text(), held, static_cast<ushort>(key.count()));
    lookingUpShortcut_ = false;
    return ran;
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
    if (OnUnload && !OnUnload()) {
        event->ignore();
        return;
    }
    event->accept();
}

void QtMainWindow::BeginModalChain() { quorrel::BeginModalChain(); }

void QtMainWindow::EndModalChain() { quorrel::EndModalChain(); }

std::unique_ptr<IFindView> QtMainWindow::CreateFindDialog() { return std::make_unique<QtFindDialog>(this); }

std::unique_ptr<IAboutView> QtMainWindow::CreateAboutDialog() { return std::make_unique<QtAboutDialog>(this); }

std::unique_ptr<IDealNumberView> QtMainWindow::CreateDealNumberDialog() {
    return std::make_unique<QtDealNumberDialog>(this);
}

std::unique_ptr<IVoiceView> QtMainWindow::CreateVoiceDialog() { return std::make_unique<QtVoiceDialog>(this); }

std::string QtMainWindow::Caption() const { return windowTitle().toStdString(); }

void QtMainWindow::SetCaption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }

void QtMainWindow::Show() { show(); }

void QtMainWindow::Close() { close(); }

void QtMainWindow::UnloadOtherWindows() {
    const auto windows = QApplication::topLevelWidgets();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (*it != this && (*it)->isVisible()) (*it)->close();
}

}  // namespace quorrel
