// In-memory stand-ins for the platform services.
#include "platform/memory/MemoryPlatform.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/RunTimeError.h"

namespace quorrel {

std::vector<std::string> RecordingScreenReader::SinceLastStop() const {
    std::vector<std::string> out;
    for (const auto& line : Transcript) {
        if (line == kStop) out.clear();
        else if (line != kStopEarlier) out.push_back(line);
    }
    return out;
}

std::vector<std::string> RecordingScreenReader::SinceMark() const {
    return {Transcript.begin() + static_cast<std::ptrdiff_t>(std::min(mark_, Transcript.size())), Transcript.end()};
}

void ModalFocus::Take() {
    if (!scope_) return;
    // Within a chain, the focus is still owed to the grid the chain's first window took it from.
    had_ = scope_->ChainOwesFocus ? scope_->ChainHad : scope_->Focused;
    scope_->ChainOwesFocus = false;
    scope_->Focused = nullptr;
}

void ModalFocus::GiveBack() {
    MemoryGrid* grid = had_;
    had_ = nullptr;
    if (scope_ && scope_->ChainDepth > 0 && grid != nullptr) {
        scope_->ChainOwesFocus = true;
        scope_->ChainHad = grid;
        return;
    }
    if (grid && grid->Visible()) grid->SetFocus();
}

void FocusScope::EndChain() {
    if (ChainDepth == 0 || --ChainDepth > 0 || !ChainOwesFocus) return;
    ChainOwesFocus = false;
    MemoryGrid* grid = std::exchange(ChainHad, nullptr);
    // A grid the program gave the focus to meanwhile (a game begun) keeps it.
    if (Focused == nullptr && grid && grid->Visible()) grid->SetFocus();
}

MsgResult ScriptedMessageBox::Show(const std::string& text, MsgButtons buttons, MsgIcon icon,
                                   const std::string& title) {
    Asked.push_back({text, buttons, icon, title});
    ModalFocus focus(Focus);
    focus.Take();
    if (OnShow) OnShow();
    MsgResult answer = buttons == MsgButtons::OK ? MsgResult::OK : MsgResult::No;
    if (!Answers.empty()) {
        answer = Answers.front();
        Answers.pop_front();
    }
    focus.GiveBack();
    return answer;
}

std::string MemorySettings::GetSetting(const std::string& app, const std::string& section, const std::string& key,
                                       const std::string& defaultValue) {
    auto it = Values.find(app + "/" + section + "/" + key);
    return it == Values.end() ? defaultValue : it->second;
}

void MemorySettings::SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                                 const std::string& value) {
    if (Unwritable) throw Failure;
    Values[app + "/" + section + "/" + key] = value;
}

void FakeClock::ProcessEvents(int maxWaitMs) {
    ++ProcessCalls;
    Waits.push_back(maxWaitMs);
    // Run the due tasks; a task may itself wait and so call back in here.
    for (size_t i = 0; i < tasks_.size();) {
        if (tasks_[i].tick <= Now) {
            auto run = std::move(tasks_[i].run);
            tasks_.erase(tasks_.begin() + static_cast<std::ptrdiff_t>(i));
            run();
            i = 0;
        } else {
            ++i;
        }
    }
    Now += std::max(maxWaitMs, 1);
}

void MemoryFileDialog::Show(const std::string& kind) {
    Shown.push_back(kind + " " + FileName);
    ModalFocus focus(Focus);
    focus.Take();
    if (OnShow) OnShow();
    std::string answer;
    if (!Answers.empty()) {
        answer = Answers.front();
        Answers.pop_front();
    }
    focus.GiveBack();
    if (answer.empty()) {
        if (CancelError) throw errors::Cancelled();
        FileName.clear();
        return;
    }
    FileName = answer;
}

bool MemoryFileSystem::MakeFolder(const std::string& path) {
    if (std::find(Folders.begin(), Folders.end(), path) != Folders.end()) return true;
    for (const auto& ro : ReadOnly)
        if (path.rfind(ro, 0) == 0) return false;
    Folders.push_back(path);
    return true;
}

bool MemoryFileSystem::CanWriteIn(const std::string& folder) {
    for (const auto& ro : ReadOnly)
        if (folder.rfind(ro, 0) == 0) return false;
    return std::find(Folders.begin(), Folders.end(), folder) != Folders.end();
}

void MemoryFileSystem::Step(const std::string& step) {
    Steps.push_back(step);
    if (step == FailAt) {
        FailAt.clear();
        throw FailWith;
    }
}

std::vector<char> MemoryFileSystem::ReadStart(const std::string& path, std::size_t count) {
    Step("read");
    LargestRead = std::max(LargestRead, count);
    auto it = Files.find(path);
    if (it == Files.end()) throw RunTimeError(errors::FileNotFound, "File not found");
    return {it->second.begin(), it->second.begin() + static_cast<std::ptrdiff_t>(std::min(count, it->second.size()))};
}

void MemoryFileSystem::Rename(const std::string& from, const std::string& to) {
    Step("rename");
    auto it = Files.find(from);
    if (it == Files.end()) throw RunTimeError(errors::FileNotFound, "File not found");
    auto bytes = std::move(it->second);
    Files.erase(it);
    Files[to] = std::move(bytes);
}

int MemoryFileSystem::CreateBeside(const std::string& target) {
    Step("create");
    const std::string path = target + ".new" + std::to_string(next_);
    Files[path] = {};
    open_[next_] = {target, path};
    return next_++;
}

void MemoryFileSystem::Write(int handle, const std::vector<char>& bytes) {
    Step("write");
    auto& file = Files.at(open_.at(handle).path);
    file.insert(file.end(), bytes.begin(), bytes.end());
}

