// Game files on the real file system: names in any script, permissions, vanished folders and a full disk.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/posix/PosixFileSystem.h"
#include "support/TestTable.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

struct PosixFiles : ::testing::Test {
    void SetUp() override {
        folder = fs::temp_directory_path() / ("quorrel-files-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string Path(const std::string& name) { return (folder / name).string(); }
    std::vector<char> Bytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    fs::path folder;
};

// A whole game on the in-memory window, saving to the real disk.
struct DiskGame : MemoryServices {
    MemoryWindow window;
    PosixFileSystem disk;
    Platform platform{window, reader, clock, clock, messages, settings, fileDialog, desktop, disk, "/opt/quorrel"};
    GameState state;
    GameScreen screen{state, platform};
};

TEST_F(PosixFiles, AGameUnderANonAsciiNameIsSavedAndOpenedAgain) {
    DiskGame game;
    Main(game.screen);
    game.window.menus.Click(mnuGameNew);
    const std::string path = Path("Partie \u00E9t\u00E9 \u2660.qrl");
    game.fileDialog.Answers = {path};
    game.window.menus.Click(mnuGameSaveAs);
    ASSERT_TRUE(game.messages.Asked.empty()) << game.messages.Asked[0].Text;
    EXPECT_EQ(Bytes(path).size(), 599u);
    EXPECT_EQ(game.window.Caption(), "Partie \u00E9t\u00E9 \u2660.qrl - Quorrel");
    const std::string firstCard = game.window.column.TextMatrix(1, 0);
    game.window.menus.Click(mnuGameNew);
    game.fileDialog.Answers = {path};
    game.window.menus.Click(mnuGameOpen);
    EXPECT_EQ(game.window.column.TextMatrix(1, 0), firstCard);
    // Only the game file is in the folder: nothing was left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(PosixFiles, AReplacedFileKeepsItsPermissions) {
    PosixFileSystem disk;
    const std::string path = Path("Game1.qrl");
    std::ofstream(path) << "old";
    ::chmod(path.c_str(), 0640);
    std::string newPath;
    const int handle = disk.CreateBeside(path, newPath);
    disk.Write(handle, {'n', 'e', 'w'});
    disk.Flush(handle);
    disk.Close(handle);
    disk.Rename(newPath, path);
    EXPECT_THAT(Bytes(path), ::testing::ElementsAre('n', 'e', 'w'));
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms(0640));
}

TEST_F(PosixFiles, BadPlacesAreRefusedWithAClearErrorAndLoseNothing) {
    PosixFileSystem disk;
    std::string newPath;
    // A read-only file is not replaced, even by root, whose folder permissions would allow it.
    const std::string readOnly = Path("Locked.qrl");
    std::ofstream(readOnly) << "keep";
    ::chmod(readOnly.c_str(), 0444);
    try {
        disk.CreateBeside(readOnly, newPath);
        FAIL() << "a read-only file was opened for replacing";
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.Number, 70);
        EXPECT_EQ(error.Description, "Permission denied (Locked.qrl)");
    }
    EXPECT_THAT(Bytes(readOnly), ::testing::ElementsAre('k', 'e', 'e', 'p'));
    // A folder that has vanished.
    try {
        disk.CreateBeside(Path("gone/Game1.qrl"), newPath);
        FAIL() << "a file was created in a folder that does not exist";
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.Number, 76);
        EXPECT_EQ(error.Description, "Path not found (Game1.qrl)");
    }
    try {
        disk.ReadFile(Path("Missing.qrl"));
        FAIL();
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.Number, 53);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST(FullDisk, ASaveOnAFullDiskSaysSoAndKeepsTheOldFile) {
    TestTable t;
    t.StartAndDeal();
    t.fileDialog.Answers = {"/home/player/Game1.qrl"};
    t.window.menus.Click(mnuGameSaveAs);
    const auto before = t.fileSystem.Files.at("/home/player/Game1.qrl");
    t.Press(keys::Down);
    t.fileSystem.FailAt = "write";
    t.fileSystem.FailWith = RunTimeError(errors::DiskFull, "Disk full (Game1.qrl)");
    t.state.UnsavedChanges = -1;
    t.window.menus.Click(mnuGameSave);
    ASSERT_EQ(t.messages.Asked.size(), 1u);
    EXPECT_EQ(t.messages.Asked[0].Text, "Disk full (Game1.qrl) in SaveGame()");
    EXPECT_EQ(t.fileSystem.Files.at("/home/player/Game1.qrl"), before);
    EXPECT_EQ(t.fileSystem.Files.size(), 1u);
    EXPECT_EQ(t.state.UnsavedChanges, -1);
}

}  // namespace
}  // namespace quorrel::test
