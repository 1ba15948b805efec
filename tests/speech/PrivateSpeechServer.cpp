// A private, silent speech-dispatcher for tests.
#include "PrivateSpeechServer.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace quorrel::testing {

namespace {

namespace fs = std::filesystem;

const char* const kServer = "/usr/bin/speech-dispatcher";
const char* const kModule = "/usr/lib/speech-dispatcher-modules/sd_espeak-ng";
const char* const kModuleConfig = "/etc/speech-dispatcher/modules/espeak-ng.conf";
constexpr auto kPoll = std::chrono::milliseconds(20);

std::string MakeFolder() {
    std::string pattern = (fs::temp_directory_path() / "quorrel-speech-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed: " + std::string(std::strerror(errno)));
    return pattern;
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Accepts(const std::string& socketPath) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof(address.sun_path) - 1);
    const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    close(fd);
    return ok;
}

// Whether pid is a live speech-dispatcher serving socketPath, so that a stale pid file never makes
// us signal some other process.
bool ServesSocket(pid_t pid, const std::string& socketPath) {
    if (pid <= 0) return false;
    const std::string commandLine = ReadFile("/proc/" + std::to_string(pid) + "/cmdline");
    return commandLine.find(kServer) != std::string::npos && commandLine.find(socketPath) != std::string::npos;
}

}  // namespace

std::string Describe(const std::vector<SpeechEvent>& events) {
    std::string out;
    for (const auto& event : events)
        out += event.kind == SpeechEvent::Kind::Queued ? "  queued |" + event.text + "|\n" : "  cancel\n";
    return out.empty() ? "  (nothing)\n" : out;
}

std::string PrivateSpeechServer::WhyUnavailable() {
    for (const char* path : {kServer, kModule})
        if (access(path, X_OK) != 0) return std::string(path) + " is not installed";
    if (access(kModuleConfig, R_OK) != 0) return std::string(kModuleConfig) + " is missing";
    return {};
}

PrivateSpeechServer::PrivateSpeechServer() : folder_(MakeFolder()) {
    // The module configurations are read from the modules folder beside speechd.conf.
    fs::create_directories(folder_ + "/conf/modules");
    fs::create_directories(folder_ + "/log");
    WriteFile(folder_ + "/conf/speechd.conf",
              "AudioOutputMethod \"alsa\"\n"
              "AudioALSADevice \"null\"\n"
              "AddModule \"espeak-ng\" \"sd_espeak-ng\" \"espeak-ng.conf\"\n"
              "DefaultModule espeak-ng\n");
    fs::copy_file(kModuleConfig, folder_ + "/conf/modules/espeak-ng.conf");
    socket_ = folder_ + "/speechd.sock";
    pidFile_ = folder_ + "/speechd.pid";
    logFile_ = folder_ + "/log/speech-dispatcher.log";
    address_ = "unix_socket:" + socket_;
}

PrivateSpeechServer::~PrivateSpeechServer() {
    Stop();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

bool PrivateSpeechServer::Start(std::chrono::milliseconds deadline) {
    Stop();
    const std::string confDir = folder_ + "/conf";
    const std::string logDir = folder_ + "/log";
    const std::string output = folder_ + "/server-output.log";  // what it prints before its log is open
    std::vector<std::string> args = {kServer, "-s", "-t",   "0",  "-C",    confDir, "-l",
                                     "5",     "-L", logDir, "-S", socket_, "-P",    pidFile_};
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    // Keep the test's own descriptors (client sockets, log files) out of the server.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    const int error = posix_spawn(&child_, kServer, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        child_ = -1;
        lastError_ = std::string("cannot start ") + kServer + ": " + std::strerror(error);
        return false;
    }

    const auto end = std::chrono::steady_clock::now() + deadline;
    while (std::chrono::steady_clock::now() < end) {
        if (Accepts(socket_)) return true;
        int status = 0;
        if (waitpid(child_, &status, WNOHANG) == child_) {
            child_ = -1;
            lastError_ = "speech-dispatcher ended at once; its output:\n" + ReadFile(output);
            return false;
        }
        std::this_thread::sleep_for(kPoll);
    }
    lastError_ = "speech-dispatcher did not open " + socket_ + " in time; its output:\n" + ReadFile(output);
    Kill();
    return false;
}

