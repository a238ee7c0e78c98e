#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace Testing {

// Steps that run on a thread of their own against this process's windows while the test's thread
// (the GUI thread) sits in a modal loop: a dialog, a file dialog, a message
// box. They use the messages the user's actions become, and keys typed through the input queue. A
// step that waits in vain records a failure and cancels every window that may be holding the GUI
// thread, so that the test ends.
class WindowScript {
 public:
  explicit WindowScript(std::function<void(WindowScript&)> steps);
  ~WindowScript();
  WindowScript(const WindowScript&) = delete;
  WindowScript& operator=(const WindowScript&) = delete;

  // Waits for the steps to end; answers what went wrong, nothing when all went well.
  std::vector<std::string> Finish();

  // This process's visible top-level window with the title, once it is there; null after a wait in
  // vain (a failure).
  HWND WaitFor(const std::string& title, int timeoutMs = 15000);
  // Waits until the window is gone; false after a wait in vain (a failure).
  bool WaitUntilGone(HWND window, int timeoutMs = 15000);
  // A window owned by owner that is not owner itself (a message box a dialog shows), or null.
  HWND OwnedWindow(HWND owner, int timeoutMs);

  // What a click on the close box becomes.
  static void CloseBox(HWND window);
  // A key typed, with Alt held or not, while the window's top-level window is in front.
  static void PressKey(HWND window, WORD key, bool alt);
  // A click on the window's button with the id.
  static void PressButton(HWND window, int id);
  // Types a name into a file dialog's file name field.
  static void TypeFileName(HWND dialog, const std::string& name);

  void Fail(const std::string& what);

 private:
  std::mutex lock_;
  std::vector<std::string> failures_;
  std::thread thread_;
};

}  // namespace Testing
