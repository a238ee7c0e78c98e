#pragma once

#include <windows.h>

namespace Testing {

// The visible top-level window of the process with the title, once it shows; with no title, the
// process's main window: its first visible top-level window of the toolkit that is no message box.
// Null when none has shown within a minute.
HWND WaitForWindow(DWORD process, const char* title);

}  // namespace Testing
