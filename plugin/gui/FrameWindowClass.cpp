#include "plugin/gui/FrameWindowClass.h"

#include "plugin/gui/ToolkitModule.h"

#include <cstdio>

namespace Gui {

long FrameWindowClass::count = 0;
bool FrameWindowClass::swapped = false;

const char* FrameWindowClass::name() {
  static char className[64];
  std::snprintf(className, sizeof(className), "Plugin%p", static_cast<void*>(toolkitModule()));
  return className;
}

bool FrameWindowClass::acquire(WNDPROC procedure) {
  if (count == 0) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_GLOBALCLASS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = toolkitModule();
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = name();
    if (!RegisterClassA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
  }
  ++count;
  return true;
}

void FrameWindowClass::release() {
  if (count > 0 && --count == 0) UnregisterClassA(name(), toolkitModule());
}

}  // namespace Gui
