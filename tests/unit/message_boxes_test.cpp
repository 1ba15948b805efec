// Message boxes said through the program's own speech when no screen reader reads them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/TestTable.h"

namespace quorrel::test {
namespace {

using ::testing::ElementsAre;

struct MessageBoxes : ::testing::Test {
    void SetUp() override {
        t.StartAndDeal();
        // What the player has heard when each box opens, before answering it.
        t.messages.OnShow = [this] { heardAtOpening.push_back(t.reader.SinceMark()); };
        t.reader.Mark();
    }
    void Open(const std::vector<std::string>& answers) {
        t.reader.Mark();
        t.fileDialog.Answers = {answers.begin(), answers.end()};
        t.window.menus.Click(mnuGameOpen);
    }
    TestTable t;
    std::vector<std::vector<std::string>> heardAtOpening;
};

TEST_F(MessageBoxes, EveryBoxIsSaidWithItsButtonsAsItOpens) {
    // The save question before opening (Yes or No), the extension message and the refusal of a file
    // that is no game (OK), each after a stop.
    t.fileSystem.Files["/tmp/Empty.qrl"] = {};
    t.messages.Answers = {MsgResult::No};
    Open({"/tmp/Game1.QRL", "/tmp/Empty.qrl"});
    ASSERT_EQ(t.messages.Asked.size(), 3u);
    ASSERT_EQ(heardAtOpening.size(), 3u);
    EXPECT_THAT(heardAtOpening[0], ElementsAre("<stop earlier>", t.messages.Asked[0].Text, " Yes or No. "));
    for (size_t i = 1; i < 3; ++i) {
        const auto& heard = heardAtOpening[i];
        ASSERT_GE(heard.size(), 3u);
        EXPECT_THAT(std::vector<std::string>(heard.end() - 3, heard.end()),
                    ElementsAre("<stop earlier>", t.messages.Asked[i].Text, " OK. "));
    }

    // An error report.
    heardAtOpening.clear();
    t.fileSystem.FailAt = "create";
    t.fileDialog.Answers = {"/tmp/Game1.qrl"};
    t.reader.Mark();
    t.window.menus.Click(mnuGameSaveAs);
    ASSERT_EQ(heardAtOpening.size(), 1u);
    EXPECT_EQ(t.messages.Asked.back().Text, "Device I/O error in SaveGameAs()");
    EXPECT_EQ(heardAtOpening[0].back(), " OK. ");
    EXPECT_EQ(*(heardAtOpening[0].end() - 2), "Device I/O error in SaveGameAs()");
}

TEST_F(MessageBoxes, AScreenReaderThatReadsTheBoxLeavesItToIt) {
    t.desktop.ScreenReader = true;
    t.Press(keys::Down);
    t.reader.Mark();
    t.window.menus.Click(mnuGameExit);  // a changed game: the save question
    ASSERT_EQ(heardAtOpening.size(), 1u);
    EXPECT_TRUE(heardAtOpening[0].empty());
}

}  // namespace
}  // namespace quorrel::test
