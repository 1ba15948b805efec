// A private, silent speech-dispatcher for tests: started and killed by the test, its log read back.
#pragma once

#include <sys/types.h>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace quorrel::testing {

// What the server did for its clients, in order, as its log records it.
struct SpeechEvent {
    enum class Kind { Queued, Cancelled };
    Kind kind;
    std::string text;  // the queued text; empty for a cancel

    bool operator==(const SpeechEvent&) const = default;
};

std::string Describe(const std::vector<SpeechEvent>& events);

// A speech-dispatcher of its own in a fresh folder under /tmp: single-application mode, no idle
// time-out, espeak-ng as the only module, ALSA's "null" device as output (so nothing is heard), and
// a log at level 5, which records every queued text and every cancel. Clients reach it through
// Address(). The destructor kills the server and removes the folder.
class PrivateSpeechServer {
public:
    // Empty when a server can be started on this machine, else the reason it cannot.
    static std::string WhyUnavailable();

    PrivateSpeechServer();
    ~PrivateSpeechServer();
    PrivateSpeechServer(const PrivateSpeechServer&) = delete;
    PrivateSpeechServer& operator=(const PrivateSpeechServer&) = delete;

    // Starts the server (again, after Kill or Stop; the log goes on) and waits until its socket
    // accepts connections. False, with the reason in LastError(), when it does not come up in time.
    bool Start(std::chrono::milliseconds deadline = std::chrono::seconds(20));
    // Ends the server at once, the way a crash would (SIGKILL), and reaps it.
    void Kill();
    // Asks the server to end (SIGTERM) and kills it if it has not ended within a few seconds.
    void Stop();

    const std::string& Address() const { return address_; }  // for SPEECHD_ADDRESS
    const std::string& Folder() const { return folder_; }
    const std::string& LastError() const { return lastError_; }

    // The events logged so far, across restarts.
    std::vector<SpeechEvent> Events() const;
    // The whole log so far: what the server was told besides the texts (settings) is read from it.
    std::string Log() const;
    // The queued texts among Events(), in order.
    std::vector<std::string> QueuedTexts() const;
    // Polls the log until done(Events()) holds; false if the deadline passes first.
    bool WaitFor(const std::function<bool(const std::vector<SpeechEvent>&)>& done,
                 std::chrono::milliseconds deadline = std::chrono::seconds(10)) const;

private:
    void End(int signal, std::chrono::milliseconds grace);
    pid_t PidFromFile() const;

    std::string folder_;
    std::string socket_;
    std::string pidFile_;
    std::string logFile_;
    std::string address_;
    std::string lastError_;
    pid_t child_ = -1;
};

// Points the libspeechd clients of this process at an address and forbids them to autospawn a
// server (through a client configuration with DisableAutoSpawn under XDG_CONFIG_HOME); the previous
// environment comes back when it goes. Create it before the readers, while no reader thread runs.
class SpeechClientEnvironment {
public:
    SpeechClientEnvironment(const std::string& address, const std::string& scratchFolder);
    ~SpeechClientEnvironment();
    SpeechClientEnvironment(const SpeechClientEnvironment&) = delete;
    SpeechClientEnvironment& operator=(const SpeechClientEnvironment&) = delete;

private:
    struct Saved {
        std::string name;
        bool set;
        std::string value;
    };
    std::vector<Saved> saved_;
};

}  // namespace quorrel::testing
