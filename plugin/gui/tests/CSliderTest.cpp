#include "plugin/gui/CHorizontalSlider.h"
#include "plugin/gui/CSpecialDigit.h"
#include "plugin/gui/CVerticalSlider.h"
#include "plugin/gui/CVuMeter.h"
#include "plugin/gui/ValueSteps.h"
#include "plugin/gui/tests/ControlTestSupport.h"

#include <gtest/gtest.h>

using namespace ControlTests;

namespace {

constexpr long kHeld = Gui::kLButton;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);

class SliderTest : public ControlFixture {
 protected:
  Gui::CBitmap* solid(long width, long height, COLORREF colour) {
    return makeBitmap(*frame, width, height, [colour](long, long) { return colour; });
  }
  // A horizontal slider at (0, 100), 110 by 10: a 10-pixel red handle travelling 100 pixels over a
  // green track.
  Scripted<Gui::CHorizontalSlider>* horizontal(long style) {
    auto* handle = solid(10, 10, kRed);
    auto* track = solid(110, 10, kGreen);
    auto* slider = add(new Scripted<Gui::CHorizontalSlider>(
        CRect(0, 100, 110, 110), &listener, 2, CPoint(0, 0), 110, handle, track, CPoint(0, 0), style));
    handle->forget();
    track->forget();
    return slider;
  }
  // The left edge of the red handle in a drawing of the slider through a window-sized offscreen.
  long handleLeft(Gui::CControl& slider) {
    Gui::COffscreenContext context(frame, 400, 300, Gui::kBlackCColor);
    slider.draw(&context);
    for (long x = 0; x < 110; ++x) {
      if (pixelAt(context, x, 105) == kRed) return x;
    }
    return -1;
  }
};

TEST_F(SliderTest, HandlePositionFollowsTheValueAndTheDirection) {
  struct Case {
    long style;
    float value;
    long left;
  };
  const Case cases[] = {
      {Gui::kLeft, 0.f, 0},    {Gui::kLeft, 0.5f, 50},   {Gui::kLeft, 1.f, 100},
      {Gui::kRight, 0.f, 100}, {Gui::kRight, 0.25f, 75}, {0, 0.25f, 75},
  };
  for (const auto& c : cases) {
    auto* slider = horizontal(c.style);
    slider->setValue(c.value);
    EXPECT_EQ(c.left, handleLeft(*slider)) << c.style << " " << c.value;
    EXPECT_FALSE(slider->isDirty());
    frame->removeAll(true);
  }
}

TEST_F(SliderTest, FreeClickPutsTheHandleCentreUnderTheMouse) {
  struct Case {
    long style;
    long x;
    float value;
  };
  // delta = handle offset + left + half the handle - 1 = 4.
  const Case cases[] = {
      {Gui::kLeft, 54, 0.5f},  {Gui::kLeft, 4, 0.f}, {Gui::kLeft, 300, 1.f}, {Gui::kRight, 54, 0.5f},
      {Gui::kRight, 24, 0.8f}, {0, 24, 0.2f},  // without a direction bit: from the left
  };
  for (const auto& c : cases) {
    auto* slider = horizontal(c.style);
    slider->play(windowContext(), {{{c.x, 105}, kHeld}});
    EXPECT_NEAR(c.value, slider->getValue(), 1e-5f) << c.style << " " << c.x;
    frame->removeAll(true);
  }
}

TEST_F(SliderTest, GrabModeTakesOnlyClicksOnTheHandle) {
  auto* slider = horizontal(Gui::kLeft);
  slider->setFreeClick(false);
  slider->setValue(0.5f);  // handle at 50..60
  slider->play(windowContext(), {{{30, 105}, kHeld}, {{80, 105}, kHeld}});
  EXPECT_EQ(0.5f, slider->getValue());
  EXPECT_TRUE(listener.notifications.empty());
  slider->play(windowContext(), {{{52, 105}, kHeld}, {{72, 105}, kHeld}});
  EXPECT_NEAR(0.7f, slider->getValue(), 1e-5f);
}

