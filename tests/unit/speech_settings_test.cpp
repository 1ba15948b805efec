// The speech settings: their range, the store, the fallbacks for stored values, and the voice chooser.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "speech/SpeechSettings.h"
#include "support/TestTable.h"

namespace quorrel::test {
namespace {

using ::testing::ElementsAre;

const char* const kRate = "Quorrel/Speech/Rate";
const char* const kVolume = "Quorrel/Speech/Volume";
const char* const kVoice = "Quorrel/Speech/Voice";

TEST(SpeechLevels, StoredLevelsAreWholeNumbersWithinTheRangeAndStepsStopAtTheLimits) {
    EXPECT_EQ(ParseSpeechLevel("-100"), -100);
    EXPECT_EQ(ParseSpeechLevel("100"), 100);
    for (const char* bad : {"", "101", "-101", "ten", "5x", " 5", "99999999999"})
        EXPECT_EQ(ParseSpeechLevel(bad), std::nullopt) << bad;

    EXPECT_EQ(SteppedSpeechLevel(std::nullopt, kServerRate, kSpeechStep), 10);
    EXPECT_EQ(SteppedSpeechLevel(std::nullopt, kServerVolume, -kSpeechStep), 90);
    EXPECT_EQ(SteppedSpeechLevel(95, kServerRate, kSpeechStep), 100);
    EXPECT_EQ(SteppedSpeechLevel(100, kServerRate, kSpeechStep), std::nullopt);
    EXPECT_EQ(SteppedSpeechLevel(std::nullopt, kServerVolume, kSpeechStep), std::nullopt);
    EXPECT_EQ(SteppedSpeechLevel(-100, kServerPitch, -kSpeechStep), std::nullopt);
}

TEST(SpeechSettings, UntouchedTheyNeverReachTheReaderNorTheStore) {
    TestTable t;
    t.StartAndDeal();
    EXPECT_TRUE(t.reader.VoicesSet.empty());
    for (const auto& [key, value] : t.settings.Values) EXPECT_EQ(key.rfind("Quorrel/Speech/", 0), std::string::npos);
}

TEST(SpeechSettings, EachChangeIsSetSaidAtTheNewSettingAndStoredAndTheLimitsSaySo) {
    TestTable t;
    t.settings.Values["Quorrel/StartUp/Columns"] = "Unchecked";
    t.Start();
    t.Heard();
    t.Shortcut("Ctrl+=");
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Faster "));
    ASSERT_EQ(t.reader.VoicesSet.size(), 1u);
    EXPECT_EQ(t.reader.VoicesSet.back(), (VoiceSettings{.Rate = 10, .Pitch = {}, .Volume = {}, .Voice = {}}));
    EXPECT_EQ(t.settings.Values[kRate], "10");

    t.window.menus.Click(mnuSpeechSofter);
    t.window.menus.Click(mnuSpeechLower);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Softer ", "<stop>", " Lower "));
    EXPECT_EQ(t.reader.VoicesSet.back(), (VoiceSettings{.Rate = 10, .Pitch = -10, .Volume = 90, .Voice = {}}));
    EXPECT_EQ(t.settings.Values[kVolume], "90");

    // Loudest is the server's own volume: one step up reaches it, the next is refused.
    t.window.menus.Click(mnuSpeechLouder);
    const auto set = t.reader.VoicesSet.size();
    t.window.menus.Click(mnuSpeechLouder);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Louder ", "<stop>", " This is the loudest speech. "));
    EXPECT_EQ(t.reader.VoicesSet.size(), set);
    for (int i = 0; i < 25; ++i) t.Shortcut("Ctrl+-");
    EXPECT_EQ(t.reader.VoicesSet.back().Rate, -100);
    EXPECT_EQ(t.reader.Transcript.back(), " This is the slowest speech. ");
    EXPECT_EQ(t.settings.Values["Quorrel/StartUp/Columns"], "Unchecked");
    EXPECT_TRUE(t.messages.Asked.empty());
}

TEST(SpeechSettings, StoredValuesComeBackAndBadOnesFallBackToTheServersOwnWithoutABox) {
    TestTable t;
    t.settings.Values[kRate] = "250";
    t.settings.Values["Quorrel/Speech/Pitch"] = "high";
    t.settings.Values[kVolume] = "-20";
    t.settings.Values[kVoice] = "gone";
    t.settings.Values["Quorrel/StartUp/Columns"] = "Unchecked";
    t.reader.VoiceNames = {"alpha", "beta"};
    t.Start();
    EXPECT_THAT(t.reader.VoicesSet, ElementsAre(VoiceSettings{.Rate = {}, .Pitch = {}, .Volume = -20, .Voice = {}}));
    EXPECT_TRUE(t.messages.Asked.empty());
    EXPECT_FALSE(t.window.menus.IsChecked(mnuOptionsSpeakColumns));
    // A step from a bad value starts at the server's own.
    t.Shortcut("Ctrl+=");
    EXPECT_EQ(t.reader.VoicesSet.back().Rate, 10);

    TestTable known;
    known.settings.Values[kRate] = "-30";
    known.settings.Values[kVoice] = "beta";
    known.reader.VoiceNames = {"alpha", "beta"};
    known.Start();
    EXPECT_EQ(known.reader.VoicesSet.back(), (VoiceSettings{.Rate = -30, .Pitch = {}, .Volume = {}, .Voice = "beta"}));
}

// Voices named as espeak-ng names them to speech-dispatcher, in its order: each language, then its
// variants after a plus sign (the real list has 132 voices with 101 variants each).
const std::vector<std::string> kEspeakVoices = {
    "Afrikaans",
    "Afrikaans+Adam",
    "Afrikaans+Alex",
    "English (America)",
    "English (America)+Adam",
    "English (America)+Alex",
    "Chinese (Cantonese)",
    "Chinese (Cantonese, latin as Jyutping)",
    "Chinese (Cantonese)+Adam",
};

TEST(VoiceGroups, EachVoiceIsListedOnceWithItsVariantsCountedAndKeptInTheServersOrder) {
    const auto groups = GroupVoices(kEspeakVoices);
    std::vector<std::string> labels;
    for (const auto& group : groups) labels.push_back(group.Label);
    EXPECT_THAT(labels, ElementsAre("Afrikaans, 3 voices", "English (America), 3 voices",
                                    "Chinese (Cantonese), 2 voices", "Chinese (Cantonese, latin as Jyutping)"));
    EXPECT_THAT(groups[1].Voices, ElementsAre(3u, 4u, 5u));
    EXPECT_THAT(groups[2].Voices, ElementsAre(6u, 8u));
    // A variant listed before its voice, or without it, still has one entry.
    EXPECT_THAT(GroupVoices({"x+b", "y", "x"})[0].Voices, ElementsAre(0u, 2u));
}

TEST(SpeechSettings, TheVoiceChooserListsVoicesThenTheirVariantsAndTheChosenOneSaysItsName) {
    TestTable t;
    t.Start();
    t.window.menus.Click(mnuSpeechVoice);
    EXPECT_EQ(t.reader.Transcript.back(), " The speech server lists no voices. ");
    EXPECT_EQ(t.window.DialogsShown, 0);

    t.reader.VoiceNames = kEspeakVoices;
    std::vector<std::string> groups, variants;
    int group = -1, selected = -1;
    t.window.VoiceScript = [&](MemoryVoiceView& view) {
        groups = view.Groups;
        group = view.GroupAt;
        selected = view.Index;
        view.ChooseGroup(1);
        variants = view.Voices;
        view.SetVoiceIndex(2);
        view.PressOk();
    };
    t.Heard();
    t.window.menus.Click(mnuSpeechVoice);
    EXPECT_EQ(groups.size(), 4u);
    EXPECT_EQ(group, 0);
    EXPECT_EQ(selected, 0);
    EXPECT_THAT(variants, ElementsAre("English (America)", "English (America)+Adam", "English (America)+Alex"));
    EXPECT_THAT(t.Heard(),
                ElementsAre("<stop earlier>", "Voices of the speech server:", "<stop>", " English (America)+Alex "));
    EXPECT_EQ(t.reader.VoicesSet.back().Voice, "English (America)+Alex");
    EXPECT_EQ(t.settings.Values[kVoice], "English (America)+Alex");

    // The voice in use is the one selected, in its entry; Escape keeps it.
    t.window.VoiceScript = [&](MemoryVoiceView& view) {
        group = view.GroupAt;
        selected = view.Index;
    };
    const auto set = t.reader.VoicesSet.size();
    t.window.menus.Click(mnuSpeechVoice);
    EXPECT_EQ(group, 1);
    EXPECT_EQ(selected, 2);
    EXPECT_EQ(t.reader.VoicesSet.size(), set);

    // Enter on an entry of the first list chooses the voice itself, without its variants.
    t.window.VoiceScript = [&](MemoryVoiceView& view) {
        view.ChooseGroup(2);
        view.PressOk();
    };
    t.window.menus.Click(mnuSpeechVoice);
    EXPECT_EQ(t.settings.Values[kVoice], "Chinese (Cantonese)");

    // The next run finds a stored variant among the server's voices and sets it again.
    TestTable next;
    next.settings.Values[kVoice] = "English (America)+Alex";
    next.reader.VoiceNames = kEspeakVoices;
    next.Start();
    EXPECT_EQ(next.reader.VoicesSet.back().Voice, "English (America)+Alex");
}

TEST(SpeechSettings, DefaultsForgetEverythingAndTheNextRunSendsNothing) {
    TestTable t;
    t.reader.VoiceNames = {"alpha"};
    t.window.VoiceScript = [](MemoryVoiceView& view) { view.PressOk(); };
    t.Start();
    t.Shortcut("Ctrl+=");
    t.window.menus.Click(mnuSpeechVoice);
    t.Heard();
    t.window.menus.Click(mnuSpeechDefaults);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " The speech is back to its defaults. "));
    EXPECT_EQ(t.reader.VoicesSet.back(), VoiceSettings{});

    TestTable next;
    next.settings.Values = t.settings.Values;
    next.reader.VoiceNames = {"alpha"};
    next.Start();
    EXPECT_TRUE(next.reader.VoicesSet.empty());
}

}  // namespace
}  // namespace quorrel::test
