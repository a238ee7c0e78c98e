// View containers: children, hit testing, focus walks and drawing through the cached image.
#include "plugin/gui/CBitmap.h"
#include "plugin/gui/COffscreenContext.h"
#include "plugin/gui/CViewContainer.h"
#include "plugin/gui/tests/GuiTestSupport.h"
#include "plugin/gui/tests/TestImages.h"

#include <gtest/gtest.h>

namespace {

using namespace Gui;
using GuiTest::pixelOf;
using GuiTest::RecordingView;
using GuiTest::Rgb;

constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kRed{255, 0, 0};

// A frame in a parent window; views are handed over with the creator's reference.
class ContainerTest : public testing::Test {
 protected:
  ~ContainerTest() override { delete frame; }

  RecordingView* add(CViewContainer* container, const CRect& size, CColor color = kRedCColor) {
    auto* view = new RecordingView(size, color);
    container->addView(view);
    return view;
  }
  void click(long x, long y) {
    CDrawContext context(frame, nullptr, frame->getWindowHandle());
    CPoint where(x, y);
    frame->mouse(&context, where, kLButton);
  }

  GuiTest::ParentWindow parent{300, 200};
  CFrame* frame = new CFrame(CRect(0, 0, 200, 100), parent.handle(), nullptr);
};

TEST_F(ContainerTest, OnlyTheTopmostEnabledChildUnderAClickReceivesIt) {
  RecordingView* lower = add(frame, CRect(0, 0, 50, 50));
  RecordingView* upper = add(frame, CRect(20, 20, 70, 70));
  struct Case {
    long x, y;
    bool upperEnabled;
    size_t lowerClicks, upperClicks;
  };
  const Case cases[] = {
      {30, 30, true, 0, 1},   // both under the point: the later one
      {30, 30, false, 1, 1},  // the later one ignores the mouse: the earlier one
      {10, 10, true, 2, 1},   // only the earlier one
      {150, 90, true, 2, 1},  // nobody
      {70, 70, true, 2, 2},   // bottom-right edge of the mouseable area
  };
  for (const Case& c : cases) {
    upper->setMouseEnabled(c.upperEnabled);
    click(c.x, c.y);
    EXPECT_EQ(lower->clicks.size(), c.lowerClicks) << c.x << "," << c.y;
    EXPECT_EQ(upper->clicks.size(), c.upperClicks) << c.x << "," << c.y;
  }
  EXPECT_EQ(upper->clickButtons.back(), kLButton);
}

TEST_F(ContainerTest, NestedChildrenGetClicksInTheirContainersCoordinates) {
  auto* inner = new CViewContainer(CRect(100, 10, 200, 90), frame);
  frame->addView(inner);
  RecordingView* child = add(inner, CRect(10, 10, 40, 40));
  click(115, 25);
  ASSERT_EQ(child->clicks.size(), 1u);
  EXPECT_EQ(child->clicks[0], CPoint(15, 15));
  EXPECT_EQ(frame->getViewAt(CPoint(115, 25)), inner);
  EXPECT_EQ(frame->getViewAt(CPoint(115, 25), true), child);
  EXPECT_EQ(frame->getViewAt(CPoint(105, 15), true), nullptr);
  EXPECT_EQ(child->getFrame(), frame);
  EXPECT_EQ(child->getParentView(), inner);
}

TEST_F(ContainerTest, ChildListLookups) {
  RecordingView* first = add(frame, CRect(0, 0, 10, 10));
  RecordingView* second = add(frame, CRect(10, 0, 20, 10));
  EXPECT_EQ(frame->getNbViews(), 2);
  EXPECT_EQ(frame->getView(0), first);
  EXPECT_EQ(frame->getView(1), second);
  EXPECT_EQ(frame->getView(2), nullptr);
  EXPECT_EQ(frame->getView(-1), nullptr);
  EXPECT_TRUE(frame->isChild(second));
  RecordingView stranger(CRect(0, 0, 1, 1));
  EXPECT_FALSE(frame->isChild(&stranger));
  frame->removeView(&stranger);
  EXPECT_EQ(frame->getNbViews(), 2);
  EXPECT_EQ(stranger.getNbReference(), 1);
}

TEST_F(ContainerTest, ContainerHoldsTheCreatorsReferenceAndOneOfItsOwn) {
  bool deletedKept = false;
  bool deletedDropped = false;
  bool deletedShared = false;
  auto* kept = new RecordingView(CRect(0, 0, 10, 10), kRedCColor, &deletedKept);
  auto* dropped = new RecordingView(CRect(0, 0, 10, 10), kRedCColor, &deletedDropped);
  auto* shared = new RecordingView(CRect(0, 0, 10, 10), kRedCColor, &deletedShared);
  frame->addView(kept);
  frame->addView(dropped);
  EXPECT_EQ(kept->getNbReference(), 2);
  frame->removeView(kept, false);
  EXPECT_FALSE(deletedKept);
  EXPECT_EQ(kept->getNbReference(), 1);
  frame->removeView(dropped, true);
  EXPECT_TRUE(deletedDropped);

  frame->addView(kept);
  frame->addView(shared);
  shared->remember();
  delete frame;
  frame = nullptr;
  EXPECT_TRUE(deletedKept);
  EXPECT_FALSE(deletedShared);
  EXPECT_EQ(shared->getNbReference(), 1);
  shared->forget();
  EXPECT_TRUE(deletedShared);
}

TEST_F(ContainerTest, RemovingTheFocusViewClearsTheFramesFocusFirst) {
  RecordingView* view = add(frame, CRect(0, 0, 10, 10));
  frame->setFocusView(view);
  frame->removeView(view, false);
  EXPECT_EQ(frame->getFocusView(), nullptr);
  EXPECT_EQ(view->events, std::vector<std::string>{"looseFocus"});
  EXPECT_EQ(view->getNbReference(), 1);
  view->forget();
}

TEST_F(ContainerTest, FocusWalkDoesNotWrapAround) {
  RecordingView* a = add(frame, CRect(0, 0, 10, 10));
  RecordingView* b = add(frame, CRect(10, 0, 20, 10));
  RecordingView* c = add(frame, CRect(20, 0, 30, 10));
  a->setWantsFocus(true);
  b->setWantsFocus(true);
  EXPECT_TRUE(frame->advanceNextFocusView(nullptr));
  EXPECT_EQ(frame->getFocusView(), a);
  EXPECT_TRUE(frame->advanceNextFocusView(a));
  EXPECT_EQ(frame->getFocusView(), b);
  EXPECT_FALSE(frame->advanceNextFocusView(b));
  EXPECT_EQ(frame->getFocusView(), nullptr);
  EXPECT_TRUE(frame->advanceNextFocusView(c, true));
  EXPECT_EQ(frame->getFocusView(), b);
}

TEST_F(ContainerTest, FocusWalkEntersAndLeavesNestedContainers) {
  auto* inner = new CViewContainer(CRect(50, 0, 100, 50), frame);
  RecordingView* first = add(frame, CRect(0, 0, 10, 10));
  frame->addView(inner);
  RecordingView* nested = add(inner, CRect(0, 0, 10, 10));
  RecordingView* last = add(frame, CRect(150, 0, 160, 10));
  for (RecordingView* view : {first, nested, last}) view->setWantsFocus(true);
  frame->setFocusView(first);
  EXPECT_TRUE(frame->advanceNextFocusView(nullptr));
  EXPECT_EQ(frame->getFocusView(), nested);
  EXPECT_TRUE(frame->advanceNextFocusView(nullptr));
  EXPECT_EQ(frame->getFocusView(), last);
}

TEST_F(ContainerTest, KeysGoToTheChildrenFromTheLastUntilOneTakesThem) {
  RecordingView* first = add(frame, CRect(0, 0, 10, 10));
  RecordingView* second = add(frame, CRect(0, 0, 10, 10));
  VstKeyCode key{'x', 0, 0};
  auto* container = static_cast<CViewContainer*>(frame);
  EXPECT_EQ(container->CViewContainer::onKeyDown(key), -1);
  first->keyAnswer = 5;
  EXPECT_EQ(container->CViewContainer::onKeyDown(key), 5);
  second->keyAnswer = 0;
  EXPECT_EQ(container->CViewContainer::onKeyDown(key), 0);
}

TEST_F(ContainerTest, WheelGoesToTheChildUnderThePoint) {
  RecordingView* view = add(frame, CRect(10, 10, 30, 30));
  EXPECT_TRUE(frame->onWheel(nullptr, CPoint(20, 20), 2.0f));
  EXPECT_FALSE(frame->onWheel(nullptr, CPoint(100, 80), 1.0f));
  EXPECT_EQ(view->wheels, std::vector<float>{2.0f});
}

TEST_F(ContainerTest, MouseLocationOfANestedViewIsInItsContainersCoordinates) {
  auto* inner = new CViewContainer(CRect(10, 20, 110, 90), frame);
  frame->addView(inner);
  RecordingView* child = add(inner, CRect(0, 0, 10, 10));
  RECT windowRect;
  GetWindowRect(frame->getWindowHandle(), &windowRect);
  SetCursorPos(windowRect.left + 50, windowRect.top + 60);
  CDrawContext context(frame, nullptr, frame->getWindowHandle());
  CPoint inFrame;
  frame->getMouseLocation(&context, inFrame);
  CPoint inContainer;
  child->getMouseLocation(&context, inContainer);
  EXPECT_EQ(inFrame, CPoint(50, 60));
  EXPECT_EQ(inContainer, CPoint(40, 40));
  EXPECT_EQ(context.offsetScreen, CPoint(windowRect.left, windowRect.top));
  CPoint current;
  frame->getCurrentLocation(current);
  EXPECT_EQ(current, CPoint(50, 60));
}

// Draws a container straight into an image (no cached image of its own) over a green ground.
class ContainerDrawing : public testing::Test {
 protected:
  ContainerDrawing() { container.useOffscreen(false); }

