// The option Speak Column Numbers when the settings store cannot keep it.
#include <gtest/gtest.h>

#include "support/TestTable.h"

namespace quorrel::test {
namespace {

TEST(UnstoredSetting, TheOptionStillSwitchesAndThePlayerIsToldOncePerOutage) {
    TestTable t;
    t.Start();
    t.settings.Unwritable = true;
    t.window.menus.Click(mnuOptionsSpeakColumns);
    EXPECT_FALSE(t.window.menus.IsChecked(mnuOptionsSpeakColumns));
    ASSERT_EQ(t.messages.Asked.size(), 1u);
    EXPECT_EQ(t.messages.Asked[0].Text,
              "Error: 75 The setting could not be saved for the next run in mnuOptionsSpeakColumns_Click()");
    EXPECT_EQ(t.messages.Asked[0].Icon, MsgIcon::Information);
    EXPECT_EQ(t.messages.Asked[0].Title, t.window.Caption());

    t.window.menus.Click(mnuOptionsSpeakColumns);
    EXPECT_TRUE(t.window.menus.IsChecked(mnuOptionsSpeakColumns));
    EXPECT_EQ(t.messages.Asked.size(), 1u);  // told once

    // Once a value is stored again, a new outage is told again.
    t.settings.Unwritable = false;
    t.window.menus.Click(mnuOptionsSpeakColumns);
    EXPECT_EQ(t.settings.Values["Quorrel/StartUp/Columns"], "Unchecked");
    EXPECT_EQ(t.messages.Asked.size(), 1u);
    t.settings.Unwritable = true;
    t.window.menus.Click(mnuOptionsSpeakColumns);
    EXPECT_TRUE(t.window.menus.IsChecked(mnuOptionsSpeakColumns));
    EXPECT_EQ(t.messages.Asked.size(), 2u);
}

}  // namespace
}  // namespace quorrel::test
