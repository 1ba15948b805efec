// The speech settings: how fast, how loud, how high and in which voice the game speaks.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ScreenReader.h"

namespace quorrel {

class GameScreen;

// The settings' range and step, in the speech server's units.
inline constexpr int kSpeechLowest = -100;
inline constexpr int kSpeechHighest = 100;
inline constexpr int kSpeechStep = 10;
// Where the server starts when the program sets nothing: speech-dispatcher's own defaults.
inline constexpr int kServerRate = 0;
inline constexpr int kServerPitch = 0;
inline constexpr int kServerVolume = 100;

// A stored level: a whole number from lowest to highest, else nothing.
std::optional<int> ParseLevel(const std::string& text, int lowest, int highest);
// The level one step (up or down) from value, kept from lowest to highest; nothing when value already is
// at the limit that way.
std::optional<int> SteppedLevel(int value, int step, int lowest, int highest);
// A stored speech level: a whole number within the range, else nothing (the server's own setting).
std::optional<int> ParseSpeechLevel(const std::string& text);
// The speech level one step (up or down) from value, which stands at serverDefault when unset; nothing
// when value already is at the limit that way.
std::optional<int> SteppedSpeechLevel(std::optional<int> value, int serverDefault, int step);

// The server's voices as the voice chooser shows them: each voice once, in the server's order, with the
// indexes (in names) of itself and its variants, which are named after it with a plus sign and may come
// before it. Label is what the chooser's first list says of it.
struct VoiceGroup {
    std::string Name, Label;
    std::vector<std::size_t> Voices;
};
std::vector<VoiceGroup> GroupVoices(const std::vector<std::string>& names);

// The Speech submenu's commands. Nothing is sent to the screen reader until the player changes a
// setting or a stored one is loaded; each change is stored in the settings' own section and said at the
// new setting. A stored value out of range is ignored, and so is a stored voice the server no longer
// lists: both leave the server's own setting, without a word.
class SpeechSettings {
public:
    enum class Change { Faster, Slower, Louder, Softer, Higher, Lower };

    explicit SpeechSettings(GameScreen& screen);

    // At start-up: the stored settings go to the screen reader (a voice once the server lists it).
    void Load();
    void Step(Change change);
    // Opens the voice chooser once the server has listed its voices.
    void ChooseVoice();
    // Back to the server's own settings, forgotten in the store as well.
    void Defaults();

    const VoiceSettings& Current() const { return current_; }

private:
    void Store(std::string_view key, const std::string& value);
    void ShowVoices(const std::vector<std::string>& names);
    // Silences what is being said and says text at the settings now in force.
    void Sample(std::string_view text);

    GameScreen& S;
    VoiceSettings current_;
    bool voicesAsked_ = false;   // the voice chooser waits for the server's list
    bool voiceLoading_ = false;  // the stored voice waits for the server's list
    // The answers of the screen reader come later; they find this unit only while it lives.
    std::shared_ptr<SpeechSettings*> self_;
};

}  // namespace quorrel
