// The speech-dispatcher screen reader: one worker thread owns the libspeechd connection.
#include "platform/speechd/SpeechDispatcherReader.h"

#include <libspeechd.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <optional>
#include <string_view>
#include <utility>

namespace quorrel {

namespace {

using Clock = std::chrono::steady_clock;

// How long the destructor lets the worker finish before leaving it behind.
constexpr auto kShutdownWait = std::chrono::milliseconds(500);

// A text speech-dispatcher accepts. An empty text makes spd_say fail and leaves the connection
// waiting for data, so the next command never gets its reply; a text that is not valid UTF-8 fails
// and breaks the connection; libspeechd stops at a NUL byte. So NUL bytes are dropped and each
// invalid UTF-8 sequence becomes U+FFFD; valid UTF-8 passes unchanged.
std::string SpeakableText(const std::string& text) {
    static const std::string kReplacement = "\xEF\xBF\xBD";
    std::string out;
    out.reserve(text.size());
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const auto continuation = [&](std::size_t i) { return i < text.size() && (byte(i) & 0xC0) == 0x80; };
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = byte(i);
        if (lead < 0x80) {
            if (lead != 0) out += static_cast<char>(lead);
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;   // overlong
            if (lead == 0xED) high = 0x9F;  // surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;   // overlong
            if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
        }
        bool valid = length != 0 && i + 1 < text.size() && byte(i + 1) >= low && byte(i + 1) <= high;
        for (std::size_t k = 2; valid && k < length; ++k) valid = continuation(i + k);
        if (valid) {
            out.append(text, i, length);
            i += length;
        } else {
            // Skip the lead byte and the continuation bytes that belonged to it.
            out += kReplacement;
            ++i;
            while (continuation(i)) ++i;
        }
    }
    return out;
}

// libspeechd's reason for a failed connection, on one line and without its "Error: " prefix.
std::string TidyReason(const char* reason) {
    std::string out;
    if (reason == nullptr) return out;
    bool blank = false;
    for (const char* p = reason; *p != '\0'; ++p) {
        const bool space = *p == ' ' || *p == '\n' || *p == '\r' || *p == '\t';
        if (space) {
            blank = !out.empty();
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += *p;
    }
    constexpr std::string_view kPrefix = "Error: ";
    if (out.rfind(kPrefix, 0) == 0) out.erase(0, kPrefix.size());
    return out;
}

}  // namespace

struct SpeechDispatcherReader::Shared {
    struct Request {
        bool stop = false;  // StopSpeech, else Say
        std::string text;
    };

    std::chrono::milliseconds retryInterval{};

    std::mutex mutex;
    std::condition_variable wake;      // the worker waits here for requests or the end
    std::condition_variable finished;  // the destructor waits here for the worker
    std::deque<Request> queue;         // not yet sent, in call order
    // Settings the worker has not taken yet, and the lists of voices asked for.
    std::optional<VoiceSettings> voice;
    std::vector<std::function<void(std::vector<std::string>)>> voiceLists;
    bool stopping = false;
    bool done = false;

    // Held while handing a failure over, so that the destructor can shut the door for good.
    std::mutex postMutex;
    PostToOwner postToOwner;  // empty once the reader is gone
    std::weak_ptr<SpeechDispatcherReader*> owner;

    void PostFailure(const RunTimeError& error) {
        const std::lock_guard lock(postMutex);
        if (!postToOwner) return;
        postToOwner([owner = owner, error] {
            const auto reader = owner.lock();
            if (!reader) return;
            // A copy, in case the handler replaces OnFailure or destroys the reader.
            const auto handler = (*reader)->OnFailure;
            if (handler) handler(error);
        });
    }

