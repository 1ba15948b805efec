// The main window: its caption, its three grids, its menu bar and its life.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/Grid.h"

namespace quorrel {

// One item of a menu, as the program describes it. The caption marks its access key with "&";
// shortcut is in the portable form "Ctrl+N", "F5", or empty. OtherShortcuts are further keys that run
// the item as well ("Ctrl+Shift+Z"); the menu shows the first shortcut. A shortcut held down runs the
// item again with each repeat of the key, unless Repeats is false. SeparatorBefore draws a line
// between the item and the one above it. An item with a Submenu opens that submenu: its Id, shortcuts
// and check mark are not used.
struct MenuItemEntry {
    int Id;
    std::string Caption;
    std::string Shortcut;
    bool Checkable = false;
    std::vector<std::string> OtherShortcuts = {};
    bool Repeats = true;
    bool SeparatorBefore = false;
    std::vector<MenuItemEntry> Submenu = {};
};

struct MenuEntry {
    std::string Caption;
    std::vector<MenuItemEntry> Items;
};

// The menu bar built from the program's menu tree. A click on an enabled item, or its shortcut key,
// raises OnClick with the item's id; a disabled item and its shortcut do nothing. Check marks are
// changed only by the program, never by the click itself.
class IMenus {
public:
    virtual ~IMenus() = default;
    virtual void Build(const std::vector<MenuEntry>& tree) = 0;
    virtual void SetEnabled(int id, bool enabled) = 0;
    virtual bool IsEnabled(int id) const = 0;
    virtual void SetChecked(int id, bool checked) = 0;
    virtual bool IsChecked(int id) const = 0;

    std::function<void(int id)> OnClick;
};

// The window that holds the table. Close() ends its life: it runs no handler of the program (the
// program runs its own unload first) and, once the window is gone, the program ends.
class IWindow {
public:
    virtual ~IWindow() = default;
    virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual IGrid& Column() = 0;
    virtual IGrid& FreeCell() = 0;
    virtual IGrid& HomeCell() = 0;
    virtual IMenus& Menus() = 0;
    virtual void Show() = 0;
    virtual void Close() = 0;
    // Closes every other window of the program (dialogs), the most recent first.
    virtual void UnloadOtherWindows() = 0;
    // A chain of modal windows that follow one another in one command (a question, then the file
    // dialog; a refusal, then the dialog again). While a chain is open, a modal window of the program
    // that closes gives the focus back to no one and asks for no window's activation: the next one
    // takes the keyboard from it, and no grid announces itself in between. When the outermost chain
    // ends, the focus goes back where the chain's first window found it, as the focus contract of
    // platform/Dialogs.h says for one window. Chains nest; an end without a window in the chain does
    // nothing.
    virtual void BeginModalChain() = 0;
    virtual void EndModalChain() = 0;
    // The dialogs, created for one showing each and owned by the caller; their owner is this window.
    virtual std::unique_ptr<IFindView> CreateFindDialog() = 0;
    virtual std::unique_ptr<IAboutView> CreateAboutDialog() = 0;
    virtual std::unique_ptr<IDealNumberView> CreateDealNumberDialog() = 0;
    virtual std::unique_ptr<IVoiceView> CreateVoiceDialog() = 0;
};

// The modal windows of one command that follow one another, from the construction to End() or the
// destruction, whichever comes first.
class ModalChain {
public:
    explicit ModalChain(IWindow& window) : window_(&window) { window.BeginModalChain(); }
    ~ModalChain() { End(); }
    ModalChain(const ModalChain&) = delete;
    ModalChain& operator=(const ModalChain&) = delete;
    void End() {
        if (window_ == nullptr) return;
        IWindow* window = window_;
        window_ = nullptr;
        window->EndModalChain();
    }

private:
    IWindow* window_;
};

}  // namespace quorrel
