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
  while (PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
  }
  while (PeekMessageA(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
  }
}

TestWindow::TestWindow() {
  window = CreateWindowExA(0, "STATIC", "controls", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

TestWindow::~TestWindow() {
  if (window) DestroyWindow(window);
}

namespace {

VstIntPtr silentHost(AEffect*, VstInt32, VstInt32, VstIntPtr, void*, float) {
  return 0;
}

}  // namespace

SilentEffect::SilentEffect() : AudioEffect(&silentHost, 1, 1) {}

SilentEffect* ControlFixture::effect = nullptr;
RecordingEditor* ControlFixture::editor = nullptr;
TestWindow* ControlFixture::window = nullptr;
Gui::CFrame* ControlFixture::frame = nullptr;

void ControlFixture::SetUpTestSuite() {
  effect = new SilentEffect();
  editor = new RecordingEditor(effect);
  window = new TestWindow();
  frame = new Gui::CFrame(CRect(0, 0, 400, 300), window->handle(), editor);
}

void ControlFixture::TearDownTestSuite() {
  delete frame;
  delete window;
  delete effect;
}

ControlFixture::ControlFixture() {
  setInputState(0);
  editor->gestures.clear();
}

ControlFixture::~ControlFixture() {
  for (auto* context : contexts) context->forget();
  frame->setModalView(nullptr);
  frame->setFocusView(nullptr);
  frame->removeAll(true);
  setInputState(0);
}

Gui::CDrawContext* ControlFixture::windowContext() {
  contexts.push_back(new Gui::CDrawContext(frame, nullptr, frame->getWindowHandle()));
  return contexts.back();
}

COLORREF pixelAt(Gui::COffscreenContext& context, long x, long y) {
  return GetPixel(static_cast<HDC>(context.getSystemContext()), x, y);
}

}  // namespace ControlTests
