#include "plugin/gui/tests/ControlTestSupport.h"

namespace ControlTests {

namespace {

struct InputBit {
  long bit;
  bool mouse;
  WORD key;
  DWORD down;
  DWORD up;
};

const InputBit kInputBits[] = {
    {Gui::kLButton, true, 0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP},
    {Gui::kMButton, true, 0, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP},
    {Gui::kRButton, true, 0, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP},
    {Gui::kShift, false, VK_SHIFT, 0, KEYEVENTF_KEYUP},
    {Gui::kControl, false, VK_CONTROL, 0, KEYEVENTF_KEYUP},
    {Gui::kAlt, false, VK_MENU, 0, KEYEVENTF_KEYUP},
};

long currentState = 0;

}  // namespace

void setInputState(long buttons) {
  for (const auto& bit : kInputBits) {
    const bool want = (buttons & bit.bit) != 0;
    if (want == ((currentState & bit.bit) != 0)) continue;
    INPUT input{};
    if (bit.mouse) {
      input.type = INPUT_MOUSE;
      input.mi.dwFlags = want ? bit.down : bit.up;
    } else {
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = bit.key;
      input.ki.dwFlags = want ? bit.down : bit.up;
    }
    SendInput(1, &input, sizeof(input));
  }
  currentState = buttons;
  // Drop what the input produced, so no window of the test reacts to it later.
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
}

TestWindow::TestWindow() {
  window = CreateWindowExA(0, "STATIC", "controls", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

TestWindow::~TestWindow() {
  if (window) DestroyWindow(window);
}

COLORREF pixelAt(Gui::COffscreenContext& context, long x, long y) {
  return GetPixel(static_cast<HDC>(context.getSystemContext()), x, y);
}

}  // namespace ControlTests
