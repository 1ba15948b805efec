// The folders the program keeps its files in.
#pragma once

#include <string>

namespace quorrel {

class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    // True when the folder exists afterwards (it is created with its parents when missing).
    virtual bool MakeFolder(const std::string& path) = 0;
    // The per-user data folder of the program (XDG_DATA_HOME/Quorrel, ~/.local/share/Quorrel).
    virtual std::string UserDataFolder() = 0;
};

}  // namespace quorrel
