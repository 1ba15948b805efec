// Help Topics and the About dialog.
#include <gtest/gtest.h>

#include "support/TestTable.h"

namespace quorrel::test {
namespace {

TEST(Help, HelpTopicsAndF1OpenTheHelpDocumentBesideTheProgram) {
    TestTable t;
    t.Start();
    t.window.menus.Click(mnuHelpContents);
    t.Press(keys::F1);
    ASSERT_EQ(t.desktop.Opened.size(), 2u);
    EXPECT_EQ(t.desktop.Opened[0], "/opt/quorrel/Quorr.html");
    EXPECT_EQ(t.desktop.Opened[1], "/opt/quorrel/Quorr.html");
}

TEST(Help, NoDocumentOrViewerShowsAndSaysNothing) {
    TestTable t;
    t.Start();
    t.desktop.Result = false;
    t.Heard();
    t.window.menus.Click(mnuHelpContents);
    EXPECT_TRUE(t.messages.Asked.empty());
    EXPECT_TRUE(t.Heard().empty());
}

TEST(About, ShowsTheSameTextsEveryTimeAndOkCloses) {
    TestTable t;
    t.Start();
    std::vector<std::string> seen;
    t.window.AboutScript = [&](MemoryAboutView& about) {
        seen.push_back(about.Title + "|" + about.Version);
        EXPECT_FALSE(about.Description.empty());
        EXPECT_FALSE(about.Disclaimer.empty());
        about.PressOk();
        EXPECT_FALSE(about.IsOpen());
    };
    t.window.menus.Click(mnuHelpAbout);
    t.window.menus.Click(mnuHelpAbout);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], "About |Version 1.0.0");
    EXPECT_EQ(seen[1], seen[0]);
}

}  // namespace
}  // namespace quorrel::test
