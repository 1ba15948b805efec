// The modal windows of one implementation, owned by the window of its three grids, for the contract tests.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <utility>

#include "GridHarness.h"
#include "platform/memory/MemoryPlatform.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtModal.h"
#include "platform/qt/QtServices.h"

namespace quorrel::test {

// Each harness: Boxes(), Files(), FindDialog(), AboutDialog(), DealNumberDialog(), VoiceDialog(); WhileOpen(act) runs
// act while the next modal window is open, which the player then closes (No, OK or Cancel); WindowActive() tells
// whether the grids' window is the active one; Settle() lets any late event of the window system arrive.
class MemoryModals : public MemoryGrids {
public:
    MemoryModals() {
        boxes_.Focus = &Scope();
        files_.Focus = &Scope();
    }
    IMessageBox& Boxes() { return boxes_; }
    IFileDialog& Files() { return files_; }
    std::unique_ptr<IFindView> FindDialog() {
        return std::make_unique<MemoryFindView>(&Scope(), [this](MemoryFindView&) { RunWhileOpen(); });
    }
    std::unique_ptr<IAboutView> AboutDialog() {
        return std::make_unique<MemoryAboutView>(&Scope(), [this](MemoryAboutView&) { RunWhileOpen(); });
    }
    std::unique_ptr<IDealNumberView> DealNumberDialog() {
        return std::make_unique<MemoryDealNumberView>(&Scope(), [this](MemoryDealNumberView&) { RunWhileOpen(); });
    }
    std::unique_ptr<IVoiceView> VoiceDialog() {
        return std::make_unique<MemoryVoiceView>(&Scope(), [this](MemoryVoiceView&) { RunWhileOpen(); });
    }
    void WhileOpen(std::function<void()> act) {
        act_ = std::move(act);
        boxes_.OnShow = [this] { RunWhileOpen(); };
        files_.OnShow = [this] { RunWhileOpen(); };
    }
    bool WindowActive() { return true; }
    void Settle() {}
    void BeginChain() { Scope().BeginChain(); }
    void EndChain() { Scope().EndChain(); }

private:
    void RunWhileOpen() {
        if (auto act = std::exchange(act_, nullptr)) act();
    }
    ScriptedMessageBox boxes_;
    MemoryFileDialog files_;
    std::function<void()> act_;
};

class QtModals : public QtGrids {
public:
    IMessageBox& Boxes() { return boxes_; }
    IFileDialog& Files() { return files_; }
    std::unique_ptr<IFindView> FindDialog() { return std::make_unique<QtFindDialog>(&Window()); }
    std::unique_ptr<IAboutView> AboutDialog() { return std::make_unique<QtAboutDialog>(&Window()); }
    std::unique_ptr<IDealNumberView> DealNumberDialog() { return std::make_unique<QtDealNumberDialog>(&Window()); }
    std::unique_ptr<IVoiceView> VoiceDialog() { return std::make_unique<QtVoiceDialog>(&Window()); }
    void WhileOpen(std::function<void()> act) {
        auto* poll = new QTimer(qApp);
        QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            poll->stop();
            poll->deleteLater();
            if (!QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; }))
                ADD_FAILURE() << "the modal window did not become active";
            act();
            dialog->reject();
        });
        poll->start(5);
    }
    bool WindowActive() { return QApplication::activeWindow() == &Window(); }
    void Settle() { QTest::qWait(100); }
    void BeginChain() { BeginModalChain(); }
    void EndChain() { EndModalChain(); }

private:
    QtMessageBox boxes_{&Window()};
    QtFileDialog files_{&Window()};
};

}  // namespace quorrel::test
