// The program's folders on a POSIX file system.
#include "platform/posix/PosixFileSystem.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace quorrel {

bool PosixFileSystem::MakeFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

std::string PosixFileSystem::UserDataFolder() {
    // XDG: $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && dataHome[0] == '/') return std::string(dataHome) + "/Quorrel";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.local/share/Quorrel";
}

}  // namespace quorrel
