// The program's folders and files on a POSIX file system.
#include "platform/posix/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <system_error>

#include "platform/RunTimeError.h"
#include "texts/Texts.h"

namespace quorrel {

namespace {

constexpr int kBadFileName = 52;
// Links followed from one name before giving up, as the kernel does.
constexpr int kMaxLinks = 40;
// The six letters after a new file's hidden name, from the same alphabet as mkstemp's.
constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr size_t kLetterCount = 6;

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
    case ENAMETOOLONG: throw RunTimeError(kBadFileName, std::string(texts::FileNameTooLong) + name);
    case EROFS:
    case EISDIR:
    case ELOOP: throw RunTimeError(errors::PathFileAccessError, std::string(texts::PathFileAccessError) + name);
    default: throw RunTimeError(errors::DeviceIOError, "Device I/O error" + name);
    }
}

// A path that names something other than a file, refused before anything could wait on it.
[[noreturn]] void NotAFile(mode_t mode, const std::string& path) {
    std::string_view what = texts::IsNoFile;
    if (S_ISDIR(mode)) what = texts::IsAFolder;
    else if (S_ISFIFO(mode)) what = texts::IsANamedPipe;
    else if (S_ISCHR(mode) || S_ISBLK(mode)) what = texts::IsADevice;
    else if (S_ISSOCK(mode)) what = texts::IsASocket;
    throw RunTimeError(errors::PathFileAccessError,
                       std::string(texts::PathFileAccessError) + " (" + BaseName(path) + std::string(what) + ")");
}

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    explicit Descriptor(int fd) : fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
    int fd;
};

// Opens a file for reading without waiting on it (a named pipe would wait for a writer) and makes
// sure it is a file; -1 when there is none.
int OpenFileToRead(const std::string& path, const std::string& shownAs, int extraFlags) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | extraFlags);
    if (fd < 0) {
        if (errno == ENOENT) return -1;
        const int error = errno;
        struct stat info {};
        if (error == ENXIO && ::stat(path.c_str(), &info) == 0) NotAFile(info.st_mode, shownAs);  // a socket
        Fail(error, shownAs);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        Fail(error, shownAs);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        NotAFile(info.st_mode, shownAs);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

void WriteAll(int fd, const char* data, size_t size, const std::string& shownAs) {
    size_t done = 0;
    while (done < size) {
        const ssize_t put = ::write(fd, data + done, size - done);
        if (put < 0) {
            if (errno == EINTR) continue;
            Fail(errno, shownAs);
        }
        done += static_cast<size_t>(put);
    }
}

// Copies what the source holds from the offset on to the end of the destination, a piece at a time.
void CopyFrom(int source, off_t offset, int destination, const std::string& shownAs) {
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const ssize_t got = ::pread(source, buffer.data(), buffer.size(), offset);
        if (got < 0) {
            if (errno == EINTR) continue;
            Fail(errno, shownAs);
        }
        if (got == 0) return;
        WriteAll(destination, buffer.data(), static_cast<size_t>(got), shownAs);
        offset += got;
    }
}

// The file a path stands for: symbolic links followed, each relative one from its own folder. The
// last name need not exist: saving through a dangling link makes the file it points to.
std::string FollowLinks(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        std::string link(PATH_MAX, '\0');
        const ssize_t size = ::readlink(current.c_str(), link.data(), link.size());
        if (size < 0) Fail(errno, path);
        link.resize(static_cast<size_t>(size));
        current = link.starts_with('/') ? link : Folder(current) + "/" + link;
    }
    Fail(ELOOP, path);
}

size_t NameMax(const std::string& folder) {
    const long max = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return max > 0 ? static_cast<size_t>(max) : NAME_MAX;
}

// The hidden name of a new file beside the target, without its six letters: "." name ".", the name
// cut where the whole would not fit in the folder.
std::string HiddenStem(const std::string& name, size_t nameMax) {
    const size_t room = nameMax > 2 + kLetterCount ? nameMax - 2 - kLetterCount : 0;
    return "." + name.substr(0, std::min(name.size(), room)) + ".";
}

std::string RandomLetters() {
    static std::mt19937 engine{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, kLetters.size() - 1);
    std::string letters;
    for (size_t i = 0; i < kLetterCount; ++i) letters += kLetters[pick(engine)];
    return letters;
}

// Removes the new files that saves killed before they were done left beside a target: files of the
// hidden name that nobody holds locked.
void RemoveLeftovers(const std::string& folder, const std::string& stem) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.size() != stem.size() + kLetterCount || !name.starts_with(stem)) continue;
        if (!std::all_of(name.begin() + static_cast<std::ptrdiff_t>(stem.size()), name.end(),
                         [](char c) { return kLetters.find(c) != std::string_view::npos; }))
            continue;
        const int fd = ::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

void FlushFolder(const std::string& folder) {
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

}  // namespace

bool PosixFileSystem::MakeFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

