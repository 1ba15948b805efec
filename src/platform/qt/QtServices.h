// The small platform services on Qt: message boxes, settings, the clock and event pump, the file
// dialog and the desktop's document launcher.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include "platform/Background.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/Settings.h"

namespace quorrel {

// Modal QMessageBox owned by the parent widget (which may be null or go away). The text is shown as
// plain text; the title is set exactly as given (the window system may still show a name of its own
// for an empty one).
class QtMessageBox : public IMessageBox {
public:
    explicit QtMessageBox(QWidget* parent) : parent_(parent) {}
    MsgResult Show(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) override;

private:
    QPointer<QWidget> parent_;
};

// QSettings with the application name as both organisation and application: the section is the group.
// SaveSetting writes the file at once, and raises 75 when it could not.
class QtSettings : public ISettings {
public:
    std::string GetSetting(const std::string& app, const std::string& section, const std::string& key,
                           const std::string& defaultValue) override;
    void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) override;
};

// Milliseconds since the clock was made, and the pump of the calling thread's Qt events.
class QtClock : public ITickClock, public IEventPump {
public:
    QtClock() { started_.start(); }
    std::int64_t TickCount() override { return started_.elapsed(); }
    void ProcessEvents(int maxWaitMs) override;

private:
    QElapsedTimer started_;
};

// Qt's own file dialog (not the desktop's, so that it works on any platform plugin), built afresh from
// the settings at each showing.
class QtFileDialog : public IFileDialog {
public:
    explicit QtFileDialog(QWidget* parent) : parent_(parent) {}
    void ShowOpen() override { Show(false); }
    void ShowSave() override { Show(true); }

    // "Desc|pattern|Desc|pattern" as Qt's name filters "Desc (pattern)"; a description that already ends
    // with its pattern in parentheses is kept as it is.
    static QStringList NameFilters(const std::string& filter);

private:
    void Show(bool save);
    QPointer<QWidget> parent_;
};

// The desktop's document launcher; the screen reader is found among the processes on this display.
class QtDesktop : public IDesktop {
public:
    bool OpenDocument(const std::string& path) override;
    bool ScreenReaderRunning() override;
};

// Each task's work runs on a std::thread; its callbacks are queued to the context object's thread.
class QtBackground : public IBackground {
public:
    explicit QtBackground(QObject* context) : context_(context) {}
    std::unique_ptr<IBackgroundTask> Start(std::function<void()> work, int slowMs, std::function<void()> slow,
                                           std::function<void()> done) override;

private:
    QObject* context_;
};

}  // namespace quorrel
