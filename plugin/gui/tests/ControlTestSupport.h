#pragma once

#include "plugin/framework/AudioEffect.h"
#include "plugin/gui/AEffGUIEditor.h"
#include "plugin/gui/CBitmap.h"
#include "plugin/gui/CControl.h"
#include "plugin/gui/CFrame.h"
#include "plugin/gui/COffscreenContext.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

namespace ControlTests {

using Gui::CPoint;
using Gui::CRect;

// Presses and releases mouse buttons and modifier keys for real (through the system's input queue),
// so that CDrawContext::getMouseButtons reads them as it reads a user's hands. Nothing is clicked: the
// controls under test get their clicks from the scripts.
void setInputState(long buttons);

// One notification as the listener saw it.
struct Notification {
  Gui::CControl* control;
  float value;
  bool withContext;
};

class RecordingListener : public CControlListener {
 public:
  void valueChanged(Gui::CDrawContext* context, Gui::CControl* control) override {
    notifications.push_back({control, control->getValue(), context != nullptr});
  }
  long controlModifierClicked(Gui::CDrawContext*, Gui::CControl*, long buttons) override {
    modifierClicks.push_back(buttons);
    return modifierAnswer;
  }
  std::vector<float> values() const {
    std::vector<float> result;
    for (const auto& n : notifications) result.push_back(n.value);
    return result;
  }
  std::vector<Notification> notifications;
  std::vector<long> modifierClicks;
  long modifierAnswer = 0;
};

// One step of a scripted gesture: where the mouse is and what is held.
struct MouseStep {
  CPoint where;
  long buttons;
};

// A control whose mouse loop follows a script: every read of the mouse position gives the next
// point, and every idle pass redraws the control when it is dirty (as the frame's idle does) and
// puts that step's buttons and keys down. At the end of the script everything is released.
template <class Control>
class Scripted : public Control {
 public:
  template <class... Args>
  explicit Scripted(Args&&... args) : Control(std::forward<Args>(args)...) {}

  void play(Gui::CDrawContext* context, std::vector<MouseStep> steps, long buttons = -1) {
    script = std::move(steps);
    next = 1;
    setInputState(script.front().buttons);
    CPoint where = script.front().where;
    this->mouse(context, where, buttons);
    setInputState(0);
  }

  void getMouseLocation(Gui::CDrawContext*, CPoint& where) override {
    if (next < script.size()) {
      pending = script[next];
      where = script[next++].where;
    } else {
      pending = {script.back().where, 0};
      where = pending.where;
    }
  }

  void doIdleStuff() override {
    ++idlePasses;
    if (this->isDirty()) {
      Gui::COffscreenContext context(this->getFrame(), 400, 300, Gui::kBlackCColor);
      this->draw(&context);
    }
    setInputState(pending.buttons);
  }

  int idlePasses = 0;

 private:
  std::vector<MouseStep> script;
  size_t next = 1;
  MouseStep pending{};
};

// A top-level window for the frame, big enough for every control of the tests.
class TestWindow {
 public:
  TestWindow();
  ~TestWindow();
  HWND handle() const { return window; }

 private:
  HWND window = nullptr;
};

// An effect that makes no sound; it owns the editor under test.
class SilentEffect : public AudioEffect {
 public:
  SilentEffect();
  void processReplacing(float**, float**, VstInt32) override {}
};

// An editor that records the edit gestures its frame hands on: the index for a begin, -1000 - index
// for an end.
class RecordingEditor : public AEffGUIEditor {
 public:
  explicit RecordingEditor(AudioEffect* effect) : AEffGUIEditor(effect) {}
  void beginEdit(VstInt32 index) override { gestures.push_back(index); }
  void endEdit(VstInt32 index) override { gestures.push_back(-1000 - index); }
  std::vector<long> gestures;
};

// An effect with an editor, a window and a frame in it (made once for a suite of tests, as making
// and ending them takes a while under Wine), and a listener for the controls under test.
class ControlFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  ControlFixture();
  ~ControlFixture() override;

  // Adds a control to the frame; the creator's reference goes with it, so the frame's end deletes it.
  template <class Control>
  Control* add(Control* control) {
    frame->addView(control);
    return control;
  }
  // A context on the frame's window, as the window procedure makes one for a click.
  Gui::CDrawContext* windowContext();

  static SilentEffect* effect;
  static RecordingEditor* editor;
  static TestWindow* window;
  static Gui::CFrame* frame;
  RecordingListener listener;

 private:
  std::vector<Gui::CDrawContext*> contexts;
};

// A bitmap of the given size painted by a function (x, y) -> COLORREF.
template <class Paint>
Gui::CBitmap* makeBitmap(Gui::CFrame& frame, long width, long height, Paint paint) {
  auto* bitmap = new Gui::CBitmap(frame, width, height);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(memory, static_cast<HBITMAP>(bitmap->getHandle()));
  for (long y = 0; y < height; ++y) {
    for (long x = 0; x < width; ++x) SetPixel(memory, x, y, paint(x, y));
  }
  SelectObject(memory, old);
  DeleteDC(memory);
  return bitmap;
}

// The pixel at (x, y) of an offscreen context.
COLORREF pixelAt(Gui::COffscreenContext& context, long x, long y);

}  // namespace ControlTests
