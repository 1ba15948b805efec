// The program's folders and files on a POSIX file system.
#pragma once

#include <map>

#include "platform/FileSystem.h"

namespace quorrel {

class PosixFileSystem : public IFileSystem {
public:
    bool MakeFolder(const std::string& path) override;
    std::string UserDataFolder() override;
    bool FileExists(const std::string& path) override;
    std::vector<char> ReadFile(const std::string& path) override;
    int CreateBeside(const std::string& target, std::string& newPath) override;
    void Write(int handle, const std::vector<char>& bytes) override;
    void Flush(int handle) override;
    void Close(int handle) override;
    void Rename(const std::string& from, const std::string& to) override;
    void Remove(const std::string& path) noexcept override;

private:
    std::map<int, std::string> targets_;  // the file each open handle is written for
};

}  // namespace quorrel
