// The screen reader: where every spoken text goes.
#pragma once

#include <functional>
#include <string>

#include "platform/RunTimeError.h"

namespace quorrel {

// Say queues a UTF-8 text behind whatever is being said and returns at once; StopSpeech silences the
// speech in progress and everything queued before it. Texts are heard in the order of the calls.
// Neither call ever blocks on the speech back end.
//
// A back end that can lose its server reports the loss through OnFailure, once per outage, on the
// thread that owns the reader (the window's thread); it keeps accepting calls and recovers by itself
// when the server is back.
class IScreenReader {
public:
    virtual ~IScreenReader() = default;
    virtual void Say(const std::string& text) = 0;
    virtual void StopSpeech() = 0;
    // Silences what was said before the running event handler began, and keeps what that handler has
    // said since: a message box that opens after a move is read after the move's words, not over them.
    // A back end that cannot tell one handler's words from another's keeps them all.
    virtual void StopEarlierSpeech() = 0;

    std::function<void(const RunTimeError&)> OnFailure;
};

}  // namespace quorrel
