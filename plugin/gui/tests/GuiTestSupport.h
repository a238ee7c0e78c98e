#pragma once

#include "plugin/gui/CControl.h"
#include "plugin/gui/CDrawContext.h"
#include "plugin/gui/CFrame.h"
#include "plugin/gui/CView.h"

#include <windows.h>

#include <string>
#include <vector>

namespace GuiTest {

// A visible top-level window that stands in for the host's editor window. Tests share one window, moved
// and sized for each, since taking a window off the screen costs seconds without a window manager; a
// test that destroys its parent asks for a window of its own.
class ParentWindow {
 public:
  enum Kind { kShared, kOwn };
  ParentWindow(int width = 300, int height = 200, int x = 50, int y = 40, Kind kind = kShared);
  ~ParentWindow();
  ParentWindow(const ParentWindow&) = delete;
  ParentWindow& operator=(const ParentWindow&) = delete;

  HWND handle() const { return window; }

 private:
  HWND window;
  bool own;
};

// Dispatches every message waiting for the thread's windows.
void pumpMessages();

// The pixel at (x, y) of a context's device, as red, green, blue.
struct Rgb {
  int red, green, blue;
  bool operator==(const Rgb& other) const {
    return red == other.red && green == other.green && blue == other.blue;
  }
};
Rgb pixelOf(HDC deviceContext, int x, int y);
Rgb pixelOf(Gui::CDrawContext& context, int x, int y);
// The pixel on the screen inside a window's client area.
Rgb windowPixel(HWND window, int x, int y);
std::string describe(const Rgb& color);

// A view that fills its size with one colour and records what reaches it.
class RecordingView : public Gui::CView {
 public:
  explicit RecordingView(const Gui::CRect& size, Gui::CColor color = Gui::kRedCColor,
                         bool* deleted = nullptr);
  ~RecordingView() override;

  void draw(Gui::CDrawContext* context) override;
  void mouse(Gui::CDrawContext* context, Gui::CPoint& where, long buttons) override;
  bool onWheel(Gui::CDrawContext* context, const Gui::CPoint& where, float distance) override;
  long onKeyDown(VstKeyCode& /*keyCode*/) override { return keyAnswer; }
  bool onDrop(Gui::CDrawContext* context, Gui::CDragContainer* drag, const Gui::CPoint& where) override;
  void onDragEnter(Gui::CDrawContext*, Gui::CDragContainer*, const Gui::CPoint&) override {
    events.push_back("enter");
  }
  void onDragLeave(Gui::CDrawContext*, Gui::CDragContainer*, const Gui::CPoint&) override {
    events.push_back("leave");
  }
  void onDragMove(Gui::CDrawContext*, Gui::CDragContainer*, const Gui::CPoint&) override {
    events.push_back("move");
  }
  void looseFocus(Gui::CDrawContext*) override { events.push_back("looseFocus"); }

  Gui::CColor color;
  int draws = 0;
  std::vector<Gui::CPoint> clicks;
  std::vector<long> clickButtons;
  std::vector<float> wheels;
  std::vector<std::string> events;
  long keyAnswer = -1;
  bool takesDrops = false;
  long droppedItems = -1;

 private:
  bool* deleted;
};

// A control that draws its value as a grey level.
class TestControl : public Gui::CControl {
 public:
  TestControl(const Gui::CRect& size, CControlListener* listener, long tag);
  void draw(Gui::CDrawContext* context) override;
  int draws = 0;
};

}  // namespace GuiTest