bool PosixFileSystem::CanWriteIn(const std::string& folder) {
    std::error_code error;
    // Creating a file takes the right to write to the folder and to enter it.
    return std::filesystem::is_directory(folder, error) && ::access(folder.c_str(), W_OK | X_OK) == 0;
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

std::vector<char> PosixFileSystem::ReadStart(const std::string& path, std::size_t count) {
    // Looked at before it is opened, so that no device is ever opened.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) Fail(errno, path);
    if (!S_ISREG(info.st_mode)) NotAFile(info.st_mode, path);
    const Descriptor file(OpenFileToRead(path, path, 0));
    if (file.fd < 0) Fail(ENOENT, path);
    std::vector<char> bytes(count);
    size_t got = 0;
    while (got < count) {
        const ssize_t n = ::read(file.fd, bytes.data() + got, count - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail(errno, path);
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

int PosixFileSystem::CreateBeside(const std::string& path) {
    NewFile file{path, FollowLinks(path), {}, {}, 0};
    struct stat info {};
    const bool exists = ::stat(file.target.c_str(), &info) == 0;
    if (!exists && errno != ENOENT) Fail(errno, path);
    if (exists && !S_ISREG(info.st_mode)) NotAFile(info.st_mode, path);
    // A file that nobody may write to is not replaced, though its folder would allow it.
    if (exists && (info.st_mode & 0222) == 0) Fail(EACCES, path);
    const std::string folder = Folder(file.target);
    const std::string name = BaseName(file.target);
    const size_t nameMax = NameMax(folder);
    if (name.size() > nameMax) Fail(ENAMETOOLONG, path);
    file.stem = HiddenStem(name, nameMax);
    RemoveLeftovers(folder, file.stem);

    // The new file keeps the old one's permissions, or the usual ones for a new file.
    if (exists) {
        file.mode = info.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        file.mode = 0666 & ~mask;
    }
    int fd = -1;
    if (newFiles_ == NewFiles::UnnamedWherePossible) {
        fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, file.mode);
        // Without support for unnamed files (the file system, or an old kernel), the new file is named.
        if (fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            Fail(errno == ENOENT ? ENOTDIR : errno, path);  // ENOENT: the folder is gone
    }
    if (fd < 0) {
        std::string pattern = folder + "/" + file.stem + "XXXXXX";
        fd = ::mkstemp(pattern.data());
        if (fd < 0) Fail(errno == ENOENT ? ENOTDIR : errno, path);
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        file.named = pattern;
    }
    ::flock(fd, LOCK_EX);
    ::fchmod(fd, file.mode);
    open_[fd] = file;
    return fd;
}

PosixFileSystem::NewFile& PosixFileSystem::Known(int handle) {
    const auto it = open_.find(handle);
    if (it == open_.end()) throw errors::InvalidCall();
    return it->second;
}

void PosixFileSystem::Write(int handle, const std::vector<char>& bytes) {
    WriteAll(handle, bytes.data(), bytes.size(), Known(handle).path);
}

void PosixFileSystem::KeepTail(int handle) {
    const NewFile& file = Known(handle);
    const off_t length = ::lseek(handle, 0, SEEK_CUR);
    if (length < 0) Fail(errno, file.path);
    const Descriptor old(OpenFileToRead(file.target, file.path, O_NOFOLLOW));
    if (old.fd >= 0) CopyFrom(old.fd, length, handle, file.path);
}

void PosixFileSystem::Flush(int handle) {
    if (::fsync(handle) != 0) Fail(errno, Known(handle).path);
}

// Links an unnamed new file in beside the target under a hidden name. Without the right to link by
// descriptor, it goes through /proc; where that cannot be either, the content moves to a named file,
// which takes the handle's place.
void PosixFileSystem::GiveName(int handle, NewFile& file) {
    const std::string folder = Folder(file.target) + "/";
    const std::string byProc = "/proc/self/fd/" + std::to_string(handle);
    for (;;) {
        const std::string candidate = folder + file.stem + RandomLetters();
        int linked = ::linkat(handle, "", AT_FDCWD, candidate.c_str(), AT_EMPTY_PATH);
        if (linked != 0 && errno == ENOENT)
            linked = ::linkat(AT_FDCWD, byProc.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW);
        if (linked == 0) {
            file.named = candidate;
            return;
        }
        if (errno == EEXIST) continue;
        if (errno != ENOENT) Fail(errno, file.path);
        break;
    }
    std::string pattern = folder + file.stem + "XXXXXX";
    const int named = ::mkstemp(pattern.data());
    if (named < 0) Fail(errno == ENOENT ? ENOTDIR : errno, file.path);
    file.named = pattern;
    ::flock(named, LOCK_EX);
    ::fchmod(named, file.mode);
    try {
        CopyFrom(handle, 0, named, file.path);
        if (::fsync(named) != 0) Fail(errno, file.path);
    } catch (...) {
        ::close(named);
        throw;
    }
    ::dup2(named, handle);  // the handle's unnamed file goes; its number now stands for the named one
    ::close(named);
}

void PosixFileSystem::Replace(int handle) {
    NewFile file = Known(handle);
    open_.erase(handle);
    bool closed = false;
    try {
        if (file.named.empty()) GiveName(handle, file);
        closed = true;
        if (::close(handle) != 0) Fail(errno, file.path);
        if (::rename(file.named.c_str(), file.target.c_str()) != 0) Fail(errno, file.path);
    } catch (...) {
        if (!closed) ::close(handle);
        if (!file.named.empty()) ::unlink(file.named.c_str());
        throw;
    }
    // Make the rename itself last: flush the folder.
    FlushFolder(Folder(file.target));
}

void PosixFileSystem::Discard(int handle) noexcept {
    const auto it = open_.find(handle);
    if (it == open_.end()) return;
    ::close(handle);
    if (!it->second.named.empty()) ::unlink(it->second.named.c_str());
    open_.erase(it);
}

void PosixFileSystem::Rename(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) Fail(errno, from);
    FlushFolder(Folder(to));
}

}  // namespace quorrel
