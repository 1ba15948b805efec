// Tests of the speech-dispatcher screen reader: with no server, with a wedged one, and with a private one.
#include "platform/speechd/SpeechDispatcherReader.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "PrivateSpeechServer.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using quorrel::RunTimeError;
using quorrel::SpeechDispatcherReader;
using quorrel::testing::Describe;
using quorrel::testing::PrivateSpeechServer;
using quorrel::testing::SpeechClientEnvironment;
using quorrel::testing::SpeechEvent;
using Events = std::vector<SpeechEvent>;

SpeechEvent Queued(const std::string& text) { return {SpeechEvent::Kind::Queued, text}; }
SpeechEvent Cancelled() { return {SpeechEvent::Kind::Cancelled, {}}; }

const std::string kAccents = "\xC3\xA9 \xC3\xA8 \xE2\xB9\xB2";  // é è U+2E72

// Stands in for the owner's event loop: the reader posts calls here, the test runs them.
class OwnerLoop {
public:
    SpeechDispatcherReader::PostToOwner Poster() {
        return [this](std::function<void()> call) {
            const std::lock_guard lock(mutex_);
            pending_.push_back(std::move(call));
            ++posted_;
            changed_.notify_all();
        };
    }

    // Waits until at least count calls have been posted in all; false if the deadline passes.
    bool WaitForPosted(int count, std::chrono::milliseconds deadline = 15s) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, deadline, [&] { return posted_ >= count; });
    }

    int Posted() {
        const std::lock_guard lock(mutex_);
        return posted_;
    }

    // Runs the calls posted so far on this thread.
    void RunPending() {
        std::deque<std::function<void()>> calls;
        {
            const std::lock_guard lock(mutex_);
            calls.swap(pending_);
        }
        for (auto& call : calls) call();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> pending_;
    int posted_ = 0;
};

std::string ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "quorrel-speech-client-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return {};
    return pattern;
}

// Keeps calling the reader for a while, so that the worker gets many chances to reconnect.
void KeepCalling(quorrel::IScreenReader& reader, std::chrono::milliseconds span, const std::string& text) {
    const auto end = std::chrono::steady_clock::now() + span;
    for (int i = 0; std::chrono::steady_clock::now() < end; ++i) {
        reader.Say(text + " " + std::to_string(i));
        if (i % 3 == 0) reader.StopSpeech();
        std::this_thread::sleep_for(5ms);
    }
}

// ---------------------------------------------------------------------------------------------
// No server: the address names no socket and libspeechd's autospawn is disabled for this process.

class SpeechDispatcherReaderWithoutServer : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = ScratchFolder();
        ASSERT_FALSE(folder_.empty());
        environment_ = std::make_unique<SpeechClientEnvironment>("unix_socket:/nonexistent/path", folder_);
    }
    void TearDown() override {
        environment_.reset();
        fs::remove_all(folder_);
    }

    std::string folder_;
    std::unique_ptr<SpeechClientEnvironment> environment_;
    OwnerLoop owner_;
};

TEST_F(SpeechDispatcherReaderWithoutServer, ReportsTheOutageOnceOnTheOwnersThreadAndKeepsAcceptingCalls) {
    std::vector<RunTimeError> failures;
    std::vector<std::thread::id> threads;
    {
        // No pause between reconnection attempts: every call looks for the server again.
        SpeechDispatcherReader reader(owner_.Poster(), 0ms);
        reader.OnFailure = [&](const RunTimeError& error) {
            failures.push_back(error);
            threads.push_back(std::this_thread::get_id());
        };
        ASSERT_TRUE(owner_.WaitForPosted(1));
        EXPECT_TRUE(failures.empty()) << "OnFailure ran on the worker instead of through postToOwner";
        KeepCalling(reader, 1s, "Nobody hears this");
        owner_.RunPending();
    }
    owner_.RunPending();
    EXPECT_EQ(owner_.Posted(), 1);
    ASSERT_EQ(failures.size(), 1U);
    EXPECT_EQ(threads[0], std::this_thread::get_id());
    EXPECT_EQ(failures[0].Number, quorrel::errors::SpeechUnavailable);
    EXPECT_EQ(failures[0].Description.rfind("Speech server unavailable: ", 0), 0U) << failures[0].Description;
    EXPECT_NE(failures[0].Description.find("/nonexistent/path"), std::string::npos) << failures[0].Description;
    EXPECT_EQ(failures[0].Description.find('\n'), std::string::npos) << failures[0].Description;
}

