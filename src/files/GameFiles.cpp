// Game files: the save question, Open, Save and Save As, and the crash-safe write.
#include "files/GameFiles.h"

#include "app/GameScreen.h"
#include "files/Paths.h"
#include "table/Table.h"
#include "texts/Texts.h"

namespace quorrel {

namespace {
bool HasGameExtension(const std::string& name) {
    const std::string_view ext = texts::GameFileExtension;
    return name.size() >= ext.size() && name.compare(name.size() - ext.size(), ext.size(), ext) == 0;
}
}  // namespace

// Shows the open or save dialog until the player confirms a name ending in ".qrl"; Cancel raises
// the dialog's cancel error. The refusal of a name and the dialog again follow one another.
void GameFiles::ChooseGameFile(bool save) {
    S.Hints.CancelSearch();
    ModalChain chain(S.Window);
    for (;;) {
        S.P.FileDialog.CancelError = true;
        if (save) S.P.FileDialog.ShowSave();
        else S.P.FileDialog.ShowOpen();
        if (HasGameExtension(S.P.FileDialog.FileName)) return;
        S.MsgBox(std::string(texts::NeedsExtension) + std::string(texts::CrLf) + std::string(texts::ExtensionExample),
                 MsgButtons::OK, MsgIcon::Information, std::string(texts::ProgramName));
    }
}

bool GameFiles::OpenGame() {
    bool opened = false;
    S.Trap(ReportForm::GameFile, " in OpenGame()", [&] {
        ChooseGameFile(false);
        const std::string path = S.P.FileDialog.FileName;
        if (path.empty()) return;
        // The record is read whole and checked before it replaces the one in memory. Only its bytes
        // are read, however long the file is.
        GameRecord record;
        const std::string problem = GameRecord::Read(S.P.FileSystem.ReadStart(path, GameRecord::Size), record);
        if (!problem.empty())
            throw RunTimeError(errors::BadFileFormat,
                               ParseFilename(path) + std::string(texts::NotAGame) + problem + ".");
        S.State.SavedGame = record;
        S.Column.SetVisible(false);
        S.FreeCell.SetVisible(false);
        S.HomeCell.SetVisible(false);
        S.State.GameFileName = path;
        opened = true;
        S.BeginGame();
    });
    return opened;
}

GameFiles::SaveResult GameFiles::SaveGame() {
    if (ParseFilename(S.State.GameFileName) == texts::UntitledGame) return SaveGameAs();
    SaveResult result = SaveResult::Failed;
    S.Trap(ReportForm::GameFile, " in SaveGame()", [&] {
        SaveGameBoard();
        WriteRecord(S.State.GameFileName);
        S.Scores.CountGame(S.Scores.Stats.Saved(TableKey(S.Board.Snapshot()), S.State.GameFileName));
        S.Speak(ParseFilename(S.State.GameFileName) + std::string(texts::WasSaved));
        S.State.UnsavedChanges = 0;
        result = SaveResult::Saved;
    });
    return result;
}

GameFiles::SaveResult GameFiles::SaveGameAs() {
    SaveResult result = SaveResult::Failed;
    S.Trap(ReportForm::GameFile, " in SaveGameAs()", [&] {
        S.P.FileDialog.FileName = ParseFilename(S.State.GameFileName);
        try {
            ChooseGameFile(true);
        } catch (const RunTimeError& error) {
            if (error.Number != errors::CancelError) throw;
            result = SaveResult::Cancelled;
            return;
        }
        SaveGameBoard();
        const std::string path = S.P.FileDialog.FileName;
        WriteRecord(path);
        S.Scores.CountGame(S.Scores.Stats.Saved(TableKey(S.Board.Snapshot()), path));
        // The name changes only once the game is in the file.
        S.State.GameFileName = path;
        S.Window.SetCaption(ParseFilename(path) + std::string(texts::CaptionSeparator) +
                            std::string(texts::ProgramName));
        S.State.UnsavedChanges = 0;
        result = SaveResult::Saved;
    });
    return result;
}

void GameFiles::SaveGameBoard() {
    S.Trap(ReportForm::GameFile, " in SaveGameBoard()", [&] {
        // The slots the table does not use keep what the record held.
        S.State.SavedGame = RecordOfTable(S.Board.Snapshot(), S.State.SavedGame);
    });
}

// Writes the record as the file's first 599 bytes, keeping any bytes a longer file had after them.
// The new content goes to a file beside the target, which replaces it only once it is whole on disk.
void GameFiles::WriteRecord(const std::string& path) { WriteSafely(path, S.State.SavedGame.Bytes(), true); }

void GameFiles::WriteSafely(const std::string& path, const std::vector<char>& bytes, bool keepTail) {
    const int handle = S.P.FileSystem.CreateBeside(path);
    try {
        S.P.FileSystem.Write(handle, bytes);
        if (keepTail) S.P.FileSystem.KeepTail(handle);
        S.P.FileSystem.Flush(handle);
        S.P.FileSystem.Replace(handle);
    } catch (...) {
        S.P.FileSystem.Discard(handle);
        throw;
    }
}

// Asks the save question when a changed game is on the table; Yes saves. False when that save failed,
// so that the command stops and the game stays on the table. The question, a save's dialog and its
// refusals follow one another.
bool GameFiles::AskToSave(std::string_view firstLine, std::string_view question) {
    if (S.State.GameInProgress != -1 || S.State.UnsavedChanges != -1) return true;
    ModalChain chain(S.Window);
    const std::string text = std::string(firstLine) + std::string(texts::CrLf) + std::string(question) +
                             std::string(texts::CrLf);
    if (S.MsgBox(text, MsgButtons::YesNo, MsgIcon::Question, S.Window.Caption()) == MsgResult::Yes)
        return SaveGame() != SaveResult::Failed;
    return true;
}

}  // namespace quorrel
