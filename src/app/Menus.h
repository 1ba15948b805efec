// The main window's menu tree: the items, their captions and shortcuts.
#pragma once

#include <vector>

#include "platform/Window.h"
#include "table/Table.h"

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
    // The Play menu's direct moves: one key picks a card up or drops it, moves it to its best place, a
    // free cell or home; a column's digit, with Shift its run, with Alt a free cell's number.
    mnuPlayQuickMove,
    mnuPlayToFreeCell,
    mnuPlayToHome,
    mnuPlayColumn1,                             // to mnuPlayColumn1 + 7
    mnuPlayRun1 = mnuPlayColumn1 + kColumns,    // to mnuPlayRun1 + 7
    mnuPlayFreeCell1 = mnuPlayRun1 + kColumns,  // to mnuPlayFreeCell1 + 3
    // The Options menu's check item for the cards that go home by themselves.
    mnuOptionsSafeHome = mnuPlayFreeCell1 + kCells,
    // The Options menu's Speech submenu.
    mnuSpeechFaster,
    mnuSpeechSlower,
    mnuSpeechLouder,
    mnuSpeechSofter,
    mnuSpeechHigher,
    mnuSpeechLower,
    mnuSpeechVoice,
    mnuSpeechDefaults,
    // The Options menu's check item for the brief words.
    mnuOptionsBrief,
    // The Options menu's sounds: the check item and their volume.
    mnuOptionsSounds,
    mnuSoundsLouder,
    mnuSoundsSofter,
};

// The menus with their items, in the order they are shown: Game, Options, Play, Help.
const std::vector<MenuEntry>& MenuTree();

}  // namespace quorrel