TEST_F(SpeechDispatcherReaderWithoutServer, FailureDeliveredWithoutHandlerOrAfterTheReaderIsGoneDoesNothing) {
    {
        SpeechDispatcherReader reader(owner_.Poster());
        ASSERT_TRUE(owner_.WaitForPosted(1));
        owner_.RunPending();  // OnFailure is empty
    }
    bool called = false;
    {
        OwnerLoop owner;
        {
            SpeechDispatcherReader reader(owner.Poster());
            reader.OnFailure = [&](const RunTimeError&) { called = true; };
            ASSERT_TRUE(owner.WaitForPosted(1));
        }
        owner.RunPending();  // the reader is gone
    }
    EXPECT_FALSE(called);
}

// ---------------------------------------------------------------------------------------------
// A wedged server: it takes connections and never answers, so every libspeechd call blocks.

TEST(SpeechDispatcherReaderWithWedgedServer, CallsAndDestructorDoNotWaitForTheServer) {
    const std::string folder = ScratchFolder();
    ASSERT_FALSE(folder.empty());
    const std::string socketPath = folder + "/wedged.sock";
    const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(listener, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof(address.sun_path) - 1);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(listen(listener, 8), 0);
    {
        SpeechClientEnvironment environment("unix_socket:" + socketPath, folder);
        OwnerLoop owner;
        {
            SpeechDispatcherReader reader(owner.Poster());
            for (int i = 0; i < 100; ++i) {
                reader.Say("Queen of clubs");
                reader.StopSpeech();
            }
        }  // would hang here, or in the calls above, if they waited for the server
        EXPECT_EQ(owner.Posted(), 0);
    }
    // Closing the listener lets the abandoned worker's call fail, so it ends on its own.
    close(listener);
    fs::remove_all(folder);
}

// ---------------------------------------------------------------------------------------------
// A private speech-dispatcher, whose log shows what it received.

class SpeechDispatcherReaderWithServer : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string why = PrivateSpeechServer::WhyUnavailable(); !why.empty())
            GTEST_SKIP() << "No private speech-dispatcher can run here: " << why;
        server_ = std::make_unique<PrivateSpeechServer>();
        ASSERT_TRUE(server_->Start()) << server_->LastError();
        environment_ = std::make_unique<SpeechClientEnvironment>(server_->Address(), server_->Folder());
    }

    void TearDown() override {
        // The reader's worker reads the environment; it goes first.
        reader_.reset();
        environment_.reset();
        server_.reset();
    }

    SpeechDispatcherReader& Reader(std::chrono::milliseconds retryInterval = 2s, bool holdUntilIdle = false) {
        reader_ = std::make_unique<SpeechDispatcherReader>(owner_.Poster(), retryInterval, holdUntilIdle);
        reader_->OnFailure = [this](const RunTimeError& error) { failures_.push_back(error); };
        return *reader_;
    }

    std::unique_ptr<PrivateSpeechServer> server_;
    std::unique_ptr<SpeechClientEnvironment> environment_;
    OwnerLoop owner_;
    std::unique_ptr<SpeechDispatcherReader> reader_;
    std::vector<RunTimeError> failures_;
};

TEST_F(SpeechDispatcherReaderWithServer, SaysTextsInCallOrderWithTheirExactBytes) {
    auto& reader = Reader();
    const std::vector<std::string> texts = {
        "Two of hearts",           kAccents,           "Ace of spades, to the home cell.", "  spaced  ",
        "first line\nsecond line", ".. a leading dot", "a dot line\r\n.\r\nafter it"};
    for (const auto& text : texts) reader.Say(text);
    Events expected;
    for (const auto& text : texts) expected.push_back(Queued(text));
    EXPECT_TRUE(server_->WaitFor([&](const Events& events) { return events == expected; }))
        << "the server received:\n"
        << Describe(server_->Events());
    EXPECT_EQ(owner_.Posted(), 0);
}

