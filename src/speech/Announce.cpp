// Cell announcements: a cell in French card words, the grids' cell-change and focus events, and the
// Speak Column Numbers option.
#include "app/GameScreen.h"
#include "app/Menus.h"
#include "texts/Texts.h"

namespace quorrel {

std::string GameScreen::GetCardValueString(const std::string& code) {
    if (code.size() == 2) {
        static constexpr std::string_view kRanks = "23456789JQKA";
        static constexpr int kValues[] = {2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 1};
        const auto at = kRanks.find(code[0]);
        if (at == std::string_view::npos) return {};
        return std::string(texts::RankWords[static_cast<size_t>(kValues[at] - 1)]);
    }
    if (code.size() == 3) return std::string(texts::RankWords[9]);
    return {};
}

std::string GameScreen::GetSuite(const std::string& code) {
    if (code.empty()) return {};
    switch (code.back()) {
    case 'S': return std::string(texts::SuitSpades);
    case 'C': return std::string(texts::SuitClubs);
    case 'H': return std::string(texts::SuitHearts);
    case 'D': return std::string(texts::SuitDiamonds);
    default: return {};
    }
}

std::string GameScreen::CellWords(const std::string& text) {
    if (text.empty()) return std::string(texts::Empty);
    return GetCardValueString(text) + std::string(texts::De) + GetSuite(text);
}

void GameScreen::SpeakCurrentCell(const std::string& text) { Speak(CellWords(text)); }

// The picked-up card's cell shows the grid's text colour as its background.
bool GameScreen::CellIsSelected(const IGrid& grid) const { return grid.CellBackColor() == grid.ForeColor(); }

void GameScreen::AnnounceCell(IGrid& grid) {
    SpeakCurrentCell(grid.Text());
    if (CellIsSelected(grid)) Speak(texts::Selected);
}

void GameScreen::Column_RowColChange() {
    Trap(ReportForm::Handler, " in Column_RowColChange()", [&] {
        if (State.Loading != 0) return;
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
        if (State.Loading != 0) return;
        StopSpeech();
        AnnounceCell(FreeCell);
    });
}

void GameScreen::HomeCell_RowColChange() {
    Trap(ReportForm::Handler, " in HomeCell_RowColChange()", [&] {
        if (State.Loading != 0) return;
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
    Trap(ReportForm::Handler, " in mnuOptionsSpeakColumns_Click()", [&] {
        const bool checked = !Menus.IsChecked(mnuOptionsSpeakColumns);
        Menus.SetChecked(mnuOptionsSpeakColumns, checked);
        // The option holds for the run whether or not it could be stored; the player hears once per
        // outage of the settings store that it will not last.
        try {
            P.Settings.SaveSetting(std::string(texts::SettingsApp), std::string(texts::SettingsSection),
                                   std::string(texts::SettingsColumnsKey),
                                   std::string(checked ? texts::Checked : texts::Unchecked));
            settingNotSavedReported_ = false;
        } catch (const RunTimeError&) {
            if (settingNotSavedReported_) return;
            settingNotSavedReported_ = true;
            throw;
        }
    });
}

}  // namespace quorrel
