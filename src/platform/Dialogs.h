// The program's small modal dialogs, as views the game fills and answers.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quorrel {

// The focus contract of every modal window the program shows (these dialogs, IMessageBox::Show,
// IFileDialog::ShowOpen and ShowSave); the contract test suite runs it against each implementation:
// - While it is open, no grid of the main window has the focus.
// - When the call returns, however it ends (a Cancel that raises an error included), the window it
//   found active is active again and the widget that had the focus there has it again. When that is a
//   grid, its GotFocus has been raised exactly once, before the call returned, so the grid's focus
//   handler has run before the caller's next step; no later event announces it again.
// - A grid hidden while the window was open gets nothing back, and no other grid takes its place.
// - Windows that follow one another in a chain (IWindow::BeginModalChain) give the focus back once,
//   when the chain ends, unless the program gave a grid the focus meanwhile.

// The Find dialog: two single-selection lists (cards, suits) and the Find and Cancel buttons.
// ShowModal raises Load, then runs the dialog until Unload is called; Enter anywhere presses Find,
// Escape presses Cancel. Closing it by its frame raises FrameClose and then closes it. The focus comes
// back as the contract above says.
class IFindView {
public:
    virtual ~IFindView() = default;
    virtual void AddCard(const std::string& entry) = 0;
    virtual void AddSuite(const std::string& entry) = 0;
    virtual void SetCardIndex(int index) = 0;
    virtual void SetSuiteIndex(int index) = 0;
    virtual int CardIndex() const = 0;   // -1 when nothing is selected
    virtual int SuiteIndex() const = 0;  // -1 when nothing is selected
    virtual void ShowModal() = 0;
    virtual void Unload() = 0;

    std::function<void()> Load;
    std::function<void()> FindClick;
    std::function<void()> CancelClick;
    std::function<void()> FrameClose;
};

// The About dialog: four labels and the OK button, which is both the default and the cancel button.
// ShowModal raises Load, then runs the dialog until Unload is called; the focus comes back as the
// contract above says.
class IAboutView {
public:
    virtual ~IAboutView() = default;
    virtual void SetTitle(const std::string& text) = 0;
    virtual void SetVersion(const std::string& text) = 0;
    virtual void SetDescription(const std::string& text) = 0;
    virtual void SetDisclaimer(const std::string& text) = 0;
    virtual void ShowModal() = 0;
    virtual void Unload() = 0;

    std::function<void()> Load;
    std::function<void()> OkClick;
};

// The Deal Game Number dialog: a labelled text field for the number and the OK and Cancel buttons.
// ShowModal raises Load, gives the field the focus, then runs the dialog until Unload is called; Enter
// anywhere presses OK, and Escape or closing it by its frame presses Cancel. The view only shows the
// field: what the typed text means is the game's to decide. The focus comes back as the contract above
// says.
class IDealNumberView {
public:
    virtual ~IDealNumberView() = default;
    virtual void SetNumberText(const std::string& text) = 0;
    virtual std::string NumberText() const = 0;
    // The field takes the focus with its whole text selected, so that what the player types replaces it.
    virtual void FocusNumber() = 0;
    virtual void ShowModal() = 0;
    virtual void Unload() = 0;

    std::function<void()> Load;
    std::function<void()> OkClick;
    std::function<void()> CancelClick;
};

// The voice chooser: two single-selection lists and the OK and Cancel buttons. The first list holds the
// server's voices one entry each with their variants counted under it, the second the voices of the entry
// chosen in the first. ShowModal raises Load, gives the first list the focus, then runs the dialog until
// Unload is called. When the player moves to another entry of the first list, GroupChange is raised (the
// Set functions raise nothing). Enter anywhere presses OK, and Escape or closing it by its frame presses
// Cancel. The focus comes back as the contract above says.
class IVoiceView {
public:
    virtual ~IVoiceView() = default;
    virtual void SetGroups(const std::vector<std::string>& labels) = 0;
    virtual void SetGroupIndex(int index) = 0;
    virtual int GroupIndex() const = 0;  // -1 when nothing is selected
    // Replaces the second list's voices.
    virtual void SetVoices(const std::vector<std::string>& names) = 0;
    virtual void SetVoiceIndex(int index) = 0;
    virtual int VoiceIndex() const = 0;  // -1 when nothing is selected
    virtual void ShowModal() = 0;
    virtual void Unload() = 0;

    std::function<void()> Load;
    std::function<void()> GroupChange;
    std::function<void()> OkClick;
    std::function<void()> CancelClick;
};

}  // namespace quorrel
