// The program's two small modal dialogs, as views the game fills and answers.
#pragma once

#include <functional>
#include <string>

namespace quorrel {

// The Find dialog: two single-selection lists (cards, suits) and the Find and Cancel buttons.
// ShowModal raises Load, then runs the dialog until Unload is called; Enter anywhere presses Find,
// Escape presses Cancel. Closing it by its frame raises FrameClose and then closes it. When the dialog
// is gone, the focus goes back to the widget of the main window that had it.
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
// ShowModal raises Load, then runs the dialog until Unload is called.
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

}  // namespace quorrel