    // Runs done on the owner's thread while the reader is alive.
    void PostVoices(std::function<void(std::vector<std::string>)> done, std::vector<std::string> names) {
        const std::lock_guard lock(postMutex);
        if (!postToOwner) return;
        postToOwner([owner = owner, done = std::move(done), names = std::move(names)] {
            if (owner.lock()) done(names);
        });
    }
};

// Runs on the worker thread; the only code that calls libspeechd.
class SpeechDispatcherReader::Worker {
public:
    explicit Worker(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}
    ~Worker() { std::free(line_); }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    void Run() {
        if (std::string reason; !Connect(reason)) Fail(reason);
        for (;;) {
            std::deque<Shared::Request> batch;
            std::vector<std::function<void(std::vector<std::string>)>> voiceLists;
            bool stopping = false;
            {
                std::unique_lock lock(shared_->mutex);
                shared_->wake.wait(lock, [this] {
                    return shared_->stopping || !shared_->queue.empty() || shared_->voice ||
                           !shared_->voiceLists.empty();
                });
                if (shared_->queue.empty() && shared_->stopping) break;
                batch.swap(shared_->queue);
                voiceLists.swap(shared_->voiceLists);
                if (shared_->voice) wanted_ = *std::exchange(shared_->voice, std::nullopt);
                stopping = shared_->stopping;
            }
            // Texts said just before the reader goes still go out, but no new connection is made.
            Handle(batch, !stopping);
            for (auto& done : voiceLists) shared_->PostVoices(std::move(done), VoiceNames());
        }
        Disconnect();
        {
            const std::lock_guard lock(shared_->mutex);
            shared_->done = true;
        }
        shared_->finished.notify_all();
    }

private:
    // Sends the requests in order. What the server has acknowledged is never sent again; the rest
    // goes to a fresh connection once, if the old one broke and a retry is due.
    void Handle(std::deque<Shared::Request>& batch, bool mayConnect) {
        std::string reason = "connection lost";
        if (connection_ == nullptr) {
            // No server: the requests are dropped, unless it is time to look for one again.
            if (!mayConnect || !RetryDue()) return;
            if (!Connect(reason)) {
                Fail(reason);
                return;
            }
        }
        if (ApplyVoice(reason) && Send(batch)) return;
        Disconnect();
        // The server may have been restarted since the last call: one fresh attempt, so that a
        // server that comes straight back costs neither these texts nor a failure report.
        if (mayConnect && RetryDue()) {
            if (Connect(reason) && ApplyVoice(reason) && Send(batch)) return;
            Disconnect();
        }
        Fail(reason);
    }

    // Brings the connection's settings to the player's. A fresh connection has the server's own, so a
    // setting taken back costs a new connection; one the server refuses (a voice it lacks) stays its
    // own. False when the connection broke.
    bool ApplyVoice(std::string& reason) {
        if (applied_ == wanted_) return true;
        const bool takenBack = (applied_.Rate && !wanted_.Rate) || (applied_.Pitch && !wanted_.Pitch) ||
                               (applied_.Volume && !wanted_.Volume) || (applied_.Voice && !wanted_.Voice);
        if (takenBack) {
            Disconnect();
            if (!Connect(reason)) return false;
        }
        const auto set = [this](const auto& want, const auto& had, auto call) {
            if (!want || want == had) return true;
            return call(*want) == 0 || connection_->stream != nullptr;  // refused, but still connected
        };
        const bool connected =
            set(wanted_.Rate, applied_.Rate, [this](int v) { return spd_set_voice_rate(connection_, v); }) &&
            set(wanted_.Pitch, applied_.Pitch, [this](int v) { return spd_set_voice_pitch(connection_, v); }) &&
            set(wanted_.Volume, applied_.Volume, [this](int v) { return spd_set_volume(connection_, v); }) &&
            set(wanted_.Voice, applied_.Voice,
                [this](const std::string& v) { return spd_set_synthesis_voice(connection_, v.c_str()); });
        if (!connected) {
            reason = "connection lost";
            return false;
        }
        applied_ = wanted_;
        return true;
    }

    // The names of the server's voices, or none without a connection. The command is libspeechd's
    // spd_list_synthesis_voices, but its reply (thousands of lines "249-NAME\tLANGUAGE\tVARIANT" for
    // espeak-ng) is read here line by line: libspeechd searches the whole reply again for each line.
    std::vector<std::string> VoiceNames() {
        std::vector<std::string> names;
        if (connection_ == nullptr || !WriteAll("LIST SYNTHESIS_VOICES\r\n")) return names;
        for (;;) {
            const ssize_t length = getline(&line_, &lineSize_, connection_->stream);
            if (length < 4) {  // the connection broke: the next request finds out
                names.clear();
                break;
            }
            if (line_[3] != '-') break;  // the closing line
            const std::string_view entry(line_ + 4, static_cast<std::size_t>(length) - 4);
            const std::string_view name = entry.substr(0, entry.find_first_of("\t\r\n"));
            if (!name.empty()) names.emplace_back(name);
        }
        return names;
    }

