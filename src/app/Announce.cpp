// Cell announcements: a cell in French card words, the grids' cell-change and focus events, and the
// Speak Column Numbers option.
#include "app/GameScreen.h"
#include "app/Menus.h"
#include "speech/CardWords.h"
#include "texts/Texts.h"

namespace quorrel {

void GameScreen::SpeakCurrentCell(const std::string& text) { Speak(CellWords(text, Chosen(texts::DeWords))); }

void GameScreen::AnnounceCell(IGrid& grid) {
    const GridId id = Board.IdOf(grid);
    SpeakCurrentCell(Board.Current(id));
    if (Board.IsMarked(id)) Speak(texts::Selected);
}

void GameScreen::Column_RowColChange() {
    Trap(ReportForm::Handler, " in Column_RowColChange()", [&] {
        if (Board.EchoMuted()) return;
        StopSpeech();
        const int col = Column.Col();
        if (col != State.LastSpokenCol || ForceColumnNumber == -1) {
            if (Menus.IsChecked(mnuOptionsSpeakColumns)) {
                Speak(std::string(Chosen(texts::ColumnNumberWords)) + texts::SpokenNumber(col + 1));
                ForceColumnNumber = 0;
            }
            State.LastSpokenCol = static_cast<std::int16_t>(col);
        }
        AnnounceCell(Column);
    });
}

void GameScreen::FreeCell_RowColChange() {
    Trap(ReportForm::Handler, " in FreeCell_RowColChange()", [&] {
        if (Board.EchoMuted()) return;
        StopSpeech();
        AnnounceCell(FreeCell);
    });
}

void GameScreen::HomeCell_RowColChange() {
    Trap(ReportForm::Handler, " in HomeCell_RowColChange()", [&] {
        if (Board.EchoMuted()) return;
        StopSpeech();
        AnnounceCell(HomeCell);
    });
}

void GameScreen::AnnounceFocus(IGrid& grid, std::string_view gridName) {
    StopSpeech();
    if (!gridName.empty()) Speak(gridName);
    AnnounceCell(grid);
}

// With Brief Speech on, a grid's name is left out when the player just heard it: the focus comes back
// to the grid it just left, or to the grid it is in, and the player knew that grid when the focus last
// came to it. Landing anywhere else says the name, so no name means "back where you just were". A
// silent focus (a key's own move, a hint) leaves the player knowing the grid by the key, not by its
// name, so the name is said the next time.
void GameScreen::GridGotFocus(GridId id, GameState::Flag& silent, std::string_view gridName) {
    const int grid = static_cast<int>(id);
    State.FocusGrid = static_cast<std::int16_t>(grid);
    if (silent != 0) {
        silent = 0;
        grids_.Arrive(grid, false);
        return;
    }
    IGrid& focused = Board.Grid(id);
    const bool heard = grids_.JustHeard(grid);
    grids_.Arrive(grid, true);
    AnnounceFocus(focused, heard ? Chosen({gridName, ""}) : gridName);
}

void GameScreen::Column_GotFocus() {
    Trap(ReportForm::Handler, " in Column_GotFocus()",
         [&] { GridGotFocus(GridId::Column, SilentColumnFocus, texts::ColumnsGrid); });
}

void GameScreen::FreeCell_GotFocus() {
    Trap(ReportForm::Handler, " in FreeCell_GotFocus()",
         [&] { GridGotFocus(GridId::FreeCell, SilentCellFocus, texts::FreeCellsGrid); });
}

void GameScreen::HomeCell_GotFocus() {
    Trap(ReportForm::Handler, " in HomeCell_GotFocus()",
         [&] { GridGotFocus(GridId::HomeCell, SilentCellFocus, texts::HomeCellsGrid); });
}

void GameScreen::mnuOptionsSpeakColumns_Click() {
    Trap(ReportForm::Handler, " in mnuOptionsSpeakColumns_Click()",
         [&] { ToggleOption(mnuOptionsSpeakColumns, texts::SettingsSection, texts::SettingsColumnsKey); });
}

void GameScreen::mnuOptionsSafeHome_Click() {
    Trap(ReportForm::Handler, " in mnuOptionsSafeHome_Click()",
         [&] { ToggleOption(mnuOptionsSafeHome, texts::SettingsPlaySection, texts::SettingsSafeHomeKey); });
}

void GameScreen::mnuOptionsBrief_Click() {
    Trap(ReportForm::Handler, " in mnuOptionsBrief_Click()",
         [&] { ToggleOption(mnuOptionsBrief, texts::SettingsWordsSection, texts::SettingsBriefKey); });
}

void GameScreen::mnuOptionsSounds_Click() {
    Trap(ReportForm::Handler, " in mnuOptionsSounds_Click()",
         [&] { ToggleOption(mnuOptionsSounds, texts::SettingsSoundsSection, texts::SettingsSoundsOnKey); });
}

void GameScreen::ToggleOption(int id, std::string_view section, std::string_view key) {
    const bool checked = !Menus.IsChecked(id);
    Menus.SetChecked(id, checked);
    StoreSetting(section, key, std::string(checked ? texts::Checked : texts::Unchecked));
}

// A setting holds for the run whether or not it could be stored; the player hears once per outage of
// the settings store that it will not last.
void GameScreen::StoreSetting(std::string_view section, std::string_view key, const std::string& value) {
    try {
        P.Settings.SaveSetting(std::string(texts::SettingsApp), std::string(section), std::string(key), value);
        settingNotSavedReported_ = false;
    } catch (const RunTimeError&) {
        if (settingNotSavedReported_) return;
        settingNotSavedReported_ = true;
        throw;
    }
}

}  // namespace quorrel