TEST_F(SpeechDispatcherReaderWithServer, StopSpeechCancelsAfterTheTextsBeforeIt) {
    auto& reader = Reader();
    reader.Say("Seven of diamonds");
    reader.Say("Eight of clubs");
    ASSERT_TRUE(server_->WaitFor([](const Events& events) { return events.size() == 2; }))
        << Describe(server_->Events());
    reader.StopSpeech();
    const Events expected = {Queued("Seven of diamonds"), Queued("Eight of clubs"), Cancelled()};
    EXPECT_TRUE(server_->WaitFor([&](const Events& events) { return events == expected; }))
        << "the server received:\n"
        << Describe(server_->Events());
}

// Checks what the server received against the calls made (texts all different): texts still
// queued when StopSpeech comes may be dropped, but the texts that arrive keep their order, a cancel
// separates two of them exactly when a StopSpeech did, and every text after the last StopSpeech
// arrives.
void ExpectCallOrderKept(const Events& calls, const Events& received) {
    std::size_t call = 0;  // just past the call of the last text received
    bool cancelSince = false;
    for (const auto& event : received) {
        if (event.kind == SpeechEvent::Kind::Cancelled) {
            cancelSince = true;
            continue;
        }
        const auto at = std::find(calls.begin() + static_cast<std::ptrdiff_t>(call), calls.end(), event);
        ASSERT_NE(at, calls.end()) << "out of order or never said: " << event.text << "\n" << Describe(received);
        const bool stopBetween = std::find(calls.begin() + static_cast<std::ptrdiff_t>(call), at, Cancelled()) != at;
        EXPECT_EQ(cancelSince, stopBetween) << "before " << event.text << "\n" << Describe(received);
        call = static_cast<std::size_t>(at - calls.begin()) + 1;
        cancelSince = false;
    }
    const auto lastStop = std::find(calls.rbegin(), calls.rend(), Cancelled());
    for (auto text = lastStop.base(); text != calls.end(); ++text)
        EXPECT_NE(std::find(received.begin(), received.end(), *text), received.end()) << "lost: " << text->text << "\n"
                                                                                      << Describe(received);
}

TEST_F(SpeechDispatcherReaderWithServer, HeldRequestsOfOneHandlerSendTheirLastStopAndWhatFollowsAsOneMessage) {
    auto& reader = Reader(2s, true);
    // One handler: a move stops and speaks three times before its last words.
    reader.StopSpeech();
    reader.Say(" Column  1");
    reader.StopSpeech();
    reader.Say(" Empty ");
    reader.StopSpeech();
    reader.Say(" septs  de  Coeurs ");
    reader.Say("");  // says nothing, as ever
    reader.Say(" was moved ");
    ASSERT_EQ(owner_.Posted(), 1);  // one hand-over for the whole handler
    EXPECT_TRUE(server_->Events().empty()) << Describe(server_->Events());
    owner_.RunPending();  // the event loop is idle again
    Events expected = {Cancelled(), Queued(" septs  de  Coeurs  was moved ")};
    EXPECT_TRUE(server_->WaitFor([&](const Events& events) { return events == expected; }))
        << "the server received:\n"
        << Describe(server_->Events());
    // The next handler's words are held again; texts without a stop are a message of their own,
    // queued behind what is said.
    reader.Say(" dix  de  Piques ");
    reader.Say(" selected ");
    owner_.RunPending();
    expected.push_back(Queued(" dix  de  Piques  selected "));
    EXPECT_TRUE(server_->WaitFor([&](const Events& events) { return events == expected; }))
        << "the server received:\n"
        << Describe(server_->Events());
}

TEST_F(SpeechDispatcherReaderWithServer, NeverReordersTextsAroundStopSpeech) {
    auto& reader = Reader();
    Events calls;
    const auto say = [&](const std::string& text) {
        reader.Say(text);
        calls.push_back(Queued(text));
    };
    const auto stop = [&] {
        reader.StopSpeech();
        calls.push_back(Cancelled());
    };
    // The first round runs while the reader is still connecting, the others while it is connected.
    for (int round = 0; round < 6; ++round) {
        for (int i = 0; i < 20; ++i) say("before " + std::to_string(round) + " " + std::to_string(i));
        stop();
        say("after " + std::to_string(round));
        if (round == 0) {
            ASSERT_TRUE(server_->WaitFor([](const Events& events) { return !events.empty(); }));
        }
        if (round == 3) stop();
    }
    for (int i = 0; i < 5; ++i) say("end " + std::to_string(i));
    ASSERT_TRUE(server_->WaitFor([&](const Events& events) {
        return !events.empty() && events.back() == calls.back();
    })) << Describe(server_->Events());
    ExpectCallOrderKept(calls, server_->Events());
    EXPECT_EQ(owner_.Posted(), 0);
}