    bool RetryDue() const { return !lastAttempt_ || Clock::now() - *lastAttempt_ >= shared_->retryInterval; }

    bool Connect(std::string& reason) {
        lastAttempt_ = Clock::now();
        char* error = nullptr;
        // Single mode: no callbacks are needed and every call is on this thread anyway. The threaded
        // mode adds libspeechd's own reader thread, which closes the socket by itself when the server
        // goes, and spd_close destroys that thread's mutexes before joining it (ThreadSanitizer
        // reports both races).
        connection_ = spd_open2("quorrel", "main", nullptr, SPD_MODE_SINGLE, nullptr, 1, &error);
        if (connection_ == nullptr) {
            reason = TidyReason(error);
            std::free(error);
            return false;
        }
        std::free(error);
        // The server hung up during the greeting: libspeechd has closed the socket already.
        if (connection_->stream == nullptr) {
            Disconnect();
            reason = "connection lost";
            return false;
        }
        outage_ = false;
        applied_ = {};  // a new connection speaks as the server's settings say
        return true;
    }

    // When one of its own calls finds the connection broken, libspeechd closes the socket (its stream
    // is then null) but keeps the number, which another thread may have been given for a file of its
    // own since: it must be neither written to nor closed again.
    void Disconnect() {
        if (connection_ == nullptr) return;
        if (connection_->stream == nullptr) connection_->socket = -1;
        spd_close(connection_);
        connection_ = nullptr;
    }

    // Writes all the requests at once and only then reads the server's replies, so the server never
    // waits for this thread between a cancel and the text after it, nor between the commands of one
    // text. The commands are the ones libspeechd's spd_cancel and spd_say send, byte for byte; the
    // replies are read from libspeechd's own stream of the connection, as its calls read them.
    // Acknowledged requests leave the batch; false if the connection failed or the server refused.
    bool Send(std::deque<Shared::Request>& batch) {
        std::string out;
        for (const auto& request : batch) {
            if (request.stop) {
                out += "CANCEL SELF\r\n";
            } else {
                out += "SET SELF PRIORITY MESSAGE\r\nspeak\r\n";
                AppendEscaped(out, request.text);
                out += "\r\n.\r\n";
            }
        }
        if (!WriteAll(out)) return false;
        while (!batch.empty()) {
            const int replies = batch.front().stop ? 1 : 3;
            for (int i = 0; i < replies; ++i)
                if (!ReadReply()) return false;
            batch.pop_front();
        }
        return true;
    }

    // SSIP data: a line that starts with a dot gets a second one, as libspeechd escapes it.
    static void AppendEscaped(std::string& out, const std::string& text) {
        std::size_t from = 0;
        if (!text.empty() && text[0] == '.') {
            out += "..";
            from = 1;
        }
        for (;;) {
            const std::size_t at = text.find("\r\n.", from);
            if (at == std::string::npos) break;
            out.append(text, from, at - from);
            out += "\r\n..";
            from = at + 3;
        }
        out.append(text, from, std::string::npos);
    }

