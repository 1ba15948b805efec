// The program's own sounds, synthesized: short sine and noise envelopes as 16-bit mono samples.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Sounds.h"

namespace quorrel {

inline constexpr int kSoundRate = 44100;  // samples a second

// The samples of a sound at full loudness (the player scales them).
std::vector<std::int16_t> SoundSamples(Sound sound);
// The samples as a WAV file: RIFF, PCM, mono, 16 bits, kSoundRate.
std::vector<char> WaveFile(const std::vector<std::int16_t>& samples);

}  // namespace quorrel
