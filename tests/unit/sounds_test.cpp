// The sounds: which events play which sound and in what order, the option that silences them, and the
// sounds' own volume and where both are kept.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/TableOf.h"
#include "support/TestTable.h"

namespace quorrel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kOnSetting = "Quorrel/Sounds/On";
constexpr const char* kVolumeSetting = "Quorrel/Sounds/Volume";

// A dealt game whose table is replaced by the given one, the focus in the column grid on its first cell;
// the deal's sound and words are forgotten unless asked for.
struct SoundTable : TestTable {
    explicit SoundTable(const std::vector<std::vector<std::string>>& columns, const std::vector<std::string>& free = {},
                        const std::vector<std::string>& home = {}, bool soundsOff = false) {
        StartAndDeal();
        if (soundsOff) window.menus.Click(mnuOptionsSounds);
        LayOut(columns, free, home);
        state.HomeCount = TableOf(columns, free, home).HomeCount;
        Heard();
        sounds.Played.clear();
    }
};

// The last card: every other card is home but the king of spades, which lies alone in column 1.
const std::vector<std::string> kAllButKingOfSpades = {"QS", "KH", "KD", "KC"};

TEST(Sounds, AWholeGamesEventsEachPlayTheirSoundInOrder) {
    TestTable dealt;
    dealt.StartAndDeal();
    EXPECT_THAT(dealt.sounds.Played, ElementsAre(Sound::Deal));

    SoundTable t({{"KS"}}, {}, kAllButKingOfSpades);
    t.Press(keys::Up);     // the first row: the edge
    t.Press(keys::Left);   // the first column: the edge
    t.Press(keys::Right);  // moves: no sound
    t.Press(keys::Left);
    t.Shortcut("1");  // picks the king up
    t.Shortcut("2");  // drops it in the empty column 2
    t.Shortcut("1");  // nothing to pick up in the emptied column: refused
    t.Press(keys::Right);
    t.Press(keys::Up);  // the first row again
    t.Shortcut("H");    // home, and the game is won
    EXPECT_THAT(t.sounds.Played, ElementsAre(Sound::Edge, Sound::Edge, Sound::PickUp, Sound::Drop, Sound::Refusal,
                                             Sound::Edge, Sound::Home, Sound::Won));
    // The words are the same as without sounds.
    EXPECT_EQ(t.state.GameInProgress, 0);
}

TEST(Sounds, TheKeysAndTheCardsSentHomeByThemselvesPlayTheSameSounds) {
    SoundTable t({{"KS", "QH", "JC"}, {"QD"}, {"AH"}, {"9C"}}, {"5S", "8H"});
    t.window.menus.Click(mnuOptionsSafeHome);
    t.Shortcut("Shift+2");  // the jack on the queen of diamonds, and the ace of hearts home by itself
    t.Shortcut("Shift+4");  // no card of column 2's run goes on the nine of clubs
    t.Shortcut("Space");    // the jack back on the queen of hearts
    EXPECT_THAT(t.sounds.Played, ElementsAre(Sound::Drop, Sound::Home, Sound::Refusal, Sound::Drop));
    t.sounds.Played.clear();
    t.Shortcut("Alt+1");  // the five of spades picked up from its free cell
    t.Shortcut("F");      // to an empty free cell
    t.Shortcut("Alt+3");
    t.Shortcut("H");  // refused: the five of spades cannot go home
    EXPECT_THAT(t.sounds.Played, ElementsAre(Sound::PickUp, Sound::Drop, Sound::PickUp, Sound::Refusal));
}

TEST(Sounds, OffNothingIsPlayedAndTheChoiceIsRememberedInASectionOfItsOwn) {
    TestTable fresh;
    fresh.Start();
    EXPECT_TRUE(fresh.window.menus.IsChecked(mnuOptionsSounds));

    SoundTable t({{"KS"}}, {}, kAllButKingOfSpades, true);
    EXPECT_EQ(t.settings.Values[kOnSetting], "Unchecked");
    t.Press(keys::Left);
    t.Shortcut("1");
    t.Shortcut("2");
    t.Shortcut("1");
    t.window.menus.Click(mnuSoundsLouder);
    t.Shortcut("H");
    EXPECT_THAT(t.sounds.Played, IsEmpty());

    TestTable next;
    next.settings.Values[kOnSetting] = "Unchecked";
    next.StartAndDeal();
    EXPECT_FALSE(next.window.menus.IsChecked(mnuOptionsSounds));
    EXPECT_THAT(next.sounds.Played, IsEmpty());
}

TEST(Sounds, TheVolumeStepsAreSaidAndHeardStoredAndStopAtTheLimits) {
    TestTable t;
    t.Start();
    EXPECT_EQ(t.sounds.Volume, kSoundDefault);
    t.Heard();
    t.window.menus.Click(mnuSoundsLouder);
    EXPECT_THAT(t.Heard(), ElementsAre("<stop>", " Louder sounds "));
    EXPECT_THAT(t.sounds.Played, ElementsAre(Sound::PickUp));
    EXPECT_EQ(t.sounds.Volume, kSoundDefault + kSoundStep);
    EXPECT_EQ(t.settings.Values[kVolumeSetting], std::to_string(kSoundDefault + kSoundStep));
    for (int i = 0; i < 10; ++i) t.window.menus.Click(mnuSoundsLouder);
    EXPECT_EQ(t.Heard().back(), " These are the loudest sounds. ");
    EXPECT_EQ(t.sounds.Volume, kSoundHighest);
    for (int i = 0; i < 20; ++i) t.window.menus.Click(mnuSoundsSofter);
    EXPECT_EQ(t.Heard().back(), " These are the softest sounds. ");
    EXPECT_EQ(t.sounds.Volume, kSoundLowest);
    EXPECT_EQ(t.settings.Values[kVolumeSetting], std::to_string(kSoundLowest));

    // Read back at the next start; a stored value that is no volume falls back to the default.
    TestTable next;
    next.settings.Values = t.settings.Values;
    next.Start();
    EXPECT_EQ(next.sounds.Volume, kSoundLowest);
    for (const char* bad : {"0", "101", "loud", "5x", ""}) {
        TestTable other;
        other.settings.Values[kVolumeSetting] = bad;
        other.Start();
        EXPECT_EQ(other.sounds.Volume, kSoundDefault) << bad;
        EXPECT_TRUE(other.window.menus.IsChecked(mnuOptionsSounds));
    }
}

}  // namespace
}  // namespace quorrel::test
