// The program's folders and files on a POSIX file system.
#include "platform/posix/PosixFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/RunTimeError.h"

namespace quorrel {

namespace {

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Folder(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The failure of a system call on a file, as the player sees it.
[[noreturn]] void Fail(int error, const std::string& path) {
    const std::string name = " (" + BaseName(path) + ")";
    switch (error) {
    case ENOENT: throw RunTimeError(errors::FileNotFound, "File not found" + name);
    case ENOTDIR: throw RunTimeError(errors::PathNotFound, "Path not found" + name);
    case EACCES:
    case EPERM: throw RunTimeError(errors::PermissionDenied, "Permission denied" + name);
    case ENOSPC:
    case EDQUOT: throw RunTimeError(errors::DiskFull, "Disk full" + name);
    case EROFS:
    case EISDIR: throw RunTimeError(errors::PathFileAccessError, "Path/File access error" + name);
    default: throw RunTimeError(errors::DeviceIOError, "Device I/O error" + name);
    }
}

}  // namespace

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

bool PosixFileSystem::FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::vector<char> PosixFileSystem::ReadFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) Fail(errno, path);
    std::vector<char> bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            Fail(error, path);
        }
        if (got == 0) break;
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    ::close(fd);
    return bytes;
}

int PosixFileSystem::CreateBeside(const std::string& target, std::string& newPath) {
    // A file that nobody may write to is not replaced, though its folder would allow it.
    struct stat info {};
    const bool exists = ::stat(target.c_str(), &info) == 0;
    if (exists && (info.st_mode & 0222) == 0) Fail(EACCES, target);
    std::string pattern = Folder(target) + "/." + BaseName(target) + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) Fail(errno == ENOENT ? ENOTDIR : errno, target);  // the folder is gone
    // The new file keeps the old one's permissions, or the usual ones for a new file.
    mode_t mode = 0;
    if (exists) {
        mode = info.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    newPath = pattern;
    targets_[fd] = target;
    return fd;
}

void PosixFileSystem::Write(int handle, const std::vector<char>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(handle, bytes.data() + done, bytes.size() - done);
        if (put < 0) {
            if (errno == EINTR) continue;
            Fail(errno, targets_[handle]);
        }
        done += static_cast<size_t>(put);
    }
}

void PosixFileSystem::Flush(int handle) {
    if (::fsync(handle) != 0) Fail(errno, targets_[handle]);
}

void PosixFileSystem::Close(int handle) {
    const std::string target = targets_[handle];
    targets_.erase(handle);
    if (::close(handle) != 0) Fail(errno, target);
}

void PosixFileSystem::Rename(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) Fail(errno, to);
    // Make the rename itself last: flush the folder.
    const int dir = ::open(Folder(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void PosixFileSystem::Remove(const std::string& path) noexcept { ::unlink(path.c_str()); }

}  // namespace quorrel
