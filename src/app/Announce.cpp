// Cell announcements: a cell in French card words, the grids' cell-change and focus events, and the
// Speak Column Numbers option.
#include "app/GameScreen.h"
#include "app/Menus.h"
#include "speech/CardWords.h"
#include "texts/Texts.h"

namespace quorrel {

void GameScreen::SpeakCurrentCell(const std::string& text) { Speak(CellWords(text)); }

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
                Speak(std::string(texts::Column) + texts::SpokenNumber(col + 1));
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
    Speak(gridName);
    AnnounceCell(grid);
}

void GameScreen::Column_GotFocus() {
    Trap(ReportForm::Handler, " in Column_GotFocus()", [&] {
        State.FocusGrid = 0;
        if (SilentColumnFocus != 0) {
            SilentColumnFocus = 0;
            return;
        }
        AnnounceFocus(Column, texts::ColumnsGrid);
    });
}

void GameScreen::FreeCell_GotFocus() {
    Trap(ReportForm::Handler, " in FreeCell_GotFocus()", [&] {
        State.FocusGrid = 1;
        if (SilentCellFocus != 0) {
            SilentCellFocus = 0;
            return;
        }
        AnnounceFocus(FreeCell, texts::FreeCellsGrid);
    });
}

void GameScreen::HomeCell_GotFocus() {
    Trap(ReportForm::Handler, " in HomeCell_GotFocus()", [&] {
        State.FocusGrid = 2;
        if (SilentCellFocus != 0) {
            SilentCellFocus = 0;
            return;
        }
        AnnounceFocus(HomeCell, texts::HomeCellsGrid);
    });
}

void GameScreen::mnuOptionsSpeakColumns_Click() {
    Trap(ReportForm::Handler, " in mnuOptionsSpeakColumns_Click()",
         [&] { ToggleOption(mnuOptionsSpeakColumns, texts::SettingsSection, texts::SettingsColumnsKey); });
}

void GameScreen::mnuOptionsSafeHome_Click() {
    Trap(ReportForm::Handler, " in mnuOptionsSafeHome_Click()",
         [&] { ToggleOption(mnuOptionsSafeHome, texts::SettingsPlaySection, texts::SettingsSafeHomeKey); });
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