TEST_F(SliderTest, ShiftDividesTheMovementByTheZoomFactor) {
  auto* slider = horizontal(Gui::kLeft);
  slider->setValue(0.5f);
  const long fine = kHeld | Gui::kShift;
  // Grab the handle at its centre so that the click itself does not move it.
  slider->play(windowContext(), {{{54, 105}, fine}, {{154, 105}, fine}});
  EXPECT_NEAR(0.6f, slider->getValue(), 1e-5f);

  // Shift pressed during a drag continues from where the value is.
  slider->setValue(0.5f);
  slider->play(windowContext(),
               {{{54, 105}, kHeld}, {{74, 105}, kHeld}, {{74, 105}, fine}, {{174, 105}, fine}});
  EXPECT_NEAR(0.7f + 0.1f, slider->getValue(), 1e-5f);
}

TEST_F(SliderTest, VerticalSliderFromTheBottomRisesWithTheMouse) {
  auto* handle = solid(10, 10, kRed);
  auto* slider = add(new Scripted<Gui::CVerticalSlider>(CRect(0, 0, 10, 110), &listener, 2, CPoint(0, 0), 110,
                                                        handle, nullptr, CPoint(0, 0), Gui::kBottom));
  handle->forget();
  slider->play(windowContext(), {{{5, 104}, kHeld}});
  EXPECT_NEAR(0.f, slider->getValue(), 1e-5f);
  slider->play(windowContext(), {{{5, 104}, kHeld}, {{5, 54}, kHeld}});
  EXPECT_NEAR(0.5f, slider->getValue(), 1e-5f);

  Gui::COffscreenContext context(frame, 10, 110, Gui::kBlackCColor);
  slider->setValue(0.f);
  slider->draw(&context);
  EXPECT_EQ(kRed, pixelAt(context, 5, 105));  // 0 at the bottom
  EXPECT_EQ(kBlack, pixelAt(context, 5, 5));
}

TEST_F(SliderTest, FirstFormTravelsBetweenTwoPositions) {
  auto* handle = solid(10, 10, kRed);
  auto* slider = add(new Scripted<Gui::CHorizontalSlider>(CRect(20, 100, 130, 110), &listener, 2, 20, 120,
                                                          handle, nullptr, CPoint(0, 0), Gui::kLeft));
  handle->forget();
  slider->play(windowContext(), {{{74, 105}, kHeld}});
  EXPECT_NEAR(0.5f, slider->getValue(), 1e-5f);
}

TEST_F(SliderTest, WheelAndKeysStepLikeTheKnob) {
  auto* slider = horizontal(Gui::kLeft);
  slider->setValue(0.5f);
  VstKeyCode up{0, Gui::kArrowUp, 0};
  EXPECT_EQ(1, slider->onKeyDown(up));
  EXPECT_NEAR(0.6f, slider->getValue(), 1e-5f);
  VstKeyCode other{0, 20, 0};
  EXPECT_EQ(-1, slider->onKeyDown(other));
  EXPECT_TRUE(slider->onWheel(windowContext(), CPoint(0, 0), -2.f));
  EXPECT_NEAR(0.4f, slider->getValue(), 1e-5f);
}

TEST_F(SliderTest, CtrlClickSetsTheDefaultValue) {
  auto* slider = horizontal(Gui::kLeft);
  slider->setDefaultValue(0.3f);
  slider->play(windowContext(), {{{90, 105}, kHeld | Gui::kControl}});
  EXPECT_EQ(0.3f, slider->getValue());
}

class VuMeterTest : public SliderTest {
 protected:
  // A vertical meter of 10 LEDs, 10 by 100, lit green over a red "off" picture, drawn without an
  // offscreen of its own.
  Gui::CVuMeter* meter(long style) {
    auto* on = solid(100, 100, kGreen);
    auto* off = solid(100, 100, kRed);
    auto* vu = new Gui::CVuMeter(style & Gui::kHorizontal ? CRect(0, 0, 100, 10) : CRect(0, 0, 10, 100), on,
                                 off, 10, style);
    on->forget();
    off->forget();
    vu->setUseOffscreen(false);
    return vu;
  }
  // The number of lit pixels along the meter.
  long lit(Gui::CVuMeter& vu, bool horizontalMeter) {
    Gui::COffscreenContext context(frame, 100, 100, Gui::kBlackCColor);
    vu.draw(&context);
    long count = 0;
    for (long i = 0; i < 100; ++i) {
      if (pixelAt(context, horizontalMeter ? i : 5, horizontalMeter ? 5 : i) == kGreen) ++count;
    }
    return count;
  }
};

