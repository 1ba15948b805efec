// The saved-game record: one snapshot of the table, as a game file holds it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quorrel {

struct GameRecord {
    // A fixed-length text of three characters. A slot never stored to holds three code-0 bytes.
    using Slot = std::array<char, 3>;

    std::array<std::array<Slot, 9>, 21> ColumnCards{};  // [row 0..20][column 0..8]
    std::array<Slot, 5> FreeCellCards{};
    std::array<Slot, 5> HomeCellCards{};
    std::int16_t HomeCount = 0;

    // Pads the text with blanks to three characters, or cuts it to its first three.
    static void Store(Slot& slot, const std::string& text);
    // The slot's text with leading and trailing blanks removed.
    static std::string Trimmed(const Slot& slot);
};

}  // namespace quorrel
