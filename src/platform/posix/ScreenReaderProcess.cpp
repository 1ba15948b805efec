// Finding a running screen reader among the processes of the system.
#include "platform/posix/ScreenReaderProcess.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace quorrel {

namespace {

constexpr std::array<std::string_view, 1> kScreenReaders = {"orca"};

// The whole of a small file, or nothing when it cannot be read (the process has ended, or it is not ours).
std::optional<std::string> ReadSmallFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return std::nullopt;
    std::string content;
    std::array<char, 4096> buffer;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0) break;
        content.append(buffer.data(), static_cast<size_t>(got));
        if (content.size() > (1u << 20)) break;  // an environment is never that long; enough to look in
    }
    ::close(fd);
    return content;
}

// ":0.0" and ":0" are the same display.
std::string WithoutScreen(const std::string& display) {
    const size_t colon = display.rfind(':');
    const size_t point = display.find('.', colon == std::string::npos ? 0 : colon);
    return colon == std::string::npos || point == std::string::npos ? display : display.substr(0, point);
}

// The value of a variable in the NUL-separated environment of a process ("" when unset).
std::string Variable(const std::string& environment, std::string_view name) {
    size_t at = 0;
    while (at < environment.size()) {
        size_t end = environment.find('\0', at);
        if (end == std::string::npos) end = environment.size();
        const std::string_view entry(environment.data() + at, end - at);
        if (entry.size() > name.size() && entry.substr(0, name.size()) == name && entry[name.size()] == '=')
            return std::string(entry.substr(name.size() + 1));
        at = end + 1;
    }
    return {};
}

bool IsScreenReaderName(std::string name) {
    while (!name.empty() && (name.back() == '\n' || name.back() == '\0')) name.pop_back();
    for (std::string_view known : kScreenReaders)
        if (name == known) return true;
    return false;
}

}  // namespace

ScreenReaderSearch ScreenReaderSearch::OfThisProgram() {
    ScreenReaderSearch search;
    if (const char* display = std::getenv("DISPLAY")) search.Display = display;
    if (const char* wayland = std::getenv("WAYLAND_DISPLAY")) search.WaylandDisplay = wayland;
    return search;
}

bool ScreenReaderProcessRunning(const ScreenReaderSearch& search) {
    DIR* folder = ::opendir(search.ProcFolder.c_str());
    if (!folder) return false;
    const uid_t user = ::getuid();
    bool found = false;
    while (!found) {
        const dirent* entry = ::readdir(folder);
        if (!entry) break;
        const std::string_view pid = entry->d_name;
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string_view::npos) continue;
        const std::string process = search.ProcFolder + "/" + std::string(pid);
        struct stat info {};
        if (::stat(process.c_str(), &info) != 0 || info.st_uid != user) continue;
        const auto name = ReadSmallFile(process + "/comm");
        if (!name || !IsScreenReaderName(*name)) continue;
        const auto environment = ReadSmallFile(process + "/environ");
        found = !environment || (WithoutScreen(Variable(*environment, "DISPLAY")) == WithoutScreen(search.Display) &&
                                 Variable(*environment, "WAYLAND_DISPLAY") == search.WaylandDisplay);
    }
    ::closedir(folder);
    return found;
}

}  // namespace quorrel