void PrivateSpeechServer::Kill() { End(SIGKILL, std::chrono::seconds(5)); }

void PrivateSpeechServer::Stop() {
    End(SIGTERM, std::chrono::seconds(3));
    End(SIGKILL, std::chrono::seconds(5));
}

pid_t PrivateSpeechServer::PidFromFile() const {
    std::ifstream in(pidFile_);
    long pid = -1;
    if (!(in >> pid)) return -1;
    return static_cast<pid_t>(pid);
}

void PrivateSpeechServer::End(int signal, std::chrono::milliseconds grace) {
    // The pid file names the server; normally that is our child, which we must also reap.
    const pid_t fromFile = PidFromFile();
    if (fromFile != child_ && ServesSocket(fromFile, socket_)) kill(fromFile, signal);
    if (child_ <= 0) return;
    kill(child_, signal);
    const auto end = std::chrono::steady_clock::now() + grace;
    for (;;) {
        int status = 0;
        const pid_t reaped = waitpid(child_, &status, WNOHANG);
        if (reaped == child_ || (reaped < 0 && errno == ECHILD)) {
            child_ = -1;
            std::error_code ignored;
            fs::remove(pidFile_, ignored);
            return;
        }
        if (std::chrono::steady_clock::now() >= end) return;
        std::this_thread::sleep_for(kPoll);
    }
}

std::vector<SpeechEvent> PrivateSpeechServer::Events() const {
    // At log level 5 the server writes "Queueing message |TEXT| with priority N" for each text it
    // takes (the text may span lines) and "Cancel received from fd N." for each cancel.
    const std::string log = ReadFile(logFile_);
    static const std::string kQueued = "Queueing message |";
    static const std::string kQueuedEnd = "| with priority ";
    static const std::string kCancel = "Cancel received from fd ";
    std::vector<SpeechEvent> events;
    std::size_t at = 0;
    for (;;) {
        const std::size_t queued = log.find(kQueued, at);
        const std::size_t cancel = log.find(kCancel, at);
        if (queued == std::string::npos && cancel == std::string::npos) break;
        if (queued < cancel) {
            const std::size_t begin = queued + kQueued.size();
            const std::size_t end = log.find(kQueuedEnd, begin);
            if (end == std::string::npos) break;  // still being written
            events.push_back({SpeechEvent::Kind::Queued, log.substr(begin, end - begin)});
            at = end + kQueuedEnd.size();
        } else {
            events.push_back({SpeechEvent::Kind::Cancelled, {}});
            at = cancel + kCancel.size();
        }
    }
    return events;
}

std::string PrivateSpeechServer::Log() const { return ReadFile(logFile_); }

std::vector<std::string> PrivateSpeechServer::QueuedTexts() const {
    std::vector<std::string> texts;
    for (const auto& event : Events())
        if (event.kind == SpeechEvent::Kind::Queued) texts.push_back(event.text);
    return texts;
}

bool PrivateSpeechServer::WaitFor(const std::function<bool(const std::vector<SpeechEvent>&)>& done,
                                  std::chrono::milliseconds deadline) const {
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        if (done(Events())) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(kPoll);
    }
}

SpeechClientEnvironment::SpeechClientEnvironment(const std::string& address, const std::string& scratchFolder) {
    const std::string config = scratchFolder + "/client-config";
    fs::create_directories(config + "/speech-dispatcher");
    // Read by the server that libspeechd would autospawn, which then refuses to start.
    WriteFile(config + "/speech-dispatcher/speechd.conf", "DisableAutoSpawn\n");
    for (const auto& [name, value] : {std::pair<std::string, std::string>{"SPEECHD_ADDRESS", address},
                                      std::pair<std::string, std::string>{"XDG_CONFIG_HOME", config}}) {
        const char* old = std::getenv(name.c_str());
        saved_.push_back({name, old != nullptr, old != nullptr ? old : ""});
        setenv(name.c_str(), value.c_str(), 1);
    }
}

SpeechClientEnvironment::~SpeechClientEnvironment() {
    for (const auto& saved : saved_) {
        if (saved.set) setenv(saved.name.c_str(), saved.value.c_str(), 1);
        else unsetenv(saved.name.c_str());
    }
}

}  // namespace quorrel::testing
