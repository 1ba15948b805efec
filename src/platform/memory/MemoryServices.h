// Every in-memory platform service in one object, for a game on the in-memory window: the tests and
// the solver's replay play through it.
#pragma once

#include "app/Platform.h"
#include "platform/memory/MemoryPlatform.h"

namespace quorrel {

// The in-memory services, for any window; the program's folder is /opt/quorrel.
struct MemoryServices {
    RecordingScreenReader reader;
    FakeClock clock;
    ScriptedMessageBox messages;
    MemorySettings settings;
    MemoryFileDialog fileDialog;
    MemoryDesktop desktop;
    MemoryFileSystem fileSystem;
    MemoryBackground background;
    RecordingSoundPlayer sounds;

    Platform On(IWindow& window) { return On(window, fileSystem); }
    // The same with another file system (the benchmarks' real disk).
    Platform On(IWindow& window, IFileSystem& files) {
        return Platform{window,     reader,  clock, clock,      messages, settings,
                        fileDialog, desktop, files, background, sounds,   "/opt/quorrel"};
    }
    // The in-memory window also owns the boxes and the file dialog: they take its grids' focus while open.
    Platform On(MemoryWindow& window) {
        messages.Focus = &window.focus;
        fileDialog.Focus = &window.focus;
        return On(static_cast<IWindow&>(window));
    }
};

}  // namespace quorrel
