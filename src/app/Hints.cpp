// Hints and the verdict. The way home the solver found is kept: while the table is one that way passes
// through, hints and verdicts answer from it at once, so a player who follows the hints walks one way to
// the end. A hint gives the next move of the way and puts the cursor and the focus on the card, so that
// Enter picks it up; the verdict says whether the game can still be won, without giving the move away.
#include "app/Hints.h"

#include <atomic>

#include "app/GameScreen.h"
#include "speech/CardWords.h"
#include "texts/Texts.h"

namespace quorrel {

namespace {
constexpr int kThinkingAfterMs = 300;
}  // namespace

// One search under way. Its work owns copies of all it reads, so the window's thread never shares the
// table with it; the answer is read only once the work has returned.
struct Hints::Search {
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

Hints::Hints(GameScreen& screen) : S(screen) {}

Hints::~Hints() = default;

void Hints::CancelSearch() { search_.reset(); }

void Hints::AskSolver(Question question) {
    if (S.DealWaiting || S.State.GameInProgress != -1) return;
    Table table = S.Board.Snapshot();
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
    search->Task = S.P.Background.Start(
        [table = std::move(table), budget = SearchBudget, cancel = search->Cancel, result = search->Result] {
            *result = solver::Solve(table, budget, cancel.get());
        },
        kThinkingAfterMs,
        [this, asked] {
            asked->ThinkingSaid = true;
            S.Speak(texts::Thinking);
        },
        [this] { SolverAnswered(); });
    search_ = std::move(search);
}

void Hints::SolverAnswered() {
    S.Trap(ReportForm::Handler, " in SolverAnswered()", [&] {
        const std::shared_ptr<Search> search = std::move(search_);
        if (!search || S.DealWaiting || S.State.GameInProgress != -1 || !(search->From == S.Board.Snapshot())) return;
        const solver::Answer& answer = *search->Result;
        // Once " Thinking. " has begun, the answer follows it: stopping it would cut it to a syllable.
        auto startAnswer = [&] {
            if (!search->ThinkingSaid) S.StopSpeech();
        };
        switch (answer.Outcome) {
        case solver::Verdict::Solved:
            if (answer.Moves.empty()) return;
            way_ = solver::Way(search->From, answer.Moves);
            return AnswerFromWay(search->Asked, 0, search->ThinkingSaid);
        case solver::Verdict::Unsolvable:
            startAnswer();
            S.Speak(texts::CannotBeWon);
            return;
        case solver::Verdict::GaveUp:
        case solver::Verdict::NotAGame:
            // Never a guess in place of an answer.
            startAnswer();
            S.Speak(search->Asked == Question::Hint ? texts::NoHintInTime : texts::NoVerdictInTime);
            return;
        case solver::Verdict::Cancelled: return;
        }
    });
}

void Hints::AnswerFromWay(Question question, std::size_t next, bool afterThinking) {
    if (!afterThinking) S.StopSpeech();
    if (question == Question::Hint) return GiveHint(way_.Moves()[next]);
    const std::size_t left = way_.Moves().size() - next;
    S.Speak(std::string(texts::CanBeWonIn) + texts::SpokenNumber(static_cast<int>(left)) +
            std::string(left == 1 ? texts::OneMove : texts::MovesOrFewer));
}

// The move in words; then the cursor and the focus go to the card, or to where it goes when it is the
// card already picked up. Another picked-up card is put back first, so that Enter picks the hinted one up.
void Hints::GiveHint(const solver::SolverMove& move) {
    const CellPlace& from = move.From;
    const CellPlace& to = move.To;
    const bool holding = S.State.CardSelected == -1;
    const bool holdingHinted = holding && S.State.SelectedCard == move.Card && S.State.SelectedRow == from.Row &&
                               S.State.SelectedCol == from.Col &&
                               S.State.SelectedFrom == (from.Grid == GridId::Column ? 0 : 1);
    if (holding && !holdingHinted) S.Moves.PutBackSilently();
    S.Speak(texts::HintPlay);
    S.SpeakCurrentCell(move.Card);
    S.Speak(texts::HintTo);
    if (to.Grid == GridId::Column && to.Row == 1)
        S.Speak(std::string(texts::TheEmptyColumn) + texts::SpokenNumber(to.Col + 1));
    else S.Speak(PlaceWords(to));
    GoSilentlyTo(holdingHinted ? to : from);
}

void Hints::GoSilentlyTo(const CellPlace& place) {
    IGrid& grid = S.Board.Grid(place.Grid);
    S.Board.MoveSilently(place);
    if (grid.HasFocus()) return;
    if (place.Grid == GridId::Column) S.SilentColumnFocus = -1;
    else S.SilentCellFocus = -1;
    grid.SetFocus();
}

}  // namespace quorrel