    bool WriteAll(const std::string& bytes) {
        if (connection_->stream == nullptr) return false;
        std::size_t sent = 0;
        while (sent < bytes.size()) {
            const ssize_t n = ::send(connection_->socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            sent += static_cast<std::size_t>(n);
        }
        return true;
    }

    // One reply: lines "NNN-..." up to the line "NNN ...". True if its code is a success (1xx, 2xx).
    bool ReadReply() {
        if (connection_->stream == nullptr) return false;
        for (;;) {
            const ssize_t length = getline(&line_, &lineSize_, connection_->stream);
            if (length < 4) return false;  // broken connection, or not a reply
            if (line_[3] == '-') continue;
            return line_[3] == ' ' && (line_[0] == '1' || line_[0] == '2');
        }
    }

    void Fail(const std::string& reason) {
        if (outage_) return;
        outage_ = true;
        shared_->PostFailure(RunTimeError(errors::SpeechUnavailable, reason.empty()
                                                                         ? "Speech server unavailable"
                                                                         : "Speech server unavailable: " + reason));
    }

    std::shared_ptr<Shared> shared_;
    SPDConnection* connection_ = nullptr;
    bool outage_ = false;  // reported, and no connection has succeeded since
    std::optional<Clock::time_point> lastAttempt_;
    VoiceSettings wanted_;   // the player's settings
    VoiceSettings applied_;  // what this connection has been told
    char* line_ = nullptr;   // getline's buffer for the replies
    std::size_t lineSize_ = 0;
};

SpeechDispatcherReader::SpeechDispatcherReader(PostToOwner postToOwner, std::chrono::milliseconds retryInterval,
                                               bool holdUntilIdle)
    : shared_(std::make_shared<Shared>()),
      holdUntilIdle_(holdUntilIdle),
      self_(std::make_shared<SpeechDispatcherReader*>(this)) {
    // A dead server must turn writes into errors (-1 from libspeechd), not kill the program.
    static std::once_flag ignoreSigpipe;
    std::call_once(ignoreSigpipe, [] { std::signal(SIGPIPE, SIG_IGN); });

    shared_->retryInterval = retryInterval;
    shared_->postToOwner = std::move(postToOwner);
    shared_->owner = self_;
    worker_ = std::thread([shared = shared_] { Worker(shared).Run(); });
}

SpeechDispatcherReader::~SpeechDispatcherReader() {
    HandOver();  // the last words still go out
    self_.reset();
    {
        const std::lock_guard lock(shared_->postMutex);
        shared_->postToOwner = nullptr;
    }
    bool done = false;
    {
        std::unique_lock lock(shared_->mutex);
        shared_->stopping = true;
        shared_->wake.notify_all();
        done = shared_->finished.wait_for(lock, kShutdownWait, [this] { return shared_->done; });
    }
    // A worker stuck in a call to a wedged server is left behind; it holds its own share of the state.
    if (done) worker_.join();
    else worker_.detach();
}

void SpeechDispatcherReader::Say(const std::string& text) {
    std::string speakable = SpeakableText(text);
    if (speakable.empty()) return;
    Queue(false, std::move(speakable));
}

void SpeechDispatcherReader::StopSpeech() { Queue(true, {}); }

void SpeechDispatcherReader::SetVoice(const VoiceSettings& settings) {
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->voice = settings;
    }
    shared_->wake.notify_one();
}

void SpeechDispatcherReader::ListVoices(std::function<void(std::vector<std::string>)> done) {
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->voiceLists.push_back(std::move(done));
    }
    shared_->wake.notify_one();
}

// Only the held requests are the running handler's; without holding, what it said is with the server.
void SpeechDispatcherReader::StopEarlierSpeech() {
    if (!holdUntilIdle_) return;
    const bool stopsAlready = std::any_of(held_.begin(), held_.end(), [](const Held& h) { return h.stop; });
    if (stopsAlready) return;
    if (held_.empty()) return Queue(true, {});
    held_.insert(held_.begin(), Held{true, {}});
}

void SpeechDispatcherReader::Queue(bool stop, std::string text) {
    if (!holdUntilIdle_) {
        held_.push_back({stop, std::move(text)});
        return HandOver();
    }
    // What a later StopSpeech of the same handler cancels is never sent.
    if (stop) held_.clear();
    held_.push_back({stop, std::move(text)});
    if (handOverPosted_) return;
    const std::lock_guard lock(shared_->postMutex);
    if (!shared_->postToOwner) return HandOver();
    handOverPosted_ = true;
    shared_->postToOwner([owner = std::weak_ptr<SpeechDispatcherReader*>(self_)] {
        if (const auto reader = owner.lock()) (*reader)->HandOver();
    });
}

void SpeechDispatcherReader::HandOver() {
    handOverPosted_ = false;
    if (held_.empty()) return;
    {
        const std::lock_guard lock(shared_->mutex);
        // Held requests are one handler's: they are at most one StopSpeech and the texts after it,
        // which go out as one message. The server then speaks them without a gap between texts,
        // and the whole announcement costs one round trip instead of one per text. Each text
        // carries its own blanks, so they are joined as they are.
        std::string message;
        for (auto& request : held_) {
            if (request.stop) {
                // Whatever is still queued would be cancelled at once; the cancel itself must still
                // go, since earlier texts may be speaking.
                shared_->queue.clear();
                shared_->queue.push_back({true, {}});
                message.clear();
            } else if (!holdUntilIdle_) {
                shared_->queue.push_back({false, std::move(request.text)});
            } else {
                message += request.text;
            }
        }
        if (!message.empty()) shared_->queue.push_back({false, std::move(message)});
    }
    held_.clear();
    shared_->wake.notify_one();
}

}  // namespace quorrel
