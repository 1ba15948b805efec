// Opening a document with the program the desktop associates with it.
#pragma once

#include <string>

namespace quorrel {

// Asks the desktop to open the document and returns without waiting for the viewer. Returns false
// when nothing could be started (no document, no launcher).
class IDesktop {
public:
    virtual ~IDesktop() = default;
    virtual bool OpenDocument(const std::string& path) = 0;
};

}  // namespace quorrel
