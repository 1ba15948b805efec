// The screen reader that writes every spoken text as a line of text, for logs, tests and braille.
#pragma once

#include <cstdio>
#include <string>

#include "platform/ScreenReader.h"

namespace quorrel {

// Writes "Speak: " followed by the text for each Say and "StopSpeech" for each StopSpeech, one line
// per call, flushed at once. The text's bytes are written unchanged, except that line breaks inside
// it become single spaces so that each call stays one line. The path "-" means standard output;
// any other path is created or emptied. A path that cannot be opened raises
// RunTimeError(75, "Path/File access error: " + path). This reader never fails afterwards:
// write errors are ignored and OnFailure is never called.
class LogScreenReader : public IScreenReader {
public:
    explicit LogScreenReader(const std::string& path);
    ~LogScreenReader() override;

    LogScreenReader(const LogScreenReader&) = delete;
    LogScreenReader& operator=(const LogScreenReader&) = delete;

    void Say(const std::string& text) override;
    void StopSpeech() override;
    // A log cannot take back a line: what the handler said before stays, and so does the rest.
    void StopEarlierSpeech() override {}

private:
    void WriteLine(std::string line);

    std::FILE* file_;
    bool ownsFile_;
};

}  // namespace quorrel
