#include "plugin/gui/CAutoAnimation.h"
#include "plugin/gui/CMovieBitmap.h"
#include "plugin/gui/CSplashScreen.h"
#include "plugin/gui/tests/ControlTestSupport.h"

#include <gtest/gtest.h>

using namespace ControlTests;

namespace {

constexpr long kHeld = Gui::kLButton;

COLORREF frameColour(long k) {
  return RGB(10 + 40 * k, 10 + 40 * k, 10 + 40 * k);
}

class AnimationsTest : public ControlFixture {
 protected:
  Gui::CBitmap* strip(long frames) {
    return makeBitmap(*frame, 10, 10 * frames, [](long, long y) { return frameColour(y / 10); });
  }
  COLORREF shown(Gui::CView& view, long x = 5, long y = 5) {
    Gui::COffscreenContext context(frame, 200, 200, Gui::kBlackCColor);
    view.draw(&context);
    return pixelAt(context, x, y);
  }
};

TEST_F(AnimationsTest, MovieBitmapShowsTheFrameNearestToTheValue) {
  auto* pictures = strip(2);
  Gui::CMovieBitmap movie(CRect(0, 0, 10, 10), &listener, 1, pictures, CPoint(0, 0));
  pictures->forget();
  struct Case {
    float value;
    long frame;
    float stored;
  };
  const Case cases[] = {{0.f, 0, 0.f}, {0.49f, 0, 0.49f}, {0.5f, 1, 0.5f},
                        {1.f, 1, 1.f}, {1.7f, 1, 1.f},    {-2.f, 0, -2.f}};
  for (const auto& c : cases) {
    movie.setValue(c.value);
    EXPECT_EQ(frameColour(c.frame), shown(movie)) << c.value;
    EXPECT_EQ(c.stored, movie.getValue()) << c.value;
    EXPECT_FALSE(movie.isDirty());
  }
}

TEST_F(AnimationsTest, AutoAnimationStepsThroughItsStrip) {
  auto* pictures = strip(3);
  Gui::CAutoAnimation animation(CRect(0, 0, 10, 10), &listener, 1, pictures, CPoint(0, 0));
  pictures->forget();
  animation.nextPixmap();
  EXPECT_EQ(10.f, animation.getValue());
  animation.nextPixmap();
  EXPECT_EQ(0.f, animation.getValue());
  animation.previousPixmap();
  EXPECT_EQ(19.f, animation.getValue());

  // Drawn only while its window is open, from the value as a pixel offset.
  animation.setValue(10.f);
  EXPECT_EQ(RGB(0, 0, 0), shown(animation));
  animation.openWindow();
  EXPECT_EQ(frameColour(1), shown(animation));
}

TEST_F(AnimationsTest, AutoAnimationClicksOpenWithANotificationAndCloseSilently) {
  auto* animation =
      add(new Scripted<Gui::CAutoAnimation>(CRect(0, 0, 10, 10), &listener, 1, 3, 10, nullptr, CPoint(0, 0)));
  animation->setValue(20.f);
  animation->play(windowContext(), {{{5, 5}, kHeld}});
  EXPECT_TRUE(animation->isWindowOpened());
  EXPECT_EQ(1u, listener.notifications.size());
  animation->setValue(20.f);
  animation->play(windowContext(), {{{5, 5}, kHeld}});
  EXPECT_FALSE(animation->isWindowOpened());
  EXPECT_EQ(1u, listener.notifications.size());
  EXPECT_EQ(0.f, animation->getValue());
}

class SplashTest : public AnimationsTest {
 protected:
  // A splash area at (0, 0, 10, 10) that shows 20 by 20 of a red picture at (100, 100).
  Scripted<Gui::CSplashScreen>* makeSplash() {
    auto* picture = makeBitmap(*frame, 20, 20, [](long, long) { return RGB(255, 0, 0); });
    auto* splash = add(new Scripted<Gui::CSplashScreen>(CRect(0, 0, 10, 10), &listener, 9, picture,
                                                        CRect(100, 100, 120, 120), CPoint(0, 0)));
    picture->forget();
    return splash;
  }
};

TEST_F(SplashTest, AClickOpensThePictureAsModalViewAndAClickOnItClosesIt) {
  auto* splash = makeSplash();
  splash->play(windowContext(), {{{5, 5}, kHeld}});
  EXPECT_EQ(1.f, splash->getValue());
  Gui::CView* picture = frame->getModalView();
  ASSERT_NE(nullptr, picture);
  EXPECT_EQ(RGB(255, 0, 0), shown(*picture, 105, 105));

  CPoint where(105, 105);
  setInputState(kHeld);
  picture->mouse(windowContext(), where, -1);
  setInputState(0);
  EXPECT_EQ(nullptr, frame->getModalView());
  EXPECT_EQ(0.f, splash->getValue());
  EXPECT_EQ((std::vector<float>{1.f, 0.f}), listener.values());
}

TEST_F(SplashTest, AFrameThatRefusesThePictureLeavesTheValueWithoutNotification) {
  auto* splash = makeSplash();
  auto* other = new Gui::CSplashScreen(CRect(0, 0, 1, 1), nullptr, 0, nullptr, CRect(0, 0, 1, 1), CPoint());
  ASSERT_TRUE(frame->setModalView(other));
  splash->play(windowContext(), {{{5, 5}, kHeld}});
  EXPECT_EQ(1.f, splash->getValue());
  EXPECT_TRUE(listener.notifications.empty());
  splash->play(windowContext(), {{{5, 5}, kHeld}});
  EXPECT_EQ(0.f, splash->getValue());
  EXPECT_EQ(other, frame->getModalView());
  frame->setModalView(nullptr);
  other->forget();
}

// The open picture belongs to the frame alone: removing it by any road frees it once (a reference
// kept by the test shows it alive) and closes the frame's modal view.
TEST_F(SplashTest, RemovingTheOpenPictureClosesTheModalViewAndFreesItOnce) {
  for (const int road : {0, 1, 2}) {
    auto* splash = makeSplash();
    splash->play(windowContext(), {{{5, 5}, kHeld}});
    Gui::CView* picture = frame->getModalView();
    ASSERT_NE(nullptr, picture) << road;
    picture->remember();
    switch (road) {
      case 0:
        frame->removeView(picture, true);
        break;
      case 1:
        frame->removeView(picture, false);
        break;
      default:
        frame->removeAll(true);
        break;
    }
    EXPECT_EQ(nullptr, frame->getModalView()) << road;
    EXPECT_FALSE(frame->isChild(picture)) << road;
    EXPECT_EQ(1, picture->getNbReference()) << road;
    picture->forget();
    frame->removeAll(true);
  }
}

TEST_F(SplashTest, HitTestWantsTheLeftButton) {
  auto* splash = makeSplash();
  EXPECT_TRUE(splash->hitTest(CPoint(10, 10), Gui::kLButton));
  EXPECT_FALSE(splash->hitTest(CPoint(5, 5), Gui::kRButton));
  EXPECT_FALSE(splash->hitTest(CPoint(11, 5), Gui::kLButton));
}

TEST_F(SplashTest, TransparencyChoosesCopyMaskOrBlend) {
  // White is the transparent colour: a picture of white with a red middle over a blue background.
  auto* picture =
      makeBitmap(*frame, 20, 20, [](long x, long) { return x < 10 ? RGB(255, 255, 255) : RGB(255, 0, 0); });
  Gui::CSplashScreen splash(CRect(0, 0, 10, 10), nullptr, 0, picture, CRect(0, 0, 20, 20), CPoint(0, 0));
  picture->forget();
  splash.setValue(1.f);
  struct Case {
    int alpha;
    COLORREF white;
    COLORREF red;
  };
  const Case cases[] = {{255, RGB(255, 255, 255), RGB(255, 0, 0)}, {0, RGB(0, 0, 255), RGB(255, 0, 0)}};
  for (const auto& c : cases) {
    splash.setBitmapTransparency(static_cast<unsigned char>(c.alpha));
    EXPECT_EQ(c.alpha != 255, splash.getTransparency());
    Gui::COffscreenContext context(frame, 20, 20, Gui::kBlueCColor);
    splash.draw(&context);
    EXPECT_EQ(c.white, pixelAt(context, 5, 5)) << c.alpha;
    EXPECT_EQ(c.red, pixelAt(context, 15, 5)) << c.alpha;
  }
  splash.setBitmapTransparency(128);
  Gui::COffscreenContext context(frame, 20, 20, Gui::kBlueCColor);
  splash.draw(&context);
  const COLORREF blended = pixelAt(context, 15, 5);
  EXPECT_NEAR(128, GetRValue(blended), 3);
  EXPECT_NEAR(127, GetBValue(blended), 3);
}

}  // namespace
