// The numbered deals that FreeCell players share: deal n is the same table in every program.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quorrel {

// The numbers a numbered deal may have.
inline constexpr std::int32_t kFirstDealNumber = 1;
inline constexpr std::int32_t kLastDealNumber = 1000000;

inline constexpr bool IsDealNumber(std::int64_t number) {
    return number >= kFirstDealNumber && number <= kLastDealNumber;
}

// The deal number a player typed: decimal digits only, blanks around them allowed. Nothing when the
// text is no number or the number is no deal's.
std::optional<std::int32_t> ParseDealNumber(std::string_view typed);

// Fills entries 0 to 51 of deck with the card numbers of deal `number` (1 to 1000000), in the order
// the deal lays them out row by row; entry 52 is not touched. The classic numbering: a linear
// congruential generator seeded with the number draws each card from a shrinking deck.
void NumberedDeck(std::int32_t number, std::array<std::int16_t, 53>& deck);

}  // namespace quorrel
