// Fuzzes the statistics file, which the program reads at every start: any bytes must either be put
// aside as damaged, the statistics starting again from zero, or give a record the program goes on
// counting in; and every text it writes for a record must read back as that same record.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "files/Statistics.h"
#include "support/TestTable.h"
#include "texts/Texts.h"

namespace {

void ReadsBack(const quorrel::StatisticsRecord& record) {
    const auto again = quorrel::StatisticsRecord::Parse(record.Text());
    if (!again || *again != record) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto record = quorrel::StatisticsRecord::Parse(text);
    if (record) {
        ReadsBack(*record);
        // The counting rules from this record on: the start-up's settling, a numbered deal saved and
        // left, its file opened and won, and a game given up. Each change is written, and read back.
        quorrel::Statistics stats;
        stats.Record = *record;
        const std::string key = "00112233445566ff";
        for (const bool changed :
             {stats.StartUp(), stats.Began(617), stats.MoveMade(), stats.Saved(key, "/tmp/Fuzz.qrl"), stats.Left(key),
              stats.Began(0, key), stats.MoveMade(), stats.GameWon(), stats.Began(1), stats.MoveMade(),
              stats.Left({})}) {
            if (changed) ReadsBack(stats.Record);
        }
    }

    // The program's start on the in-memory platform, with these bytes as its statistics file.
    quorrel::test::TestTable t;
    const std::string path = t.fileSystem.DataFolder + "/" + std::string(quorrel::texts::StatisticsFileName);
    t.fileSystem.Files[path] = std::vector<char>(text.begin(), text.end());
    t.Start();
    if (record) {
        // Taken without a word, and the file holds what the program counts.
        const auto& file = t.fileSystem.Files[path];
        const auto held = quorrel::StatisticsRecord::Parse(std::string_view(file.data(), file.size()));
        if (!t.messages.Asked.empty() || !held || *held != t.screen.Scores.Stats.Record) std::abort();
    } else {
        // Renamed aside, one box says so, and the count starts from zero.
        if (t.fileSystem.Files.count(path) != 0 || t.messages.Asked.size() != 1 ||
            t.screen.Scores.Stats.Record != quorrel::StatisticsRecord{})
            std::abort();
    }
    return 0;
}
