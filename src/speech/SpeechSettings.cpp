// The speech settings: the Speech submenu's commands, the settings store and the screen reader.
#include "speech/SpeechSettings.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>

#include "app/GameScreen.h"
#include "texts/Texts.h"

namespace quorrel {

std::optional<int> ParseLevel(const std::string& text, int lowest, int highest) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || at != end) return std::nullopt;
    if (value < lowest || value > highest) return std::nullopt;
    return value;
}

std::optional<int> SteppedLevel(int value, int step, int lowest, int highest) {
    const int to = std::clamp(value + step, lowest, highest);
    if (to == value) return std::nullopt;
    return to;
}

std::optional<int> ParseSpeechLevel(const std::string& text) { return ParseLevel(text, kSpeechLowest, kSpeechHighest); }

std::optional<int> SteppedSpeechLevel(std::optional<int> value, int serverDefault, int step) {
    return SteppedLevel(value.value_or(serverDefault), step, kSpeechLowest, kSpeechHighest);
}

std::vector<VoiceGroup> GroupVoices(const std::vector<std::string>& names) {
    std::vector<VoiceGroup> groups;
    std::unordered_map<std::string_view, std::size_t> found;  // a voice's name to its group
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string_view name = std::string_view(names[i]).substr(0, names[i].find(texts::VoiceVariantMark));
        const auto [at, added] = found.try_emplace(name, groups.size());
        if (added) groups.push_back({std::string(name), {}, {}});
        groups[at->second].Voices.push_back(i);
    }
    for (auto& group : groups) {
        group.Label = group.Name;
        if (group.Voices.size() > 1)
            group.Label += std::string(texts::VoiceCountBefore) + std::to_string(group.Voices.size()) +
                           std::string(texts::VoiceCountAfter);
    }
    return groups;
}

SpeechSettings::SpeechSettings(GameScreen& screen) : S(screen), self_(std::make_shared<SpeechSettings*>(this)) {}

void SpeechSettings::Load() {
    const auto stored = [this](std::string_view key) {
        return S.P.Settings.GetSetting(std::string(texts::SettingsApp), std::string(texts::SettingsSpeechSection),
                                       std::string(key), {});
    };
    current_.Rate = ParseSpeechLevel(stored(texts::SettingsRateKey));
    current_.Pitch = ParseSpeechLevel(stored(texts::SettingsPitchKey));
    current_.Volume = ParseSpeechLevel(stored(texts::SettingsVolumeKey));
    // What sounds as the server's own is never sent: the game speaks as it always has.
    if (current_ != VoiceSettings{}) S.P.Reader.SetVoice(current_);
    const std::string voice = stored(texts::SettingsVoiceKey);
    if (voice.empty()) return;
    // The voice is set only once the server is known to have it; the player may have chosen otherwise
    // meanwhile.
    voiceLoading_ = true;
    S.P.Reader.ListVoices([self = std::weak_ptr<SpeechSettings*>(self_), voice](std::vector<std::string> names) {
        const auto alive = self.lock();
        if (!alive) return;
        SpeechSettings& settings = **alive;
        if (!settings.voiceLoading_) return;
        settings.voiceLoading_ = false;
        if (std::find(names.begin(), names.end(), voice) == names.end()) return;
        settings.current_.Voice = voice;
        settings.S.P.Reader.SetVoice(settings.current_);
    });
}

void SpeechSettings::Step(Change change) {
    struct Setting {
        std::optional<int> VoiceSettings::*level;
        int serverDefault;
        int step;
        std::string_view key, said, limit;
    };
    static constexpr auto kUp = kSpeechStep, kDown = -kSpeechStep;
    const Setting setting = [change]() -> Setting {
        switch (change) {
        case Change::Faster:
            return {&VoiceSettings::Rate,   kServerRate,         kUp,
                    texts::SettingsRateKey, texts::SpeechFaster, texts::SpeechFastest};
        case Change::Slower:
            return {&VoiceSettings::Rate,   kServerRate,         kDown,
                    texts::SettingsRateKey, texts::SpeechSlower, texts::SpeechSlowest};
        case Change::Louder:
            return {&VoiceSettings::Volume,   kServerVolume,       kUp,
                    texts::SettingsVolumeKey, texts::SpeechLouder, texts::SpeechLoudest};
        case Change::Softer:
            return {&VoiceSettings::Volume,   kServerVolume,       kDown,
                    texts::SettingsVolumeKey, texts::SpeechSofter, texts::SpeechSoftest};
        case Change::Higher:
            return {&VoiceSettings::Pitch,   kServerPitch,        kUp,
                    texts::SettingsPitchKey, texts::SpeechHigher, texts::SpeechHighest};
        case Change::Lower: break;
        }
        return {&VoiceSettings::Pitch,   kServerPitch,       kDown,
                texts::SettingsPitchKey, texts::SpeechLower, texts::SpeechLowest};
    }();
    S.Trap(ReportForm::Handler, " in mnuSpeech_Click()", [&] {
        const auto next = SteppedSpeechLevel(current_.*setting.level, setting.serverDefault, setting.step);
        if (!next) return Sample(setting.limit);
        current_.*setting.level = next;
        S.P.Reader.SetVoice(current_);
        Sample(setting.said);
        Store(setting.key, std::to_string(*next));
    });
}

