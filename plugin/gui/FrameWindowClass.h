#pragma once

#include <windows.h>

namespace Gui {

// The window class of the frame windows, registered while at least one frame window exists.
class FrameWindowClass {
 public:
  // Registers the class for the first window; reads whether the mouse buttons are swapped.
  static bool acquire(WNDPROC procedure);
  // Unregisters the class when the last window is gone.
  static void release();
  static const char* name();
  static long useCount() { return count; }
  // True when the system swaps the left and right mouse buttons (read when the class is registered).
  static bool buttonsSwapped() { return swapped; }
  static void setButtonsSwapped(bool value) { swapped = value; }

 private:
  static long count;
  static bool swapped;
};

}  // namespace Gui
