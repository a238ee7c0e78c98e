#include "plugin/gui/CHorizontalSwitch.h"
#include "plugin/gui/CKickButton.h"
#include "plugin/gui/CMovieButton.h"
#include "plugin/gui/COnOffButton.h"
#include "plugin/gui/CRockerSwitch.h"
#include "plugin/gui/CVerticalSwitch.h"
#include "plugin/gui/tests/ControlTestSupport.h"

#include <gtest/gtest.h>

using namespace ControlTests;

namespace {

constexpr long kHeld = Gui::kLButton;

// Film strips of frames 10 pixels long, frame k painted in grey level 10 + 40 k.
COLORREF frameColour(long k) {
  return RGB(10 + 40 * k, 10 + 40 * k, 10 + 40 * k);
}

class ButtonsTest : public ControlFixture {
 protected:
  Gui::CBitmap* verticalStrip(long frames) {
    return makeBitmap(*frame, 10, 10 * frames, [](long, long y) { return frameColour(y / 10); });
  }
  // Draws the control alone into a 10 by 10 offscreen and answers the colour at its middle.
  COLORREF shown(Gui::CControl& control) {
    Gui::COffscreenContext context(frame, 10, 10, Gui::kBlackCColor);
    control.draw(&context);
    return pixelAt(context, 5, 5);
  }
};

TEST_F(ButtonsTest, OnOffButtonTogglesOnEveryPressAndShowsTheLowerHalfWhenOn) {
  auto* strip = verticalStrip(2);
  auto* button =
      add(new Scripted<Gui::COnOffButton>(CRect(0, 0, 10, 10), &listener, 3, strip, Gui::kPreListenerUpdate));
  strip->forget();
  struct Case {
    float start;
    float value;
  };
  const Case cases[] = {{0.f, 1.f}, {1.f, 0.f}, {0.5f, 1.f}, {-1.f, 0.f}};
  for (const auto& c : cases) {
    button->setValue(c.start);
    listener.notifications.clear();
    button->play(windowContext(), {{{5, 5}, kHeld}});
    EXPECT_EQ(c.value, button->getValue()) << c.start;
    ASSERT_EQ(1u, listener.notifications.size());
    EXPECT_EQ(c.value, listener.notifications[0].value);
  }
  EXPECT_EQ(frameColour(0), shown(*button));
  button->setValue(1.f);
  EXPECT_EQ(frameColour(1), shown(*button));
  EXPECT_EQ(3, editor->gestures.front());
}

TEST_F(ButtonsTest, OnOffButtonStyleChoosesWhetherTheListenerHearsBeforeTheIdlePass) {
  struct Probe : RecordingListener {
    Scripted<Gui::COnOffButton>* button = nullptr;
    void valueChanged(Gui::CDrawContext* context, Gui::CControl* control) override {
      idlePassesSeen.push_back(button->idlePasses);
      RecordingListener::valueChanged(context, control);
    }
    std::vector<int> idlePassesSeen;
  };
  for (long style : {Gui::kPreListenerUpdate, Gui::kPostListenerUpdate}) {
    Probe probe;
    auto* button = add(new Scripted<Gui::COnOffButton>(CRect(0, 0, 10, 10), &probe, 3, nullptr, style));
    probe.button = button;
    button->play(windowContext(), {{{5, 5}, kHeld}});
    EXPECT_EQ((std::vector<int>{style == Gui::kPreListenerUpdate ? 0 : 1}), probe.idlePassesSeen) << style;
    frame->removeAll(true);
  }
}

TEST_F(ButtonsTest, KickButtonReportsThePressAndTheReturnToRest) {
  struct Case {
    const char* name;
    std::vector<MouseStep> steps;
    std::vector<float> values;
  };
  const Case cases[] = {
      {"released inside", {{{5, 5}, kHeld}, {{6, 6}, kHeld}}, {1.f, 0.f}},
      {"released outside", {{{5, 5}, kHeld}, {{30, 5}, kHeld}}, {1.f, 0.f, 0.f}},
      {"back inside", {{{5, 5}, kHeld}, {{30, 5}, kHeld}, {{10, 10}, kHeld}}, {1.f, 0.f, 1.f, 0.f}},
  };
  for (const auto& c : cases) {
    auto* button =
        add(new Scripted<Gui::CKickButton>(CRect(0, 0, 10, 10), &listener, 4, nullptr, CPoint(0, 0)));
    button->setDirty(false);
    listener.notifications.clear();
    button->play(windowContext(), c.steps);
    EXPECT_EQ(c.values, listener.values()) << c.name;
    EXPECT_EQ(0.f, button->getValue()) << c.name;
    frame->removeAll(true);
  }
}

TEST_F(ButtonsTest, KickButtonShowsItsSecondFrameWhilePressed) {
  auto* strip = verticalStrip(2);
  Gui::CKickButton button(CRect(0, 0, 10, 10), &listener, 4, strip, CPoint(0, 0));
  strip->forget();
  EXPECT_EQ(frameColour(0), shown(button));
  button.setValue(1.f);
  EXPECT_EQ(frameColour(1), shown(button));
  button.setValue(3.f);  // drawn as 1, and held there
  EXPECT_EQ(frameColour(1), shown(button));
  EXPECT_EQ(1.f, button.getValue());
}

TEST_F(ButtonsTest, RockerReportsItsHalfAndRestsAtZero) {
  struct Case {
    const char* name;
    long style;
    CPoint where;
    float pressed;
  };
  // A 20 by 20 rocker: halves split at 10, the middle line belongs to the first half.
  const Case cases[] = {
      {"vertical, upper half", Gui::kRockerVertical, {5, 3}, -1.f},
      {"vertical, middle line", Gui::kRockerVertical, {5, 10}, -1.f},
      {"vertical, lower half", Gui::kRockerVertical, {5, 15}, 1.f},
      {"horizontal, left half", Gui::kRockerHorizontal, {4, 5}, -1.f},
      {"horizontal, right half", Gui::kRockerHorizontal, {15, 5}, 1.f},
  };
  for (const auto& c : cases) {
    auto* rocker = add(
        new Scripted<Gui::CRockerSwitch>(CRect(0, 0, 20, 20), &listener, 5, nullptr, CPoint(0, 0), c.style));
    rocker->setDirty(false);
    listener.notifications.clear();
    rocker->play(windowContext(), {{c.where, kHeld}});
    EXPECT_EQ((std::vector<float>{c.pressed, 0.f}), listener.values()) << c.name;
    frame->removeAll(true);
  }
}

TEST_F(ButtonsTest, RockerHoldsWhileAModifierIsDown) {
  auto* rocker = add(new Scripted<Gui::CRockerSwitch>(CRect(0, 0, 20, 20), &listener, 5, nullptr,
                                                      CPoint(0, 0), Gui::kRockerVertical));
  // The button goes up but Shift stays down one more pass: the loop runs on.
  rocker->play(windowContext(), {{{5, 5}, kHeld}, {{5, 6}, Gui::kShift}, {{5, 15}, Gui::kShift}});
  EXPECT_EQ(3, rocker->idlePasses);
  EXPECT_EQ(0.f, rocker->getValue());
}

TEST_F(ButtonsTest, RockerWheelIsOnePressAndRelease) {
  auto* rocker = add(new Gui::CRockerSwitch(CRect(0, 0, 20, 20), &listener, 5, nullptr, CPoint(0, 0), 2));
  rocker->setDirty(false);
  EXPECT_TRUE(rocker->onWheel(windowContext(), CPoint(0, 0), 1.f));
  EXPECT_TRUE(rocker->onWheel(windowContext(), CPoint(0, 0), -1.f));
  EXPECT_EQ((std::vector<float>{-1.f, 0.f, 1.f, 0.f}), listener.values());
  EXPECT_EQ((std::vector<long>{5, -1005, 5, -1005}), editor->gestures);
  rocker->setMouseEnabled(false);
  EXPECT_FALSE(rocker->onWheel(windowContext(), CPoint(0, 0), 1.f));
}

TEST_F(ButtonsTest, RockerDrawsRestOnlyForExactlyZero) {
  auto* strip = verticalStrip(3);
  Gui::CRockerSwitch rocker(CRect(0, 0, 10, 10), &listener, 5, 10, strip, CPoint(0, 0), 2);
  strip->forget();
  const std::pair<float, long> cases[] = {{-1.f, 0}, {0.f, 1}, {1.f, 2}, {0.5f, 0}};
  for (const auto& c : cases) {
    rocker.setValue(c.first);
    EXPECT_EQ(frameColour(c.second), shown(rocker)) << c.first;
  }
}

TEST_F(ButtonsTest, VerticalSwitchTakesTheZoneUnderTheMouse) {
  // Three positions in a 30-pixel-high switch: zones of 10 pixels.
  auto* strip = makeBitmap(*frame, 10, 90, [](long, long y) { return frameColour(y / 30); });
  auto* sw =
      add(new Scripted<Gui::CVerticalSwitch>(CRect(0, 100, 10, 130), &listener, 6, strip, CPoint(0, 0)));
  strip->forget();
  struct Case {
    long y;
    float value;
  };
  const Case cases[] = {{100, 0.f}, {109, 0.f}, {110, 0.5f}, {119, 0.5f}, {120, 1.f}, {160, 1.f}, {90, 0.f}};
  for (const auto& c : cases) {
    sw->setValue(0.25f);
    sw->play(windowContext(), {{{5, c.y}, kHeld}});
    EXPECT_EQ(c.value, sw->getValue()) << c.y;
  }
  EXPECT_EQ(0.f, sw->getDefaultValue());
}

TEST_F(ButtonsTest, SwitchDragEndsWhenAModifierChanges) {
  auto* sw = add(
      new Scripted<Gui::CVerticalSwitch>(CRect(0, 0, 10, 30), &listener, 6, 3, 30, 3, nullptr, CPoint(0, 0)));
  sw->play(windowContext(),
           {{{5, 5}, kHeld}, {{5, 25}, kHeld | Gui::kShift}, {{5, 15}, kHeld | Gui::kShift}});
  EXPECT_EQ(1, sw->idlePasses);
  EXPECT_EQ(0.f, sw->getValue());
}

TEST_F(ButtonsTest, SwitchesShowTheNearestPosition) {
  auto* vertical = makeBitmap(*frame, 10, 30, [](long, long y) { return frameColour(y / 10); });
  auto* horizontal = makeBitmap(*frame, 30, 10, [](long x, long) { return frameColour(x / 10); });
  Gui::CVerticalSwitch down(CRect(0, 0, 10, 10), &listener, 1, vertical, CPoint(0, 0));
  Gui::CHorizontalSwitch across(CRect(0, 0, 10, 10), &listener, 1, horizontal, CPoint(0, 0));
  vertical->forget();
  horizontal->forget();
  const std::pair<float, long> cases[] = {{0.f, 0}, {0.24f, 0}, {0.26f, 1}, {0.74f, 1}, {0.76f, 2}, {1.f, 2}};
  for (const auto& c : cases) {
    down.setValue(c.first);
    across.setValue(c.first);
    EXPECT_EQ(frameColour(c.second), shown(down)) << c.first;
    EXPECT_EQ(frameColour(c.second), shown(across)) << c.first;
  }
}

TEST_F(ButtonsTest, HorizontalSwitchTakesTheZoneAlongX) {
  auto* sw = add(new Scripted<Gui::CHorizontalSwitch>(CRect(50, 0, 90, 10), &listener, 6, 4, 40, 4, nullptr,
                                                      CPoint(0, 0)));
  const std::pair<long, float> cases[] = {{50, 0.f}, {61, 1.f / 3}, {79, 2.f / 3}, {80, 1.f}};
  for (const auto& c : cases) {
    sw->play(windowContext(), {{{c.first, 5}, kHeld}});
    EXPECT_FLOAT_EQ(c.second, sw->getValue()) << c.first;
  }
}

TEST_F(ButtonsTest, MovieButtonTogglesWhenReleasedInside) {
  struct Case {
    const char* name;
    float start;
    std::vector<MouseStep> steps;
    float value;
  };
  const Case cases[] = {
      {"inside", 0.f, {{{5, 5}, kHeld}}, 1.f},
      {"inside from on", 1.f, {{{5, 5}, kHeld}}, 0.f},
      {"released outside", 0.f, {{{5, 5}, kHeld}, {{40, 5}, kHeld}}, 0.f},
  };
  for (const auto& c : cases) {
    auto* button =
        add(new Scripted<Gui::CMovieButton>(CRect(0, 0, 10, 10), &listener, 8, nullptr, CPoint(0, 0)));
    button->setValue(c.start);
    button->play(windowContext(), c.steps);
    EXPECT_EQ(c.value, button->getValue()) << c.name;
    frame->removeAll(true);
  }
  auto* strip = verticalStrip(2);
  Gui::CMovieButton button(CRect(0, 0, 10, 10), &listener, 8, strip, CPoint(0, 0));
  strip->forget();
  EXPECT_EQ(frameColour(0), shown(button));
  button.setValue(1.f);
  EXPECT_EQ(frameColour(1), shown(button));
}

TEST_F(ButtonsTest, TypeNames) {
  Gui::COnOffButton onOff(CRect(), nullptr, 0, nullptr, 0);
  Gui::CKickButton kick(CRect(), nullptr, 0, nullptr, CPoint());
  Gui::CMovieButton movie(CRect(), nullptr, 0, nullptr, CPoint());
  EXPECT_TRUE(onOff.isTypeOf("COnOffButton"));
  EXPECT_TRUE(onOff.isTypeOf("CControl"));
  EXPECT_FALSE(onOff.isTypeOf("CKickButton"));
  EXPECT_TRUE(kick.isTypeOf("CKickButton"));
  EXPECT_TRUE(movie.isTypeOf("CMovieButton"));
  EXPECT_TRUE(movie.isTypeOf("CView"));
}

}  // namespace
