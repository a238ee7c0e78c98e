#include "plugin/gui/CAnimKnob.h"
#include "plugin/gui/CKnob.h"
#include "plugin/gui/ValueSteps.h"
#include "plugin/gui/tests/ControlTestSupport.h"

#include <gtest/gtest.h>

using namespace ControlTests;
using Gui::CAnimKnob;
using Gui::CKnob;

namespace {

// A 41-pixel knob (radius 20.5) at (100, 50) in the frame, without bitmaps.
class KnobTest : public ControlFixture {
 protected:
  Scripted<CKnob>* makeKnob() {
    return add(new Scripted<CKnob>(CRect(100, 50, 141, 91), &listener, 7, nullptr, nullptr, CPoint(0, 0)));
  }
  void setKnobMode(long mode) { editor->setKnobMode(mode); }
};

TEST_F(KnobTest, HandlePointFollowsTheValueOverThreeQuartersOfATurn) {
  auto* knob = makeKnob();
  struct Case {
    float value;
    CPoint where;
  };
  // Radius 20.5, inset 3: the handle runs on a circle of 17.5 around (20.5, 20.5).
  const Case cases[] = {
      {0.f, {8, 33}},     // 225 degrees, lower left
      {0.5f, {20, 3}},    // the top (cos 90 degrees in single precision is a hair below 0)
      {1.f, {33, 33}},    // -45 degrees, lower right
      {1.f / 3, {8, 8}},  // a third of the sweep: 135 degrees, upper left
  };
  for (const auto& c : cases) {
    knob->setValue(c.value);
    CPoint where;
    knob->valueToPoint(where);
    EXPECT_EQ(c.where.h, where.h) << c.value;
    EXPECT_EQ(c.where.v, where.v) << c.value;
  }
}

TEST_F(KnobTest, ValueFromPointCoversTheSweepAndPinsTheDeadZone) {
  auto* knob = makeKnob();
  struct Case {
    CPoint where;
    float value;
  };
  const Case cases[] = {
      {{20, 0}, 0.5f},      // straight up
      {{0, 20}, 1.f / 6},   // left: 180 degrees, 45 past the minimum
      {{41, 20}, 5.f / 6},  // right
      {{5, 36}, 0.f},       // 225 degrees
      {{36, 36}, 1.f},      // -45 degrees
      {{18, 41}, 0.f},      // in the dead zone, left of the bottom: the minimum
      {{23, 41}, 1.f},      // right of the bottom: the maximum
  };
  for (const auto& c : cases) {
    CPoint where = c.where;
    EXPECT_NEAR(c.value, knob->valueFromPoint(where), 0.02f) << c.where.h << "," << c.where.v;
  }
}

TEST_F(KnobTest, InsetComesFromTheHandleBitmap) {
  EXPECT_EQ(3, makeKnob()->getInsetValue());
  auto* handle = makeBitmap(*frame, 7, 7, [](long, long) { return RGB(0, 0, 0); });
  auto* knob = add(new CKnob(CRect(0, 0, 40, 40), &listener, 1, nullptr, handle, CPoint(0, 0)));
  EXPECT_EQ(6, knob->getInsetValue());
  knob->setHandleBitmap(nullptr);
  EXPECT_EQ(6, knob->getInsetValue());
  handle->forget();
}

TEST_F(KnobTest, LinearDragMapsTwoHundredPixelsToTheRange) {
  setKnobMode(2);
  struct Case {
    const char* name;
    long buttons;
    CPoint to;
    float value;
  };
  const Case cases[] = {
      {"right 100", Gui::kLButton, {200, 70}, 0.5f},
      {"up 100", Gui::kLButton, {100, -30}, 0.5f},
      {"right 100 and down 40", Gui::kLButton, {200, 110}, 0.3f},
      {"right 300 clamps", Gui::kLButton, {400, 70}, 1.f},
      {"left clamps", Gui::kLButton, {-50, 70}, 0.f},
      {"shift: 300 pixels for the range", Gui::kLButton | Gui::kShift, {250, 70}, 0.5f},
  };
  for (const auto& c : cases) {
    auto* knob = makeKnob();
    listener.notifications.clear();
    knob->play(windowContext(), {{{100, 70}, c.buttons}, {c.to, c.buttons}});
    EXPECT_NEAR(c.value, knob->getValue(), 1e-4f) << c.name;
    ASSERT_FALSE(listener.notifications.empty()) << c.name;
    EXPECT_NEAR(c.value, listener.notifications.back().value, 1e-4f) << c.name;
  }
}

TEST_F(KnobTest, ZoomFactorSetsTheFineRange) {
  setKnobMode(2);
  auto* knob = makeKnob();
  knob->setZoomFactor(8.f);
  knob->play(windowContext(),
             {{{0, 0}, Gui::kLButton | Gui::kShift}, {{800, 0}, Gui::kLButton | Gui::kShift}});
  EXPECT_NEAR(0.5f, knob->getValue(), 1e-4f);
}

TEST_F(KnobTest, ShiftPressedDuringALinearDragKeepsTheValueContinuous) {
  setKnobMode(2);
  auto* knob = makeKnob();
  const long held = Gui::kLButton;
  const long fine = Gui::kLButton | Gui::kShift;
  knob->play(windowContext(),
             {{{0, 0}, held}, {{50, 0}, held}, {{50, 0}, fine}, {{51, 0}, fine}, {{80, 0}, fine}});
  // 50 pixels coarse: 0.25. The first move with Shift still counts coarsely (51 pixels: 0.255), and
  // the fine range (300 pixels) takes over from there without a jump.
  const auto values = listener.values();
  ASSERT_EQ(4u, values.size());
  EXPECT_NEAR(0.25f, values[1], 1e-4f);
  EXPECT_NEAR(0.255f, values[2], 1e-4f);
  EXPECT_NEAR(0.255f + 29.f / 300, knob->getValue(), 1e-4f);
}

TEST_F(KnobTest, DragIsOneEditGestureWithTheTag) {
  setKnobMode(2);
  auto* knob = makeKnob();
  knob->play(windowContext(), {{{0, 0}, Gui::kLButton}, {{10, 0}, Gui::kLButton}, {{20, 0}, Gui::kLButton}});
  EXPECT_EQ((std::vector<long>{7, -1007}), editor->gestures);
  EXPECT_EQ(3u, listener.notifications.size());
  EXPECT_EQ(knob, frame->getFocusView());
}

TEST_F(KnobTest, CircularDragFollowsTheAngleAndStopsAtTheDeadZone) {
  setKnobMode(0);
  auto* knob = makeKnob();
  const long held = Gui::kLButton;
  // Centre (120.5, 70.5) in the frame: the top, round to the lower right, across the bottom to the
  // lower left and up the left side, which is more than half the range away: the value stays pinned
  // at the maximum until the mouse comes back to the right side.
  knob->play(windowContext(), {{{120, 50}, held},
                               {{141, 70}, held},
                               {{141, 91}, held},
                               {{118, 95}, held},
                               {{100, 91}, held},
                               {{100, 70}, held},
                               {{141, 70}, held}});
  const std::vector<float> expected = {0.5f, 5.f / 6, 1.f, 5.f / 6};
  const auto values = listener.values();
  ASSERT_EQ(expected.size(), values.size()) << ::testing::PrintToString(values);
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(expected[i], values[i], 0.02f) << i;
}

TEST_F(KnobTest, AltSwapsTheDragMode) {
  struct Case {
    long knobMode;
    long buttons;
    float value;
  };
  // From the top of the knob 20 pixels to the right: linear gives 0.1, circular the angle there.
  const Case cases[] = {
      {2, Gui::kLButton, 0.6f},
      {2, Gui::kLButton | Gui::kAlt, 0.f},
      {0, Gui::kLButton | Gui::kAlt, 0.6f},
  };
  for (const auto& c : cases) {
    setKnobMode(c.knobMode);
    auto* knob = makeKnob();
    knob->setValue(0.5f);
    knob->play(windowContext(), {{{120, 50}, c.buttons}, {{140, 50}, c.buttons}});
    if (c.value != 0.f) {
      EXPECT_NEAR(c.value, knob->getValue(), 1e-4f) << c.knobMode << " " << c.buttons;
    } else {
      CPoint corner(40, 0);
      EXPECT_NEAR(knob->valueFromPoint(corner), knob->getValue(), 1e-4f) << "circular";
    }
  }
}

TEST_F(KnobTest, CtrlClickSetsTheDefaultValueAndModifierClicksGoToTheListener) {
  setKnobMode(2);
  auto* knob = makeKnob();
  knob->setDefaultValue(0.25f);
  knob->setValue(0.9f);
  knob->play(windowContext(), {{{0, 0}, Gui::kLButton | Gui::kControl}});
  EXPECT_EQ(0.25f, knob->getValue());
  EXPECT_EQ(1u, listener.notifications.size());

  listener.modifierAnswer = 1;
  listener.notifications.clear();
  knob->play(windowContext(),
             {{{0, 0}, Gui::kLButton | Gui::kShift}, {{100, 0}, Gui::kLButton | Gui::kShift}});
  EXPECT_EQ(0.25f, knob->getValue());
  EXPECT_TRUE(listener.notifications.empty());
  EXPECT_EQ(Gui::kLButton | Gui::kShift, listener.modifierClicks.back());
}

TEST_F(KnobTest, WheelAndArrowKeysStepTheValue) {
  auto* knob = makeKnob();
  Gui::CDrawContext* context = windowContext();
  struct Case {
    const char* name;
    float start;
    int key;  // 0: a wheel notch of +1
    unsigned char modifier;
    long held;
    float value;
    long answer;
  };
  const Case cases[] = {
      {"wheel", 0.5f, 0, 0, 0, 0.6f, 1},
      {"wheel with shift", 0.5f, 0, 0, Gui::kShift, 0.51f, 1},
      {"wheel at the top", 0.95f, 0, 0, 0, 1.f, 1},
      {"up", 0.5f, Gui::kArrowUp, 0, 0, 0.6f, 1},
      {"right", 0.5f, Gui::kArrowRight, 0, 0, 0.6f, 1},
      {"down", 0.5f, Gui::kArrowDown, 0, 0, 0.4f, 1},
      {"left with shift", 0.5f, Gui::kArrowLeft, MODIFIER_SHIFT, 0, 0.49f, 1},
      {"page up is not taken", 0.5f, 15, 0, 0, 0.5f, -1},
  };
  for (const auto& c : cases) {
    knob->setValue(c.start);
    knob->setDirty(false);
    long answer;
    if (c.key == 0) {
      setInputState(c.held);
      answer = knob->onWheel(context, CPoint(0, 0), 1.f) ? 1 : -1;
      setInputState(0);
    } else {
      VstKeyCode key{0, static_cast<unsigned char>(c.key), c.modifier};
      answer = knob->onKeyDown(key);
    }
    EXPECT_EQ(c.answer, answer) << c.name;
    EXPECT_NEAR(c.value, knob->getValue(), 1e-5f) << c.name;
  }
  knob->setMouseEnabled(false);
  EXPECT_FALSE(knob->onWheel(context, CPoint(0, 0), 1.f));
}

TEST_F(KnobTest, DrawsTheHandleLineFromTheCentreWithItsShadow) {
  auto* knob = new CKnob(CRect(0, 0, 41, 41), &listener, 1, nullptr, nullptr, CPoint(0, 0));
  knob->setColorHandle(Gui::kRedCColor);
  knob->setColorShadowHandle(Gui::kBlueCColor);
  knob->setValue(0.5f);  // straight up: the handle point is (20, 3), the centre (20, 20)
  Gui::COffscreenContext context(frame, 41, 41, Gui::kBlackCColor);
  knob->draw(&context);
  EXPECT_EQ(RGB(255, 0, 0), pixelAt(context, 20, 10));  // handle line at the true x, one pixel higher
  EXPECT_EQ(RGB(0, 0, 255), pixelAt(context, 19, 11));  // shadow one pixel left, one lower
  EXPECT_EQ(RGB(255, 0, 0), pixelAt(context, 20, 2));
  EXPECT_EQ(RGB(0, 0, 0), pixelAt(context, 20, 20));
  EXPECT_EQ(RGB(0, 0, 0), pixelAt(context, 30, 10));
  EXPECT_FALSE(knob->isDirty());
  knob->forget();
}

TEST_F(KnobTest, AnimKnobShowsTheFrameOfTheValue) {
  // Three frames of 10 pixels: red, green, blue.
  auto* strip = makeBitmap(*frame, 10, 30, [](long, long y) {
    return y < 10 ? RGB(255, 0, 0) : (y < 20 ? RGB(0, 255, 0) : RGB(0, 0, 255));
  });
  auto* knob = new CAnimKnob(CRect(0, 0, 10, 10), &listener, 1, strip, CPoint(0, 0));
  struct Case {
    float value;
    long top;
    COLORREF colour;
  };
  const Case cases[] = {{0.f, 0, RGB(255, 0, 0)},    {0.49f, 0, RGB(255, 0, 0)}, {0.5f, 10, RGB(0, 255, 0)},
                        {0.99f, 10, RGB(0, 255, 0)}, {1.f, 20, RGB(0, 0, 255)},  {-0.5f, 0, RGB(255, 0, 0)}};
  Gui::COffscreenContext context(frame, 10, 10, Gui::kBlackCColor);
  for (const auto& c : cases) {
    knob->setValue(c.value);
    EXPECT_EQ(c.top, knob->frameTop()) << c.value;
    knob->draw(&context);
    EXPECT_EQ(c.colour, pixelAt(context, 5, 5)) << c.value;
  }
  EXPECT_TRUE(knob->isTypeOf("CAnimKnob"));
  EXPECT_TRUE(knob->isTypeOf("CKnob"));
  EXPECT_TRUE(knob->isTypeOf("CView"));
  knob->forget();
  strip->forget();
}

}  // namespace
