// The program's synthesized sounds, and the libcanberra sound player without a sound server.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "platform/canberra/CanberraSoundPlayer.h"
#include "platform/canberra/SoundShapes.h"

namespace quorrel {
namespace {

double Milliseconds(const std::vector<std::int16_t>& samples) { return 1000.0 * samples.size() / kSoundRate; }

TEST(SoundShapes, EachIsShortAudibleWithoutClicksAndUnlikeTheOthers) {
    std::vector<std::vector<std::int16_t>> all;
    for (int i = 0; i < kSoundCount; ++i) {
        const auto sound = static_cast<Sound>(i);
        const std::vector<std::int16_t> samples = SoundSamples(sound);
        const double longest = sound == Sound::Won ? 700 : 200;
        EXPECT_GE(Milliseconds(samples), 30) << i;
        EXPECT_LE(Milliseconds(samples), longest) << i;
        int peak = 0;
        for (const std::int16_t s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
        // Loud enough to hear at the lowest volume, with room left: nothing is clipped.
        EXPECT_GT(peak, 32767 / 4) << i;
        EXPECT_LT(peak, 32767) << i;
        // A sound that starts or stops at a high sample clicks.
        EXPECT_LT(std::abs(static_cast<int>(samples.front())), 32767 / 50) << i;
        EXPECT_LT(std::abs(static_cast<int>(samples.back())), 32767 / 20) << i;
        for (const auto& other : all) EXPECT_NE(samples, other) << i;
        all.push_back(samples);
    }
}

TEST(SoundShapes, AWaveFileIsMonoSixteenBitPcmWithTheSamplesAfterItsHeader) {
    const std::vector<std::int16_t> samples = {0, 1, -1, 32767, -32768};
    const std::vector<char> file = WaveFile(samples);
    ASSERT_EQ(file.size(), 44u + 2 * samples.size());
    EXPECT_EQ(std::string(file.data(), 4), "RIFF");
    EXPECT_EQ(std::string(file.data() + 8, 8), "WAVEfmt ");
    EXPECT_EQ(std::string(file.data() + 36, 4), "data");
    std::int16_t last = 0;
    std::memcpy(&last, file.data() + file.size() - 2, 2);
    EXPECT_EQ(last, -32768);
}

// Without a sound server the player takes every call at once, plays nothing and ends cleanly; its worker
// runs beside the calls.
TEST(CanberraSoundPlayer, WithoutASoundServerEveryCallReturnsAndNothingIsReady) {
    setenv("PULSE_SERVER", "unix:/nonexistent/quorrel-test/native", 1);
    {
        CanberraSoundPlayer player;
        std::thread volume([&player] {
            for (int v = 1; v <= 100; ++v) player.SetVolume(v);
        });
        for (int n = 0; n < 200; ++n) player.Play(static_cast<Sound>(n % kSoundCount));
        volume.join();
        EXPECT_FALSE(player.Ready());
    }
    CanberraSoundPlayer quickly;  // made and gone before its worker has connected
}

}  // namespace
}  // namespace quorrel
