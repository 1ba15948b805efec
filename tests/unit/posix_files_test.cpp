// Game files on the real file system: names in any script, permissions, vanished folders and a full disk.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
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

// A folder files can be created in: it exists, is a folder, and its permissions let this user write.
TEST_F(PosixFiles, CanWriteInOnlyAFolderThisUserMayWriteTo) {
    PosixFileSystem files;
    EXPECT_TRUE(files.CanWriteIn(folder.string()));
    EXPECT_FALSE(files.CanWriteIn(Path("missing")));
    std::ofstream(Path("file")) << "x";
    EXPECT_FALSE(files.CanWriteIn(Path("file")));
    fs::create_directory(Path("closed"));
    fs::permissions(Path("closed"), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                        fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    // The superuser writes anywhere: only an ordinary user sees the folder closed.
    if (::geteuid() != 0) {
        EXPECT_FALSE(files.CanWriteIn(Path("closed")));
    }
    EXPECT_TRUE(files.MakeFolder(Path("closed")));
    fs::permissions(Path("closed"), fs::perms::owner_all);
}

// A whole game on the in-memory window, saving to the real disk.
struct DiskGame : MemoryServices {
    explicit DiskGame(PosixFileSystem::NewFiles newFiles = PosixFileSystem::NewFiles::UnnamedWherePossible)
        : disk(newFiles) {}
    MemoryWindow window;
    PosixFileSystem disk;
    Platform platform{window,     reader,  clock, clock,      messages, settings,
                      fileDialog, desktop, disk,  background, sounds,   "/opt/quorrel"};
    GameState state;
    GameScreen screen{state, platform};

    void Deal() {
        Main(screen);
        window.menus.Click(mnuGameNew);
    }
    // Runs a file command with the dialog answered by path; the message it showed, or "".
    std::string Command(MenuId command, const std::string& path) {
        messages.Asked.clear();
        state.UnsavedChanges = 0;
        fileDialog.Answers = {path};
        window.menus.Click(command);
        return messages.Asked.empty() ? "" : messages.Asked.back().Text;
    }
};

// The names in a folder, hidden ones included, sorted.
std::vector<std::string> Listing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

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
    const int handle = disk.CreateBeside(path);
    disk.Write(handle, {'n', 'e', 'w'});
    disk.Flush(handle);
    disk.Replace(handle);
    EXPECT_THAT(Bytes(path), ::testing::ElementsAre('n', 'e', 'w'));
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms(0640));
}

TEST_F(PosixFiles, BadPlacesAreRefusedWithAClearErrorAndLoseNothing) {
    PosixFileSystem disk;
    // A read-only file is not replaced, even by root, whose folder permissions would allow it.
    const std::string readOnly = Path("Locked.qrl");
    std::ofstream(readOnly) << "keep";
    ::chmod(readOnly.c_str(), 0444);
    try {
        disk.CreateBeside(readOnly);
        FAIL() << "a read-only file was opened for replacing";
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.Number, 70);
        EXPECT_EQ(error.Description, "Permission denied (Locked.qrl)");
    }
    EXPECT_THAT(Bytes(readOnly), ::testing::ElementsAre('k', 'e', 'e', 'p'));
    // A folder that has vanished.
    try {
        disk.CreateBeside(Path("gone/Game1.qrl"));
        FAIL() << "a file was created in a folder that does not exist";
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.Number, 76);
        EXPECT_EQ(error.Description, "Path not found (Game1.qrl)");
    }
    try {
        disk.ReadStart(Path("Missing.qrl"), 599);
        FAIL();
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.Number, 53);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(PosixFiles, PlacesThatHoldNoFileAreRefusedAtOnceAndNothingChanges) {
    DiskGame game;
    game.Deal();
    ASSERT_EQ(::mkfifo(Path("Pipe.qrl").c_str(), 0644), 0);
    fs::create_directory(Path("Folder.qrl"));
    fs::create_symlink("/dev/zero", Path("Zero.qrl"));
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    Path("Socket.qrl").copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::string card = game.window.column.TextMatrix(1, 0);
    const auto record = game.state.SavedGame.Bytes();
    const std::pair<const char*, const char*> places[] = {{"Pipe.qrl", " is a named pipe"},
                                                          {"Folder.qrl", " is a folder"},
                                                          {"Zero.qrl", " is a device"},
                                                          {"Socket.qrl", " is a socket"}};
    for (const auto& [name, what] : places) {
        EXPECT_EQ(game.Command(mnuGameOpen, Path(name)),
                  std::string("Path/File access error (") + name + what + ", not a file) in OpenGame()");
        EXPECT_EQ(game.messages.Asked.back().Title, "Quorrel");
        EXPECT_EQ(game.state.SavedGame.Bytes(), record) << name;
        EXPECT_EQ(game.state.GameFileName, "Untitled.qrl") << name;
        EXPECT_EQ(game.window.Caption(), "Untitled.qrl - Quorrel") << name;
        EXPECT_EQ(game.window.column.TextMatrix(1, 0), card) << name;
    }
    EXPECT_EQ(game.Command(mnuGameSaveAs, Path("Pipe.qrl")),
              "Path/File access error (Pipe.qrl is a named pipe, not a file) in SaveGameAs()");
    EXPECT_EQ(game.Command(mnuGameSaveAs, Path("Folder.qrl")),
              "Path/File access error (Folder.qrl is a folder, not a file) in SaveGameAs()");
    EXPECT_TRUE(fs::is_fifo(Path("Pipe.qrl")));
    EXPECT_EQ(game.state.GameFileName, "Untitled.qrl");
    EXPECT_THAT(Listing(folder), ::testing::ElementsAre("Folder.qrl", "Pipe.qrl", "Socket.qrl", "Zero.qrl"));
    ::close(listener);
}

