// The saved-game record and its form in a game file.
#include "files/GameRecord.h"

#include <set>

#include "cards/CardMod.h"

namespace quorrel {

namespace {
constexpr int kCardRows = 19;
constexpr int kColumns = 8;
constexpr int kCells = 4;

size_t ColumnOffset(size_t row, size_t col) { return 3 * (row + 21 * col); }

// A slot's bytes as a message can show and a screen reader can say whole: printable ASCII as it is,
// a tab as \t, a backslash doubled, every other byte (code 0, control codes, 0x80 and up) as \xHH.
std::string Readable(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') shown += "\\\\";
        else if (c == '\t') shown += "\\t";
        else if (byte >= 0x20 && byte < 0x7F) shown += c;
        else shown += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
    }
    return shown;
}

bool IsCardCode(const std::string& text) {
    static const std::set<std::string> codes = [] {
        std::set<std::string> all;
        for (int n = 1; n <= 52; ++n) all.insert(DetermineCard(n));
        return all;
    }();
    return codes.count(text) != 0;
}
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
    std::set<std::string> cards;
    std::string problem;
    auto count = [&](const std::string& card) {
        if (!cards.insert(card).second && problem.empty()) problem = card + " appears twice";
    };
    auto slotProblem = [](const std::string& text) { return "a cell holds \"" + Readable(text) + "\", which is no card"; };
    for (size_t col = 0; col < kColumns; ++col) {
        bool emptySeen = false;
        for (size_t row = 1; row <= kCardRows; ++row) {
            const std::string text = Trimmed(read.ColumnCards[row][col]);
            if (text.empty()) {
                emptySeen = true;
                continue;
            }
            if (!IsCardCode(text)) return slotProblem(text);
            if (emptySeen) return "column " + std::to_string(col + 1) + " has a gap";
            count(text);
        }
    }
    int homeCards = 0;
    for (size_t k = 0; k < kCells; ++k) {
        const std::string free = Trimmed(read.FreeCellCards[k]);
        if (!free.empty()) {
            if (!IsCardCode(free)) return slotProblem(free);
            count(free);
        }
        const std::string home = Trimmed(read.HomeCellCards[k]);
        if (!home.empty()) {
            if (!IsCardCode(home)) return slotProblem(home);
            for (int v = 1; v <= GetCardValue(home); ++v) count(BuildCardString(v, home));
            homeCards += GetCardValue(home);
        }
    }
    if (!problem.empty()) return problem;
    if (read.HomeCount < 0 || read.HomeCount > 52) return "its count of cards played home is out of range";
    if (read.HomeCount != homeCards) return "its count of cards played home does not match the home cells";
    if (cards.size() != 52) return "it holds " + std::to_string(cards.size()) + " cards instead of 52";
    record = read;
    return {};
}

}  // namespace quorrel
