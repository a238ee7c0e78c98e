#include "host/ui/tests/ProgramWindows.h"

#include <string>

namespace Testing {

namespace {

struct WindowSearch {
  DWORD process;
  const char* title;  // null: the first visible top-level window that is no message box
  HWND found;
};

BOOL CALLBACK FindWindowOfProcess(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->process) {
    return TRUE;
  }
  char title[256] = {};
  GetWindowTextA(window, title, sizeof title);
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  const bool isMessageBox = std::string(className) == "#32770";
  // A window counts once it shows: a dialog fills in its texts before that.
  const bool matches =
      IsWindowVisible(window) &&
      (search->title != nullptr ? std::string(title) == search->title
                                : !isMessageBox && std::string(className).rfind("wx", 0) == 0);
  if (matches) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND WaitForWindow(DWORD process, const char* title) {
  for (int i = 0; i < 600; ++i) {
    WindowSearch search{process, title, nullptr};
    EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
      return search.found;
    }
    Sleep(100);
  }
  return nullptr;
}

}  // namespace Testing
