// The screen reader: where every spoken text goes.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/RunTimeError.h"

namespace quorrel {

// How the speech server speaks the program's words, in its own units: rate, pitch and volume from -100
// to 100, and a voice by the name the server lists it under. What is not set is left to the server.
struct VoiceSettings {
    std::optional<int> Rate, Pitch, Volume;
    std::optional<std::string> Voice;
    bool operator==(const VoiceSettings&) const = default;
};

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

    // The voice for every text said after the call, kept and set again on each new connection to the
    // server. Settings that were set and are no longer go back to the server's own. A back end without
    // such settings ignores them.
    virtual void SetVoice(const VoiceSettings& settings) { (void)settings; }
    // Asks the server for the names of its voices and hands them to done later, on the owner's thread
    // (or at once); an empty list when there is no server or the back end has no voices. Never blocks.
    virtual void ListVoices(std::function<void(std::vector<std::string>)> done) { done({}); }

    std::function<void(const RunTimeError&)> OnFailure;
};

}  // namespace quorrel
