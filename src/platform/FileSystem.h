// The file system: the program's folders and the game files.
#pragma once

#include <string>
#include <vector>

namespace quorrel {

// Every call that fails raises RunTimeError with the number and description a player would see
// (53 file not found, 70 permission denied, 61 disk full, 75 path/file access error, 57 device I/O
// error), the description naming the file.
class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    // True when the folder exists afterwards (it is created with its parents when missing).
    virtual bool MakeFolder(const std::string& path) = 0;
    // The per-user data folder of the program (XDG_DATA_HOME/Quorrel, ~/.local/share/Quorrel).
    virtual std::string UserDataFolder() = 0;

    virtual bool FileExists(const std::string& path) = 0;
    // The whole content of a file.
    virtual std::vector<char> ReadFile(const std::string& path) = 0;

    // The steps of replacing a file without ever leaving it half written: a new file is created beside
    // the target, written, flushed to the disk and closed, then renamed over the target. A caller that
    // fails on the way removes the new file; the target keeps its old content until the rename.
    // CreateBeside returns a handle and the new file's path; it takes the target's permissions when the
    // target exists.
    virtual int CreateBeside(const std::string& target, std::string& newPath) = 0;
    virtual void Write(int handle, const std::vector<char>& bytes) = 0;
    virtual void Flush(int handle) = 0;
    virtual void Close(int handle) = 0;
    virtual void Rename(const std::string& from, const std::string& to) = 0;
    // Removes a file, quietly: used to clean up after a failure.
    virtual void Remove(const std::string& path) noexcept = 0;
};

}  // namespace quorrel
