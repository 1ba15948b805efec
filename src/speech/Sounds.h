// The sounds: which event plays which sound, the Sounds option and the sounds' own volume.
#pragma once

#include <string_view>

#include "platform/Sounds.h"

namespace quorrel {

class GameScreen;

// The sounds' volume in percent of the samples' full loudness, its step and where it starts.
inline constexpr int kSoundLowest = 10;
inline constexpr int kSoundHighest = 100;
inline constexpr int kSoundStep = 10;
inline constexpr int kSoundDefault = 60;

// The handlers call Play for their event; with the option off nothing is played. The option and the
// volume are read at start-up from their own section of the settings store; a stored volume that is no
// whole number within the range falls back to the default, without a word.
class Sounds {
public:
    explicit Sounds(GameScreen& screen) : S(screen) {}

    void Load();
    void Play(Sound sound);
    bool On() const;
    // Louder Sounds and Softer Sounds: one step, said and heard at the new volume, and stored.
    void Step(bool louder);

    int Volume() const { return volume_; }

private:
    GameScreen& S;
    int volume_ = kSoundDefault;
};

}  // namespace quorrel
