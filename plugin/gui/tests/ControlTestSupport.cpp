#include "plugin/gui/tests/ControlTestSupport.h"

#include "tests/support/InputKeys.h"

namespace ControlTests {

namespace {

struct InputBit {
  long bit;
  WORD key;
};

const InputBit kInputBits[] = {
    {Gui::kLButton, VK_LBUTTON}, {Gui::kMButton, VK_MBUTTON}, {Gui::kRButton, VK_RBUTTON},
    {Gui::kShift, VK_SHIFT},     {Gui::kControl, VK_CONTROL}, {Gui::kAlt, VK_MENU},
};

long currentState = 0;

}  // namespace

void setInputState(long buttons) {
  for (const auto& bit : kInputBits) {
    const bool want = (buttons & bit.bit) != 0;
    if (want != ((currentState & bit.bit) != 0)) Testing::sendKeys({bit.key}, want);
  }
  currentState = buttons;
  // Drop the key messages of the input, so no window of the test reacts to them later.
  MSG message;
  while (PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
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
