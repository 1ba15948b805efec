// The sound player on libcanberra: the program's sounds cached in the sound server, played by a worker.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "platform/Sounds.h"

struct ca_context;

namespace quorrel {

// Its worker thread owns the connection to the sound server (PulseAudio, or PipeWire's PulseAudio
// service): it connects at construction, writes the synthesized sounds as WAV files into a private
// temporary folder and uploads them into the server's sample cache, then plays what Play queues. A play
// from the cache is one message to the server, which mixes the sample in at once. Play and SetVolume
// only take a lock for a moment, never the connection's. Without a server, or while it is gone, sounds
// are dropped without a word, and so are those the worker could not send within a moment of the call
// (while it connects, say): a sound heard late tells of the wrong event. The worker tries to connect
// again at most every few seconds, when a sound is asked for.
class CanberraSoundPlayer : public ISoundPlayer {
public:
    CanberraSoundPlayer();
    ~CanberraSoundPlayer() override;
    CanberraSoundPlayer(const CanberraSoundPlayer&) = delete;
    CanberraSoundPlayer& operator=(const CanberraSoundPlayer&) = delete;

    void Play(Sound sound) override;
    void SetVolume(int percent) override { volume_ = percent; }

    // For tests: true once the worker has connected and cached every sound (it may never be).
    bool Ready() const { return ready_; }

private:
    void Run();
    bool Connect();
    void Disconnect();
    void PlayNow(Sound sound);

    std::mutex mutex_;
    std::condition_variable wake_;
    // The sounds asked for and when, guarded by mutex_.
    std::deque<std::pair<Sound, std::chrono::steady_clock::time_point>> queue_;
    bool stopping_ = false;  // guarded by mutex_
    std::atomic<int> volume_{100};
    std::atomic<bool> ready_{false};
    // The worker's own.
    ca_context* context_ = nullptr;
    std::string folder_;  // the sounds' files, removed with the player
    std::thread worker_;
};

}  // namespace quorrel
