// The program's folders and files on a POSIX file system.
#pragma once

#include <sys/types.h>

#include <map>

#include "platform/FileSystem.h"

namespace quorrel {

// A new file is made unnamed (Linux O_TMPFILE) and linked in beside the target only once it is whole,
// under a hidden name "." target "." and six letters, which the rename then takes away at once. Where
// the file system cannot make unnamed files, the new file has that name from the start. Either way each
// new file is locked while it is written, so that a new file left by a killed save is known by its name
// and its missing lock, and the next save beside the same target removes it.
class PosixFileSystem : public IFileSystem {
public:
    enum class NewFiles { UnnamedWherePossible, AlwaysNamed };
    explicit PosixFileSystem(NewFiles newFiles = NewFiles::UnnamedWherePossible) : newFiles_(newFiles) {}

    bool MakeFolder(const std::string& path) override;
    bool CanWriteIn(const std::string& folder) override;
    std::string UserDataFolder() override;
    bool FileExists(const std::string& path) override;
    std::vector<char> ReadStart(const std::string& path, std::size_t count) override;
    int CreateBeside(const std::string& path) override;
    void Write(int handle, const std::vector<char>& bytes) override;
    void KeepTail(int handle) override;
    void Flush(int handle) override;
    void Replace(int handle) override;
    void Rename(const std::string& from, const std::string& to) override;
    void Discard(int handle) noexcept override;

private:
    struct NewFile {
        std::string path;    // as the player named it, for messages
        std::string target;  // the file the path stands for, links followed
        std::string named;   // the new file's name beside the target, once it has one
        std::string stem;    // its hidden name without the six letters
        mode_t mode;         // its permissions
    };
    NewFile& Known(int handle);
    void GiveName(int handle, NewFile& file);

    NewFiles newFiles_;
    std::map<int, NewFile> open_;  // the new files being written, by handle
};

}  // namespace quorrel
