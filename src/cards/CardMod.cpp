// Card numbers and card codes.
#include "cards/CardMod.h"

#include <string_view>

#include <array>

namespace quorrel {

namespace {

constexpr std::array<char, 4> kSuitLetters = {'S', 'D', 'C', 'H'};

std::string RankPart(int rankValue) {
    switch (rankValue) {
    case 1: return "A";
    case 11: return "J";
    case 12: return "Q";
    case 13: return "K";
    default: return std::to_string(rankValue);
    }
}

// The last character of a code with blanks removed: empty when the code is empty or ends in a blank.
std::string LastCharacter(const std::string& code) {
    if (code.empty() || code.back() == ' ') return {};
    return std::string(1, code.back());
}

}  // namespace

std::string DetermineCard(int cardNumber) {
    if (cardNumber < 1 || cardNumber > 52) return {};
    const int block = (cardNumber - 1) / 13;
    return RankPart(cardNumber - 13 * block) + kSuitLetters[static_cast<size_t>(block)];
}

std::int16_t CardColor(const std::string& code) {
    const std::string suit = LastCharacter(code);
    if (suit == "S" || suit == "C") return 2;
    if (suit == "D" || suit == "H") return 1;
    return 0;
}

std::int16_t GetCardValue(const std::string& code) {
    if (code.size() != 2) return 10;
    switch (code[0]) {
    case 'K': return 13;
    case 'Q': return 12;
    case 'J': return 11;
    case 'A': return 1;
    default: return (code[0] >= '0' && code[0] <= '9') ? static_cast<std::int16_t>(code[0] - '0') : 0;
    }
}

int CardNumber(const std::string& code) {
    if (code.size() != 2 && code.size() != 3) return 0;
    const auto block = std::string_view("SDCH").find(code.back());
    if (block == std::string_view::npos) return 0;
    int rank = 0;
    if (code.size() == 3) rank = code[0] == '1' && code[1] == '0' ? 10 : 0;
    else if (const auto at = std::string_view("A23456789?JQK").find(code[0]); at != std::string_view::npos && at != 9)
        rank = static_cast<int>(at) + 1;
    return rank == 0 ? 0 : static_cast<int>(block) * 13 + rank;
}

std::string BuildCardString(int rankValue, const std::string& code) {
    return RankPart(rankValue) + LastCharacter(code);
}

}  // namespace quorrel
