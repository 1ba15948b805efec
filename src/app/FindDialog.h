// The Find dialog's own handlers: its lists and its two buttons.
#pragma once

#include <string>

#include "platform/Dialogs.h"
#include "table/GameState.h"

namespace quorrel {

class GameScreen;

// Lives for one showing of the dialog; the outcome stays in FindCancelled and FindTarget.
class frmFind {
public:
    frmFind(GameScreen& screen, IFindView& view);
    void Form_Load();
    void btnFind_Click();
    void btnCancel_Click();
    std::string GetCard() const;

private:
    GameScreen& screen_;
    IFindView& view_;
};

}  // namespace quorrel
