#include "plugin/gui/CDrawContext.h"
#include "plugin/gui/tests/ControlTestSupport.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <future>
#include <thread>

using namespace ControlTests;

TEST(InputProbe, ButtonsReachTheContext) {
  Gui::CDrawContext context(nullptr, nullptr, nullptr);
  for (long b : {0L, 1L, 9L, 17L, 33L, 4L, 0L}) {
    setInputState(b);
    EXPECT_EQ(b, context.getMouseButtons());
  }
}

// The cursor lies wherever the last program of the desktop left it, often over no window of the test:
// a scripted button that clicked there would go to the desktop or to another program's window, which then
// takes the foreground from the test's window and, for one, ends its open edit field.
TEST(InputProbe, ButtonsClickNoWindowUnderTheCursor) {
  // A window of another thread under the cursor. Its thread reads nothing from its queue until it is
  // asked, so a button message sent to the window is still waiting there then.
  HANDLE asked = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::promise<void> shown;
  std::future<void> windowShown = shown.get_future();
  DWORD waiting = 0;
  std::thread bystander([&] {
    HWND window = CreateWindowExA(0, "STATIC", "bystander", WS_POPUP, 600, 400, 200, 200, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    shown.set_value();
    WaitForSingleObject(asked, INFINITE);
    waiting = HIWORD(GetQueueStatus(QS_MOUSEBUTTON));
    DestroyWindow(window);
  });
  windowShown.wait();
  POINT before{};
  GetCursorPos(&before);
  SetCursorPos(700, 500);
  for (long button : {Gui::kLButton, Gui::kMButton, Gui::kRButton}) {
    setInputState(button);
    setInputState(0);
  }
  SetEvent(asked);
  bystander.join();
  CloseHandle(asked);
  SetCursorPos(before.x, before.y);
  EXPECT_EQ(0u, waiting & QS_MOUSEBUTTON) << "a button message went to the window under the cursor";
}
