// Speech: the only road from the program to the screen reader.
#include <iostream>

#include "app/GameScreen.h"
#include "app/Menus.h"

namespace quorrel {

void GameScreen::Speak(std::string_view text) {
    Trap(ReportForm::Handler, " in Speak()", [&] { P.Reader.Say(std::string(text)); });
}

void GameScreen::Speak(const texts::Wording& words) {
    const std::string_view text = Chosen(words);
    if (!text.empty()) Speak(text);
}

std::string_view GameScreen::Chosen(const texts::Wording& words) const {
    return Menus.IsChecked(mnuOptionsBrief) ? words.Brief : words.Full;
}

void GameScreen::StopSpeech() {
    Trap(ReportForm::Handler, " in StopSpeech()", [&] { P.Reader.StopSpeech(); });
}

void GameScreen::SpeechFailed(const RunTimeError& error) {
    // The reader reports an outage once and reconnects by itself, so one notice is all the player gets.
    std::cerr << "quorrel: " << error.Description << " (error " << error.Number << ")\n";
    Report(ReportForm::Handler, " in Speak()", error);
}

}  // namespace quorrel
