#include "plugin/gui/tests/GuiTestSupport.h"

#include "plugin/gui/CDragContainer.h"

#include <cstdio>

namespace GuiTest {

namespace {

const char* parentClassName() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "GuiTestParent";
    RegisterClassA(&windowClass);
    registered = true;
  }
  return "GuiTestParent";
}

}  // namespace

ParentWindow::ParentWindow(int width, int height, int x, int y, Kind kind) : own(kind == kOwn) {
  static HWND shared = nullptr;
  if (own || !shared) {
    window = CreateWindowExA(0, parentClassName(), "Host", WS_POPUP | WS_VISIBLE, x, y, width, height,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!own) shared = window;
  } else {
    window = shared;
    SetWindowPos(window, HWND_TOP, x, y, width, height, SWP_SHOWWINDOW);
  }
  pumpMessages();
}

ParentWindow::~ParentWindow() {
  if (own) DestroyWindow(window);
  pumpMessages();
}

void pumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

Rgb pixelOf(HDC deviceContext, int x, int y) {
  const COLORREF pixel = GetPixel(deviceContext, x, y);
  return Rgb{GetRValue(pixel), GetGValue(pixel), GetBValue(pixel)};
}

Rgb pixelOf(Gui::CDrawContext& context, int x, int y) {
  return pixelOf(context.getSystemContext(), x, y);
}

Rgb windowPixel(HWND window, int x, int y) {
  HDC deviceContext = GetDC(window);
  const Rgb pixel = pixelOf(deviceContext, x, y);
  ReleaseDC(window, deviceContext);
  return pixel;
}

std::string describe(const Rgb& color) {
  char text[48];
  std::snprintf(text, sizeof(text), "(%d, %d, %d)", color.red, color.green, color.blue);
  return text;
}

RecordingView::RecordingView(const Gui::CRect& size, Gui::CColor color, bool* deleted)
    : CView(size), color(color), deleted(deleted) {}

RecordingView::~RecordingView() {
  if (deleted) *deleted = true;
}

void RecordingView::draw(Gui::CDrawContext* context) {
  ++draws;
  context->setFillColor(color);
  context->drawRect(size, Gui::kDrawFilled);
  setDirty(false);
}

void RecordingView::mouse(Gui::CDrawContext* /*context*/, Gui::CPoint& where, long buttons) {
  clicks.push_back(where);
  clickButtons.push_back(buttons);
}

bool RecordingView::onWheel(Gui::CDrawContext* /*context*/, const Gui::CPoint& /*where*/, float distance) {
  wheels.push_back(distance);
  return true;
}

bool RecordingView::onDrop(Gui::CDrawContext* /*context*/, Gui::CDragContainer* drag, const Gui::CPoint&) {
  events.push_back("drop");
  droppedItems = drag ? drag->getCount() : -1;
  return takesDrops;
}

TestControl::TestControl(const Gui::CRect& size, CControlListener* listener, long tag)
    : CControl(size, listener, tag) {}

void TestControl::draw(Gui::CDrawContext* context) {
  ++draws;
  const auto level = static_cast<uint8_t>(value * 255.0f);
  context->setFillColor(Gui::CColor{level, level, level, 255});
  context->drawRect(size, Gui::kDrawFilled);
  setDirty(false);
}

}  // namespace GuiTest
