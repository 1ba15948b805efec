// Game files: the save question, the open and save dialogs, the copy of the table into the record,
// and the crash-safe write.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorrel {

class GameScreen;

class GameFiles {
public:
    explicit GameFiles(GameScreen& screen) : S(screen) {}

    enum class SaveResult { Saved, Cancelled, Failed };
    // Asks the save question when a changed game is on the table; Yes saves. False when that save
    // failed, so that the command stops and the game stays on the table.
    bool AskToSave(std::string_view firstLine, std::string_view question);
    SaveResult SaveGame();
    SaveResult SaveGameAs();
    // True when a game was opened.
    bool OpenGame();
    void SaveGameBoard();
    // Replaces the file's content through the file system's crash-safe steps; keepTail keeps what a
    // longer file held beyond the new bytes.
    void WriteSafely(const std::string& path, const std::vector<char>& bytes, bool keepTail);

private:
    void WriteRecord(const std::string& path);
    void ChooseGameFile(bool save);

    GameScreen& S;
};

}  // namespace quorrel
