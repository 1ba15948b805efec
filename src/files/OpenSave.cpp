// Game files: Open, Save and Save As, the copy of the table into the record, and the crash-safe write.
#include "app/GameScreen.h"
#include "table/Table.h"
#include "files/Paths.h"
#include "texts/Texts.h"

namespace quorrel {

namespace {
bool HasGameExtension(const std::string& name) {
    const std::string_view ext = texts::GameFileExtension;
    return name.size() >= ext.size() && name.compare(name.size() - ext.size(), ext.size(), ext) == 0;
}
}  // namespace

// The save question, a save's dialog and its refusals, the Open dialog and the refusal of the file follow
// one another: the table takes the focus back only once they are over. An opened game gives the column
// grid the focus, which keeps it.
void GameScreen::mnuGameOpen_Click() {
    ModalChain chain(Window);
    Trap(ReportForm::Handler, " in mnuGameOpen_Click()", [&] {
        if (!AskToSave(texts::GameInProgressOpen, texts::SaveBeforeOpening)) return;
        const auto before = State.OpenedFromFile;
        State.OpenedFromFile = 1;
        // When no game was opened (Cancel, or a file that is no game), a later "play again" must not
        // lay out a record that was never opened.
        if (!OpenGame()) State.OpenedFromFile = before;
    });
}

void GameScreen::mnuGameSave_Click() {
    if (DealWaiting) return;
    ModalChain chain(Window);
    Trap(ReportForm::Handler, " in mnuGameSave_Click()", [&] { SaveGame(); });
}

void GameScreen::mnuGameSaveAs_Click() {
    if (DealWaiting) return;
    ModalChain chain(Window);
    Trap(ReportForm::Handler, " in mnuGameSaveAs_Click()", [&] { SaveGameAs(); });
}

// Shows the open or save dialog until the player confirms a name ending in ".qrl"; Cancel raises
// the dialog's cancel error. The refusal of a name and the dialog again follow one another.
void GameScreen::ChooseGameFile(bool save) {
    CancelSearch();
    ModalChain chain(Window);
    for (;;) {
        P.FileDialog.CancelError = true;
        if (save) P.FileDialog.ShowSave();
        else P.FileDialog.ShowOpen();
        if (HasGameExtension(P.FileDialog.FileName)) return;
        MsgBox(std::string(texts::NeedsExtension) + std::string(texts::CrLf) + std::string(texts::ExtensionExample),
               MsgButtons::OK, MsgIcon::Information, std::string(texts::ProgramName));
    }
}

bool GameScreen::OpenGame() {
    bool opened = false;
    Trap(ReportForm::GameFile, " in OpenGame()", [&] {
        ChooseGameFile(false);
        const std::string path = P.FileDialog.FileName;
        if (path.empty()) return;
        // The record is read whole and checked before it replaces the one in memory. Only its bytes
        // are read, however long the file is.
        GameRecord record;
        const std::string problem = GameRecord::Read(P.FileSystem.ReadStart(path, GameRecord::Size), record);
        if (!problem.empty())
            throw RunTimeError(errors::BadFileFormat, ParseFilename(path) + std::string(texts::NotAGame) + problem + ".");
        State.SavedGame = record;
        Column.SetVisible(false);
        FreeCell.SetVisible(false);
        HomeCell.SetVisible(false);
        State.GameFileName = path;
        opened = true;
        BeginGame();
    });
    return opened;
}

GameScreen::SaveResult GameScreen::SaveGame() {
    if (ParseFilename(State.GameFileName) == texts::UntitledGame) return SaveGameAs();
    SaveResult result = SaveResult::Failed;
    Trap(ReportForm::GameFile, " in SaveGame()", [&] {
        SaveGameBoard();
        WriteRecord(State.GameFileName);
        CountGame(Stats.Saved(TableKey(Board.Snapshot()), State.GameFileName));
        Speak(ParseFilename(State.GameFileName) + std::string(texts::WasSaved));
        State.UnsavedChanges = 0;
        result = SaveResult::Saved;
    });
    return result;
}

GameScreen::SaveResult GameScreen::SaveGameAs() {
    SaveResult result = SaveResult::Failed;
    Trap(ReportForm::GameFile, " in SaveGameAs()", [&] {
        P.FileDialog.FileName = ParseFilename(State.GameFileName);
        try {
            ChooseGameFile(true);
        } catch (const RunTimeError& error) {
            if (error.Number != errors::CancelError) throw;
            result = SaveResult::Cancelled;
            return;
        }
        SaveGameBoard();
        const std::string path = P.FileDialog.FileName;
        WriteRecord(path);
        CountGame(Stats.Saved(TableKey(Board.Snapshot()), path));
        // The name changes only once the game is in the file.
        State.GameFileName = path;
        Window.SetCaption(ParseFilename(path) + std::string(texts::CaptionSeparator) + std::string(texts::ProgramName));
        State.UnsavedChanges = 0;
        result = SaveResult::Saved;
    });
    return result;
}

void GameScreen::SaveGameBoard() {
    Trap(ReportForm::GameFile, " in SaveGameBoard()", [&] {
        // The slots the table does not use keep what the record held.
        State.SavedGame = RecordOfTable(Board.Snapshot(), State.SavedGame);
    });
}

// Writes the record as the file's first 599 bytes, keeping any bytes a longer file had after them.
// The new content goes to a file beside the target, which replaces it only once it is whole on disk.
void GameScreen::WriteRecord(const std::string& path) { WriteSafely(path, State.SavedGame.Bytes(), true); }

void GameScreen::WriteSafely(const std::string& path, const std::vector<char>& bytes, bool keepTail) {
    const int handle = P.FileSystem.CreateBeside(path);
    try {
        P.FileSystem.Write(handle, bytes);
        if (keepTail) P.FileSystem.KeepTail(handle);
        P.FileSystem.Flush(handle);
        P.FileSystem.Replace(handle);
    } catch (...) {
        P.FileSystem.Discard(handle);
        throw;
    }
}

}  // namespace quorrel
