// The keys the main window handles itself, before the focused grid sees them.
#include "app/GameScreen.h"
#include "platform/Keys.h"
#include "texts/Texts.h"

namespace quorrel {

void GameScreen::Form_KeyDown(int KeyCode, int Shift, bool Held) {
    Trap(ReportForm::Handler, " in Form_KeyDown()", [&] {
        Moves.EndQuickRound();
        if (Held && (KeyCode == keys::F3 || KeyCode == keys::F4)) return;
        switch (KeyCode) {
        case keys::Escape:
            if (State.CardSelected == -1 && !DealWaiting) Moves.PutBack();
            break;
        case keys::F1: mnuHelpContents_Click(); break;  // the desktop's help key opens the same help
        case keys::F2: SpeakKeyList(); break;
        case keys::F3:
            if (Shift == 0 && State.GameInProgress == -1 && !DealWaiting) Readings.ReadFreeCells();
            break;
        case keys::F4:
            if (Shift == 0 && State.GameInProgress == -1 && !DealWaiting) Readings.ReadHomeCells();
            break;
        default: break;
        }
    });
}

void GameScreen::SpeakKeyList() {
    StopSpeech();
    for (std::string_view text : texts::KeyList) Speak(text);
}

}  // namespace quorrel
