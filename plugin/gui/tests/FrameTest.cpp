// The frame and its window: class sharing, painting, mouse messages, modal and focus views, idle.
#include "plugin/gui/CFocusWindowMessages.h"
#include "plugin/gui/FrameWindowClass.h"
#include "plugin/gui/ToolkitModule.h"
#include "plugin/gui/tests/GuiTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace Gui;
using GuiTest::RecordingView;
using GuiTest::Rgb;
using GuiTest::windowPixel;

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kGreen{0, 255, 0};

// A focus view that draws menu items and colours an edit field, as an option menu and a text edit do.
class NativeWindowView : public RecordingView, public CFocusWindowMessages {
 public:
  NativeWindowView() : RecordingView(CRect(0, 0, 10, 10)) {}
  ~NativeWindowView() override { DeleteObject(brush); }

  bool getMenuItemSize(const char* itemText, CDrawContext* context, CPoint& size) override {
    measured = itemText;
    size = CPoint(context ? 40 : 0, 17);
    return true;
  }
  bool drawMenuItem(const char* itemText, long itemId, long itemState, CDrawContext*,
                    const CRect& rect) override {
    drawn = itemText;
    id = itemId;
    state = itemState;
    itemRect = rect;
    return true;
  }
  HBRUSH colourEditField(HDC) override { return brush; }

  std::string measured;
  std::string drawn;
  long id = -1;
  long state = -1;
  CRect itemRect;
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
};

bool classRegistered() {
  WNDCLASSA info;
  return GetClassInfoA(toolkitModule(), FrameWindowClass::name(), &info) != 0;
}

class FrameTest : public testing::Test {
 protected:
  ~FrameTest() override { delete frame; }

  RecordingView* add(const CRect& size, CColor color = kRedCColor) {
    auto* view = new RecordingView(size, color);
    frame->addView(view);
    return view;
  }
  void paint() {
    InvalidateRect(window(), nullptr, FALSE);
    UpdateWindow(window());
  }
  HWND window() const { return frame->getWindowHandle(); }

  GuiTest::ParentWindow parent{200, 100};
  CFrame* frame = new CFrame(CRect(0, 0, 200, 100), parent.handle(), nullptr);
};

TEST_F(FrameTest, MakesAVisibleChildWindowOfItsSize) {
  ASSERT_NE(window(), nullptr);
  EXPECT_EQ(GetParent(window()), parent.handle());
  char title[32] = {0};
  GetWindowTextA(window(), title, sizeof(title));
  EXPECT_STREQ(title, "Window");
  char className[64] = {0};
  GetClassNameA(window(), className, sizeof(className));
  char expected[64];
  snprintf(expected, sizeof(expected), "Plugin%p", static_cast<void*>(toolkitModule()));
  EXPECT_STREQ(className, expected);
  const LONG style = GetWindowLongA(window(), GWL_STYLE);
  EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS),
            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
  RECT rect;
  GetClientRect(window(), &rect);
  EXPECT_EQ(rect.right, 200);
  EXPECT_EQ(rect.bottom, 100);
  EXPECT_TRUE(frame->isOpen());
  EXPECT_TRUE(frame->isDropActive());
  EXPECT_EQ(frame->getFrame(), frame);
}

TEST_F(FrameTest, TwoFramesShareOneWindowClass) {
  GuiTest::ParentWindow otherParent{100, 100, 300, 300, GuiTest::ParentWindow::kOwn};
  auto* second = new CFrame(CRect(0, 0, 100, 100), otherParent.handle(), nullptr);
  EXPECT_EQ(FrameWindowClass::useCount(), 2);
  delete frame;
  frame = nullptr;
  EXPECT_TRUE(classRegistered());
  delete second;
  EXPECT_EQ(FrameWindowClass::useCount(), 0);
  EXPECT_FALSE(classRegistered());
}

TEST_F(FrameTest, WithoutAParentWindowThereIsNoWindow) {
  CFrame orphan(CRect(0, 0, 10, 10), static_cast<HWND>(nullptr), nullptr);
  EXPECT_EQ(orphan.getWindowHandle(), nullptr);
  EXPECT_FALSE(orphan.setDropActive(true));
  EXPECT_TRUE(orphan.setDropActive(false));
  EXPECT_FALSE(orphan.initFrame(nullptr));
  orphan.idle();
  orphan.draw(static_cast<CView*>(nullptr));
}

TEST_F(FrameTest, PaintDrawsBackgroundAndChildrenIntoTheWindow) {
  frame->setBackgroundColor(kBlueCColor);
  add(CRect(20, 10, 60, 50));
  paint();
  EXPECT_EQ(windowPixel(window(), 20, 10), kRed);
  EXPECT_EQ(windowPixel(window(), 59, 49), kRed);
  EXPECT_EQ(windowPixel(window(), 60, 50), kBlue);
  EXPECT_EQ(windowPixel(window(), 0, 0), kBlue);
  EXPECT_EQ(windowPixel(window(), 199, 99), kBlue);
}

