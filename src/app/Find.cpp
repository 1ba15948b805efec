// Finding a card: the Find command, its dialog, and the search that moves the focus and the cursor.
#include "app/FindDialog.h"
#include "app/GameScreen.h"
#include "texts/Texts.h"

namespace quorrel {

frmFind::frmFind(GameScreen& screen, IFindView& view) : screen_(screen), view_(view) {
    view_.Load = [this] { Form_Load(); };
    view_.FindClick = [this] { btnFind_Click(); };
    view_.CancelClick = [this] { btnCancel_Click(); };
    // Closing by the frame counts as Cancel, so that no earlier search is acted on again.
    view_.FrameClose = [this] { screen_.State.FindCancelled = -1; };
}

void frmFind::Form_Load() {
    for (std::string_view entry : texts::FindCardEntries) view_.AddCard(std::string(entry));
    for (std::string_view entry : texts::FindSuiteEntries) view_.AddSuite(std::string(entry));
    view_.SetCardIndex(0);
    view_.SetSuiteIndex(0);
}

void frmFind::btnFind_Click() {
    screen_.Trap(ReportForm::Module, " de btnFind_Click()", [&] {
        screen_.State.FindCancelled = 0;
        screen_.State.FindTarget = GetCard();
        view_.Unload();
    });
}

void frmFind::btnCancel_Click() {
    screen_.Trap(ReportForm::Module, " in btnCancel_Click()", [&] {
        screen_.State.FindCancelled = -1;
        view_.Unload();
    });
}

std::string frmFind::GetCard() const {
    const int card = view_.CardIndex();
    const int suite = view_.SuiteIndex();
    std::string code;
    if (card >= 0 && card < static_cast<int>(texts::FindCardRanks.size()))
        code += texts::FindCardRanks[static_cast<size_t>(card)];
    if (suite >= 0 && suite < static_cast<int>(texts::FindSuiteLetters.size()))
        code += texts::FindSuiteLetters[static_cast<size_t>(suite)];
    return code;
}

void GameScreen::mnuOptionsFind_Click() {
    if (DealWaiting) return;
    Trap(ReportForm::Handler, " in mnuOptionsFind_Click()", [&] {
        Hints.CancelSearch();
        SilentColumnFocus = -1;
        {
            auto view = Window.CreateFindDialog();
            frmFind dialog(*this, *view);
            view->ShowModal();
        }
        if (State.FindCancelled == 0) {
            StopSpeech();
            ForceColumnNumber = -1;
            Readings.FindCard(State.FindTarget);
        }
    });
}

}  // namespace quorrel
