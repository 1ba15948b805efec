// In-memory stand-ins for the platform services, for fast and deterministic tests.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Background.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/FileDialog.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/RunTimeError.h"
#include "platform/ScreenReader.h"
#include "platform/Settings.h"
#include "platform/Sounds.h"
#include "platform/Window.h"
#include "platform/memory/MemoryGrid.h"
#include "texts/Texts.h"

namespace quorrel {

// Records every call as a line: "<stop>" for StopSpeech, "<stop earlier>" for StopEarlierSpeech, the
// text itself for Say.
class RecordingScreenReader : public IScreenReader {
public:
    void Say(const std::string& text) override { Transcript.push_back(text); }
    void StopSpeech() override { Transcript.push_back(kStop); }
    void StopEarlierSpeech() override { Transcript.push_back(kStopEarlier); }
    // Each SetVoice is kept in VoicesSet; ListVoices answers at once with VoiceNames.
    void SetVoice(const VoiceSettings& settings) override { VoicesSet.push_back(settings); }
    void ListVoices(std::function<void(std::vector<std::string>)> done) override { done(VoiceNames); }
    // The texts said since the last StopSpeech.
    std::vector<std::string> SinceLastStop() const;
    // Lines recorded since Mark() was last called.
    std::vector<std::string> SinceMark() const;
    void Mark() { mark_ = Transcript.size(); }

    static constexpr const char* kStop = "<stop>";
    static constexpr const char* kStopEarlier = "<stop earlier>";
    std::vector<std::string> Transcript;
    std::vector<VoiceSettings> VoicesSet;
    std::vector<std::string> VoiceNames;

private:
    size_t mark_ = 0;
};

// Records every sound played, in order, and the volume last set.
class RecordingSoundPlayer : public ISoundPlayer {
public:
    void Play(Sound sound) override { Played.push_back(sound); }
    void SetVolume(int percent) override { Volume = percent; }
    std::vector<Sound> Played;
    int Volume = 100;
};

// The focus while a modal window of the program is open: Take() removes it from the grids of the scope,
// GiveBack() returns it to the grid that had it, raising that grid's GotFocus, unless the grid was hidden
// meanwhile (the focus contract of platform/Dialogs.h). A null scope stands for a window without grids.
class ModalFocus {
public:
    explicit ModalFocus(FocusScope* scope) : scope_(scope) {}
    void Take();
    void GiveBack();
    // A scripted dialog's whole life: takes the focus, marks the dialog open, raises its Load, does
    // afterLoad, runs the player's script, presses leftOpen's button if the script left the dialog open
    // (as Escape or Enter would), and gives the focus back.
    template <class View>
    void Show(View& view, bool& open, const std::function<void(View&)>& script, void (View::*leftOpen)(),
              void (View::*afterLoad)() = nullptr) {
        Take();
        open = true;
        if (view.Load) view.Load();
        if (afterLoad) (view.*afterLoad)();
        if (script) script(view);
        if (open) (view.*leftOpen)();
        GiveBack();
    }

private:
    FocusScope* scope_;
    MemoryGrid* had_ = nullptr;
};

// A message box that records what it was asked and answers from a script (OK or No when the script is
// empty). OnShow, when set, runs while the box is "open" (as events could in a modal loop). While it is
// open, the grids of Focus have no focus.
class ScriptedMessageBox : public IMessageBox {
public:
    struct Shown {
        std::string Text;
        MsgButtons Buttons;
        MsgIcon Icon;
        std::string Title;
    };
    MsgResult Show(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) override;

    std::deque<MsgResult> Answers;
    std::vector<Shown> Asked;
    std::function<void()> OnShow;
    FocusScope* Focus = nullptr;  // the grids of the window that owns the box
};

// While Unwritable is set, SaveSetting keeps nothing and raises Failure.
class MemorySettings : public ISettings {
public:
    std::string GetSetting(const std::string& app, const std::string& section, const std::string& key,
                           const std::string& defaultValue) override;
    void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) override;
    std::map<std::string, std::string> Values;  // "app/section/key" -> value
    bool Unwritable = false;
    RunTimeError Failure{errors::PathFileAccessError, std::string(texts::SettingNotSaved)};
};

