// File names and paths.
#pragma once

#include <string>

namespace quorrel {

// The file-name part of a path: the text after the last "\" or "/", blanks trimmed from both ends; a
// path without either is returned unchanged.
std::string ParseFilename(const std::string& path);

}  // namespace quorrel
