// The saved-game record.
#include "files/GameRecord.h"

namespace quorrel {

void GameRecord::Store(Slot& slot, const std::string& text) {
    for (size_t i = 0; i < slot.size(); ++i) slot[i] = i < text.size() ? text[i] : ' ';
}

std::string GameRecord::Trimmed(const Slot& slot) {
    std::string text(slot.begin(), slot.end());
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace quorrel
