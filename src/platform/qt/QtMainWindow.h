// The Qt main window: the three grids, their labels and the menu bar; it turns widget events into calls
// of the game's handlers and nothing else.
#pragma once

#include <QKeyEvent>
#include <QMainWindow>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "platform/Window.h"
#include "platform/qt/QtGrid.h"

class QAction;
class QLabel;
class QMenu;

namespace quorrel {

class QtMenus : public IMenus {
public:
    explicit QtMenus(QMainWindow* window) : window_(window) {}
    void Build(const std::vector<MenuEntry>& tree) override;
    void SetEnabled(int id, bool enabled) override;
    bool IsEnabled(int id) const override;
    void SetChecked(int id, bool checked) override;
    bool IsChecked(int id) const override;
    QAction* Action(int id) const;

private:
    void AddItems(QMenu* menu, const std::vector<MenuItemEntry>& items);

    QMainWindow* window_;
    std::map<int, QAction*> actions_;
};

class QtMainWindow : public QMainWindow, public IWindow {
    Q_OBJECT
public:
    QtMainWindow();
    ~QtMainWindow() override;

    // The game's handlers this window calls: every key before the focused widget sees it (held tells a
    // repeat of a key held down), and the close box.
    std::function<void(int key, int shift, bool held)> OnKeyPreview;
    // The close box: the game's unload, which answers false when the closing must stop.
    std::function<bool()> OnUnload;

    std::string Caption() const override;
    void SetCaption(const std::string& caption) override;
    IGrid& Column() override { return *column_; }
    IGrid& FreeCell() override { return *freeCell_; }
    IGrid& HomeCell() override { return *homeCell_; }
    IMenus& Menus() override { return menus_; }
    void Show() override;
    void Close() override;
    void UnloadOtherWindows() override;
    void BeginModalChain() override;
    void EndModalChain() override;
    std::unique_ptr<IFindView> CreateFindDialog() override;
    std::unique_ptr<IAboutView> CreateAboutDialog() override;
    std::unique_ptr<IDealNumberView> CreateDealNumberDialog() override;
    std::unique_ptr<IVoiceView> CreateVoiceDialog() override;

    QtGrid* ColumnGrid() const { return column_; }
    QtGrid* FreeCellGrid() const { return freeCell_; }
    QtGrid* HomeCellGrid() const { return homeCell_; }
    QtMenus& MenuActions() { return menus_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool RunShortcut(QWidget* focus, const QKeyEvent& key, bool held);
    void NoteKey(const QKeyEvent& key);
    static bool KeyIsTheMenuBars(QWidget* focus, const QKeyEvent& key);

    bool lookingUpShortcut_ = false;
    bool resending_ = false;
    // The keys down now, by scan code; the last release; whether the press under way is a held key's repeat.
    std::set<quint32> keysDown_;
    std::optional<std::pair<quint32, quint64>> lastRelease_;
    bool pressHeld_ = false;
    const QEvent* notedPress_ = nullptr;
    QtGrid* column_;
    QtGrid* freeCell_;
    QtGrid* homeCell_;
    QtMenus menus_;
};

}  // namespace quorrel
