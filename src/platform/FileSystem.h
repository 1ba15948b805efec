// The file system: the program's folders and the game files.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quorrel {

// Every call that fails raises RunTimeError with the number and description a player would see
// (53 file not found, 70 permission denied, 61 disk full, 75 path/file access error, 57 device I/O
// error, 52 a name too long), the description naming the file. A place that holds no file (a folder,
// a named pipe, a device, a socket) is refused with 75, and the description says what it is.
class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    // True when the folder exists afterwards (it is created with its parents when missing).
    virtual bool MakeFolder(const std::string& path) = 0;
    // True when the folder exists and this user may create files in it (a folder may exist and still
    // be closed to the user: read-only permissions, a read-only mount).
    virtual bool CanWriteIn(const std::string& folder) = 0;
    // The per-user data folder of the program (XDG_DATA_HOME/Quorrel, ~/.local/share/Quorrel).
    virtual std::string UserDataFolder() = 0;

    virtual bool FileExists(const std::string& path) = 0;
    // The first count bytes of a file (all of it when it is shorter). Reads no more than that, and
    // never waits on what is not a file.
    virtual std::vector<char> ReadStart(const std::string& path, std::size_t count) = 0;

    // The steps of replacing a file without ever leaving it half written. The target is the file a
    // path names, through any symbolic links, which stay as they are. A new file is made beside the
    // target (CreateBeside, taking the target's permissions when it exists), written, given whatever
    // the target holds beyond the new file's length (KeepTail), flushed to the disk, then put in the
    // target's place in one step (Replace, which closes the handle). Until then the target keeps its
    // old content; a caller that fails on the way calls Discard, and nothing is left beside the
    // target, not even after the program is killed while it saves.
    virtual int CreateBeside(const std::string& path) = 0;
    virtual void Write(int handle, const std::vector<char>& bytes) = 0;
    virtual void KeepTail(int handle) = 0;
    virtual void Flush(int handle) = 0;
    virtual void Replace(int handle) = 0;
    // Closes and removes the new file, quietly; a handle already replaced or discarded is ignored.
    virtual void Discard(int handle) noexcept = 0;

    // Gives a file another name in its folder (a file already named so is replaced).
    virtual void Rename(const std::string& from, const std::string& to) = 0;
};

}  // namespace quorrel
