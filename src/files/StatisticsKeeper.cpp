// The player's statistics, kept in their file.
#include "files/StatisticsKeeper.h"

#include "app/GameScreen.h"
#include "files/Paths.h"
#include "texts/Texts.h"

namespace quorrel {

namespace {
// Larger than any statistics file this program writes.
constexpr size_t kLargestFile = 1 << 20;
constexpr size_t kDealsListed = 10;
}  // namespace

std::string StatisticsKeeper::StatisticsFile() const {
    return S.P.FileSystem.UserDataFolder() + "/" + std::string(texts::StatisticsFileName);
}

void StatisticsKeeper::LoadStatistics() {
    S.Trap(ReportForm::Procedure, " in LoadStatistics()", [&] {
        Stats = Statistics{};
        const std::string path = StatisticsFile();
        if (!S.P.FileSystem.FileExists(path)) return;
        const auto bytes = S.P.FileSystem.ReadStart(path, kLargestFile);
        if (auto record = StatisticsRecord::Parse(std::string_view(bytes.data(), bytes.size()))) {
            Stats.Record = std::move(*record);
            CountGame(Stats.StartUp());
            return;
        }
        // Kept aside under a name of its own, and the game goes on from zero. Should the renaming fail,
        // the file stays as it is and nothing is written over it.
        statisticsReadOnly_ = true;
        const std::string folder = S.P.FileSystem.UserDataFolder() + "/";
        std::string aside;
        for (int n = 1; aside.empty() || S.P.FileSystem.FileExists(folder + aside); ++n)
            aside = std::string(texts::DamagedStatisticsStem) + (n == 1 ? "" : "." + std::to_string(n)) +
                    std::string(texts::DamagedStatisticsExt);
        S.P.FileSystem.Rename(path, folder + aside);
        statisticsReadOnly_ = false;
        S.MsgBox(std::string(texts::StatisticsDamaged) + aside + std::string(texts::StatisticsStartAgain),
                 MsgButtons::OK, MsgIcon::Information, std::string(texts::ProgramName));
    });
}

void StatisticsKeeper::CountGame(bool changed) {
    if (!changed || statisticsReadOnly_) return;
    try {
        S.P.FileSystem.MakeFolder(S.P.FileSystem.UserDataFolder());
        const std::string text = Stats.Record.Text();
        S.Files.WriteSafely(StatisticsFile(), std::vector<char>(text.begin(), text.end()), false);
    } catch (const RunTimeError& error) {
        // Said once a run: the game goes on, and the next change tries again.
        if (statisticsNotSavedReported_) return;
        statisticsNotSavedReported_ = true;
        S.MsgBox(std::string(texts::StatisticsNotSaved) + S.P.FileSystem.UserDataFolder() +
                     std::string(texts::SentenceEnd) + std::string(texts::StatisticsNotSavedFix) + error.Description +
                     std::string(texts::SentenceEnd),
                 MsgButtons::OK, MsgIcon::Information, std::string(texts::ProgramName));
    }
}

void StatisticsKeeper::LeaveGame() {
    if (Stats.Counted()) CountGame(Stats.Left(TableKey(S.Board.Snapshot())));
}

std::string StatisticsKeeper::StatisticsText() const {
    const auto& r = Stats.Record;
    std::string text = std::string(texts::GamesPlayed) + std::to_string(r.Played) + std::string(texts::GamesWon) +
                       std::to_string(r.Won);
    if (r.Played > 0)
        text += std::string(texts::ListSeparator) +
                std::to_string((static_cast<std::int64_t>(r.Won) * 200 + r.Played) / (2 * r.Played)) +
                std::string(texts::PercentWon);
    text += std::string(texts::CurrentStreak) + std::to_string(r.Streak) + std::string(texts::LongestStreak) +
            std::to_string(r.Longest) + std::string(texts::DealsWon);
    if (r.DealsWon.empty()) text += texts::NoDeals;
    else {
        // The count first, then the numbers, each list named as numbers: "won: 2" alone would sound
        // like deal number 2.
        text += std::to_string(r.DealsWon.size());
        if (r.DealsWon.size() > kDealsListed)
            text += std::string(texts::LatestDeals) + std::to_string(kDealsListed) + std::string(texts::ListColon);
        else text += texts::ListSeparator;
        text += r.DealsWon.size() == 1 ? texts::DealNumberWord : texts::DealNumbersWord;
        const auto first = r.DealsWon.size() > kDealsListed ? r.DealsWon.end() - kDealsListed : r.DealsWon.begin();
        for (auto it = first; it != r.DealsWon.end(); ++it)
            text += (it == first ? "" : std::string(texts::ListSeparator)) + std::to_string(*it);
    }
    return text + std::string(texts::SentenceEnd);
}

// The statistics and the question in one box; No, the default, keeps them.
void StatisticsKeeper::Show() {
    S.Trap(ReportForm::Handler, " in mnuPlayStatistics_Click()", [&] {
        const std::string text = StatisticsText() + std::string(texts::CrLf) + std::string(texts::ResetStatistics) +
                                 std::string(texts::CrLf);
        if (S.MsgBox(text, MsgButtons::YesNoDefaultNo, MsgIcon::Question, std::string(texts::StatisticsCaption)) !=
            MsgResult::Yes)
            return;
        Stats.Reset();
        CountGame(true);
        S.StopSpeech();
        S.Speak(texts::StatisticsWereReset);
    });
}

}  // namespace quorrel
