// A card and a table in words: the French card words the game speaks, and the Play menu's readings.
#pragma once

#include <string>
#include <string_view>

#include "table/Table.h"
#include "texts/Texts.h"

namespace quorrel {

// The rank words of a card code ("" for no card), and its suit words.
std::string GetCardValueString(const std::string& code);
std::string GetSuite(const std::string& code);
// A cell's words: the card's rank words, the given words between (" de ", or none for Brief Speech)
// and its suit words; or " Empty ".
std::string CellWords(const std::string& text, std::string_view de = texts::De);

// The readings: a column's cards, its count and its run; the home cells by suit, the free cells, the
// empty columns and the cards left; the bottom card of each column. The cards as CellWords says them.
std::string ColumnWords(const Table& table, int column, std::string_view de = texts::De);
std::string TableWords(const Table& table);
std::string BottomRowWords(const Table& table, std::string_view de = texts::De);

// Where a card is: " Column " and its number, " a free cell " or " the home cells ".
std::string PlaceWords(const CellPlace& place);

}  // namespace quorrel