void MemoryFileSystem::KeepTail(int handle) {
    Step("read");
    const NewFile& file = open_.at(handle);
    auto& bytes = Files.at(file.path);
    const auto old = Files.find(file.target);
    if (old != Files.end() && old->second.size() > bytes.size())
        bytes.insert(bytes.end(), old->second.begin() + static_cast<std::ptrdiff_t>(bytes.size()), old->second.end());
}

void MemoryFileSystem::Flush(int handle) {
    Step("flush");
    open_.at(handle);
}

void MemoryFileSystem::Replace(int handle) {
    const NewFile file = open_.at(handle);
    open_.erase(handle);
    try {
        Step("close");
        Step("rename");
    } catch (...) {
        Files.erase(file.path);
        throw;
    }
    auto node = Files.extract(file.path);
    Files.erase(file.target);
    node.key() = file.target;
    Files.insert(std::move(node));
}

void MemoryFileSystem::Discard(int handle) noexcept {
    const auto it = open_.find(handle);
    if (it == open_.end()) return;
    Files.erase(it->second.path);
    open_.erase(it);
}

void MemoryMenus::Build(const std::vector<MenuEntry>& tree) {
    Tree = tree;
    state_.clear();
    for (const auto& menu : tree)
        ForEachItem(menu.Items, [&](const MenuItemEntry& item) { state_[item.Id] = State{}; });
}

void MemoryMenus::ForEachItem(const std::vector<MenuItemEntry>& items,
                              const std::function<void(const MenuItemEntry&)>& visit) {
    for (const auto& item : items) {
        if (item.Submenu.empty()) visit(item);
        else ForEachItem(item.Submenu, visit);
    }
}

const MemoryMenus::State& MemoryMenus::Find(int id) const {
    auto it = state_.find(id);
    if (it == state_.end()) throw std::out_of_range("no such menu item");
    return it->second;
}

void MemoryMenus::SetEnabled(int id, bool enabled) {
    Find(id);
    state_[id].enabled = enabled;
    SetOrder.push_back(id);
}

bool MemoryMenus::IsEnabled(int id) const { return Find(id).enabled; }

void MemoryMenus::SetChecked(int id, bool checked) {
    Find(id);
    state_[id].checked = checked;
}

bool MemoryMenus::IsChecked(int id) const { return Find(id).checked; }

void MemoryMenus::Click(int id) {
    if (IsEnabled(id) && OnClick) OnClick(id);
}

int MemoryMenus::ByShortcut(const std::string& shortcut) const {
    int found = -1;
    for (const auto& menu : Tree)
        ForEachItem(menu.Items, [&](const MenuItemEntry& item) {
            if (found != -1) return;
            if (item.Shortcut == shortcut) found = item.Id;
            for (const auto& other : item.OtherShortcuts)
                if (other == shortcut) found = item.Id;
        });
    return found;
}

MemoryWindow::MemoryWindow(std::vector<std::string>* log)
    : column("Column", &focus, log), freeCell("FreeCell", &focus, log), homeCell("HomeCell", &focus, log) {
    // The grids are hidden until a game begins.
    for (MemoryGrid* grid : {&column, &freeCell, &homeCell}) grid->SetVisible(false);
}

}  // namespace quorrel

namespace quorrel {

void MemoryFindView::ShowModal() { focus_.Show(*this, open_, script_, &MemoryFindView::PressCancel); }

void MemoryFindView::CloseFrame() {
    if (FrameClose) FrameClose();
    open_ = false;
}

void MemoryAboutView::ShowModal() { focus_.Show(*this, open_, script_, &MemoryAboutView::PressOk); }

void MemoryDealNumberView::ShowModal() {
    focus_.Show(*this, open_, script_, &MemoryDealNumberView::PressCancel, &MemoryDealNumberView::FocusNumber);
}

void MemoryVoiceView::ShowModal() { focus_.Show(*this, open_, script_, &MemoryVoiceView::PressCancel); }

std::unique_ptr<IFindView> MemoryWindow::CreateFindDialog() {
    ++DialogsShown;
    return std::make_unique<MemoryFindView>(&focus, FindScript);
}

std::unique_ptr<IAboutView> MemoryWindow::CreateAboutDialog() {
    ++DialogsShown;
    return std::make_unique<MemoryAboutView>(&focus, AboutScript);
}

std::unique_ptr<IDealNumberView> MemoryWindow::CreateDealNumberDialog() {
    ++DialogsShown;
    return std::make_unique<MemoryDealNumberView>(&focus, DealNumberScript);
}

std::unique_ptr<IVoiceView> MemoryWindow::CreateVoiceDialog() {
    ++DialogsShown;
    return std::make_unique<MemoryVoiceView>(&focus, VoiceScript);
}

namespace {
class MemoryBackgroundTask : public IBackgroundTask {
public:
    explicit MemoryBackgroundTask(std::shared_ptr<MemoryBackground::Pending> pending) : pending_(std::move(pending)) {}
    ~MemoryBackgroundTask() override { pending_->Alive = false; }

private:
    std::shared_ptr<MemoryBackground::Pending> pending_;
};
}  // namespace

std::unique_ptr<IBackgroundTask> MemoryBackground::Start(std::function<void()> work, int /*slowMs*/,
                                                         std::function<void()> slow, std::function<void()> done) {
    ++Started;
    pending_ = std::make_shared<Pending>(Pending{std::move(work), std::move(slow), std::move(done)});
    return std::make_unique<MemoryBackgroundTask>(pending_);
}

bool MemoryBackground::Finish(bool slow) {
    const std::shared_ptr<Pending> pending = std::move(pending_);
    if (!pending) return false;
    pending->Work();
    if (slow && pending->Alive) pending->Slow();
    if (pending->Alive) pending->Done();
    return true;
}

}  // namespace quorrel
