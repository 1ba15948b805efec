// Hints and the verdict: the solver searches from the table as it stands, on a thread of its own, and
// the answer is spoken when it comes. The way home it found is kept: while the table is one that way
// passes through, hints and verdicts answer from it at once, so a player who follows the hints walks
// one way to the end. A hint gives the next move of the way and puts the cursor and the focus on the
// card, so that Enter picks it up; the verdict says whether the game can still be won, without giving
// the move away.
#include <atomic>

#include "app/GameScreen.h"
#include "solver/Solver.h"
#include "texts/Texts.h"

namespace quorrel {

namespace {
constexpr int kThinkingAfterMs = 300;
}  // namespace

// One search under way. Its work owns copies of all it reads, so the window's thread never shares the
// table with it; the answer is read only once the work has returned.
struct GameScreen::Search {
    Question Asked = Question::Hint;
    Table From;
    std::shared_ptr<std::atomic<bool>> Cancel = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<solver::Answer> Result = std::make_shared<solver::Answer>();
    std::unique_ptr<IBackgroundTask> Task;
    bool ThinkingSaid = false;

    ~Search() {
        Cancel->store(true);
        Task.reset();  // waits for the work, which sees the cancel within moments
    }
};

GameScreen::~GameScreen() = default;

void GameScreen::CancelSearch() { search_.reset(); }

void GameScreen::mnuPlayHint_Click() {
    Trap(ReportForm::Handler, " in mnuPlayHint_Click()", [&] { AskSolver(Question::Hint); });
}

void GameScreen::mnuPlayVerdict_Click() {
    Trap(ReportForm::Handler, " in mnuPlayVerdict_Click()", [&] { AskSolver(Question::Verdict); });
}

void GameScreen::AskSolver(Question question) {
    if (DealWaiting || State.GameInProgress != -1) return;
    Table table = Board.Snapshot();
    if (const auto next = way_.Next(table)) {
        CancelSearch();
        return AnswerFromWay(question, *next, false);
    }
    // The same question about the same table is already being answered.
    if (search_ && search_->Asked == question && search_->From == table) return;
    CancelSearch();
    auto search = std::make_shared<Search>();
    search->Asked = question;
    search->From = table;
    // The callbacks never run once the search, which owns the task, is gone.
    Search* const asked = search.get();
    search->Task = P.Background.Start(
        [table = std::move(table), budget = SearchBudget, cancel = search->Cancel, result = search->Result] {
            *result = solver::Solve(table, budget, cancel.get());
        },
        kThinkingAfterMs,
        [this, asked] {
            asked->ThinkingSaid = true;
            Speak(texts::Thinking);
        },
        [this] { SolverAnswered(); });
    search_ = std::move(search);
}

void GameScreen::SolverAnswered() {
    Trap(ReportForm::Handler, " in SolverAnswered()", [&] {
        const std::shared_ptr<Search> search = std::move(search_);
        if (!search || DealWaiting || State.GameInProgress != -1 || !(search->From == Board.Snapshot())) return;
        const solver::Answer& answer = *search->Result;
        // Once " Thinking. " has begun, the answer follows it: stopping it would cut it to a syllable.
        auto startAnswer = [&] {
            if (!search->ThinkingSaid) StopSpeech();
        };
        switch (answer.Outcome) {
        case solver::Verdict::Solved:
            if (answer.Moves.empty()) return;
            way_ = solver::Way(search->From, answer.Moves);
            return AnswerFromWay(search->Asked, 0, search->ThinkingSaid);
        case solver::Verdict::Unsolvable:
            startAnswer();
            Speak(texts::CannotBeWon);
            return;
        case solver::Verdict::GaveUp:
        case solver::Verdict::NotAGame:
            // Never a guess in place of an answer.
            startAnswer();
            Speak(search->Asked == Question::Hint ? texts::NoHintInTime : texts::NoVerdictInTime);
            return;
        case solver::Verdict::Cancelled: return;
        }
    });
}

void GameScreen::AnswerFromWay(Question question, std::size_t next, bool afterThinking) {
    if (!afterThinking) StopSpeech();
    if (question == Question::Hint) return GiveHint(way_.Moves()[next]);
    const std::size_t left = way_.Moves().size() - next;
    Speak(std::string(texts::CanBeWonIn) + texts::SpokenNumber(static_cast<int>(left)) +
          std::string(left == 1 ? texts::OneMove : texts::MovesOrFewer));
}

// The move in words; then the cursor and the focus go to the card, or to where it goes when it is the
// card already picked up. Another picked-up card is put back first, so that Enter picks the hinted one up.
void GameScreen::GiveHint(const solver::SolverMove& move) {
    const CellPlace& from = move.From;
    const CellPlace& to = move.To;
    const bool holding = State.CardSelected == -1;
    const bool holdingHinted = holding && State.SelectedCard == move.Card && State.SelectedRow == from.Row &&
                               State.SelectedCol == from.Col &&
                               State.SelectedFrom == (from.Grid == GridId::Column ? 0 : 1);
    if (holding && !holdingHinted) PutBackSilently();
    Speak(texts::HintPlay);
    SpeakCurrentCell(move.Card);
    Speak(texts::HintTo);
    if (to.Grid == GridId::Column && to.Row == 1)
        Speak(std::string(texts::TheEmptyColumn) + texts::SpokenNumber(to.Col + 1));
    else Speak(PlaceWords(to));
    GoSilentlyTo(holdingHinted ? to : from);
}

void GameScreen::GoSilentlyTo(const CellPlace& place) {
    IGrid& grid = Board.Grid(place.Grid);
    Board.MoveSilently(place);
    if (grid.HasFocus()) return;
    if (place.Grid == GridId::Column) SilentColumnFocus = -1;
    else SilentCellFocus = -1;
    grid.SetFocus();
}

}  // namespace quorrel
