// The line-log screen reader.
#include "platform/speechd/LogScreenReader.h"

namespace quorrel {

namespace {}  // namespace

LogScreenReader::LogScreenReader(const std::string& path)
    : file_(path == "-" ? stdout : std::fopen(path.c_str(), "w")), ownsFile_(path != "-") {
    if (file_ == nullptr) throw RunTimeError(errors::PathFileAccessError, "Path/File access error: " + path);
}

LogScreenReader::~LogScreenReader() {
    if (ownsFile_) std::fclose(file_);
}

void LogScreenReader::Say(const std::string& text) {
    std::string line = "Speak: ";
    line.reserve(line.size() + text.size() + 1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            line += ' ';
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += text[i];
        }
    }
    WriteLine(std::move(line));
}

void LogScreenReader::StopSpeech() { WriteLine("StopSpeech"); }

void LogScreenReader::WriteLine(std::string line) {
    line += '\n';
    // One write per line, so that lines from several readers on standard output never interleave.
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

}  // namespace quorrel