TEST_F(PosixFiles, OnlyTheRecordIsReadOfAHugeFile) {
    DiskGame game;
    game.Deal();
    ASSERT_EQ(game.Command(mnuGameSaveAs, Path("Game1.qrl")), "");
    const std::string card = game.window.column.TextMatrix(1, 0);
    fs::resize_file(Path("Game1.qrl"), std::uintmax_t{1} << 40);  // a terabyte, sparse
    game.window.menus.Click(mnuGameNew);
    EXPECT_EQ(game.Command(mnuGameOpen, Path("Game1.qrl")), "");
    EXPECT_EQ(game.window.column.TextMatrix(1, 0), card);
}

// Saving, with the new file made unnamed and with it named from the start.
struct PosixSaves : PosixFiles, ::testing::WithParamInterface<PosixFileSystem::NewFiles> {};

INSTANTIATE_TEST_SUITE_P(NewFiles, PosixSaves,
                         ::testing::Values(PosixFileSystem::NewFiles::UnnamedWherePossible,
                                           PosixFileSystem::NewFiles::AlwaysNamed));

TEST_P(PosixSaves, ASaveThroughLinksWritesTheFileTheyPointToAndKeepsTheLinks) {
    fs::create_directories(folder / "real");
    fs::create_directories(folder / "links");
    DiskGame game(GetParam());
    game.Deal();
    ASSERT_EQ(game.Command(mnuGameSaveAs, Path("real/Game1.qrl")), "");
    std::ofstream(Path("real/Game1.qrl"), std::ios::app) << "tail";
    fs::create_symlink("../real/Game1.qrl", Path("links/b.qrl"));
    fs::create_symlink("links/b.qrl", Path("a.qrl"));
    game.window.menus.Click(mnuGameNew);
    const std::string card = game.window.column.TextMatrix(1, 0);
    ASSERT_EQ(game.Command(mnuGameSaveAs, Path("a.qrl")), "");
    EXPECT_TRUE(fs::is_symlink(Path("a.qrl")));
    EXPECT_TRUE(fs::is_symlink(Path("links/b.qrl")));
    const auto bytes = Bytes(Path("real/Game1.qrl"));
    ASSERT_EQ(bytes.size(), 603u);
    EXPECT_EQ(std::string(bytes.begin() + 3, bytes.begin() + 6), (card + "  ").substr(0, 3));
    EXPECT_EQ(std::string(bytes.end() - 4, bytes.end()), "tail");
    EXPECT_EQ(game.window.Caption(), "a.qrl - Quorrel");
    EXPECT_THAT(Listing(folder), ::testing::ElementsAre("a.qrl", "links", "real"));
    EXPECT_THAT(Listing(folder / "links"), ::testing::ElementsAre("b.qrl"));
    EXPECT_THAT(Listing(folder / "real"), ::testing::ElementsAre("Game1.qrl"));
}

TEST_P(PosixSaves, ANameAsLongAsTheFolderAllowsIsSavedAndALongerOneRefusedClearly) {
    const size_t nameMax = static_cast<size_t>(::pathconf(folder.c_str(), _PC_NAME_MAX));
    const std::string longest = std::string(nameMax - 4, 'n') + ".qrl";
    const std::string tooLong = "n" + longest;
    DiskGame game(GetParam());
    game.Deal();
    EXPECT_EQ(game.Command(mnuGameSaveAs, Path(longest)), "");
    EXPECT_EQ(Bytes(Path(longest)).size(), 599u);
    EXPECT_EQ(game.Command(mnuGameSave, ""), "");
    EXPECT_EQ(game.Command(mnuGameSaveAs, Path(tooLong)), "File name too long (" + tooLong + ") in SaveGameAs()");
    EXPECT_THAT(Listing(folder), ::testing::ElementsAre(longest));
}

TEST_P(PosixSaves, WhatKilledSavesLeftBesideAFileGoesWithTheNextSave) {
    DiskGame game(GetParam());
    game.Deal();
    ASSERT_EQ(game.Command(mnuGameSaveAs, Path("Game1.qrl")), "");
    for (const char* name : {".Game1.qrl.Ab12Cd", ".Game1.qrl.k3Pq9Z", ".Game1.qrl.bak", ".Other.qrl.Ab12Cd"})
        std::ofstream(Path(name)) << "left";
    // One that another save is still writing: it holds its lock.
    const int busy = ::open(Path(".Game1.qrl.k3Pq9Z").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(busy, LOCK_EX), 0);
    EXPECT_EQ(game.Command(mnuGameSave, ""), "");
    EXPECT_THAT(Listing(folder),
                ::testing::ElementsAre(".Game1.qrl.bak", ".Game1.qrl.k3Pq9Z", ".Other.qrl.Ab12Cd", "Game1.qrl"));
    ::close(busy);
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
