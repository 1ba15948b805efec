// The Qt forms of the Find, About, Deal Game Number and voice dialogs.
#pragma once

#include <QDialog>

#include <functional>

#include "platform/Dialogs.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quorrel {

// What the program's dialogs share: UnloadForm closes the form. Escape, and the frame's close box of a
// form that does not handle it itself, run the form's Escape handler, and close the form if that did not.
class QtForm : public QDialog {
    Q_OBJECT
public:
    explicit QtForm(QWidget* owner) : QDialog(owner) {}

public slots:
    void reject() override;

protected:
    void UnloadForm();
    bool Unloading() const { return unloading_; }
    // Runs a handler of the form's events, when the program has set one.
    static void Raise(const std::function<void()>& handler);
    // A click on the button raises the handler (a member of the form, which outlives the connection).
    void Raises(QPushButton* button, const std::function<void()>& handler);
    // Presses the button that Escape stands for.
    virtual void Escape() = 0;

private:
    bool unloading_ = false;
};

class QtFindDialog : public QtForm, public IFindView {
    Q_OBJECT
public:
    explicit QtFindDialog(QWidget* owner);
    void AddCard(const std::string& entry) override;
    void AddSuite(const std::string& entry) override;
    void SetCardIndex(int index) override;
    void SetSuiteIndex(int index) override;
    int CardIndex() const override;
    int SuiteIndex() const override;
    void ShowModal() override;
    void Unload() override { UnloadForm(); }

    QListWidget* Cards() const { return cards_; }
    QListWidget* Suites() const { return suites_; }
    QPushButton* FindButton() const { return find_; }
    QPushButton* CancelButton() const { return cancel_; }

protected:
    void Escape() override;  // presses Cancel
    void closeEvent(QCloseEvent* event) override;

private:
    QListWidget* cards_;
    QListWidget* suites_;
    QPushButton* find_;
    QPushButton* cancel_;
};

class QtAboutDialog : public QtForm, public IAboutView {
    Q_OBJECT
public:
    explicit QtAboutDialog(QWidget* owner);
    void SetTitle(const std::string& text) override;
    void SetVersion(const std::string& text) override;
    void SetDescription(const std::string& text) override;
    void SetDisclaimer(const std::string& text) override;
    void ShowModal() override;
    void Unload() override { UnloadForm(); }

    QLabel* TitleLabel() const { return title_; }
    QLabel* VersionLabel() const { return version_; }
    QPushButton* OkButton() const { return ok_; }

protected:
    void Escape() override;  // presses OK

private:
    QLabel* title_;
    QLabel* version_;
    QLabel* description_;
    QLabel* disclaimer_;
    QPushButton* ok_;
};

class QtDealNumberDialog : public QtForm, public IDealNumberView {
    Q_OBJECT
public:
    explicit QtDealNumberDialog(QWidget* owner);
    void SetNumberText(const std::string& text) override;
    std::string NumberText() const override;
    void FocusNumber() override;
    void ShowModal() override;
    void Unload() override { UnloadForm(); }

    QLabel* NumberLabel() const { return label_; }
    QLineEdit* Number() const { return number_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

protected:
    void Escape() override;  // presses Cancel, as the frame's close box does

private:
    QLabel* label_;
    QLineEdit* number_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// The voice chooser: the server's voices with their variants counted and, beside them, the chosen
// entry's variants; each list named by its label, OK (the default button) and Cancel.
class QtVoiceDialog : public QtForm, public IVoiceView {
    Q_OBJECT
public:
    explicit QtVoiceDialog(QWidget* owner);
    void SetGroups(const std::vector<std::string>& labels) override;
    void SetGroupIndex(int index) override;
    int GroupIndex() const override;
    void SetVoices(const std::vector<std::string>& names) override;
    void SetVoiceIndex(int index) override;
    int VoiceIndex() const override;
    void ShowModal() override;
    void Unload() override { UnloadForm(); }

    QListWidget* Groups() const { return groups_; }
    QListWidget* Voices() const { return voices_; }
    QPushButton* OkButton() const { return ok_; }

protected:
    void Escape() override;  // presses Cancel, as the frame's close box does

private:
    QListWidget* groups_;
    QListWidget* voices_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace quorrel
