// Tests of the line-log screen reader.
#include "platform/speechd/LogScreenReader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using quorrel::LogScreenReader;

class LogScreenReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quorrel-log-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        path_ = folder_ + "/speech.log";
    }
    void TearDown() override { fs::remove_all(folder_); }

    static std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string folder_;
    std::string path_;
};

TEST_F(LogScreenReaderTest, WritesOneFlushedLinePerCallInCallOrderWithTheTextsBytes) {
    LogScreenReader reader(path_);
    reader.Say("Two of hearts");
    EXPECT_EQ(Contents(path_), "Speak: Two of hearts\n");  // readable while the reader is still open
    reader.StopSpeech();
    reader.Say("");
    reader.Say("  padded  ");
    reader.Say("\xC3\xA9 \xC3\xA8 \xE2\xB9\xB2");  // é è U+2E72
    EXPECT_EQ(Contents(path_),
              "Speak: Two of hearts\nStopSpeech\nSpeak: \nSpeak:   padded  \nSpeak: \xC3\xA9 \xC3\xA8 \xE2\xB9\xB2\n");
}

TEST_F(LogScreenReaderTest, LineBreaksInsideATextKeepItOnOneLine) {
    {
        LogScreenReader reader(path_);
        reader.Say("one\ntwo\r\nthree\rfour");
    }
    EXPECT_EQ(Contents(path_), "Speak: one two three four\n");
}

TEST_F(LogScreenReaderTest, StartsAnExistingFileAfresh) {
    { std::ofstream(path_) << "old line\n"; }
    {
        LogScreenReader reader(path_);
        reader.StopSpeech();
    }
    EXPECT_EQ(Contents(path_), "StopSpeech\n");
}

TEST_F(LogScreenReaderTest, DashWritesToStandardOutput) {
    const std::string captured = folder_ + "/stdout.txt";
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    ASSERT_GE(saved, 0);
    std::FILE* file = std::fopen(captured.c_str(), "w");
    ASSERT_NE(file, nullptr);
    dup2(fileno(file), STDOUT_FILENO);
    {
        LogScreenReader reader("-");
        reader.Say("Ace of spades");
        reader.StopSpeech();
    }
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    std::fclose(file);
    EXPECT_EQ(Contents(captured), "Speak: Ace of spades\nStopSpeech\n");
}

TEST_F(LogScreenReaderTest, PathThatCannotBeOpenedRaisesPathFileAccessError) {
    for (const std::string& path : {folder_ + "/no such folder/speech.log", folder_}) {
        try {
            LogScreenReader reader(path);
            ADD_FAILURE() << "no error for " << path;
        } catch (const quorrel::RunTimeError& error) {
            EXPECT_EQ(error.Number, 75);
            EXPECT_EQ(error.Description, "Path/File access error: " + path);
        }
    }
}

}  // namespace
