// Card numbers and card codes: the four functions that translate between them and read a code.
#pragma once

#include <cstdint>
#include <string>

namespace quorrel {

// Card numbers 1 to 52 run in blocks of thirteen: spades, diamonds, clubs, hearts, each from ace to
// king. A card code is a rank part ("A", "2".."10", "J", "Q", "K") and an upper-case suit letter.
// These are plain functions without state; none of them can fail on any argument.
std::string DetermineCard(int cardNumber);                            // "" outside 1..52
std::int16_t CardColor(const std::string& code);                      // 2 black, 1 red, 0 otherwise
std::int16_t GetCardValue(const std::string& code);                   // rank value; 10 for any length but 2
std::string BuildCardString(int rankValue, const std::string& code);  // rank with code's suit letter
// The card number of a card code, the inverse of DetermineCard; 0 for a text that is no card code.
int CardNumber(const std::string& code);

}  // namespace quorrel
