// The sound player on libcanberra.
#include "platform/canberra/CanberraSoundPlayer.h"

#include <canberra.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/canberra/SoundShapes.h"

namespace quorrel {

namespace {

constexpr auto kRetry = std::chrono::seconds(5);
constexpr auto kStale = std::chrono::milliseconds(150);

// The names the sounds have in the server's sample cache.
const char* CacheName(Sound sound) {
    switch (sound) {
    case Sound::PickUp: return "quorrel-pick-up";
    case Sound::Drop: return "quorrel-drop";
    case Sound::Home: return "quorrel-home";
    case Sound::Refusal: return "quorrel-refusal";
    case Sound::Edge: return "quorrel-edge";
    case Sound::Deal: return "quorrel-deal";
    case Sound::Won: break;
    }
    return "quorrel-won";
}

std::string FileOf(const std::string& folder, Sound sound) { return folder + "/" + CacheName(sound) + ".wav"; }

}  // namespace

CanberraSoundPlayer::CanberraSoundPlayer() : worker_([this] { Run(); }) {}

CanberraSoundPlayer::~CanberraSoundPlayer() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    worker_.join();
}

void CanberraSoundPlayer::Play(Sound sound) {
    {
        const std::lock_guard lock(mutex_);
        // Sounds asked for faster than they can be sent are not worth hearing late.
        if (queue_.size() >= 8) return;
        queue_.emplace_back(sound, std::chrono::steady_clock::now());
    }
    wake_.notify_one();
}

void CanberraSoundPlayer::Run() {
    auto lastTry = std::chrono::steady_clock::now();
    Connect();
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (stopping_) break;
        const auto [sound, asked] = queue_.front();
        queue_.pop_front();
        lock.unlock();
        if (!ready_ && std::chrono::steady_clock::now() - lastTry >= kRetry) {
            lastTry = std::chrono::steady_clock::now();
            Connect();
        }
        if (ready_ && std::chrono::steady_clock::now() - asked < kStale) PlayNow(sound);
        lock.lock();
    }
    lock.unlock();
    Disconnect();
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}

bool CanberraSoundPlayer::Connect() {
    Disconnect();
    if (folder_.empty()) {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        std::string pattern = std::string(runtime && *runtime ? runtime : "/tmp") + "/quorrel-sounds-XXXXXX";
        if (!mkdtemp(pattern.data())) return false;
        folder_ = pattern;
        for (int i = 0; i < kSoundCount; ++i) {
            const auto sound = static_cast<Sound>(i);
            const std::vector<char> file = WaveFile(SoundSamples(sound));
            std::ofstream(FileOf(folder_, sound), std::ios::binary).write(file.data(), std::streamsize(file.size()));
        }
    }
    // Only the sound server: the other drivers cannot cache, and would read a file on every sound.
    if (ca_context_create(&context_) != CA_SUCCESS) return false;
    if (ca_context_set_driver(context_, "pulse") != CA_SUCCESS ||
        ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, "Quorrel", CA_PROP_APPLICATION_ID,
                                "org.quorrel.Quorrel", nullptr) != CA_SUCCESS ||
        ca_context_open(context_) != CA_SUCCESS) {
        Disconnect();
        return false;
    }
    for (int i = 0; i < kSoundCount; ++i) {
        const auto sound = static_cast<Sound>(i);
        const std::string file = FileOf(folder_, sound);
        if (ca_context_cache(context_, CA_PROP_EVENT_ID, CacheName(sound), CA_PROP_MEDIA_FILENAME, file.c_str(),
                             CA_PROP_CANBERRA_CACHE_CONTROL, "permanent", nullptr) != CA_SUCCESS) {
            Disconnect();
            return false;
        }
    }
    ready_ = true;
    return true;
}

void CanberraSoundPlayer::Disconnect() {
    ready_ = false;
    if (context_) ca_context_destroy(context_);
    context_ = nullptr;
}

void CanberraSoundPlayer::PlayNow(Sound sound) {
    // The volume in decibels below the samples' full loudness.
    char decibels[16];
    std::snprintf(decibels, sizeof decibels, "%.1f", 20 * std::log10(std::max(1, volume_.load()) / 100.0));
    const std::string file = FileOf(folder_, sound);
    const int result = ca_context_play(context_, 0, CA_PROP_EVENT_ID, CacheName(sound), CA_PROP_MEDIA_FILENAME,
                                       file.c_str(), CA_PROP_CANBERRA_CACHE_CONTROL, "volatile",
                                       CA_PROP_CANBERRA_VOLUME, decibels, nullptr);
    if (result == CA_ERROR_STATE || result == CA_ERROR_DISCONNECTED || result == CA_ERROR_NODRIVER) Disconnect();
}

}  // namespace quorrel
