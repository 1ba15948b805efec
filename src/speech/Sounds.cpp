// The sounds: the option, the volume and the sound player.
#include "speech/Sounds.h"

#include <string>

#include "app/GameScreen.h"
#include "app/Menus.h"
#include "speech/SpeechSettings.h"
#include "texts/Texts.h"

namespace quorrel {

void Sounds::Load() {
    const auto stored = [this](std::string_view key, std::string_view byDefault) {
        return S.P.Settings.GetSetting(std::string(texts::SettingsApp), std::string(texts::SettingsSoundsSection),
                                       std::string(key), std::string(byDefault));
    };
    S.Menus.SetChecked(mnuOptionsSounds, stored(texts::SettingsSoundsOnKey, texts::Checked) == texts::Checked);
    volume_ = ParseLevel(stored(texts::SettingsVolumeKey, {}), kSoundLowest, kSoundHighest).value_or(kSoundDefault);
    S.P.Sounds.SetVolume(volume_);
}

bool Sounds::On() const { return S.Menus.IsChecked(mnuOptionsSounds); }

void Sounds::Play(Sound sound) {
    if (On()) S.P.Sounds.Play(sound);
}

void Sounds::Step(bool louder) {
    S.Trap(ReportForm::Handler, " in mnuSounds_Click()", [&] {
        const auto next = SteppedLevel(volume_, louder ? kSoundStep : -kSoundStep, kSoundLowest, kSoundHighest);
        S.StopSpeech();
        if (!next) return S.Speak(louder ? texts::SoundsLoudest : texts::SoundsSoftest);
        volume_ = *next;
        S.P.Sounds.SetVolume(volume_);
        S.Speak(louder ? texts::SoundsLouder : texts::SoundsSofter);
        Play(Sound::PickUp);
        S.StoreSetting(texts::SettingsSoundsSection, texts::SettingsVolumeKey, std::to_string(volume_));
    });
}

}  // namespace quorrel
