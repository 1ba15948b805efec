// Saves one game file again and again through the real Save command on the real disk until it is
// killed: the program that bench/kill_save.py kills at random moments. Before each save it prints
// "saving HASH", after it "saved HASH" (the FNV-1a hash of the record's 599 bytes).
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/posix/PosixFileSystem.h"
#include "support/TestTable.h"

namespace {

std::uint64_t Hash(const std::vector<char>& bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace quorrel;
    if (argc < 2) {
        std::fprintf(stderr, "usage: quorrel_save_loop FILE [named]\n");
        return 2;
    }
    const std::string path = argv[1];
    const bool named = argc > 2 && std::string(argv[2]) == "named";
    test::MemoryServices services;
    MemoryWindow window;
    PosixFileSystem disk(named ? PosixFileSystem::NewFiles::AlwaysNamed
                               : PosixFileSystem::NewFiles::UnnamedWherePossible);
    Platform platform = services.On(static_cast<IWindow&>(window), disk);
    GameState state;
    GameScreen screen{state, platform};
    Main(screen);
    for (;;) {
        state.UnsavedChanges = 0;
        window.menus.Click(mnuGameNew);
        // A new deal is untitled again: the file is named once more, as the player would in Save As.
        state.GameFileName = path;
        screen.Files.SaveGameBoard();
        const std::uint64_t hash = Hash(state.SavedGame.Bytes());
        std::printf("saving %016llx\n", static_cast<unsigned long long>(hash));
        std::fflush(stdout);
        if (screen.Files.SaveGame() != GameFiles::SaveResult::Saved || !services.messages.Asked.empty()) {
            std::fprintf(stderr, "%s\n",
                         services.messages.Asked.empty() ? "not saved" : services.messages.Asked.back().Text.c_str());
            return 1;
        }
        std::printf("saved %016llx\n", static_cast<unsigned long long>(hash));
        std::fflush(stdout);
        services.reader.Transcript.clear();
    }
}
