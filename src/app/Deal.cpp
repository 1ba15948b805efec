// Beginning a game: shuffling and dealing, or laying out the saved table, and the wait that keeps the
// window responsive.
#include <chrono>
#include <random>

#include "app/GameScreen.h"
#include "cards/CardMod.h"
#include "files/Paths.h"
#include "table/NumberedDeal.h"
#include "table/Table.h"
#include "texts/Texts.h"

namespace quorrel {

namespace {
std::string WindowCaption(const std::string& fileName) {
    return fileName + std::string(texts::CaptionSeparator) + std::string(texts::ProgramName);
}
}  // namespace

void GameScreen::BeginGame() {
    Trap(ReportForm::Handler, " in BeginGame()", [&] {
        Hints.CancelSearch();
        const int thisGame = ++gamesBegun_;
        Scores.LeaveGame();
        TurnMenusOn();
        SetPlayMenu(true);
        State.History.Clear();
        State.UnsavedChanges = 0;
        if (State.OpenedFromFile != 0) {
            State.HomeCount = State.SavedGame.HomeCount;
            Window.SetCaption(WindowCaption(ParseFilename(State.GameFileName)));
        } else {
            State.HomeCount = 0;
            Window.SetCaption(WindowCaption(std::string(texts::UntitledGame)));
            State.GameFileName = texts::UntitledGame;
            StopSpeech();
            Speak(texts::Shuffling);
            DealWaiting = true;
            Delay(20);
            DealWaiting = false;
            // Commands run during the wait: the window may have closed, or another game begun.
            if (Unloaded || thisGame != gamesBegun_) return;
        }
        ForceColumnNumber = 0;
        SilentColumnFocus = 0;
        State.BottomCursor = -1;
        State.LastSpokenCol = -1;
        State.CardSelected = 0;
        State.SelectedFrom = 3;
        Column.SetVisible(true);
        FreeCell.SetVisible(true);
        HomeCell.SetVisible(true);
        if (State.OpenedFromFile == 0) Sounds.Play(Sound::Deal);
        LoadGrid();
        LoadFreeCells();
        LoadHomeCells();
        DealWaiting = false;  // also when a game opened during another deal's wait laid the table out
        State.UnsavedChanges = -1;
        Column.SetFocus();
        State.GameInProgress = -1;
        GameBegun();
    });
}

void GameScreen::LoadGrid() {
    Trap(ReportForm::Handler, " in LoadGrid()", [&] {
        {
            const auto mute = Board.MuteEcho();
            Board.ShapeColumns();
            if (State.OpenedFromFile == 0) {
                if (Deals.DealNumber != 0) NumberedDeck(Deals.DealNumber, State.Deck);
                else ShuffleDeck();
            }
            const Table table = State.OpenedFromFile != 0 ? TableOfRecord(State.SavedGame) : TableOfDeck(State.Deck);
            for (int c = 0; c < kColumns; ++c)
                for (int r = 1; r <= kCardRows; ++r) Board.Put({GridId::Column, r, c}, table.Card(c, r));
        }
        ForceColumnNumber = -1;
        Column.SetRow(1);
        Column.SetCol(0);
    });
}

namespace {
// The saved cells, or empty cells for a deal.
void LoadCells(GameState& state, Board& board, GridId id, const std::array<GameRecord::Slot, 5>& slots) {
    board.ShapeCells(id);
    for (int k = 0; k < kCells; ++k)
        board.Put({id, 0, k},
                  state.OpenedFromFile != 0 ? GameRecord::Trimmed(slots[static_cast<size_t>(k)]) : std::string());
}
}  // namespace

void GameScreen::LoadFreeCells() {
    Trap(ReportForm::Handler, " in LoadFreeCells()",
         [&] { LoadCells(State, Board, GridId::FreeCell, State.SavedGame.FreeCellCards); });
}

void GameScreen::LoadHomeCells() {
    Trap(ReportForm::Handler, " in LoadHomeCells()",
         [&] { LoadCells(State, Board, GridId::HomeCell, State.SavedGame.HomeCellCards); });
}

void GameScreen::ShuffleDeck() {
    // Reseeded from the clock at every shuffle.
    const auto now = std::chrono::system_clock::now().time_since_epoch().count();
    std::seed_seq seed{static_cast<std::uint32_t>(now), static_cast<std::uint32_t>(now >> 32), std::random_device{}()};
    std::mt19937 generator(seed);
    for (size_t i = 0; i < 52; ++i) {
        std::int16_t candidate = 0;
        bool repeated = true;
        while (repeated) {
            // A single-precision fraction 0 <= x < 1 (24 random bits), and its whole part of x * 52 + 1.
            const float x = static_cast<float>(generator() >> 8) / 16777216.0f;
            candidate = static_cast<std::int16_t>(static_cast<int>(static_cast<double>(x) * 52.0) + 1);
            repeated = false;
            for (size_t k = 0; k < i; ++k) {
                if (State.Deck[k] == candidate) {
                    repeated = true;
                    break;
                }
            }
        }
        State.Deck[i] = candidate;
    }
}

void GameScreen::Delay(std::int16_t n) {
    Trap(ReportForm::Module, " in Delay()", [&] {
        const int product = n * 100;
        if (product > INT16_MAX || product < INT16_MIN) throw errors::OverflowError();
        // Beyond the bound the wait is skipped: the command goes on at once instead of nesting deeper.
        if (waitDepth_ >= kMaxNestedWaits) return;
        ++waitDepth_;
        struct Leave {
            int& depth;
            ~Leave() { --depth; }
        } leave{waitDepth_};
        const std::int64_t start = P.Clock.TickCount();
        bool over = false;
        while (!over) {
            const std::int64_t now = P.Clock.TickCount();
            over = now > start + product;
            // Sleep in the pump until the wait is over or an event comes, so the wait does not spin.
            P.Pump.ProcessEvents(over ? 0 : static_cast<int>(start + product + 1 - now));
            if (Unloaded) break;  // the window closed during the wait
        }
    });
}

}  // namespace quorrel
