// Fuzzes the game-file reader: any bytes, opened the way the player opens a file, must either be
// refused with a message or give a table that keeps every rule of the game.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "files/GameRecord.h"
#include "support/TestTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<char> bytes(data, data + size);
    quorrel::GameRecord record;
    const std::string problem = quorrel::GameRecord::Read(bytes, record);
    if (problem.empty()) {
        // A record that reads back is written again byte for byte.
        const std::vector<char> again = record.Bytes();
        if (!std::equal(again.begin(), again.end(), bytes.begin())) std::abort();
    }

    // The whole Open command on the in-memory platform.
    quorrel::test::TestTable t;
    t.Start();
    t.fileSystem.Files["/tmp/Fuzz.qrl"] = bytes;
    t.fileDialog.Answers = {"/tmp/Fuzz.qrl"};
    t.window.menus.Click(quorrel::mnuGameOpen);
    const bool opened = t.state.GameInProgress == -1;
    if (opened != problem.empty()) std::abort();
    if (opened) {
        // Every card on the table once; the column grid's cards fill each column from the top.
        int cards = 0;
        for (int c = 0; c < 8; ++c) {
            bool empty = false;
            for (int r = 1; r < 20; ++r) {
                const bool hasCard = !t.window.column.TextMatrix(r, c).empty();
                if (hasCard && empty) std::abort();
                empty = empty || !hasCard;
                cards += hasCard;
            }
        }
        for (int k = 0; k < 4; ++k) cards += !t.window.freeCell.TextMatrix(0, k).empty();
        if (cards + t.state.HomeCount != 52) std::abort();
    }
    return 0;
}
