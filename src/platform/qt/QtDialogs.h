// The Qt forms of the Find, About and Deal Game Number dialogs.
#pragma once

#include <QDialog>

#include "platform/Dialogs.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quorrel {

class QtFindDialog : public QDialog, public IFindView {
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
    void Unload() override;

    QListWidget* Cards() const { return cards_; }
    QListWidget* Suites() const { return suites_; }
    QPushButton* FindButton() const { return find_; }
    QPushButton* CancelButton() const { return cancel_; }

public slots:
    void reject() override;  // Escape presses Cancel

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QListWidget* cards_;
    QListWidget* suites_;
    QPushButton* find_;
    QPushButton* cancel_;
    bool unloading_ = false;
};

class QtAboutDialog : public QDialog, public IAboutView {
    Q_OBJECT
public:
    explicit QtAboutDialog(QWidget* owner);
    void SetTitle(const std::string& text) override;
    void SetVersion(const std::string& text) override;
    void SetDescription(const std::string& text) override;
    void SetDisclaimer(const std::string& text) override;
    void ShowModal() override;
    void Unload() override;

    QLabel* TitleLabel() const { return title_; }
    QLabel* VersionLabel() const { return version_; }
    QPushButton* OkButton() const { return ok_; }

public slots:
    void reject() override;  // Escape presses OK

private:
    QLabel* title_;
    QLabel* version_;
    QLabel* description_;
    QLabel* disclaimer_;
    QPushButton* ok_;
    bool unloading_ = false;
};

class QtDealNumberDialog : public QDialog, public IDealNumberView {
    Q_OBJECT
public:
    explicit QtDealNumberDialog(QWidget* owner);
    void SetNumberText(const std::string& text) override;
    std::string NumberText() const override;
    void FocusNumber() override;
    void ShowModal() override;
    void Unload() override;

    QLabel* NumberLabel() const { return label_; }
    QLineEdit* Number() const { return number_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

public slots:
    void reject() override;  // Escape presses Cancel

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* label_;
    QLineEdit* number_;
    QPushButton* ok_;
    QPushButton* cancel_;
    bool unloading_ = false;
};

}  // namespace quorrel
