// The Qt message box, settings, clock, file dialog and desktop, as far as they run headless.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/RunTimeError.h"
#include "platform/qt/QtServices.h"

namespace quorrel::test {
namespace {

// Answers the next modal dialog of type T once it is open.
template <class T>
void AnswerNextModal(std::function<void(T&)> answer) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            answer(*dialog);
        }
    });
    poll->start(5);
}

// --- Settings

TEST(QtSettingsTest, SavedValueIsReadBackFromTheUserConfiguration) {
    QSettings("Quorrel", "Quorrel").clear();
    QtSettings settings;
    EXPECT_EQ(settings.GetSetting("Quorrel", "Options", "SpeakColumns", "0"), "0");
    settings.SaveSetting("Quorrel", "Options", "SpeakColumns", "-1");
    settings.SaveSetting("Quorrel", "Options", "Folder", "/home/p/Mes parties, 2");
    EXPECT_EQ(QtSettings().GetSetting("Quorrel", "Options", "SpeakColumns", "0"), "-1");
    EXPECT_EQ(settings.GetSetting("Quorrel", "Options", "Folder", ""), "/home/p/Mes parties, 2");
    EXPECT_EQ(settings.GetSetting("Quorrel", "Other", "SpeakColumns", "x"), "x");

    const QString file = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Quorrel/Quorrel.conf";
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_EQ(QSettings(file, QSettings::IniFormat).value("Options/SpeakColumns").toString(), "-1");
}

TEST(QtSettingsTest, AValueThatCannotBeWrittenRaisesTheFailure) {
    // A file where the settings folder should be: nothing can be stored under it.
    const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Quorrel";
    QDir(folder).removeRecursively();
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    try {
        QtSettings().SaveSetting("Quorrel", "StartUp", "Columns", "Unchecked");
        ADD_FAILURE() << "nothing said that the setting was not stored";
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.Number, 75);
        EXPECT_EQ(error.Description, "The setting could not be saved for the next run");
    }
    QFile::remove(folder);
}

// --- Clock and event pump

TEST(QtClockTest, PumpRunsAPendingEvent) {
    QtClock clock;
    bool ran = false;
    QMetaObject::invokeMethod(
        qApp, [&] { ran = true; }, Qt::QueuedConnection);
    clock.ProcessEvents(50);
    EXPECT_TRUE(ran);
}

TEST(QtClockTest, IdleWaitComesToItsEnd) {
    QtClock clock;
    const std::int64_t start = clock.TickCount();
    clock.ProcessEvents(50);
    clock.ProcessEvents(0);
    EXPECT_GE(clock.TickCount(), start);
}

TEST(QtClockTest, PumpWakesForAnEventPostedDuringTheWait) {
    QtClock clock;
    bool ran = false;
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        QMetaObject::invokeMethod(
            qApp, [&] { ran = true; }, Qt::QueuedConnection);
    });
    for (int i = 0; i < 10 && !ran; ++i) clock.ProcessEvents(5000);
    poster.join();
    EXPECT_TRUE(ran);
}

// Each wait arms a timer; one that is still running when the call returns must never fire later.
TEST(QtClockTest, WaitsThatEndEarlyLeaveNoTimerBehind) {
    QtClock clock;
    int ran = 0;
    for (int i = 0; i < 5; ++i) {
        QMetaObject::invokeMethod(
            qApp, [&] { ++ran; }, Qt::QueuedConnection);
        clock.ProcessEvents(20);
    }
    EXPECT_EQ(ran, 5);
    QTest::qWait(60);
}

// --- Message box

// --- Background work

TEST(QtBackgroundTest, CallbacksRunOnTheWindowThreadAndNeverAfterTheTaskIsGone) {
    QObject context;
    QtBackground background(&context);
    const auto window = std::this_thread::get_id();
    std::atomic<bool> release{false};
    std::thread::id workedOn;
    std::vector<std::string> calls;
    auto task = background.Start(
        [&] {
            workedOn = std::this_thread::get_id();
            while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        },
        1,
        [&] {
            calls.push_back(std::this_thread::get_id() == window ? "slow" : "slow elsewhere");
            release = true;
        },
        [&] { calls.push_back(std::this_thread::get_id() == window ? "done" : "done elsewhere"); });
    // The work holds on until the slow callback has run, so both come, in this order.
    QTRY_COMPARE_WITH_TIMEOUT(calls.size(), size_t{2}, 30000);
    EXPECT_EQ(calls, (std::vector<std::string>{"slow", "done"}));
    EXPECT_NE(workedOn, window);

    // A task destroyed while its work runs waits for the work and calls nothing back.
    std::atomic<bool> stop{false};
    std::atomic<bool> started{false};
    bool called = false;
    auto gone = background.Start(
        [&] {
            started = true;
            while (!stop) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        },
        0, [&] { called = true; }, [&] { called = true; });
    while (!started) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    stop = true;
    gone.reset();
    QTest::qWait(20);
    EXPECT_FALSE(called);
}

