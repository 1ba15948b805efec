// The program's folders on a POSIX file system.
#pragma once

#include "platform/FileSystem.h"

namespace quorrel {

class PosixFileSystem : public IFileSystem {
public:
    bool MakeFolder(const std::string& path) override;
    std::string UserDataFolder() override;
};

}  // namespace quorrel
