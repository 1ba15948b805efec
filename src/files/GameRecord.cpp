// The saved-game record and its form in a game file.
#include "files/GameRecord.h"

#include "table/Table.h"

namespace quorrel {

namespace {
size_t ColumnOffset(size_t row, size_t col) { return 3 * (row + 21 * col); }
}  // namespace

void GameRecord::Store(Slot& slot, const std::string& text) {
    for (size_t i = 0; i < slot.size(); ++i) slot[i] = i < text.size() ? text[i] : ' ';
}

std::string GameRecord::Trimmed(const Slot& slot) {
    std::string text(slot.begin(), slot.end());
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<char> GameRecord::Bytes() const {
    std::vector<char> bytes(Size, 0);
    auto put = [&](size_t offset, const Slot& slot) {
        for (size_t i = 0; i < slot.size(); ++i) bytes[offset + i] = slot[i];
    };
    for (size_t col = 0; col < 9; ++col)
        for (size_t row = 0; row < 21; ++row) put(ColumnOffset(row, col), ColumnCards[row][col]);
    for (size_t k = 0; k < 5; ++k) {
        put(FreeCellsOffset + 3 * k, FreeCellCards[k]);
        put(HomeCellsOffset + 3 * k, HomeCellCards[k]);
    }
    const auto count = static_cast<std::uint16_t>(HomeCount);
    bytes[HomeCountOffset] = static_cast<char>(count & 0xFF);
    bytes[HomeCountOffset + 1] = static_cast<char>(count >> 8);
    return bytes;
}

std::string GameRecord::Read(const std::vector<char>& bytes, GameRecord& record) {
    if (bytes.size() < Size) return "it is shorter than 599 bytes";
    GameRecord read;
    auto get = [&](size_t offset, Slot& slot) {
        for (size_t i = 0; i < slot.size(); ++i) slot[i] = bytes[offset + i];
    };
    for (size_t col = 0; col < 9; ++col)
        for (size_t row = 0; row < 21; ++row) get(ColumnOffset(row, col), read.ColumnCards[row][col]);
    for (size_t k = 0; k < 5; ++k) {
        get(FreeCellsOffset + 3 * k, read.FreeCellCards[k]);
        get(HomeCellsOffset + 3 * k, read.HomeCellCards[k]);
    }
    read.HomeCount = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[HomeCountOffset]) |
                                               (static_cast<std::uint8_t>(bytes[HomeCountOffset + 1]) << 8));

    // Only the slots the table is laid out from are checked; the others keep whatever the file holds.
    if (std::string problem = Validate(TableOfRecord(read)); !problem.empty()) return problem;
    record = read;
    return {};
}

}  // namespace quorrel
