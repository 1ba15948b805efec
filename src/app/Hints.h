// Hints and the verdict: the solver searches from the table as it stands, on a thread of its own, and
// the answer is spoken when it comes.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>

#include "solver/Solver.h"
#include "solver/Way.h"

namespace quorrel {

class GameScreen;

// A change of the table (a move, a replayed step, a deal, an Open), a modal window of the program and
// the unload cancel the search under way, so that no answer for another table is ever spoken, nor the
// focus moved behind a dialog.
class Hints {
public:
    explicit Hints(GameScreen& screen);
    ~Hints();
    Hints(const Hints&) = delete;
    Hints& operator=(const Hints&) = delete;

    enum class Question { Hint, Verdict };
    // Answers at once from the way home last found when the table lies on it; else starts a search.
    void AskSolver(Question question);
    void CancelSearch();
    // What one search for a hint or a verdict may spend. The program bounds it by time as well; tests
    // bound it by positions alone, so that their answers are the same on every machine.
    solver::Budget SearchBudget{.MaxTime = std::chrono::seconds(2)};

private:
    struct Search;
    void SolverAnswered();
    // Answers from the kept way, whose move `next` is the one to make on the table as it stands. After
    // " Thinking. " the answer follows it; otherwise it stops the speech under way first.
    void AnswerFromWay(Question question, std::size_t next, bool afterThinking);
    void GiveHint(const solver::SolverMove& move);
    void GoSilentlyTo(const CellPlace& place);

    GameScreen& S;
    std::shared_ptr<Search> search_;  // shared: the type is complete only where hints are given
    // The way home the last search found: hints and verdicts on a table it passes through answer from it.
    solver::Way way_;
};

}  // namespace quorrel