TEST_F(SpeechDispatcherReaderWithServer, EmptyOrMalformedTextsDoNotBreakTheConnection) {
    auto& reader = Reader();
    // An empty text would leave libspeechd's connection waiting for data, and bytes that are not
    // UTF-8 make the server drop it.
    reader.Say("");
    reader.Say(std::string("\0", 1));
    reader.Say("bad \xFF byte");
    reader.Say("cut \xE2\xB9");
    reader.Say(std::string("nul\0inside", 10));
    reader.Say("Nine of spades");
    const Events expected = {Queued("bad \xEF\xBF\xBD byte"), Queued("cut \xEF\xBF\xBD"), Queued("nulinside"),
                             Queued("Nine of spades")};
    EXPECT_TRUE(server_->WaitFor([&](const Events& events) { return events == expected; }))
        << "the server received:\n"
        << Describe(server_->Events());
    EXPECT_EQ(owner_.Posted(), 0);
}

TEST_F(SpeechDispatcherReaderWithServer, TextsSaidJustBeforeTheReaderGoesStillReachTheServer) {
    {
        auto& reader = Reader();
        reader.Say("Goodbye");
        reader_.reset();
    }
    EXPECT_TRUE(server_->WaitFor([](const Events& events) { return events == Events{Queued("Goodbye")}; }))
        << "the server received:\n"
        << Describe(server_->Events());
}

TEST_F(SpeechDispatcherReaderWithServer, ServerRestartedBetweenCallsCostsNeitherATextNorAReport) {
    auto& reader = Reader(100ms);
    reader.Say("before");
    ASSERT_TRUE(server_->WaitFor([](const Events& events) { return events == Events{Queued("before")}; }))
        << Describe(server_->Events());
    server_->Kill();
    ASSERT_TRUE(server_->Start()) << server_->LastError();
    reader.Say("after");
    EXPECT_TRUE(server_->WaitFor([](const Events& events) {
        return events == Events{Queued("before"), Queued("after")};
    })) << Describe(server_->Events());
    EXPECT_EQ(owner_.Posted(), 0);
}

