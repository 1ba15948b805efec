// The main window's menu tree.
#include "app/Menus.h"

#include <string>

#include "texts/Texts.h"

namespace quorrel {

const std::vector<MenuEntry>& MenuTree() {
    using namespace texts;
    auto item = [](MenuId id, std::string_view caption, std::string shortcut = {}, bool checkable = false,
                   std::vector<std::string> otherShortcuts = {}) {
        return MenuItemEntry{id, std::string(caption), std::move(shortcut), checkable, std::move(otherShortcuts)};
    };
    // A held-down key must not start deal after deal, each inside the pause of the one before.
    auto once = [](MenuItemEntry entry) {
        entry.Repeats = false;
        return entry;
    };
    auto separated = [](MenuItemEntry entry) {
        entry.SeparatorBefore = true;
        return entry;
    };
    // A submenu of numbered items: the caption followed by "&" and the number, the shortcut the
    // modifiers followed by the number (and the keypad's digit for a plain one).
    auto numbered = [&](std::string_view caption, int first, int count, std::string_view itemCaption,
                        const std::string& modifiers) {
        MenuItemEntry entry{0, std::string(caption), {}};
        for (int n = 1; n <= count; ++n) {
            const std::string digit = std::to_string(n);
            std::vector<std::string> keypad;
            if (modifiers.empty()) keypad.push_back("Num+" + digit);
            entry.Submenu.push_back(
                once(item(static_cast<MenuId>(first + n - 1), std::string(itemCaption) + "&" + digit, modifiers + digit,
                          false, std::move(keypad))));
        }
        return entry;
    };
    auto submenu = [](std::string_view caption, std::vector<MenuItemEntry> items) {
        MenuItemEntry entry{0, std::string(caption), {}};
        entry.Submenu = std::move(items);
        return entry;
    };
    // How the game speaks. Faster and slower have keys that screen readers and desktops leave to the
    // program: Ctrl with the keys of plus and minus beside Backspace, not the keypad's.
    const std::vector<MenuItemEntry> speech = {
        item(mnuSpeechFaster, MenuSpeechFaster, "Ctrl+=", false, {"Ctrl++"}),
        item(mnuSpeechSlower, MenuSpeechSlower, "Ctrl+-"),
        item(mnuSpeechLouder, MenuSpeechLouder),
        item(mnuSpeechSofter, MenuSpeechSofter),
        item(mnuSpeechHigher, MenuSpeechHigher),
        item(mnuSpeechLower, MenuSpeechLower),
        separated(item(mnuSpeechVoice, MenuSpeechVoice)),
        item(mnuSpeechDefaults, MenuSpeechDefaults),
    };
    static const std::vector<MenuEntry> tree = {
        {std::string(MenuGame),
         {once(item(mnuGameNew, MenuGameNew, "Ctrl+N")), item(mnuGameOpen, MenuGameOpen, "Ctrl+O"),
          item(mnuGameSave, MenuGameSave, "Ctrl+S"), item(mnuGameSaveAs, MenuGameSaveAs),
          item(mnuGameExit, MenuGameExit)}},
        {std::string(MenuOptions),
         {item(mnuOptionsFind, MenuOptionsFind, "Ctrl+F"), item(mnuOptionsPreviousCard, MenuOptionsPreviousCard, "F7"),
          item(mnuOptionsNextCard, MenuOptionsNextCard, "F8"),
          item(mnuOptionsPreviousBottom, MenuOptionsPreviousBottom, "F5"),
          item(mnuOptionsNextBottom, MenuOptionsNextBottom, "F6"),
          item(mnuOptionsSpeakColumns, MenuOptionsSpeakColumns, {}, true),
          item(mnuOptionsSafeHome, MenuOptionsSafeHome, {}, true), item(mnuOptionsBrief, MenuOptionsBrief, {}, true),
          item(mnuOptionsSounds, MenuOptionsSounds, {}, true), item(mnuSoundsLouder, MenuOptionsSoundsLouder),
          item(mnuSoundsSofter, MenuOptionsSoundsSofter), separated(submenu(MenuSpeech, speech))}},
        {std::string(MenuPlay),
         {item(mnuPlayUndo, MenuPlayUndo, "Ctrl+Z"), item(mnuPlayRedo, MenuPlayRedo, "Ctrl+Y", false, {"Ctrl+Shift+Z"}),
          item(mnuPlayRestart, MenuPlayRestart, "Ctrl+R"), item(mnuPlayDealNumber, MenuPlayDealNumber, "Ctrl+G"),
          once(item(mnuPlayHint, MenuPlayHint, "Ctrl+H")), once(item(mnuPlayVerdict, MenuPlayVerdict, "Ctrl+Shift+H")),
          // The readings and the statistics: a held key speaks once, not once per repeat.
          separated(once(item(mnuPlayReadColumn, MenuPlayReadColumn, "F9"))),
          once(item(mnuPlayReadTable, MenuPlayReadTable, "Shift+F9")),
          once(item(mnuPlayReadBottomRow, MenuPlayReadBottomRow, "F11")),
          once(item(mnuPlayStatistics, MenuPlayStatistics, "Ctrl+T")),
          // The direct moves: each key once, however long it is held.
          separated(once(item(mnuPlayQuickMove, MenuPlayQuickMove, "Space"))),
          once(item(mnuPlayToFreeCell, MenuPlayToFreeCell, "F")), once(item(mnuPlayToHome, MenuPlayToHome, "H")),
          numbered(MenuPlayColumns, mnuPlayColumn1, kColumns, MenuColumnItem, ""),
          numbered(MenuPlayRuns, mnuPlayRun1, kColumns, MenuColumnItem, "Shift+"),
          numbered(MenuPlayFreeCells, mnuPlayFreeCell1, kCells, MenuFreeCellItem, "Alt+")}},
        {std::string(MenuHelp), {item(mnuHelpContents, MenuHelpContents), item(mnuHelpAbout, MenuHelpAbout)}},
    };
    return tree;
}

}  // namespace quorrel