TEST_F(VuMeterTest, RisesAtOnceAndFallsOneStepPerRedraw) {
  auto* vu = meter(Gui::kVertical);
  vu->setValue(1.f);
  EXPECT_EQ(100, lit(*vu, false));
  vu->setValue(0.f);
  for (long expected : {90, 80, 70, 60}) {
    EXPECT_TRUE(vu->isDirty());
    EXPECT_EQ(expected, lit(*vu, false));
  }
  vu->setValue(0.96f);
  EXPECT_EQ(100, lit(*vu, false));  // 9.6 LEDs round to 10
  vu->forget();
}

TEST_F(VuMeterTest, LightsWholeLeds) {
  auto* vu = meter(Gui::kHorizontal);
  vu->setDecreaseStepValue(1.f);
  const std::pair<float, long> cases[] = {{0.34f, 30}, {0.36f, 40}, {0.f, 0}, {2.f, 100}};
  for (const auto& c : cases) {
    vu->setValue(c.first);
    EXPECT_EQ(c.second, lit(*vu, true)) << c.first;
  }
  EXPECT_EQ(1.f, vu->getValue());
  vu->forget();
}

TEST_F(VuMeterTest, StaysCleanOnceTheLevelHasReachedTheValue) {
  auto* vu = meter(Gui::kVertical);
  vu->setDecreaseStepValue(1.f);
  vu->setValue(0.5f);
  lit(*vu, false);
  EXPECT_FALSE(vu->isDirty());
  vu->setDirty(true);
  EXPECT_TRUE(vu->isDirty());
  lit(*vu, false);
  EXPECT_FALSE(vu->isDirty());
  vu->forget();
}

TEST_F(SliderTest, DigitsShowTheNumberHeldToTheirRange) {
  // Ten digit images of 10 pixels, digit k painted in red level 20 k.
  auto* digits = makeBitmap(*frame, 10, 100, [](long, long y) { return RGB(20 * (y / 10), 0, 0); });
  Gui::CSpecialDigit display(CRect(0, 0, 20, 10), &listener, 1, 7, 2, nullptr, nullptr, 10, 10, digits);
  digits->forget();
  EXPECT_EQ(99.f, display.getMax());
  struct Case {
    float value;
    long first;
    long second;
  };
  const Case cases[] = {{7.f, 0, 7}, {42.f, 4, 2}, {150.f, 9, 9}, {-5.f, 0, 0}};
  for (const auto& c : cases) {
    display.setValue(c.value);
    Gui::COffscreenContext context(frame, 20, 10, Gui::kBlackCColor);
    display.draw(&context);
    EXPECT_EQ(RGB(20 * c.first, 0, 0), pixelAt(context, 5, 5)) << c.value;
    EXPECT_EQ(RGB(20 * c.second, 0, 0), pixelAt(context, 15, 5)) << c.value;
  }
  display.setValue(49.5f);
  EXPECT_FLOAT_EQ(0.5f, display.getNormValue());
  display.setValue(200.f);
  EXPECT_EQ(1.f, display.getNormValue());
}

TEST_F(SliderTest, DigitsAtGivenPositions) {
  auto* digits = makeBitmap(*frame, 10, 100, [](long, long y) { return RGB(20 * (y / 10), 0, 0); });
  const long xs[] = {30, 0, 15};
  const long ys[] = {0, 0, 0};
  Gui::CSpecialDigit display(CRect(0, 0, 40, 10), &listener, 1, 123, 3, xs, ys, 10, 10, digits);
  digits->forget();
  Gui::COffscreenContext context(frame, 40, 10, Gui::kBlackCColor);
  display.draw(&context);
  EXPECT_EQ(RGB(20, 0, 0), pixelAt(context, 35, 5));
  EXPECT_EQ(RGB(40, 0, 0), pixelAt(context, 5, 5));
  EXPECT_EQ(RGB(60, 0, 0), pixelAt(context, 20, 5));
}

}  // namespace
