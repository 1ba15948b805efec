// The sound player: the short sounds that tell at once what happened, beside the words.
#pragma once

namespace quorrel {

// The events that have a sound of their own.
enum class Sound {
    PickUp,   // a card picked up
    Drop,     // a card dropped in a column or a free cell
    Home,     // a card home (also the cards that went home by themselves)
    Refusal,  // a move the game refuses, with its spoken reason
    Edge,     // an arrow key against the edge of a grid
    Deal,     // the cards dealt
    Won,      // the game won
};
inline constexpr int kSoundCount = 7;

// Play starts a sound at the volume in force and returns at once: it never blocks, never waits for
// speech, and no call of the screen reader (StopSpeech among them) stops it. Sounds may overlap. A player
// with no sound device, or one lost, skips its sounds silently and reports nothing. Volume is a share of
// the samples' full loudness, in percent (1 to 100), for the sounds played after the call.
class ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    virtual void Play(Sound sound) = 0;
    virtual void SetVolume(int percent) = 0;
};

}  // namespace quorrel
