// The Play menu's readings: the column under the column cursor, a summary of the table, and the
// bottom row. Each is one announcement that cuts off what was being said, and moves nothing.
#include "app/GameScreen.h"
#include "speech/CardWords.h"
#include "texts/Texts.h"

namespace quorrel {

void GameScreen::SpeakReading(const std::string& words) {
    StopSpeech();
    Speak(words);
}

void GameScreen::mnuPlayReadColumn_Click() {
    if (DealWaiting) return;
    Trap(ReportForm::Procedure, " in mnuPlayReadColumn()", [&] {
        if (State.GameInProgress == -1) SpeakReading(ColumnWords(Board.Snapshot(), Column.Col()));
    });
}

void GameScreen::mnuPlayReadTable_Click() {
    if (DealWaiting) return;
    Trap(ReportForm::Procedure, " in mnuPlayReadTable()", [&] {
        if (State.GameInProgress == -1) SpeakReading(TableWords(Board.Snapshot()));
    });
}

void GameScreen::mnuPlayReadBottomRow_Click() {
    if (DealWaiting) return;
    Trap(ReportForm::Procedure, " in mnuPlayReadBottomRow()", [&] {
        if (State.GameInProgress == -1) SpeakReading(BottomRowWords(Board.Snapshot()));
    });
}

}  // namespace quorrel
