#pragma once

#include <windows.h>

namespace Gui {

// The module whose resources and window class the toolkit uses: the plug-in library, or the program
// itself when the toolkit is linked into a program without the plug-in entry.
HINSTANCE toolkitModule();

}  // namespace Gui