  COffscreenContext image{nullptr, 60, 40, kGreenCColor};
  CViewContainer container{CRect(10, 10, 50, 30), nullptr};
};

TEST_F(ContainerDrawing, BackgroundColourFillsTheWholeAreaAndChildrenDrawOnTop) {
  container.setDirty(false);
  container.setBackgroundColor(kBlueCColor);
  EXPECT_TRUE(container.isDirty());
  auto* child = new RecordingView(CRect(5, 5, 10, 10));
  container.addView(child);
  container.draw(&image);
  EXPECT_FALSE(container.isDirty());
  EXPECT_EQ(pixelOf(image, 10, 10), kBlue);
  EXPECT_EQ(pixelOf(image, 49, 29), kBlue);
  EXPECT_EQ(pixelOf(image, 50, 30), kGreen);
  EXPECT_EQ(pixelOf(image, 15, 15), kRed);
  EXPECT_EQ(pixelOf(image, 19, 19), kRed);
  EXPECT_EQ(pixelOf(image, 20, 20), kBlue);
  EXPECT_EQ(image.offset, CPoint(0, 0));
}

TEST_F(ContainerDrawing, BackgroundBitmapHidesTheColourAndTransparencyDrawsNothing) {
  auto* bitmap = new CBitmap(kGreyImage);
  container.setBackground(bitmap);
  bitmap->forget();
  container.setBackgroundColor(kBlueCColor);
  container.draw(&image);
  EXPECT_EQ(pixelOf(image, 10, 10), (Rgb{100, 100, 100}));
  EXPECT_EQ(pixelOf(image, 49, 29), kGreen);  // beyond the 16-pixel picture nothing is drawn

  COffscreenContext clear(nullptr, 60, 40, kGreenCColor);
  container.setBackground(nullptr);
  container.setTransparency(true);
  container.draw(&clear);
  EXPECT_EQ(pixelOf(clear, 10, 10), kGreen);
  EXPECT_EQ(pixelOf(clear, 30, 20), kGreen);
}

TEST_F(ContainerDrawing, ChildDrawnInPartStaysDirtyUntilDrawnWhole) {
  container.useOffscreen(true);
  RecordingView* child = new RecordingView(CRect(20, 5, 35, 15));
  container.addView(child);
  EXPECT_TRUE(child->isDirty());
  container.drawRect(&image, CRect(10, 10, 35, 30));  // covers the child's left part only
  EXPECT_TRUE(child->isDirty());
  EXPECT_EQ(child->draws, 1);
  EXPECT_EQ(pixelOf(image, 31, 16), kRed);
  EXPECT_EQ(pixelOf(image, 36, 16), kGreen);  // outside the update: not copied out
  container.drawRect(&image, CRect(10, 10, 50, 30));
  EXPECT_FALSE(child->isDirty());
  EXPECT_EQ(pixelOf(image, 40, 16), kRed);
  EXPECT_EQ(pixelOf(image, 12, 12), (Rgb{0, 0, 0}));  // the default black background
}

TEST_F(ContainerDrawing, DirtinessCountsOnlyChildrenInsideTheContainer) {
  RecordingView* outside = new RecordingView(CRect(100, 100, 110, 110));
  container.addView(outside);
  container.draw(&image);
  outside->setDirty(true);
  EXPECT_FALSE(container.isDirty());
  RecordingView* inside = new RecordingView(CRect(0, 0, 5, 5));
  container.addView(inside);
  EXPECT_TRUE(container.isDirty());
}

}  // namespace