TEST_F(FrameTest, IdleRedrawsOnlyAfterTheFirstPaintAndOnlyDirtyViews) {
  RecordingView* a = add(CRect(0, 0, 10, 10));
  RecordingView* b = add(CRect(20, 0, 30, 10), kGreenCColor);
  frame->idle();
  EXPECT_EQ(a->draws, 0);
  paint();
  EXPECT_EQ(a->draws, 1);
  EXPECT_EQ(b->draws, 1);
  frame->idle();
  EXPECT_EQ(a->draws, 1);
  b->color = kBlueCColor;
  b->setDirty(true);
  frame->idle();
  EXPECT_EQ(a->draws, 1);
  EXPECT_EQ(b->draws, 2);
  EXPECT_FALSE(b->isDirty());
  EXPECT_EQ(windowPixel(window(), 25, 5), kBlue);

  EXPECT_FALSE(frame->setUpdatesDisabled(true));
  b->setDirty(true);
  frame->idle();
  EXPECT_EQ(b->draws, 2);
  EXPECT_TRUE(frame->setUpdatesDisabled(false));
  frame->idle();
  EXPECT_EQ(b->draws, 3);
}

TEST_F(FrameTest, InvalidateFlagsTheChildrenThatOverlapIncludingEdges) {
  RecordingView* a = add(CRect(0, 0, 10, 10));
  RecordingView* b = add(CRect(50, 50, 60, 60));
  paint();
  frame->invalidate(CRect(10, 10, 20, 20));
  EXPECT_TRUE(a->isDirty());
  EXPECT_FALSE(b->isDirty());
}

TEST_F(FrameTest, DrawingOneViewDrawsTheWholeFrameForAStranger) {
  RecordingView* a = add(CRect(0, 0, 10, 10));
  RecordingView* b = add(CRect(20, 0, 30, 10));
  frame->draw(a);
  EXPECT_EQ(a->draws, 1);
  EXPECT_EQ(b->draws, 0);
  RecordingView stranger(CRect(0, 0, 5, 5));
  frame->draw(&stranger);
  EXPECT_EQ(stranger.draws, 0);
  EXPECT_EQ(a->draws, 2);
  EXPECT_EQ(b->draws, 1);
  a->redraw();
  EXPECT_EQ(a->draws, 3);
}

