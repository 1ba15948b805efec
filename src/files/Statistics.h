// The player's record of games: what is counted, the rules that count it, and its file's text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "table/Table.h"

namespace quorrel {

// A game that was counted and saved to a file unfinished. Opening a file whose table matches goes on
// with the same game. Table is TableKey of the table as it was saved.
struct SavedGameEntry {
    std::uint32_t Game = 0;
    std::int32_t Deal = 0;  // the numbered deal it began as, or 0
    std::string Table;
    std::string Path;
    bool operator==(const SavedGameEntry&) const = default;
};

struct StatisticsRecord {
    std::int32_t Played = 0;
    std::int32_t Won = 0;
    std::int32_t Streak = 0;   // wins in a row, up to the last game that ended
    std::int32_t Longest = 0;  // the longest such run
    // The counted game on the table when the file was last written, 0 for none: a program that ended
    // without closing leaves it here, and the next start settles it.
    std::uint32_t InPlay = 0;
    std::uint32_t NextGame = 1;
    std::vector<std::int32_t> DealsWon;  // numbered deals won, each once, the latest last
    std::vector<SavedGameEntry> Saved;   // the oldest first

    bool operator==(const StatisticsRecord&) const = default;

    // The file's text, and the record in a text: nothing when the text is no statistics of this program.
    std::string Text() const;
    static std::optional<StatisticsRecord> Parse(std::string_view text);
};

// What identifies a table: a 64-bit FNV-1a hash of its cards, cell by cell, and HomeCount, in hex.
std::string TableKey(const Table& table);

// The rules. A game counts once its first move is made; it is won when its 52nd card goes home. A
// counted game that is left unfinished (a new deal, an Open, a restart, closing the program) is lost,
// unless the table left is the one saved in a file: then it waits there, and opening a file with that
// table goes on with the same game. A game won or lost is forgotten by the files that held it, so
// opening one of them again begins a new game. Each call that changes the record returns true.
class Statistics {
public:
    StatisticsRecord Record;

    // At start-up: a game the last run left in play without closing is settled as if it had been left.
    bool StartUp();
    // A game is on the table: a deal (its number, or 0), or a table laid out from a file.
    bool Began(std::int32_t deal, const std::string& tableKey = {});
    bool MoveMade();
    bool GameWon();
    // The table on the screen was written to the file at path.
    bool Saved(const std::string& tableKey, const std::string& path);
    // The game is left with this table on the screen.
    bool Left(const std::string& tableKey);
    // Everything back to zero; the game on the table counts again from its next move.
    void Reset();

    std::int32_t Deal() const { return deal_; }
    bool Counted() const { return game_ != 0; }

    static constexpr size_t kMostSaved = 100;

private:
    void Forget(std::uint32_t game);
    bool HasEntry(std::uint32_t game, const std::string& tableKey) const;
    std::uint32_t game_ = 0;  // the counted game on the table, 0 before its first move
    std::int32_t deal_ = 0;
};

}  // namespace quorrel