// A tick counter that moves only when told to, and an event pump that runs queued tasks. Each call of
// ProcessEvents runs the tasks due by then, then advances the clock by the wait it was given (at least
// one millisecond), so a waiting loop always comes to its end.
class FakeClock : public ITickClock, public IEventPump {
public:
    std::int64_t TickCount() override { return Now; }
    void ProcessEvents(int maxWaitMs) override;
    void Advance(std::int64_t ms) { Now += ms; }
    // Runs task inside the first ProcessEvents call at or after the given tick.
    void At(std::int64_t tick, std::function<void()> task) { tasks_.push_back({tick, std::move(task)}); }

    std::int64_t Now = 1000;
    int ProcessCalls = 0;
    std::vector<int> Waits;  // the maxWaitMs of each ProcessEvents call

private:
    struct Task {
        std::int64_t tick;
        std::function<void()> run;
    };
    std::vector<Task> tasks_;
};

class MemoryFileDialog : public IFileDialog {
public:
    // Each showing takes the next answer: a file name, or Cancel when the answer is empty. OnShow, when
    // set, runs while the dialog is "open"; the grids of Focus have no focus then.
    void ShowOpen() override { Show("open"); }
    void ShowSave() override { Show("save"); }
    std::deque<std::string> Answers;
    std::vector<std::string> Shown;  // "open" or "save", with the file name it was preset to
    std::function<void()> OnShow;
    FocusScope* Focus = nullptr;  // the grids of the window that owns the dialog

private:
    void Show(const std::string& kind);
};

class MemoryDesktop : public IDesktop {
public:
    bool OpenDocument(const std::string& path) override {
        Opened.push_back(path);
        return Result;
    }
    bool ScreenReaderRunning() override { return ScreenReader; }
    std::vector<std::string> Opened;
    bool Result = true;
    bool ScreenReader = false;
};

// Work that runs only when the test says: Finish runs the latest task's work on the calling thread,
// then its slow callback when asked for, then its done callback, each unless the task was destroyed.
class MemoryBackground : public IBackground {
public:
    std::unique_ptr<IBackgroundTask> Start(std::function<void()> work, int slowMs, std::function<void()> slow,
                                           std::function<void()> done) override;
    // False when no task was started since the last Finish.
    bool Finish(bool slow = false);
    int Started = 0;

    struct Pending {
        std::function<void()> Work, Slow, Done;
        bool Alive = true;
    };

private:
    std::shared_ptr<Pending> pending_;
};

// Folders and files held in memory. A step named in FailAt fails once, when it is next reached:
// "read" (ReadStart, or the tail in KeepTail), "create", "write", "flush", "close" or "rename" (both
// in Replace, and Rename). The new file is visible under its own name while it is written.
class MemoryFileSystem : public IFileSystem {
public:
    bool MakeFolder(const std::string& path) override;
    bool CanWriteIn(const std::string& folder) override;
    std::string UserDataFolder() override { return DataFolder; }
    bool FileExists(const std::string& path) override { return Files.count(path) != 0; }
    std::vector<char> ReadStart(const std::string& path, std::size_t count) override;
    int CreateBeside(const std::string& path) override;
    void Write(int handle, const std::vector<char>& bytes) override;
    void KeepTail(int handle) override;
    void Flush(int handle) override;
    void Replace(int handle) override;
    void Discard(int handle) noexcept override;
    void Rename(const std::string& from, const std::string& to) override;