TEST(QtMessageBoxTest, ShowsTheBoxAsAskedAndReturnsTheAnswer) {
    QtMessageBox boxes(nullptr);
    AnswerNextModal<QMessageBox>([](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), "");
        EXPECT_EQ(box.text(), "Play again? <yes>");
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::No)->click();
    });
    EXPECT_EQ(boxes.Show("Play again? <yes>", MsgButtons::YesNo, MsgIcon::Question, ""), MsgResult::No);

    AnswerNextModal<QMessageBox>([](QMessageBox& box) { box.button(QMessageBox::Yes)->click(); });
    EXPECT_EQ(boxes.Show("Again?", MsgButtons::YesNo, MsgIcon::None, ""), MsgResult::Yes);

    AnswerNextModal<QMessageBox>([](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), "Untitled.qrl - Quorrel");
        EXPECT_EQ(box.icon(), QMessageBox::Information);
        EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
        QTest::keyClick(&box, Qt::Key_Return);
    });
    EXPECT_EQ(boxes.Show("Error: 5", MsgButtons::OK, MsgIcon::Information, "Untitled.qrl - Quorrel"), MsgResult::OK);

    AnswerNextModal<QMessageBox>([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_EQ(boxes.Show("Quit?", MsgButtons::YesNo, MsgIcon::Question, ""), MsgResult::No);

    AnswerNextModal<QMessageBox>([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); });
    EXPECT_EQ(boxes.Show("Reset?", MsgButtons::YesNoDefaultNo, MsgIcon::Question, ""), MsgResult::No);
}

// --- File dialog

TEST(QtFileDialogFilterTest, FilterBecomesQtNameFilters) {
    EXPECT_EQ(QtFileDialog::NameFilters("FreeCell Game Files (*.qrl)|*.qrl"),
              QStringList{"FreeCell Game Files (*.qrl)"});
    EXPECT_EQ(QtFileDialog::NameFilters("Games|*.qrl|All|*.*"), (QStringList{"Games (*.qrl)", "All (*.*)"}));
    EXPECT_EQ(QtFileDialog::NameFilters("Text|*.txt;*.log"), QStringList{"Text (*.txt *.log)"});
    EXPECT_TRUE(QtFileDialog::NameFilters("").isEmpty());
}

class QtFileDialogTest : public ::testing::Test {
protected:
    QtFileDialogTest() {
        dialog.Filter = "FreeCell Game Files (*.qrl)|*.qrl";
        dialog.DefaultExt = "QRL";
        dialog.InitDir = folder.path().toStdString();
    }
    QTemporaryDir folder;
    QtFileDialog dialog{nullptr};
};

TEST_F(QtFileDialogTest, SaveAppendsTheDefaultExtensionToATypedName) {
    dialog.Flags = dialogflags::OverwritePrompt | dialogflags::HideReadOnly;
    dialog.FileName = "Untitled.qrl";
    AnswerNextModal<QFileDialog>([this](QFileDialog& box) {
        EXPECT_EQ(box.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_TRUE(box.testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_FALSE(box.testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(box.nameFilters(), QStringList{"FreeCell Game Files (*.qrl)"});
        EXPECT_EQ(QDir(box.directory()).canonicalPath(), QDir(folder.path()).canonicalPath());
        EXPECT_EQ(box.selectedFiles().value(0), folder.filePath("Untitled.qrl"));
        box.selectFile("partie");
        QMetaObject::invokeMethod(&box, "accept");
    });
    dialog.ShowSave();
    EXPECT_EQ(QString::fromStdString(dialog.FileName), folder.filePath("partie.QRL"));
}

TEST_F(QtFileDialogTest, OpenOfExistingFilesOnlyReturnsTheChosenFile) {
    const QString game = folder.filePath("old.qrl");
    QFile(game).open(QIODevice::WriteOnly);
    dialog.Flags = dialogflags::FileMustExist;
    AnswerNextModal<QFileDialog>([&](QFileDialog& box) {
        EXPECT_EQ(box.acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(box.fileMode(), QFileDialog::ExistingFile);
        box.selectFile(game);
        QMetaObject::invokeMethod(&box, "accept");
    });
    dialog.ShowOpen();
    EXPECT_EQ(QString::fromStdString(dialog.FileName), game);
}

TEST_F(QtFileDialogTest, CancelRaisesCancelErrorOnlyWhenAskedTo) {
    dialog.FileName = "kept.qrl";
    dialog.CancelError = true;
    AnswerNextModal<QFileDialog>([](QFileDialog& box) { box.reject(); });
    try {
        dialog.ShowSave();
        FAIL() << "no error raised";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.Number, errors::CancelError);
    }
    dialog.CancelError = false;
    AnswerNextModal<QFileDialog>([](QFileDialog& box) {
        EXPECT_TRUE(box.testOption(QFileDialog::DontConfirmOverwrite));
        box.reject();
    });
    dialog.ShowSave();
    EXPECT_EQ(dialog.FileName, "");
}

// --- Desktop

TEST(QtDesktopTest, MissingDocumentOpensNothing) {
    QtDesktop desktop;
    EXPECT_FALSE(desktop.OpenDocument("/nonexistent/Quorrel/help.html"));
    EXPECT_FALSE(desktop.OpenDocument(""));
}

}  // namespace
}  // namespace quorrel::test
