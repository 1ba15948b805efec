// Numbered deals.
#include "table/DealNumbers.h"

#include "app/GameScreen.h"
#include "table/NumberedDeal.h"
#include "texts/Texts.h"

namespace quorrel {

void DealNumbers::DealGameNumber(std::int32_t number) {
    S.Trap(ReportForm::Handler, " in DealGameNumber()", [&] {
        if (!IsDealNumber(number)) return;
        if (!S.Files.AskToSave(texts::GameInProgress, texts::SaveBeforeNewGame)) return;
        S.State.OpenedFromFile = 0;
        DealNumber = number;
        S.Column.SetVisible(false);
        S.FreeCell.SetVisible(false);
        S.HomeCell.SetVisible(false);
        S.BeginGame();
    });
}

// The dialog stays open until it is cancelled or gives a deal number; the deal begins once it has
// closed and the focus is back in the main window.
void DealNumbers::Ask() {
    S.Trap(ReportForm::Handler, " in mnuPlayDealNumber_Click()", [&] {
        S.Hints.CancelSearch();
        std::int32_t chosen = 0;
        {
            auto view = S.Window.CreateDealNumberDialog();
            view->Load = [this] { S.SayUnlessScreenReader({texts::DealNumberLabel}); };
            view->OkClick = [&] {
                S.Trap(ReportForm::Handler, " in btnDealOk_Click()", [&] {
                    const auto number = ParseDealNumber(view->NumberText());
                    if (!number) {
                        S.MsgBox(std::string(texts::NotADealNumber), MsgButtons::OK, MsgIcon::Information,
                                 std::string(texts::DealNumberCaption));
                        view->FocusNumber();
                        return;
                    }
                    chosen = *number;
                    // The column grid gets the focus back without a word: the old table is going.
                    if (S.Column.Visible() && S.State.FocusGrid == 0) S.SilentColumnFocus = -1;
                    view->Unload();
                });
            };
            view->CancelClick = [&] { view->Unload(); };
            view->ShowModal();
        }
        if (chosen != 0) DealGameNumber(chosen);
    });
}

void DealNumbers::SayNumber() {
    if (DealNumber != 0) S.Speak(std::string(texts::GameNumber) + texts::SpokenNumber(DealNumber));
}

}  // namespace quorrel
