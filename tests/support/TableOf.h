// A table as a value, from its columns (top card first), free cells and home cells, for tests.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "table/Table.h"

namespace quorrel::test {

// No check that the table is whole; the count of cards home is the one its home cells show.
inline Table TableOf(const std::vector<std::vector<std::string>>& columns, const std::vector<std::string>& free = {},
                     const std::vector<std::string>& home = {}) {
    Table table;
    for (size_t c = 0; c < columns.size(); ++c)
        std::copy(columns[c].begin(), columns[c].end(), table.Columns[c].begin());
    std::copy(free.begin(), free.end(), table.FreeCells.begin());
    std::copy(home.begin(), home.end(), table.HomeCells.begin());
    for (int k = 0; k < kCells; ++k) table.HomeCount = static_cast<std::int16_t>(table.HomeCount + table.HomeCards(k));
    return table;
}

}  // namespace quorrel::test
