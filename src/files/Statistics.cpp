// The player's record of games: the counting rules and the statistics file's text.
#include "files/Statistics.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace quorrel {

namespace {
constexpr std::string_view kHeader = "Quorrel statistics 1";

// A whole decimal number from 0 up to max, and nothing else.
template <class Int>
std::optional<Int> Number(std::string_view text, Int max) {
    Int value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() || value < 0 || value > max)
        return std::nullopt;
    return value;
}

// Splits off the text before the first blank.
std::string_view Word(std::string_view& rest) {
    const auto blank = rest.find(' ');
    const std::string_view word = rest.substr(0, blank);
    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    return word;
}

constexpr std::int32_t kMostGames = 2000000000;
constexpr std::int32_t kLastDeal = 1000000;
}  // namespace

std::string StatisticsRecord::Text() const {
    std::string text(kHeader);
    text += "\nPlayed " + std::to_string(Played) + "\nWon " + std::to_string(Won) + "\nStreak " +
            std::to_string(Streak) + "\nLongest " + std::to_string(Longest) + "\nInPlay " + std::to_string(InPlay) +
            "\nNextGame " + std::to_string(NextGame) + "\nDealsWon";
    for (std::int32_t deal : DealsWon) text += " " + std::to_string(deal);
    text += "\n";
    for (const auto& entry : Saved)
        text += "Saved " + std::to_string(entry.Game) + " " + std::to_string(entry.Deal) + " " + entry.Table + " " +
                entry.Path + "\n";
    return text;
}

std::optional<StatisticsRecord> StatisticsRecord::Parse(std::string_view text) {
    if (text.empty() || text.back() != '\n') return std::nullopt;
    StatisticsRecord record;
    std::string_view rest = text.substr(0, text.size() - 1);
    std::vector<std::string_view> lines;
    for (auto end = rest.find('\n');; end = rest.find('\n')) {
        lines.push_back(rest.substr(0, end));
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    // The header, then the seven lines of numbers in their order, then the saved games.
    constexpr std::string_view keys[] = {"Played", "Won", "Streak", "Longest", "InPlay", "NextGame", "DealsWon"};
    if (lines.size() < 8 || lines[0] != kHeader) return std::nullopt;
    std::int32_t* counts[] = {&record.Played, &record.Won, &record.Streak, &record.Longest};
    for (size_t k = 0; k < 7; ++k) {
        std::string_view line = lines[k + 1];
        if (Word(line) != keys[k]) return std::nullopt;
        if (k < 4) {
            const auto n = Number(line, kMostGames);
            if (!n) return std::nullopt;
            *counts[k] = *n;
        } else if (k < 6) {
            const auto n = Number<std::uint32_t>(line, UINT32_MAX);
            if (!n) return std::nullopt;
            (k == 4 ? record.InPlay : record.NextGame) = *n;
        } else {
            while (!line.empty()) {
                const auto deal = Number(Word(line), kLastDeal);
                if (!deal || *deal == 0 ||
                    std::find(record.DealsWon.begin(), record.DealsWon.end(), *deal) != record.DealsWon.end())
                    return std::nullopt;
                record.DealsWon.push_back(*deal);
            }
        }
    }
    for (size_t k = 8; k < lines.size(); ++k) {
        std::string_view line = lines[k];
        SavedGameEntry entry;
        if (Word(line) != "Saved") return std::nullopt;
        const auto game = Number<std::uint32_t>(Word(line), UINT32_MAX);
        const auto deal = Number(Word(line), kLastDeal);
        entry.Table = std::string(Word(line));
        entry.Path = std::string(line);
        if (!game || *game == 0 || *game >= record.NextGame || !deal || entry.Table.size() != 16 || entry.Path.empty())
            return std::nullopt;
        entry.Game = *game;
        entry.Deal = *deal;
        record.Saved.push_back(std::move(entry));
    }
    if (record.Won > record.Played || record.Streak > record.Longest || record.Longest > record.Won ||
        record.NextGame == 0 || record.InPlay >= record.NextGame || record.DealsWon.size() > size_t(record.Won))
        return std::nullopt;
    return record;
}

std::string TableKey(const Table& table) {
    std::uint64_t hash = 14695981039346656037ull;
    auto add = [&](std::string_view text) {
        for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
        hash = (hash ^ 0xFFu) * 1099511628211ull;  // ends each cell: no two tables write the same stream
    };
    for (int r = 1; r <= kCardRows; ++r)
        for (int c = 0; c < kColumns; ++c) add(table.Card(c, r));
    for (const auto& cell : table.FreeCells) add(cell);
    for (const auto& cell : table.HomeCells) add(cell);
    add(std::to_string(table.HomeCount));
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}

bool Statistics::HasEntry(std::uint32_t game, const std::string& tableKey) const {
    return std::any_of(Record.Saved.begin(), Record.Saved.end(), [&](const SavedGameEntry& e) {
        return e.Game == game && (tableKey.empty() || e.Table == tableKey);
    });
}

void Statistics::Forget(std::uint32_t game) {
    std::erase_if(Record.Saved, [&](const SavedGameEntry& e) { return e.Game == game; });
}

bool Statistics::StartUp() {
    if (Record.InPlay == 0) return false;
    if (!HasEntry(Record.InPlay, {})) {
        Record.Streak = 0;
    }
    Record.InPlay = 0;
    return true;
}

bool Statistics::Began(std::int32_t deal, const std::string& tableKey) {
    game_ = 0;
    deal_ = deal;
    if (tableKey.empty()) return false;
    const auto it = std::find_if(Record.Saved.rbegin(), Record.Saved.rend(),
                                 [&](const SavedGameEntry& e) { return e.Table == tableKey; });
    if (it == Record.Saved.rend()) return false;
    game_ = it->Game;
    deal_ = it->Deal;
    Record.InPlay = game_;
    return true;
}

bool Statistics::MoveMade() {
    if (game_ != 0) return false;
    // The numbers start again from 1; the saved games' numbers would be given to new games.
    if (Record.NextGame == UINT32_MAX) {
        Record.NextGame = 1;
        Record.Saved.clear();
    }
    game_ = Record.NextGame++;
    // The counts stop at the largest the file may hold.
    Record.Played = std::min(Record.Played + 1, kMostGames);
    Record.InPlay = game_;
    return true;
}

bool Statistics::GameWon() {
    MoveMade();
    Record.Won = std::min(Record.Won + 1, kMostGames);
    Record.Streak = std::min(Record.Streak + 1, kMostGames);
    Record.Longest = std::max(Record.Longest, Record.Streak);
    if (deal_ != 0) {
        std::erase(Record.DealsWon, deal_);
        Record.DealsWon.push_back(deal_);
    }
    Forget(game_);
    Record.InPlay = 0;
    game_ = 0;
    return true;
}

bool Statistics::Saved(const std::string& tableKey, const std::string& path) {
    if (game_ == 0 || path.empty() || path.find('\n') != std::string::npos) return false;
    std::erase_if(Record.Saved, [&](const SavedGameEntry& e) { return e.Path == path; });
    Record.Saved.push_back({game_, deal_, tableKey, path});
    if (Record.Saved.size() > kMostSaved) Record.Saved.erase(Record.Saved.begin());
    return true;
}

bool Statistics::Left(const std::string& tableKey) {
    if (game_ == 0) return false;
    if (!HasEntry(game_, tableKey)) {
        Record.Streak = 0;
        Forget(game_);
    }
    Record.InPlay = 0;
    game_ = 0;
    return true;
}

void Statistics::Reset() {
    Record = StatisticsRecord{};
    game_ = 0;
}

}  // namespace quorrel
