// Modal message boxes with an OK button or Yes and No buttons.
#pragma once

#include <string>

namespace quorrel {

// YesNoDefaultNo: Yes and No with No as the default, for a question whose Yes cannot be taken back.
enum class MsgButtons { OK, YesNo, YesNoDefaultNo };
enum class MsgIcon { None, Information, Question };
enum class MsgResult { OK, Yes, No };

// Shows a modal box and returns the button pressed. The title is used as given, an empty one included
// (the program's title is empty, so boxes without a title of their own show an empty title). The box
// keeps the focus contract of the program's modal windows (platform/Dialogs.h): when Show returns,
// the focus is back where the box found it and a grid's GotFocus has been raised.
class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    virtual MsgResult Show(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) = 0;
};

}  // namespace quorrel
