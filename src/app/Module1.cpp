// The program's start.
#include "app/Module1.h"

#include "app/GameScreen.h"
#include "texts/Texts.h"

namespace quorrel {

void Main(GameScreen& screen) {
    screen.Form_Load();
    screen.Window.Show();
    screen.StopSpeech();
    screen.Speak(texts::WelcomeNewGame);
    screen.Speak(texts::WelcomeHelp);
    screen.Speak(texts::WelcomeKeys);
}

}  // namespace quorrel