    std::vector<std::string> Folders;   // folders that exist
    std::vector<std::string> ReadOnly;  // folders in and under which nothing can be created
    std::string DataFolder = "/home/player/.local/share/Quorrel";
    std::map<std::string, std::vector<char>> Files;
    std::string FailAt;
    RunTimeError FailWith{errors::DeviceIOError, "Device I/O error"};
    std::vector<std::string> Steps;  // the steps taken, in order
    size_t LargestRead = 0;          // the most bytes one read asked for

private:
    struct NewFile {
        std::string target, path;
    };
    void Step(const std::string& step);
    std::map<int, NewFile> open_;
    int next_ = 3;
};

class MemoryMenus : public IMenus {
public:
    void Build(const std::vector<MenuEntry>& tree) override;
    void SetEnabled(int id, bool enabled) override;
    bool IsEnabled(int id) const override;
    void SetChecked(int id, bool checked) override;
    bool IsChecked(int id) const override;
    // The player chooses an item (or presses its shortcut): nothing happens when it is disabled.
    void Click(int id);
    // The item whose shortcut is the given text ("Ctrl+N"), or -1.
    int ByShortcut(const std::string& shortcut) const;

    std::vector<MenuEntry> Tree;
    std::vector<int> SetOrder;  // ids in the order SetEnabled was called

    // Every item that can be clicked, submenus opened, in the order the menu shows them.
    static void ForEachItem(const std::vector<MenuItemEntry>& items,
                            const std::function<void(const MenuItemEntry&)>& visit);

private:
    struct State {
        bool enabled = true;
        bool checked = false;
    };
    const State& Find(int id) const;
    std::map<int, State> state_;
};

// The Find dialog. While it is shown the grids have no focus; when it closes, the grid that had the
// focus gets it back (raising its focus event), as with a real modal dialog.
class MemoryFindView : public IFindView {
public:
    MemoryFindView(FocusScope* focus, std::function<void(MemoryFindView&)> script)
        : focus_(focus), script_(std::move(script)) {}
    void AddCard(const std::string& entry) override { Cards.push_back(entry); }
    void AddSuite(const std::string& entry) override { Suites.push_back(entry); }
    void SetCardIndex(int index) override { cardIndex_ = index; }
    void SetSuiteIndex(int index) override { suiteIndex_ = index; }
    int CardIndex() const override { return cardIndex_; }
    int SuiteIndex() const override { return suiteIndex_; }
    void ShowModal() override;
    void Unload() override { open_ = false; }

    // What the player does while it is open.
    void Choose(int card, int suite) {
        cardIndex_ = card;
        suiteIndex_ = suite;
    }
    void PressFind() {
        if (FindClick) FindClick();
    }
    void PressCancel() {
        if (CancelClick) CancelClick();
    }
    void CloseFrame();
    bool IsOpen() const { return open_; }

    std::vector<std::string> Cards, Suites;

private:
    ModalFocus focus_;
    std::function<void(MemoryFindView&)> script_;
    int cardIndex_ = -1, suiteIndex_ = -1;
    bool open_ = false;
};

// The About dialog; it takes and gives back the focus as the Find dialog does.
class MemoryAboutView : public IAboutView {
public:
    MemoryAboutView(FocusScope* focus, std::function<void(MemoryAboutView&)> script)
        : focus_(focus), script_(std::move(script)) {}
    void SetTitle(const std::string& text) override { Title = text; }
    void SetVersion(const std::string& text) override { Version = text; }
    void SetDescription(const std::string& text) override { Description = text; }
    void SetDisclaimer(const std::string& text) override { Disclaimer = text; }
    void ShowModal() override;
    void Unload() override { open_ = false; }
    void PressOk() {
        if (OkClick) OkClick();
    }
    bool IsOpen() const { return open_; }

    std::string Title, Version, Description, Disclaimer;

private:
    ModalFocus focus_;
    std::function<void(MemoryAboutView&)> script_;
    bool open_ = false;
};

