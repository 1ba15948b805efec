// The saved-game record: one snapshot of the table, and its 599-byte form in a game file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quorrel {

struct GameRecord {
    // A fixed-length text of three characters. A slot never stored to holds three code-0 bytes.
    using Slot = std::array<char, 3>;

    std::array<std::array<Slot, 9>, 21> ColumnCards{};  // [row 0..20][column 0..8]
    std::array<Slot, 5> FreeCellCards{};
    std::array<Slot, 5> HomeCellCards{};
    std::int16_t HomeCount = 0;

    // The size of the record in a file, and where its parts start.
    static constexpr size_t Size = 599;
    static constexpr size_t FreeCellsOffset = 567;
    static constexpr size_t HomeCellsOffset = 582;
    static constexpr size_t HomeCountOffset = 597;

    // Pads the text with blanks to three characters, or cuts it to its first three.
    static void Store(Slot& slot, const std::string& text);
    // The slot's text with leading and trailing blanks removed.
    static std::string Trimmed(const Slot& slot);

    // The record's bytes: column slots column by column (slot (row, column) at 3 * (row + 21 * column)),
    // then free cells, home cells and HomeCount as a little-endian 16-bit integer.
    std::vector<char> Bytes() const;
    // The record in the first 599 bytes; an empty string, or what makes them no game of this program:
    // too short, a slot the table reads that holds no card, a card twice, a gap in a column, a HomeCount
    // that does not match the home cells (a home cell showing rank v stands for v cards), or cards that
    // do not add up to 52.
    static std::string Read(const std::vector<char>& bytes, GameRecord& record);
};

}  // namespace quorrel
