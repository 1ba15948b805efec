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
          item(mnuOptionsSpeakColumns, MenuOptionsSpeakColumns, {}, true)}},
        {std::string(MenuPlay),
         {item(mnuPlayUndo, MenuPlayUndo, "Ctrl+Z"), item(mnuPlayRedo, MenuPlayRedo, "Ctrl+Y", false, {"Ctrl+Shift+Z"}),
          item(mnuPlayRestart, MenuPlayRestart, "Ctrl+R"), item(mnuPlayDealNumber, MenuPlayDealNumber, "Ctrl+G"),
          once(item(mnuPlayHint, MenuPlayHint, "Ctrl+H")), once(item(mnuPlayVerdict, MenuPlayVerdict, "Ctrl+Shift+H")),
          // The readings and the statistics: a held key speaks once, not once per repeat.
          separated(once(item(mnuPlayReadColumn, MenuPlayReadColumn, "F9"))),
          once(item(mnuPlayReadTable, MenuPlayReadTable, "Shift+F9")),
          once(item(mnuPlayReadBottomRow, MenuPlayReadBottomRow, "F11")),
          once(item(mnuPlayStatistics, MenuPlayStatistics, "Ctrl+T"))}},
        {std::string(MenuHelp), {item(mnuHelpContents, MenuHelpContents), item(mnuHelpAbout, MenuHelpAbout)}},
    };
    return tree;
}

}  // namespace quorrel
