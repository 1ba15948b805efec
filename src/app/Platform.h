// The platform services the game core runs on, gathered so that one object hands them all over.
#pragma once

#include <string>

#include "platform/Background.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/FileDialog.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/ScreenReader.h"
#include "platform/Settings.h"
#include "platform/Sounds.h"
#include "platform/Window.h"

namespace quorrel {

struct Platform {
    IWindow& Window;
    IScreenReader& Reader;
    ITickClock& Clock;
    IEventPump& Pump;
    IMessageBox& MsgBox;
    ISettings& Settings;
    IFileDialog& FileDialog;
    IDesktop& Desktop;
    IFileSystem& FileSystem;
    IBackground& Background;
    ISoundPlayer& Sounds;
    std::string ProgramFolder;  // the folder the program runs from
};

// The application object: what the program knows about itself.
struct Application {
    std::string Path;      // the program's folder
    std::string HelpFile;  // set at start-up
    std::string Title;     // set to the empty string at start-up
    int Major = QUORREL_VERSION_MAJOR;
    int Minor = QUORREL_VERSION_MINOR;
    int Revision = QUORREL_VERSION_PATCH;
};

}  // namespace quorrel
