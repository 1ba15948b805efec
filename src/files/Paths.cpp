// File names and paths.
#include "files/Paths.h"

namespace quorrel {

std::string ParseFilename(const std::string& path) {
    const auto last = path.find_last_of("\\/");
    if (last == std::string::npos) return path;
    const std::string name = path.substr(last + 1);
    const auto first = name.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

}  // namespace quorrel
