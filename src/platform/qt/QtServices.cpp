// The small platform services on Qt.
#include "platform/qt/QtServices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <thread>

#include "platform/RunTimeError.h"
#include "platform/posix/ScreenReaderProcess.h"
#include "platform/qt/QtModal.h"
#include "texts/Texts.h"

namespace quorrel {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

MsgResult QtMessageBox::Show(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) {
    QMessageBox box(parent_.data());
    box.setWindowTitle(Q(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(Q(text));
    switch (icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    if (buttons != MsgButtons::OK) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(buttons == MsgButtons::YesNo ? QMessageBox::Yes : QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
    }
    ExecModal(box);
    if (buttons == MsgButtons::OK) return MsgResult::OK;
    // Escape and the close box answer No.
    return box.clickedButton() == box.button(QMessageBox::Yes) ? MsgResult::Yes : MsgResult::No;
}

std::string QtSettings::GetSetting(const std::string& app, const std::string& section, const std::string& key,
                                   const std::string& defaultValue) {
    QSettings store(Q(app), Q(app));
    store.beginGroup(Q(section));
    const QVariant value = store.value(Q(key));
    if (!value.isValid()) return defaultValue;
    // A hand-edited value with commas in it reads back as a list.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(", ").toStdString();
    return value.toString().toStdString();
}

void QtSettings::SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                             const std::string& value) {
    QSettings store(Q(app), Q(app));
    store.beginGroup(Q(section));
    store.setValue(Q(key), Q(value));
    // Writing to the disk is what fails (an unwritable folder, a full disk), so write now and ask.
    store.sync();
    if (store.status() != QSettings::NoError)
        throw RunTimeError(errors::PathFileAccessError, std::string(texts::SettingNotSaved));
}

void QtClock::ProcessEvents(int maxWaitMs) {
    if (maxWaitMs <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    // Runs what is pending, or sleeps until the next event; the timer's own expiry is the event that
    // ends an idle wait. It dies with this call, so it never fires after the call has returned.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(maxWaitMs);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

QStringList QtFileDialog::NameFilters(const std::string& filter) {
    QStringList filters;
    const QStringList parts = Q(filter).split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        patterns.replace(u';', u' ');
        const QString shown = u'(' + patterns + u')';
        filters << (description.endsWith(shown) ? description : description + u' ' + shown);
    }
    return filters;
}

void QtFileDialog::Show(bool save) {
    QFileDialog dialog(parent_.data());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!save && (Flags & dialogflags::FileMustExist) ? QFileDialog::ExistingFile
                                                                     : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(Flags & dialogflags::OverwritePrompt));
    const QStringList filters = NameFilters(Filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(Q(DefaultExt));
    if (!InitDir.empty()) dialog.setDirectory(Q(InitDir));
    if (!FileName.empty()) dialog.selectFile(Q(FileName));
    const bool accepted = ExecModal(dialog) == QDialog::Accepted;
    if (accepted && !dialog.selectedFiles().isEmpty()) {
        FileName = dialog.selectedFiles().constFirst().toStdString();
        return;
    }
    if (CancelError) throw errors::Cancelled();
    FileName.clear();
}

bool QtDesktop::OpenDocument(const std::string& path) {
    const QString file = Q(path);
    if (file.isEmpty() || !QFileInfo::exists(file)) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

bool QtDesktop::ScreenReaderRunning() { return ScreenReaderProcessRunning(ScreenReaderSearch::OfThisProgram()); }

namespace {
// The callbacks and whether they may still run: touched on the window's thread only.
struct TaskCallbacks {
    std::function<void()> Slow, Done;
    bool Alive = true;
    bool Returned = false;
};

class QtBackgroundTask : public IBackgroundTask {
public:
    QtBackgroundTask(QObject* context, std::function<void()> work, int slowMs, std::function<void()> slow,
                     std::function<void()> done)
        : callbacks_(std::make_shared<TaskCallbacks>(TaskCallbacks{std::move(slow), std::move(done)})) {
        QTimer::singleShot(slowMs, context, [callbacks = callbacks_] {
            if (callbacks->Alive && !callbacks->Returned) callbacks->Slow();
        });
        thread_ = std::thread([context, callbacks = callbacks_, work = std::move(work)] {
            work();
            QMetaObject::invokeMethod(
                context,
                [callbacks] {
                    callbacks->Returned = true;
                    if (callbacks->Alive) callbacks->Done();
                },
                Qt::QueuedConnection);
        });
    }
    ~QtBackgroundTask() override {
        callbacks_->Alive = false;
        thread_.join();
    }

private:
    std::shared_ptr<TaskCallbacks> callbacks_;
    std::thread thread_;
};
}  // namespace

std::unique_ptr<IBackgroundTask> QtBackground::Start(std::function<void()> work, int slowMs, std::function<void()> slow,
                                                     std::function<void()> done) {
    return std::make_unique<QtBackgroundTask>(context_, std::move(work), slowMs, std::move(slow), std::move(done));
}

}  // namespace quorrel
