// Help Topics, which opens the help document with the desktop's viewer, and the About dialog.
#include <iostream>

#include "app/GameScreen.h"
#include "texts/Texts.h"

namespace quorrel {

void GameScreen::mnuHelpContents_Click() {
    Trap(ReportForm::Handler, " in mnuHelpContents_Click()", [&] { RunHelp(App.HelpFile); });
}

// Nothing is shown or said when there is no document or no viewer: the help is a document apart from
// the game. Whoever started the program from a terminal learns why.
void GameScreen::RunHelp(const std::string& document) {
    Trap(ReportForm::Module, " in RunHelp()", [&] {
        if (!P.Desktop.OpenDocument(document)) std::cerr << texts::NoHelpViewer << document << "\n";
    });
}

void GameScreen::mnuHelpAbout_Click() {
    Trap(ReportForm::Handler, " in mnuHelpAbout_Click()", [&] {
        Hints.CancelSearch();
        auto view = Window.CreateAboutDialog();
        view->Load = [&] {
            view->SetVersion(std::string(texts::VersionPrefix) + std::to_string(App.Major) + "." +
                             std::to_string(App.Minor) + "." + std::to_string(App.Revision));
            view->SetTitle(std::string(texts::AboutTitlePrefix) + App.Title);
            view->SetDisclaimer(std::string(texts::AboutCopyright));
            view->SetDescription(std::string(texts::AboutWebSite));
        };
        view->OkClick = [&] { view->Unload(); };
        view->ShowModal();
    });
}

}  // namespace quorrel
