// The screen reader that speaks through speech-dispatcher (libspeechd).
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/ScreenReader.h"

namespace quorrel {

// Speaks through the player's speech-dispatcher, starting the server if it is not running.
//
// libspeechd has no time-outs, so every call into it runs on one worker thread that this reader
// owns; Say and StopSpeech only queue a request and return. The worker connects by itself as soon
// as the reader exists. When the server cannot be reached or goes away, OnFailure receives
// RunTimeError(errors::SpeechUnavailable, "Speech server unavailable: <reason>") once per outage;
// texts said meanwhile are dropped, and a later call reconnects (at most once per retryInterval;
// a call that finds the connection dead reconnects at once if that much time has passed, so a
// restarted server costs nothing). Texts are never reordered; texts still queued when StopSpeech
// comes are dropped, since they would be cancelled anyway.
//
// Valid UTF-8 goes to the server unchanged; an empty text says nothing, NUL bytes are dropped and
// malformed UTF-8 becomes U+FFFD, since the server would otherwise break the connection.
//
// postToOwner must run the function it is given later on the owner's thread (for Qt: a queued
// call onto the event loop); the worker uses it to deliver OnFailure there. It is never called once
// the destructor has returned.
//
// With holdUntilIdle, the requests of one event handler are held until the owner's thread is back in
// its event loop (a call posted through postToOwner hands them to the worker): a handler that stops
// and speaks several times, as a move does, sends only its last StopSpeech and the texts after it,
// so the server never starts on words that would be cut off a moment later. Those texts go to the
// server as one message, joined as they are (each text carries its own blanks), so they are heard
// without gaps and cost one round trip. The texts of a later handler that does not stop the speech
// form a message of their own, queued behind the rest. Without holdUntilIdle each text is a message.
//
// The worker writes everything queued at once (the cancel and the commands of each text, as
// libspeechd would send them) and reads the server's replies only afterwards, so the server never
// waits for this program between a cancel and the words after it. A request the server has
// acknowledged is never sent again; when the connection breaks, the rest goes to a fresh one.
//
// SetVoice only hands the settings to the worker, which sets them on the connection before the next
// texts it sends, and again on every new connection. A setting taken back (unset again) is undone by a
// fresh connection, which has the server's own settings; a voice the server refuses is left to it.
// ListVoices asks the server on the worker and hands the names back through postToOwner.
//
// The destructor still sends what is queued if connected, but waits at most about half a second for
// the worker, so a wedged server cannot hang the program.
class SpeechDispatcherReader : public IScreenReader {
public:
    using PostToOwner = std::function<void(std::function<void()>)>;

    explicit SpeechDispatcherReader(PostToOwner postToOwner,
                                    std::chrono::milliseconds retryInterval = std::chrono::seconds(2),
                                    bool holdUntilIdle = false);
    ~SpeechDispatcherReader() override;

    SpeechDispatcherReader(const SpeechDispatcherReader&) = delete;
    SpeechDispatcherReader& operator=(const SpeechDispatcherReader&) = delete;

    void Say(const std::string& text) override;
    void StopSpeech() override;
    void StopEarlierSpeech() override;
    void SetVoice(const VoiceSettings& settings) override;
    void ListVoices(std::function<void(std::vector<std::string>)> done) override;

private:
    struct Shared;
    class Worker;

    void Queue(bool stop, std::string text);
    void HandOver();

    std::shared_ptr<Shared> shared_;
    bool holdUntilIdle_;
    struct Held {
        bool stop;
        std::string text;
    };
    std::vector<Held> held_;  // the owner's requests not yet handed to the worker
    bool handOverPosted_ = false;
    // Alive while this reader is; failures posted to the owner check it before touching the reader.
    std::shared_ptr<SpeechDispatcherReader*> self_;
    std::thread worker_;
};

}  // namespace quorrel