void SpeechSettings::ChooseVoice() {
    if (voicesAsked_) return;
    voicesAsked_ = true;
    S.P.Reader.ListVoices([self = std::weak_ptr<SpeechSettings*>(self_)](std::vector<std::string> names) {
        if (const auto alive = self.lock()) {
            (*alive)->voicesAsked_ = false;
            (*alive)->ShowVoices(names);
        }
    });
}

void SpeechSettings::ShowVoices(const std::vector<std::string>& names) {
    S.Trap(ReportForm::Handler, " in mnuSpeechVoice_Click()", [&] {
        if (names.empty()) return Sample(texts::NoVoices);
        S.Hints.CancelSearch();
        const auto groups = GroupVoices(names);
        std::optional<std::string> chosen;
        {
            auto view = S.Window.CreateVoiceDialog();
            std::vector<std::string> labels;
            for (const auto& group : groups) labels.push_back(group.Label);
            view->SetGroups(labels);
            // The second list holds the voices of the entry selected in the first, the first of them
            // selected unless it holds the voice in use.
            const auto showGroup = [&](std::size_t group) {
                std::vector<std::string> voices;
                int selected = 0;
                for (const std::size_t i : groups[group].Voices) {
                    if (current_.Voice == names[i]) selected = static_cast<int>(voices.size());
                    voices.push_back(names[i]);
                }
                view->SetVoices(voices);
                view->SetVoiceIndex(selected);
            };
            // The entry of the voice in use, else the first.
            const auto now = std::find_if(groups.begin(), groups.end(), [&](const VoiceGroup& group) {
                return std::any_of(group.Voices.begin(), group.Voices.end(),
                                   [&](std::size_t i) { return current_.Voice == names[i]; });
            });
            const auto shown = now == groups.end() ? 0 : static_cast<std::size_t>(now - groups.begin());
            view->SetGroupIndex(static_cast<int>(shown));
            showGroup(shown);
            view->Load = [this] { S.SayUnlessScreenReader({texts::VoiceListLabel}); };
            view->GroupChange = [&] {
                const int group = view->GroupIndex();
                if (group >= 0 && group < static_cast<int>(groups.size())) showGroup(static_cast<std::size_t>(group));
            };
            view->OkClick = [&] {
                const int group = view->GroupIndex();
                const int voice = std::max(view->VoiceIndex(), 0);
                if (group >= 0 && group < static_cast<int>(groups.size()) &&
                    voice < static_cast<int>(groups[group].Voices.size()))
                    chosen = names[groups[group].Voices[voice]];
                view->Unload();
            };
            view->CancelClick = [&] { view->Unload(); };
            view->ShowModal();
        }
        if (!chosen) return;
        voiceLoading_ = false;
        current_.Voice = *chosen;
        S.P.Reader.SetVoice(current_);
        Sample(" " + *chosen + " ");
        Store(texts::SettingsVoiceKey, *chosen);
    });
}

void SpeechSettings::Defaults() {
    S.Trap(ReportForm::Handler, " in mnuSpeechDefaults_Click()", [&] {
        voiceLoading_ = false;
        current_ = {};
        S.P.Reader.SetVoice(current_);
        Sample(texts::SpeechDefaults);
        // Every key is forgotten that can be, even when one of them could not be.
        std::optional<RunTimeError> failed;
        for (auto key :
             {texts::SettingsRateKey, texts::SettingsPitchKey, texts::SettingsVolumeKey, texts::SettingsVoiceKey}) {
            try {
                Store(key, {});
            } catch (const RunTimeError& error) {
                failed = error;
            }
        }
        if (failed) throw *failed;
    });
}

void SpeechSettings::Sample(std::string_view text) {
    S.StopSpeech();
    S.Speak(text);
}

void SpeechSettings::Store(std::string_view key, const std::string& value) {
    S.StoreSetting(texts::SettingsSpeechSection, key, value);
}

}  // namespace quorrel
