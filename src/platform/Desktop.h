// The desktop around the program: opening a document, and the screen reader the player may run.
#pragma once

#include <string>

namespace quorrel {

class IDesktop {
public:
    virtual ~IDesktop() = default;
    // Asks the desktop to open the document and returns without waiting for the viewer. Returns false
    // when nothing could be started (no document, no launcher).
    virtual bool OpenDocument(const std::string& path) = 0;
    // True while a screen reader runs on the program's display that reads the program's windows by
    // itself, message boxes included. Asked afresh each time: the player may start or end it at any
    // moment. Never blocks for long.
    virtual bool ScreenReaderRunning() = 0;
};

}  // namespace quorrel
