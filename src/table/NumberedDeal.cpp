// The classic numbering of FreeCell deals.
#include "table/NumberedDeal.h"

#include <cstddef>

namespace quorrel {

namespace {
// The generator's deck is ordered by rank, ace first, and within a rank clubs, diamonds, hearts,
// spades; card numbers count spades 1 to 13, diamonds 14 to 26, clubs 27 to 39, hearts 40 to 52.
std::int16_t CardNumber(int generatorCard) {
    constexpr int kSuitStart[] = {26, 13, 39, 0};  // clubs, diamonds, hearts, spades
    return static_cast<std::int16_t>(kSuitStart[generatorCard % 4] + generatorCard / 4 + 1);
}
}  // namespace

void NumberedDeck(std::int32_t number, std::array<std::int16_t, 53>& deck) {
    std::array<int, 52> remaining{};
    for (int i = 0; i < 52; ++i) remaining[static_cast<std::size_t>(i)] = i;
    std::uint64_t seed = static_cast<std::uint32_t>(number);
    for (std::size_t i = 0, left = 52; i < 52; ++i, --left) {
        seed = (seed * 214013 + 2531011) % (std::uint64_t{1} << 31);
        const auto random = static_cast<std::size_t>(seed >> 16);  // bits 16 to 30
        const std::size_t drawn = random % left;
        deck[i] = CardNumber(remaining[drawn]);
        remaining[drawn] = remaining[left - 1];
    }
}

std::optional<std::int32_t> ParseDealNumber(std::string_view typed) {
    const auto first = typed.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    typed = typed.substr(first, typed.find_last_not_of(" \t") - first + 1);
    std::int64_t number = 0;
    for (char c : typed) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + (c - '0');
        if (number > kLastDealNumber) return std::nullopt;  // and no overflow on long texts
    }
    if (!IsDealNumber(number)) return std::nullopt;
    return static_cast<std::int32_t>(number);
}

}  // namespace quorrel