TEST_F(SpeechDispatcherReaderWithServer, ReportsEachLossOnceAndReconnectsWhenTheServerIsBack) {
    auto& reader = Reader(100ms);
    reader.Say("before");
    ASSERT_TRUE(server_->WaitFor([](const Events& events) { return events == Events{Queued("before")}; }))
        << Describe(server_->Events());

    server_->Kill();
    for (int i = 0; owner_.Posted() == 0 && i < 1000; ++i) {
        reader.Say("lost " + std::to_string(i));
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_EQ(owner_.Posted(), 1);
    KeepCalling(reader, 500ms, "still lost");  // several retry intervals, all failing
    owner_.RunPending();
    ASSERT_EQ(failures_.size(), 1U);
    EXPECT_EQ(failures_[0].Number, quorrel::errors::SpeechUnavailable);
    EXPECT_EQ(failures_[0].Description.rfind("Speech server unavailable", 0), 0U) << failures_[0].Description;

    ASSERT_TRUE(server_->Start()) << server_->LastError();
    // Texts said before the reconnection may be lost; from the first one heard on, none may be.
    int sent = 0;
    const auto heardBack = [](const Events& events) {
        return std::any_of(events.begin(), events.end(),
                           [](const SpeechEvent& event) { return event.text.rfind("back ", 0) == 0; });
    };
    for (; !heardBack(server_->Events()) && sent < 1000; ++sent) {
        reader.Say("back " + std::to_string(sent));
        std::this_thread::sleep_for(10ms);
    }
    reader.Say(kAccents);
    reader.Say("last");
    ASSERT_TRUE(server_->WaitFor([](const Events& events) {
        return !events.empty() && events.back() == Queued("last");
    })) << Describe(server_->Events());
    Events events = server_->Events();
    const auto first = std::find_if(events.begin(), events.end(),
                                    [](const SpeechEvent& event) { return event.text.rfind("back ", 0) == 0; });
    ASSERT_NE(first, events.end());
    const int firstHeard = std::stoi(first->text.substr(5));
    Events expected;
    for (int i = firstHeard; i < sent; ++i) expected.push_back(Queued("back " + std::to_string(i)));
    expected.push_back(Queued(kAccents));
    expected.push_back(Queued("last"));
    EXPECT_EQ(Events(first, events.end()), expected) << Describe(events);
    EXPECT_EQ(owner_.Posted(), 1);

    // The outage is over: losing the server again is a new one, reported again.
    server_->Kill();
    for (int i = 0; owner_.Posted() == 1 && i < 1000; ++i) {
        reader.Say("lost again " + std::to_string(i));
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(owner_.Posted(), 2);
}

// ---------------------------------------------------------------------------------------------
// The voice settings, as the private server's log records the commands it was given.

// How many times the log records the given SSIP command line.
int Told(const PrivateSpeechServer& server, const std::string& command) {
    const std::string log = server.Log();
    int count = 0;
    for (std::size_t at = log.find(command); at != std::string::npos; at = log.find(command, at + 1)) ++count;
    return count;
}

TEST_F(SpeechDispatcherReaderWithServer, VoiceSettingsGoBeforeTheNextTextAndAgainOnEachNewConnection) {
    auto& reader = Reader(100ms, true);
    reader.Say("as the server speaks");
    owner_.RunPending();
    ASSERT_TRUE(server_->WaitFor([](const Events& e) { return e == Events{Queued("as the server speaks")}; }));
    EXPECT_EQ(Told(*server_, "SET SELF RATE"), 0) << "nothing is set until the player sets it";

    reader.SetVoice({.Rate = 30, .Pitch = -20, .Volume = 80, .Voice = {}});
    reader.StopSpeech();
    reader.Say(" Faster ");
    owner_.RunPending();
    ASSERT_TRUE(server_->WaitFor([](const Events& e) { return !e.empty() && e.back() == Queued(" Faster "); }))
        << Describe(server_->Events());
    EXPECT_EQ(Told(*server_, "SET SELF RATE 30"), 1) << server_->Log();
    EXPECT_EQ(Told(*server_, "SET SELF PITCH -20"), 1);
    EXPECT_EQ(Told(*server_, "SET SELF VOLUME 80"), 1);

    server_->Kill();
    ASSERT_TRUE(server_->Start()) << server_->LastError();
    for (int i = 0; Told(*server_, "SET SELF RATE 30") < 2 && i < 500; ++i) {
        reader.Say("again " + std::to_string(i));
        owner_.RunPending();
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(Told(*server_, "SET SELF RATE 30"), 2) << "set again on the new connection";
    EXPECT_EQ(Told(*server_, "SET SELF VOLUME 80"), 2);

    // Taken back, the settings are the server's own again: its speech module is given its default rate.
    const std::size_t before = server_->Log().size();
    reader.SetVoice({});
    reader.Say("as before");
    owner_.RunPending();
    EXPECT_TRUE(server_->WaitFor([&](const Events&) {
        const std::string log = server_->Log();
        return log.find("\nrate=0\n", before) != std::string::npos;
    })) << server_->Log().substr(before);
    EXPECT_EQ(Told(*server_, "SET SELF RATE 30"), 2);
    EXPECT_TRUE(failures_.empty());
}

TEST_F(SpeechDispatcherReaderWithServer, ListsTheServersVoicesAndARefusedVoiceKeepsTheConnection) {
    auto& reader = Reader();
    std::vector<std::string> names;
    reader.ListVoices([&](std::vector<std::string> listed) { names = std::move(listed); });
    ASSERT_TRUE(owner_.WaitForPosted(1));
    owner_.RunPending();
    ASSERT_FALSE(names.empty()) << "espeak-ng lists its voices";

    reader.SetVoice({.Rate = {}, .Pitch = {}, .Volume = {}, .Voice = "no such voice"});
    reader.Say("still heard");
    EXPECT_TRUE(server_->WaitFor([](const Events& e) { return e == Events{Queued("still heard")}; }))
        << Describe(server_->Events());
    reader.SetVoice({.Rate = {}, .Pitch = {}, .Volume = {}, .Voice = names.back()});
    reader.Say("in another voice");
    EXPECT_TRUE(server_->WaitFor([](const Events& e) { return !e.empty() && e.back() == Queued("in another voice"); }));
    EXPECT_EQ(Told(*server_, "SET SELF SYNTHESIS_VOICE " + names.back()), 1) << server_->Log();
    EXPECT_TRUE(failures_.empty());
}

}  // namespace