TEST_F(FrameTest, ButtonMessagesReachTheViewUnderThePoint) {
  RecordingView* view = add(CRect(30, 20, 80, 60));
  const UINT messages[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
  for (const UINT message : messages) SendMessageA(window(), message, 0, MAKELPARAM(40, 25));
  SendMessageA(window(), WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
  ASSERT_EQ(view->clicks.size(), 3u);
  EXPECT_EQ(view->clicks[0], CPoint(40, 25));
  EXPECT_EQ(view->clickButtons[0] & (kLButton | kRButton | kMButton), 0);  // read live: nothing is held
}

TEST_F(FrameTest, WheelMessageGoesToTheViewUnderTheCursor) {
  RecordingView* view = add(CRect(0, 0, 200, 100));
  RECT rect;
  GetWindowRect(window(), &rect);
  SetCursorPos(rect.left + 10, rect.top + 10);
  SendMessageA(window(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), 0);
  EXPECT_EQ(view->wheels, std::vector<float>{-2.0f});
}

TEST_F(FrameTest, AClickRemovesTheFocusViewBeforeItIsDispatched) {
  RecordingView* focus = add(CRect(100, 0, 120, 20));
  RecordingView* target = add(CRect(0, 0, 20, 20));
  focus->setWantsFocus(true);
  frame->setFocusView(focus);
  EXPECT_EQ(frame->getFocusView(), focus);
  SendMessageA(window(), WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(frame->getFocusView(), nullptr);
  EXPECT_EQ(focus->events, std::vector<std::string>{"looseFocus"});
  EXPECT_TRUE(focus->isDirty());
  EXPECT_EQ(target->clicks.size(), 1u);
}

TEST_F(FrameTest, SettingTheSameFocusViewAgainKeepsItsFocus) {
  RecordingView* view = add(CRect(0, 0, 20, 20));
  frame->setFocusView(view);
  frame->setFocusView(view);
  EXPECT_TRUE(view->events.empty());
}

TEST_F(FrameTest, ModalViewTakesEveryWheelAndOnlyItsOwnClicks) {
  RecordingView* below = add(CRect(0, 0, 200, 100));
  auto* modal = new RecordingView(CRect(50, 20, 100, 60));
  auto* other = new RecordingView(CRect(0, 0, 10, 10));
  EXPECT_TRUE(frame->setModalView(modal));
  EXPECT_FALSE(frame->setModalView(other));
  EXPECT_EQ(frame->getModalView(), modal);
  EXPECT_TRUE(frame->isChild(modal));
  EXPECT_FALSE(frame->isChild(other));

  SendMessageA(window(), WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
  SendMessageA(window(), WM_LBUTTONDOWN, 0, MAKELPARAM(60, 30));
  EXPECT_TRUE(below->clicks.empty());
  EXPECT_EQ(modal->clicks.size(), 1u);
  EXPECT_TRUE(frame->onWheel(nullptr, CPoint(5, 5), 1.0f));
  EXPECT_EQ(modal->wheels.size(), 1u);
  EXPECT_TRUE(below->wheels.empty());
  EXPECT_EQ(frame->getCurrentView(), modal);
  EXPECT_FALSE(frame->advanceNextFocusView(nullptr));

  EXPECT_TRUE(frame->setModalView(nullptr));
  EXPECT_FALSE(frame->isChild(modal));
  EXPECT_EQ(modal->getNbReference(), 1);
  modal->forget();
  other->forget();
}

TEST_F(FrameTest, OwnerDrawnMenuItemsAndEditColoursGoToTheFocusView) {
  auto* view = new NativeWindowView;
  frame->addView(view);
  char text[] = "Entry";
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemData = reinterpret_cast<ULONG_PTR>(text);
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_MENU;
  draw.itemID = 12;
  draw.itemState = ODS_CHECKED | ODS_SELECTED;
  draw.rcItem = RECT{0, 20, 50, 37};
  draw.hDC = GetDC(window());
  draw.itemData = reinterpret_cast<ULONG_PTR>(text);

  // Without a focus view nothing is asked, and an edit field keeps the system's colours.
  EXPECT_EQ(SendMessageA(window(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), TRUE);
  EXPECT_TRUE(view->measured.empty());
  frame->setFocusView(view);
  EXPECT_EQ(SendMessageA(window(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), TRUE);
  EXPECT_EQ(view->measured, "Entry");
  EXPECT_EQ(measure.itemWidth, 40u);
  EXPECT_EQ(measure.itemHeight, 17u);
  EXPECT_EQ(SendMessageA(window(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)), TRUE);
  EXPECT_EQ(view->drawn, "Entry");
  EXPECT_EQ(view->id, 12);
  EXPECT_EQ(view->state, 1 + 4);
  EXPECT_EQ(view->itemRect, CRect(0, 20, 50, 38));
  EXPECT_EQ(SendMessageA(window(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(draw.hDC), 0),
            reinterpret_cast<LRESULT>(view->brush));
  ReleaseDC(window(), draw.hDC);
}

TEST_F(FrameTest, TabWithoutAFocusableViewLeavesTheKeyUnhandled) {
  add(CRect(0, 0, 10, 10));
  VstKeyCode tab{0, 2, 0};
  EXPECT_EQ(frame->onKeyDown(tab), -1);
  EXPECT_EQ(frame->getFocusView(), nullptr);
  VstKeyCode letter{'a', 0, 0};
  EXPECT_EQ(frame->onKeyUp(letter), -1);
}

TEST_F(FrameTest, CursorTypesAndTheDefaultCursor) {
  const HCURSOR before = GetCursor();
  frame->setCursor(kCursorWait);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
  frame->setCursor(kCursorHand);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
  frame->setCursor(kCursorCopy);
  EXPECT_EQ(GetCursor(), before);
  frame->setCursor(kCursorVSize);
  delete frame;
  frame = nullptr;
  EXPECT_EQ(GetCursor(), before);
}

TEST_F(FrameTest, PositionAndSizeComeFromTheHostsWindows) {
  RECT parentRect;
  GetWindowRect(parent.handle(), &parentRect);
  long x = -1;
  long y = -1;
  EXPECT_TRUE(frame->getPosition(x, y));
  EXPECT_EQ(x, parentRect.left);
  EXPECT_EQ(y, parentRect.top);
  EXPECT_EQ(frame->getOuterWindow(), parent.handle());
  CRect size;
  EXPECT_TRUE(frame->getSize(size));
  EXPECT_EQ(size, CRect(parentRect.left, parentRect.top, parentRect.right, parentRect.bottom));
  EXPECT_FALSE(frame->setPosition(1, 1));
}

TEST_F(FrameTest, DropRegistrationCanBeSwitchedOffAndOn) {
  EXPECT_TRUE(frame->setDropActive(false));
  EXPECT_FALSE(frame->isDropActive());
  EXPECT_TRUE(frame->setDropActive(false));
  EXPECT_TRUE(frame->setDropActive(true));
  EXPECT_TRUE(frame->isDropActive());
}

}  // namespace
