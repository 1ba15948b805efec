// The file open and save dialog.
#pragma once

#include <string>

namespace quorrel {

// Flag bits, as the program sets them.
namespace dialogflags {
inline constexpr int OverwritePrompt = 2;
inline constexpr int HideReadOnly = 4;
inline constexpr int FileMustExist = 4096;
}  // namespace dialogflags

// A dialog keeps its settings and its last file name between showings. ShowOpen and ShowSave return
// when the player confirms a name, which FileName then holds (with "." and DefaultExt appended when the
// typed name has no extension); on Cancel they raise errors::Cancelled() when CancelError is set, and
// otherwise return leaving FileName empty. Both keep the focus contract of the program's modal windows
// (platform/Dialogs.h): before they return or raise, the focus is back where the dialog found it and a
// grid's GotFocus has been raised.
class IFileDialog {
public:
    virtual ~IFileDialog() = default;

    std::string Filter;      // "Description|pattern"
    std::string DefaultExt;  // without the point
    std::string InitDir;
    std::string FileName;
    int Flags = 0;
    bool CancelError = false;

    virtual void ShowOpen() = 0;
    virtual void ShowSave() = 0;
};

}  // namespace quorrel
