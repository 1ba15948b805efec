// The main window's menu tree: the items, their captions and shortcuts.
#pragma once

#include <vector>

#include "platform/Window.h"

namespace quorrel {

enum MenuId : int {
    mnuGameNew = 1,
    mnuGameOpen,
    mnuGameSave,
    mnuGameSaveAs,
    mnuGameExit,
    mnuOptionsFind,
    mnuOptionsPreviousCard,
    mnuOptionsNextCard,
    mnuOptionsPreviousBottom,
    mnuOptionsNextBottom,
    mnuOptionsSpeakColumns,
    mnuHelpContents,
    mnuHelpAbout,
    // The Play menu.
    mnuPlayUndo,
    mnuPlayRedo,
    mnuPlayRestart,
    mnuPlayDealNumber,
    mnuPlayHint,
    mnuPlayVerdict,
    // The Play menu's readings and statistics.
    mnuPlayReadColumn,
    mnuPlayReadTable,
    mnuPlayReadBottomRow,
    mnuPlayStatistics,
};

// The menus with their items, in the order they are shown: Game, Options, Play, Help.
const std::vector<MenuEntry>& MenuTree();

}  // namespace quorrel
