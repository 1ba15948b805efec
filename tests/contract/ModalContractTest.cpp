// The focus contract of the program's modal windows, run against the in-memory and the Qt ones alike.
#include <gtest/gtest.h>

#include "ModalHarness.h"
#include "platform/RunTimeError.h"

namespace quorrel::test {
namespace {

using Log = std::vector<std::string>;

template <class Modals>
class ModalContract : public ::testing::Test {
protected:
    ModalContract() {
        LogEvents(modals, log);
        modals.Grid(1).SetFocus();
        log.clear();
    }
    // Shows a modal window as the game does; "open" is logged while it is, "returned" once the call
    // has returned or raised.
    void Show(const std::function<void()>& show) {
        modals.WhileOpen([this] {
            bool focused = false;
            for (int i = 0; i < 3; ++i) focused = focused || modals.Grid(i).HasFocus();
            log.push_back(focused ? "open, a grid has the focus" : "open");
        });
        try {
            show();
        } catch (const RunTimeError& e) {
            log.push_back("raised " + std::to_string(e.Number));
        }
        log.push_back("returned");
    }
    // Every kind of modal window, by name.
    std::vector<std::pair<std::string, std::function<void()>>> Kinds() {
        return {
            {"OK box", [this] { modals.Boxes().Show("Error: 5", MsgButtons::OK, MsgIcon::Information, "Quorrel"); }},
            {"Yes/No box", [this] { modals.Boxes().Show("Again?", MsgButtons::YesNo, MsgIcon::Question, ""); }},
            {"open dialog",
             [this] {
                 modals.Files().CancelError = false;
                 modals.Files().ShowOpen();
             }},
            {"save dialog, Cancel raising",
             [this] {
                 modals.Files().CancelError = true;
                 modals.Files().ShowSave();
             }},
            {"Find dialog", [this] { modals.FindDialog()->ShowModal(); }},
            {"About dialog", [this] { modals.AboutDialog()->ShowModal(); }},
            {"Deal Game Number dialog", [this] { modals.DealNumberDialog()->ShowModal(); }},
            {"voice dialog",
             [this] {
                 auto dialog = modals.VoiceDialog();
                 dialog->SetGroups({"alpha, 2 voices"});
                 dialog->SetVoices({"alpha", "alpha+beta"});
                 dialog->ShowModal();
             }},
        };
    }

    Modals modals;
    Log log;
};

using Implementations = ::testing::Types<MemoryModals, QtModals>;
class ImplementationNames {
public:
    template <class T>
    static std::string GetName(int) {
        return std::is_same_v<T, MemoryModals> ? "Memory" : "Qt";
    }
};
TYPED_TEST_SUITE(ModalContract, Implementations, ImplementationNames);

// The grid's focus handler runs before the caller's next step, once.
TYPED_TEST(ModalContract, EveryModalWindowGivesTheFocusBackBeforeItReturns) {
    for (const auto& [kind, show] : this->Kinds()) {
        SCOPED_TRACE(kind);
        this->log.clear();
        this->Show(show);
        const bool raises = kind == "save dialog, Cancel raising";
        EXPECT_EQ(this->log, raises ? (Log{"open", "G1.GotFocus", "raised 32755", "returned"})
                                    : (Log{"open", "G1.GotFocus", "returned"}));
        EXPECT_TRUE(this->modals.Grid(1).HasFocus());
        EXPECT_TRUE(this->modals.WindowActive());
        this->modals.Settle();
        EXPECT_EQ(this->log.size(), raises ? 4u : 3u) << "a later event: " << this->log.back();
    }
}

// The game hides the grids before the game-over question: no grid gets the focus afterwards.
TYPED_TEST(ModalContract, WithTheGridsHiddenNoGridGetsTheFocus) {
    for (int i = 0; i < 3; ++i) this->modals.Grid(i).SetVisible(false);
    this->Show([this] { this->modals.Boxes().Show("Over", MsgButtons::YesNo, MsgIcon::Question, ""); });
    this->modals.Settle();
    EXPECT_EQ(this->log, (Log{"open", "returned"}));
    EXPECT_TRUE(this->modals.WindowActive());
    for (int i = 0; i < 3; ++i) {
        this->modals.Grid(i).SetVisible(true);
        EXPECT_FALSE(this->modals.Grid(i).HasFocus()) << i;
    }
}

// Windows that follow one another in a chain: the focus goes back to no grid between them, whatever the
// window system does meanwhile, and back to the grid that had it, once, when the chain ends.
TYPED_TEST(ModalContract, AChainGivesTheFocusBackOnceAtItsEnd) {
    auto kinds = this->Kinds();
    this->modals.BeginChain();
    this->modals.BeginChain();    // a chain within the command's
    this->Show(kinds[1].second);  // the Yes/No box
    this->modals.Settle();
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(this->modals.Grid(i).HasFocus()) << i;
    this->Show(kinds[2].second);  // the open dialog
    this->modals.EndChain();
    this->Show(kinds[0].second);  // the OK box
    this->log.push_back("chain ends");
    this->modals.EndChain();
    EXPECT_EQ(this->log,
              (Log{"open", "returned", "open", "returned", "open", "returned", "chain ends", "G1.GotFocus"}));
    EXPECT_TRUE(this->modals.Grid(1).HasFocus());
    EXPECT_TRUE(this->modals.WindowActive());
    this->modals.Settle();
    EXPECT_EQ(this->log.size(), 8u) << "a later event: " << this->log.back();
}

// A grid that the program gives the focus to during a chain (a game opened) keeps it at the chain's end.
TYPED_TEST(ModalContract, AGridFocusedDuringAChainKeepsTheFocus) {
    this->modals.BeginChain();
    this->Show(this->Kinds()[0].second);
    this->modals.Grid(0).SetFocus();
    this->modals.EndChain();
    this->modals.Settle();
    EXPECT_EQ(this->log, (Log{"open", "returned", "G0.GotFocus"}));
    EXPECT_TRUE(this->modals.Grid(0).HasFocus());
    EXPECT_FALSE(this->modals.Grid(1).HasFocus());
    EXPECT_TRUE(this->modals.WindowActive());
}

}  // namespace
}  // namespace quorrel::test
