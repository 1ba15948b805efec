// Finding a running screen reader among the processes of the system.
#pragma once

#include <string>

namespace quorrel {

// Where to look and what to match: the process table of Linux, and this program's own display.
struct ScreenReaderSearch {
    std::string ProcFolder = "/proc";
    std::string Display;         // this program's DISPLAY ("" when unset)
    std::string WaylandDisplay;  // this program's WAYLAND_DISPLAY ("" when unset)
    static ScreenReaderSearch OfThisProgram();
};

// True when a screen reader process of this user (Orca, whose process is named "orca") runs on the
// same display: its DISPLAY and WAYLAND_DISPLAY equal this program's, a screen number after the
// display's (":0.0") not counting. A process whose environment cannot be read counts. Orca 43 does not
// set the accessibility bus's ScreenReaderEnabled property, so the process is what tells.
bool ScreenReaderProcessRunning(const ScreenReaderSearch& search);

}  // namespace quorrel
