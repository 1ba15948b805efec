// quorrel-solve: solves a saved game or numbered deals from the command line, one move a line, or
// counts what it found over a range of deals.
#include <sys/resource.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/GameRecord.h"
#include "files/Paths.h"
#include "platform/RunTimeError.h"
#include "platform/posix/PosixFileSystem.h"
#include "solver/Solver.h"
#include "solver/replay/Replay.h"
#include "table/NumberedDeal.h"
#include "table/Table.h"
#include "texts/Texts.h"

using namespace quorrel;
using namespace quorrel::solver;

namespace {

constexpr int kSolved = 0;
constexpr int kUnsolvable = 1;
constexpr int kBadInput = 2;
constexpr int kGaveUp = 3;
constexpr int kReplayFailed = 4;

constexpr std::string_view kUsage =
    "usage: quorrel-solve [options] FILE.qrl\n"
    "       quorrel-solve [options] --deal N\n"
    "       quorrel-solve [options] --deals A-B\n"
    "options:\n"
    "  --verify          replay every solution through the game's click handlers\n"
    "  --stats           print counts, times, mean length and peak memory instead of the moves\n"
    "  --positions N     store at most N positions per search\n"
    "  --megabytes N     let one search's tables take at most N MiB\n"
    "  --seconds S       give up on a search after S seconds (not deterministic)\n";

std::string PlaceName(const CellPlace& place) {
    switch (place.Grid) {
    case GridId::Column: return "column " + std::to_string(place.Col + 1);
    case GridId::FreeCell: return "freecell " + std::to_string(place.Col + 1);
    case GridId::HomeCell: return "home " + std::to_string(place.Col + 1);
    }
    return {};
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

int Refuse(const std::string& text) {
    std::cerr << text << '\n';
    return kBadInput;
}

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto at = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

}  // namespace

int main(int argc, char** argv) {
    bool verify = false, stats = false;
    bool oneLineADeal = false;  // --deals: one line a deal, however many deals the range holds
    Budget budget;
    std::string file;
    std::int32_t first = 0, last = -1;
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--verify") {
            verify = true;
        } else if (arg == "--stats") {
            stats = true;
        } else if (arg == "--positions" && hasValue) {
            if (!ParseNumber(args[++i], budget.MaxPositions)) return Refuse("bad --positions");
        } else if (arg == "--megabytes" && hasValue) {
            std::size_t mib = 0;
            if (!ParseNumber(args[++i], mib) || mib == 0) return Refuse("bad --megabytes");
            budget.MaxBytes = mib << 20;
        } else if (arg == "--seconds" && hasValue) {
            double seconds = 0;
            if (!ParseNumber(args[++i], seconds) || seconds <= 0) return Refuse("bad --seconds");
            budget.MaxTime = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                std::chrono::duration<double>(seconds));
        } else if (arg == "--deal" && hasValue) {
            if (!ParseNumber(args[++i], first) || !IsDealNumber(first)) return Refuse("bad --deal");
            last = first;
            oneLineADeal = false;
        } else if (arg == "--deals" && hasValue) {
            oneLineADeal = true;
            const std::string_view range = args[++i];
            const auto dash = range.find('-');
            if (dash == std::string_view::npos || !ParseNumber(range.substr(0, dash), first) ||
                !ParseNumber(range.substr(dash + 1), last) || !IsDealNumber(first) || !IsDealNumber(last) ||
                last < first)
                return Refuse("bad --deals");
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return kSolved;
        } else if (!arg.starts_with("-") && file.empty()) {
            file = std::string(arg);
        } else {
            return Refuse(std::string(kUsage));
        }
    }
    if (file.empty() == (last < first)) return Refuse(std::string(kUsage));

    // A saved table, or the numbers of the deals, each laid out only when its turn comes.
    struct Job {
        std::string Name;
        Table Cards;
    };
    std::optional<Job> saved;
    if (!file.empty()) {
        // The file is read and refused as the game's Open reads and refuses it.
        GameRecord record;
        try {
            PosixFileSystem files;
            const std::string problem = GameRecord::Read(files.ReadStart(file, GameRecord::Size), record);
            if (!problem.empty()) return Refuse(ParseFilename(file) + std::string(texts::NotAGame) + problem + ".");
        } catch (const RunTimeError& error) {
            return Refuse(error.Description);
        }
        saved = Job{ParseFilename(file), TableOfRecord(record)};
        first = last = 0;
    }
    const std::size_t count = saved ? 1 : static_cast<std::size_t>(last - first + 1);

    std::size_t positions = 0;
    std::size_t solved = 0, unsolvable = 0, gaveUp = 0, verified = 0, moves = 0, failed = 0, notGames = 0;
    std::vector<double> seconds;
    const auto began = std::chrono::steady_clock::now();
    for (std::int32_t n = first; n <= last; ++n) {
        const Job job = saved ? *saved : Job{"deal " + std::to_string(n), TableOfDeal(n)};
        const auto start = std::chrono::steady_clock::now();
        const Answer answer = Solve(job.Cards, budget);
        positions += answer.Positions;
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        std::string replay;
        if (answer.Outcome == Verdict::Solved && verify) {
            replay = Replay(job.Cards, answer.Moves);
            if (replay.empty()) ++verified;
            else {
                ++failed;
                std::cerr << job.Name << ": the solution failed its replay: " << replay << '\n';
            }
        }
        switch (answer.Outcome) {
        case Verdict::Solved:
            ++solved;
            moves += answer.Moves.size();
            break;
        case Verdict::Unsolvable: ++unsolvable; break;
        case Verdict::NotAGame: ++notGames; break;
        default: ++gaveUp; break;
        }
        if (stats) continue;
        if (oneLineADeal) {
            std::cout << job.Name << ": "
                      << (answer.Outcome == Verdict::Solved
                              ? "solved in " + std::to_string(answer.Moves.size()) + " moves"
                          : answer.Outcome == Verdict::Unsolvable ? std::string("unsolvable")
                          : answer.Outcome == Verdict::NotAGame   ? std::string("not a game")
                                                                  : std::string("gave up"))
                      << '\n';
        } else if (answer.Outcome == Verdict::Solved) {
            for (const SolverMove& move : answer.Moves)
                std::cout << move.Card << ' ' << PlaceName(move.From) << " -> " << PlaceName(move.To) << '\n';
        } else {
            std::cerr << job.Name << ": "
                      << (answer.Outcome == Verdict::Unsolvable ? "no solution exists"
                          : answer.Outcome == Verdict::NotAGame ? "not a game this program can hold"
                                                                : "no solution found within the budget")
                      << '\n';
        }
    }
    if (stats) {
        const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("deals %zu\nsolved %zu\nunsolvable %zu\ngave up %zu\n", count, solved, unsolvable, gaveUp);
        if (verify) std::printf("verified %zu\n", verified);
        double solving = 0;
        for (const double s : seconds) solving += s;
        std::printf("solve time %.3f s\ntotal %.3f s\np50 %.3f ms\np99 %.3f ms\nmax %.3f ms\n", solving, total,
                    Percentile(seconds, 0.5) * 1e3, Percentile(seconds, 0.99) * 1e3, Percentile(seconds, 1.0) * 1e3);
        std::printf("mean positions %.0f\n", static_cast<double>(positions) / static_cast<double>(count));
        std::printf("mean length %.1f\npeak memory %.1f MiB\n",
                    solved ? static_cast<double>(moves) / static_cast<double>(solved) : 0.0,
                    static_cast<double>(usage.ru_maxrss) / 1024.0);
    }
    if (failed) return kReplayFailed;
    if (notGames) return kBadInput;
    if (gaveUp) return kGaveUp;
    if (unsolvable) return kUnsolvable;
    return kSolved;
}
