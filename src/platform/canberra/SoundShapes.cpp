// The program's own sounds: each is a few tones or a noise under a short envelope.
#include "platform/canberra/SoundShapes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

namespace quorrel {

namespace {

constexpr double kPi = 3.14159265358979323846;

// A tone that glides from one frequency to another, with a quick attack and an exponential decay, added
// into out from the given time on.
struct Tone {
    double startMs, lengthMs, fromHz, toHz, level;
    double decay = 5.0;   // how many e-foldings the envelope falls over the length
    double overtone = 0;  // the share of the third harmonic, for a harder sound
};

void Add(std::vector<double>& out, const Tone& tone) {
    const auto first = static_cast<std::size_t>(tone.startMs * kSoundRate / 1000);
    const auto count = static_cast<std::size_t>(tone.lengthMs * kSoundRate / 1000);
    const double attack = 0.004 * kSoundRate;  // 4 ms, so that no sound starts with a click
    double phase = 0;
    for (std::size_t i = 0; i < count && first + i < out.size(); ++i) {
        const double t = static_cast<double>(i) / static_cast<double>(count);
        const double hz = tone.fromHz + (tone.toHz - tone.fromHz) * t;
        phase += 2 * kPi * hz / kSoundRate;
        const double envelope = std::min(1.0, static_cast<double>(i) / attack) * std::exp(-tone.decay * t);
        out[first + i] += tone.level * envelope * (std::sin(phase) + tone.overtone * std::sin(3 * phase));
    }
}

// Soft noise bursts, low-passed, as of cards sliding on the table.
void AddNoise(std::vector<double>& out, double startMs, double lengthMs, double level) {
    std::minstd_rand random(7);  // the same sound every run
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    const auto first = static_cast<std::size_t>(startMs * kSoundRate / 1000);
    const auto count = static_cast<std::size_t>(lengthMs * kSoundRate / 1000);
    double low = 0;
    for (std::size_t i = 0; i < count && first + i < out.size(); ++i) {
        const double t = static_cast<double>(i) / static_cast<double>(count);
        low += 0.25 * (noise(random) - low);
        const double envelope = std::sin(kPi * t);
        out[first + i] += level * envelope * low;
    }
}

std::vector<double> Shape(Sound sound) {
    std::vector<double> out;
    const auto length = [&out](double ms) { out.assign(static_cast<std::size_t>(ms * kSoundRate / 1000), 0.0); };
    switch (sound) {
    case Sound::PickUp:  // a short rising blip
        length(70);
        Add(out, {0, 70, 520, 880, 0.6, 4});
        break;
    case Sound::Drop:  // a falling knock
        length(80);
        Add(out, {0, 80, 620, 330, 0.7, 6, 0.15});
        break;
    case Sound::Home:  // two bright notes, a fifth apart
        length(180);
        Add(out, {0, 90, 1046.5, 1046.5, 0.45, 4});
        Add(out, {70, 110, 1568, 1568, 0.45, 4});
        break;
    case Sound::Refusal:  // a low, hard double buzz
        length(180);
        Add(out, {0, 80, 196, 185, 0.55, 2, 0.4});
        Add(out, {95, 85, 185, 175, 0.55, 2, 0.4});
        break;
    case Sound::Edge:  // a dry tick
        length(35);
        Add(out, {0, 35, 2200, 1800, 0.9, 6});
        break;
    case Sound::Deal:  // cards sliding, three times
        length(200);
        AddNoise(out, 0, 70, 1.6);
        AddNoise(out, 65, 70, 1.6);
        AddNoise(out, 130, 70, 1.6);
        break;
    case Sound::Won:  // a rising major arpeggio
        length(620);
        Add(out, {0, 160, 523.25, 523.25, 0.35, 3});
        Add(out, {110, 160, 659.25, 659.25, 0.35, 3});
        Add(out, {220, 160, 783.99, 783.99, 0.35, 3});
        Add(out, {330, 290, 1046.5, 1046.5, 0.4, 4});
        break;
    }
    return out;
}

}  // namespace

std::vector<std::int16_t> SoundSamples(Sound sound) {
    const std::vector<double> shape = Shape(sound);
    std::vector<std::int16_t> samples(shape.size());
    std::transform(shape.begin(), shape.end(), samples.begin(),
                   [](double v) { return static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767)); });
    return samples;
}

std::vector<char> WaveFile(const std::vector<std::int16_t>& samples) {
    std::vector<char> file;
    const auto put = [&file](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) file.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
    };
    const auto tag = [&file](const char* text) { file.insert(file.end(), text, text + 4); };
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    tag("RIFF");
    put(36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);  // the format block's size
    put(1, 2);   // PCM
    put(1, 2);   // mono
    put(kSoundRate, 4);
    put(kSoundRate * 2, 4);  // bytes a second
    put(2, 2);               // bytes a frame
    put(16, 2);              // bits a sample
    tag("data");
    put(dataBytes, 4);
    for (const std::int16_t sample : samples) put(static_cast<std::uint16_t>(sample), 2);
    return file;
}

}  // namespace quorrel