// The Deal Game Number dialog; it takes and gives back the focus as the Find dialog does.
class MemoryDealNumberView : public IDealNumberView {
public:
    MemoryDealNumberView(FocusScope* focus, std::function<void(MemoryDealNumberView&)> script)
        : focus_(focus), script_(std::move(script)) {}
    void SetNumberText(const std::string& text) override { Text = text; }
    std::string NumberText() const override { return Text; }
    void FocusNumber() override { ++NumberFocused; }
    void ShowModal() override;
    void Unload() override { open_ = false; }

    // What the player does while it is open: typing replaces the field's text.
    void Type(const std::string& text) { Text = text; }
    void PressOk() {
        if (OkClick) OkClick();
    }
    void PressCancel() {
        if (CancelClick) CancelClick();
    }
    bool IsOpen() const { return open_; }

    std::string Text;
    int NumberFocused = 0;  // how often the field took the focus

private:
    ModalFocus focus_;
    std::function<void(MemoryDealNumberView&)> script_;
    bool open_ = false;
};

// The voice chooser; it takes and gives back the focus as the Find dialog does.
class MemoryVoiceView : public IVoiceView {
public:
    MemoryVoiceView(FocusScope* focus, std::function<void(MemoryVoiceView&)> script)
        : focus_(focus), script_(std::move(script)) {}
    void SetGroups(const std::vector<std::string>& labels) override { Groups = labels; }
    void SetGroupIndex(int index) override { GroupAt = index; }
    int GroupIndex() const override { return GroupAt; }
    void SetVoices(const std::vector<std::string>& names) override {
        Voices = names;
        Index = -1;
    }
    void SetVoiceIndex(int index) override { Index = index; }
    int VoiceIndex() const override { return Index; }
    void ShowModal() override;
    void Unload() override { open_ = false; }

    // What the player does while it is open: moving in the first list raises GroupChange.
    void ChooseGroup(int index) {
        GroupAt = index;
        if (GroupChange) GroupChange();
    }
    void PressOk() {
        if (OkClick) OkClick();
    }
    void PressCancel() {
        if (CancelClick) CancelClick();
    }
    bool IsOpen() const { return open_; }

    std::vector<std::string> Groups, Voices;
    int GroupAt = -1, Index = -1;

private:
    ModalFocus focus_;
    std::function<void(MemoryVoiceView&)> script_;
    bool open_ = false;
};

// The main window with three memory grids that share one focus.
class MemoryWindow : public IWindow {
public:
    explicit MemoryWindow(std::vector<std::string>* log = nullptr);
    std::string Caption() const override { return caption_; }
    void SetCaption(const std::string& caption) override { caption_ = caption; }
    IGrid& Column() override { return column; }
    IGrid& FreeCell() override { return freeCell; }
    IGrid& HomeCell() override { return homeCell; }
    IMenus& Menus() override { return menus; }
    void Show() override { Shown = true; }
    void Close() override { Closed = true; }
    void UnloadOtherWindows() override { ++OtherWindowsUnloaded; }
    void BeginModalChain() override { focus.BeginChain(); }
    void EndModalChain() override { focus.EndChain(); }
    std::unique_ptr<IFindView> CreateFindDialog() override;
    std::unique_ptr<IAboutView> CreateAboutDialog() override;
    std::unique_ptr<IDealNumberView> CreateDealNumberDialog() override;
    std::unique_ptr<IVoiceView> CreateVoiceDialog() override;

    FocusScope focus;
    MemoryGrid column, freeCell, homeCell;
    MemoryMenus menus;
    bool Shown = false;
    bool Closed = false;
    int OtherWindowsUnloaded = 0;
    // What the player does in each showing of a dialog; without a script the dialog is cancelled.
    std::function<void(MemoryFindView&)> FindScript;
    std::function<void(MemoryAboutView&)> AboutScript;
    std::function<void(MemoryDealNumberView&)> DealNumberScript;
    std::function<void(MemoryVoiceView&)> VoiceScript;
    int DialogsShown = 0;

private:
    std::string caption_ = "Quorrel";
};

}  // namespace quorrel
