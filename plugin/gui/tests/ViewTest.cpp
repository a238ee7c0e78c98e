// Geometry records, reference counting and the view base.
#include "plugin/gui/CFrame.h"
#include "plugin/gui/CView.h"
#include "plugin/gui/CViewContainer.h"
#include "plugin/gui/tests/GuiTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace Gui;
using GuiTest::RecordingView;

TEST(CRect, BoundMakesAnEmptyIntersectionZeroSized) {
  struct Case {
    CRect a, b, expected;
  };
  const Case cases[] = {
      {{0, 0, 10, 10}, {5, 5, 20, 20}, {5, 5, 10, 10}},
      {{0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}},
      {{0, 0, 10, 10}, {20, 30, 40, 50}, {20, 30, 20, 30}},
      {{0, 0, 10, 10}, {-5, -5, 0, 0}, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    CRect result = c.a;
    result.bound(c.b);
    EXPECT_EQ(result, c.expected) << c.b.left << "," << c.b.top;
  }
}

TEST(CRect, PointInsideLeavesRightAndBottomEdgesOutOverlapCountsTouching) {
  const CRect r(10, 10, 20, 20);
  EXPECT_TRUE(r.pointInside(CPoint(10, 10)));
  EXPECT_TRUE(r.pointInside(CPoint(19, 19)));
  EXPECT_FALSE(r.pointInside(CPoint(20, 15)));
  EXPECT_FALSE(r.pointInside(CPoint(15, 20)));
  EXPECT_TRUE(r.rectOverlap(CRect(20, 20, 30, 30)));
  EXPECT_TRUE(r.rectOverlap(CRect(0, 0, 10, 10)));
  EXPECT_FALSE(r.rectOverlap(CRect(21, 0, 30, 30)));
  EXPECT_TRUE(CRect(5, 5, 5, 9).isEmpty());
  EXPECT_FALSE(r.isEmpty());
}

TEST(CColor, EqualityUsesAlphaAndGdiValueDropsIt) {
  EXPECT_NE(kTransparentCColor, kWhiteCColor);
  EXPECT_EQ(toWindowsColor(kTransparentCColor), toWindowsColor(kWhiteCColor));
  EXPECT_EQ(toWindowsColor(CColor{1, 2, 3, 4}), 0x030201u);
}

TEST(CReferenceCounter, LastForgetDeletes) {
  bool deleted = false;
  auto* view = new RecordingView(CRect(0, 0, 5, 5), kRedCColor, &deleted);
  view->remember();
  view->forget();
  EXPECT_FALSE(deleted);
  EXPECT_EQ(view->getNbReference(), 1);
  view->forget();
  EXPECT_TRUE(deleted);
}

TEST(CView, MouseableAreaIncludesItsRightAndBottomEdges) {
  CView view(CRect(10, 10, 20, 20));
  EXPECT_TRUE(view.hitTest(CPoint(20, 20)));
  EXPECT_TRUE(view.hitTest(CPoint(10, 10)));
  EXPECT_FALSE(view.hitTest(CPoint(21, 15)));
  EXPECT_FALSE(view.hitTest(CPoint(9, 15)));
  EXPECT_TRUE(view.checkUpdate(CRect(20, 20, 30, 30)));
  EXPECT_FALSE(view.checkUpdate(CRect(21, 21, 30, 30)));
}

TEST(CView, SetViewSizeLeavesTheMouseableAreaAndFlagsDirty) {
  CView view(CRect(0, 0, 10, 10));
  view.setViewSize(CRect(50, 50, 60, 60));
  CRect area;
  CRect size;
  EXPECT_EQ(view.getMouseableArea(area), CRect(0, 0, 10, 10));
  EXPECT_EQ(view.getViewSize(size), CRect(50, 50, 60, 60));
  EXPECT_TRUE(view.isDirty());
  EXPECT_TRUE(view.hitTest(CPoint(5, 5)));
  EXPECT_FALSE(view.hitTest(CPoint(55, 55)));
}

TEST(CView, TypeNamesFollowTheClassChain) {
  CView view(CRect(0, 0, 1, 1));
  CViewContainer container(CRect(0, 0, 1, 1), nullptr);
  CFrame frame(CRect(0, 0, 1, 1), "", nullptr);
  struct Case {
    const CView* view;
    const char* name;
    bool expected;
  };
  const Case cases[] = {
      {&view, "CView", true},      {&view, "CViewContainer", false},     {&view, "CFrame", false},
      {&container, "CView", true}, {&container, "CViewContainer", true}, {&container, "CFrame", false},
      {&frame, "CView", true},     {&frame, "CViewContainer", true},     {&frame, "CFrame", true},
      {&frame, "cframe", false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.view->isTypeOf(c.name), c.expected) << c.name;
  EXPECT_EQ(view.notify(nullptr, kMsgCheckIfViewContainer), kMessageUnknown);
  EXPECT_EQ(container.notify(nullptr, kMsgCheckIfViewContainer), kMessageNotified);
  const std::string sameText = "kMsgCheckIfViewContainer";
  EXPECT_EQ(container.notify(nullptr, sameText.c_str()), kMessageUnknown);
}

TEST(CView, DefaultAnswersTakeNothing) {
  CView view(CRect(0, 0, 10, 10));
  VstKeyCode key{'a', 0, 0};
  EXPECT_EQ(view.onKeyDown(key), -1);
  EXPECT_EQ(view.onKeyUp(key), -1);
  EXPECT_FALSE(view.onWheel(nullptr, CPoint(1, 1), 1.0f));
  EXPECT_FALSE(view.onWheel(nullptr, CPoint(1, 1), kMouseWheelAxisX, 1.0f));
  EXPECT_FALSE(view.onDrop(nullptr, nullptr, CPoint(1, 1)));
  EXPECT_EQ(view.getEditor(), nullptr);
}

TEST(CView, DrawWithoutBackgroundOnlyClearsTheDirtyFlag) {
  CView view(CRect(0, 0, 10, 10));
  view.setBackground(nullptr);
  EXPECT_TRUE(view.isDirty());
  view.draw(nullptr);
  EXPECT_FALSE(view.isDirty());
  EXPECT_EQ(view.getBackground(), nullptr);
}

TEST(CView, AttributesKeepBytesByIdAndRefuseGrowth) {
  CView view(CRect(0, 0, 1, 1));
  const int four = 4;
  const short two = 2;
  EXPECT_TRUE(view.setAttribute(7, sizeof(four), &four));
  long size = 0;
  EXPECT_TRUE(view.getAttributeSize(7, size));
  EXPECT_EQ(size, 4);
  EXPECT_FALSE(view.getAttributeSize(8, size));

  int out = 0;
  EXPECT_FALSE(view.getAttribute(7, 2, &out, size));
  EXPECT_TRUE(view.getAttribute(7, sizeof(out), &out, size));
  EXPECT_EQ(out, 4);

  EXPECT_TRUE(view.setAttribute(7, sizeof(two), &two));
  const long long eight = 8;
  EXPECT_FALSE(view.setAttribute(7, sizeof(eight), &eight));
  short shortOut = 0;
  EXPECT_TRUE(view.getAttribute(7, sizeof(shortOut), &shortOut, size));
  EXPECT_EQ(size, 2);
  EXPECT_EQ(shortOut, 2);
}

}  // namespace
