// Quorrel's entry point: reads the command line, builds the platform and hands over to the game.
#include <QApplication>
#include <QMetaObject>
#include <chrono>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "app/GameScreen.h"
#include "app/Module1.h"
#include "platform/canberra/CanberraSoundPlayer.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/QtAccessibility.h"
#include "platform/qt/QtMainWindow.h"
#include "platform/qt/QtServices.h"
#include "platform/speechd/LogScreenReader.h"
#include "platform/speechd/SpeechDispatcherReader.h"

namespace {

constexpr const char* kUsage =
    "Usage: quorrel [OPTION]\n"
    "A FreeCell solitaire played with the keyboard and heard through speech.\n"
    "\n"
    "  --speech=speechd     speak through speech-dispatcher (the default)\n"
    "  --speech=log:PATH    write every spoken text as a line to PATH (- for standard output)\n"
    "  --help               show this help and exit\n"
    "  --version            show the version and exit\n";

struct Options {
    std::string speech = "speechd";
};

// Returns the exit status to end with at once, or -1 to go on.
int ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            std::cout << kUsage;
            return 0;
        }
        if (arg == "--version") {
            std::cout << "quorrel " << QUORREL_VERSION_MAJOR << "." << QUORREL_VERSION_MINOR << "."
                      << QUORREL_VERSION_PATCH << "\n";
            return 0;
        }
        if (arg.rfind("--speech=", 0) == 0) {
            options.speech = arg.substr(std::strlen("--speech="));
            if (options.speech == "speechd" || (options.speech.rfind("log:", 0) == 0 && options.speech.size() > 4))
                continue;
        }
        std::cerr << "quorrel: unknown option '" << arg << "'\n" << kUsage;
        return 2;
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (const int status = ParseOptions(argc, argv, options); status >= 0) return status;

    // The line log comes first, so a bad log path is a usage error even without a display.
    std::unique_ptr<quorrel::IScreenReader> reader;
    if (options.speech != "speechd") {
        try {
            reader = std::make_unique<quorrel::LogScreenReader>(options.speech.substr(4));
        } catch (const quorrel::RunTimeError& error) {
            std::cerr << "quorrel: " << error.Description << "\n" << kUsage;
            return 2;
        }
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName("Quorrel");
    quorrel::InstallQuietGridAccessibility();

    if (!reader) {
        // Its worker connects at once and reports a missing server through the event loop, which
        // must therefore exist first; the report is shown once the loop runs, with the window up.
        // Each handler's words reach the server once the event loop is idle again: what a later
        // stop of the same handler would cut off is never sent.
        reader = std::make_unique<quorrel::SpeechDispatcherReader>(
            [app = QCoreApplication::instance()](std::function<void()> call) {
                QMetaObject::invokeMethod(app, std::move(call), Qt::QueuedConnection);
            },
            std::chrono::seconds(2), true);
    }

    quorrel::QtMainWindow window;
    quorrel::QtClock clock;
    quorrel::QtMessageBox messageBox(&window);
    quorrel::QtSettings settings;
    quorrel::QtFileDialog fileDialog(&window);
    quorrel::QtDesktop desktop;
    quorrel::PosixFileSystem fileSystem;
    quorrel::QtBackground background(&window);
    // Its worker connects to the sound server and caches the sounds while the window comes up.
    quorrel::CanberraSoundPlayer sounds;
    quorrel::Platform platform{window,     *reader,    clock,
                               clock,      messageBox, settings,
                               fileDialog, desktop,    fileSystem,
                               background, sounds,     QCoreApplication::applicationDirPath().toStdString()};
    quorrel::GameState state;
    quorrel::GameScreen screen(state, platform);
    window.OnKeyPreview = [&screen](int key, int shift, bool held) { screen.Form_KeyDown(key, shift, held); };
    window.OnUnload = [&screen] { return screen.Form_Unload(); };

    quorrel::Main(screen);
    const int status = QApplication::exec();
    // The speech worker stops while the event loop it reports to still exists.
    reader->OnFailure = nullptr;
    reader.reset();
    return status;
}
