// The editor base: keys, wheel, edit gestures, knob mode, paced idle and resizing through the host.
#include "plugin/framework/EffectFlags.h"
#include "plugin/gui/TickCount.h"
#include "plugin/gui/tests/GuiTestSupport.h"
#include "plugin/gui/tests/TestEditor.h"

#include <gtest/gtest.h>
#include <ole2.h>

#include <thread>

namespace {

using namespace Gui;
using GuiTest::RecordingHost;
using GuiTest::RecordingView;
using GuiTest::TestEditor;
using GuiTest::TestEffect;

// An effect that owns its editor, opened in a parent window of the editor's size.
class EditorTest : public testing::Test {
 protected:
  EditorTest() : editor(new TestEditor(&effect)) {}
  ~EditorTest() override { editor->close(); }

  void open() { editor->open(parent.handle()); }
  RecordingView* addView(const CRect& size) {
    auto* view = new RecordingView(size);
    editor->getFrame()->addView(view);
    return view;
  }

  RecordingHost host;
  TestEffect effect{&RecordingHost::callback};
  TestEditor* editor;  // owned by the effect
  GuiTest::ParentWindow parent{200, 100};
};

TEST_F(EditorTest, RegistersWithTheEffectAndHandsOutItsRectangle) {
  EXPECT_EQ(effect.getEditor(), editor);
  EXPECT_NE(effect.getAeffect()->flags & effFlagsHasEditor, 0);
  ERect* rect = nullptr;
  EXPECT_TRUE(editor->getRect(&rect));
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right, 200);
  EXPECT_EQ(rect->bottom, 100);
}

TEST_F(EditorTest, KeysAndWheelBeforeOpenAndAfterCloseAnswerFalse) {
  VstKeyCode key{'a', 0, 0};
  for (int pass = 0; pass < 2; ++pass) {
    EXPECT_FALSE(editor->onKeyDown(key));
    EXPECT_FALSE(editor->onKeyUp(key));
    EXPECT_FALSE(editor->onWheel(1.0f));
    editor->idle();
    open();
    editor->close();
  }
  EXPECT_EQ(editor->getFrame(), nullptr);
}

TEST_F(EditorTest, OnlyAFrameAnswerOfOneTakesAKey) {
  open();
  RecordingView* view = addView(CRect(0, 0, 10, 10));
  editor->getFrame()->setFocusView(view);
  VstKeyCode key{'a', 0, 0};
  struct Case {
    long answer;
    bool taken;
  };
  for (const Case c : {Case{1, true}, Case{0, false}, Case{-1, false}, Case{2, false}}) {
    view->keyAnswer = c.answer;
    EXPECT_EQ(editor->onKeyDown(key), c.taken) << c.answer;
  }
}

TEST_F(EditorTest, TabMovesTheFocusAndShiftTabMovesItBack) {
  open();
  RecordingView* a = addView(CRect(0, 0, 10, 10));
  RecordingView* b = addView(CRect(10, 0, 20, 10));
  a->setWantsFocus(true);
  b->setWantsFocus(true);
  VstKeyCode tab{0, 2, 0};
  EXPECT_TRUE(editor->onKeyDown(tab));
  EXPECT_EQ(editor->getFrame()->getFocusView(), a);
  EXPECT_TRUE(editor->onKeyDown(tab));
  EXPECT_EQ(editor->getFrame()->getFocusView(), b);
  VstKeyCode shiftTab{0, 2, MODIFIER_SHIFT};
  EXPECT_TRUE(editor->onKeyDown(shiftTab));
  EXPECT_EQ(editor->getFrame()->getFocusView(), a);
}

TEST_F(EditorTest, WheelReachesTheViewUnderTheCursor) {
  open();
  RecordingView* view = addView(CRect(50, 20, 150, 80));
  RECT parentRect;
  GetWindowRect(parent.handle(), &parentRect);
  SetCursorPos(parentRect.left + 60, parentRect.top + 30);
  EXPECT_TRUE(editor->onWheel(-1.5f));
  EXPECT_EQ(view->wheels, std::vector<float>{-1.5f});
  SetCursorPos(parentRect.left + 5, parentRect.top + 5);
  EXPECT_FALSE(editor->onWheel(1.0f));
}

TEST_F(EditorTest, EditGesturesReachTheHost) {
  open();
  editor->getFrame()->beginEdit(7);
  editor->getFrame()->endEdit(7);
  ASSERT_EQ(host.count(audioMasterBeginEdit), 1);
  ASSERT_EQ(host.count(audioMasterEndEdit), 1);
  for (const auto& call : host.calls) {
    if (call.opcode == audioMasterBeginEdit || call.opcode == audioMasterEndEdit) {
      EXPECT_EQ(call.index, 7);
    }
  }
}

TEST_F(EditorTest, KnobModeIsSharedByEveryEditor) {
  TestEffect other{&RecordingHost::callback};
  auto* second = new TestEditor(&other);
  EXPECT_TRUE(editor->setKnobMode(2));
  open();
  EXPECT_EQ(editor->getFrame()->getKnobMode(), 2);
  second->setKnobMode(0);
  EXPECT_EQ(editor->getFrame()->getKnobMode(), 0);
  EXPECT_EQ(AEffGUIEditor::getKnobMode(), 0);
}

TEST_F(EditorTest, PacedIdleRunsEveryTimeAfterAShortWaitAndCallsTheHost) {
  open();
  constexpr int kRuns = 6;
  const DWORD start = GetTickCount();
  for (int i = 0; i < kRuns; ++i) editor->doIdleStuff();
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_EQ(editor->idles, kRuns);
  EXPECT_EQ(host.count(audioMasterIdle), kRuns);
  EXPECT_GE(elapsed, static_cast<DWORD>(4 * (kRuns - 1) - 2));  // each early run waits about 4 ms
}

TEST(TickCount, DueTicksAreReachedAcrossTheWrapOfTheCounter) {
  struct Case {
    unsigned long now, due;
    bool reached;
  };
  const Case cases[] = {
      {100, 100, true},          {101, 100, true},      {99, 100, false},
      {0x10, 0xFFFFFFF0, true},   // due just before the wrap, now just after it
      {0xFFFFFFF0, 0x10, false},  // due just after the wrap
      {0x7FFFFFFF, 0, true},     {0x80000000, 1, true}, {1, 0x80000000, false},
  };
  for (const Case& c : cases) EXPECT_EQ(Gui::tickReached(c.now, c.due), c.reached) << c.now << " " << c.due;
}

// The next run was due just before the tick counter wrapped: it runs at once instead of weeks later.
TEST_F(EditorTest, PacedIdleRunsWhenTheTickCounterWrappedSinceItsLastRun) {
  open();
  editor->setNextIdleTick(GetTickCount() + 0x80000010u);
  editor->doIdleStuff();
  EXPECT_EQ(editor->idles, 1);
  EXPECT_EQ(host.count(audioMasterIdle), 1);
}

// OLE is counted per thread: an editor or frame destroyed on another thread than the one that made it
// must not take that thread's own use of OLE away.
TEST(OleBalance, DestroyedOnAnotherThreadLeavesThatThreadsOleAlone) {
  for (const bool frameOnly : {false, true}) {
    RecordingHost host;
    auto* effect = new TestEffect(&RecordingHost::callback);
    Gui::CFrame* frame = nullptr;
    std::thread([&] {
      if (frameOnly) {
        frame = new Gui::CFrame(CRect(0, 0, 10, 10), "", nullptr);
      } else {
        new TestEditor(effect);  // owned by the effect
      }
    }).join();
    HRESULT again = E_FAIL;
    std::thread([&] {
      const HRESULT own = OleInitialize(nullptr);
      ASSERT_EQ(own, S_OK);
      if (frameOnly) {
        delete frame;
      } else {
        delete effect;
      }
      again = OleInitialize(nullptr);  // S_FALSE while the thread's own use still stands
      OleUninitialize();
      OleUninitialize();
    }).join();
    if (frameOnly) delete effect;
    EXPECT_EQ(again, S_FALSE) << (frameOnly ? "frame" : "editor");
  }
}

TEST_F(EditorTest, HostIdleInsideThePacedIdleDoesNotRedrawTheFrame) {
  open();
  RecordingView* view = addView(CRect(0, 0, 20, 20));
  UpdateWindow(editor->getFrame()->getWindowHandle());  // the first paint
  int drawsInside = -1;
  int idlesInside = -1;
  host.onIdle = [&] {
    view->setDirty(true);
    const int before = view->draws;
    const int idlesBefore = editor->idles;
    editor->idle();
    drawsInside = view->draws - before;
    idlesInside = editor->idles - idlesBefore;
  };
  editor->doIdleStuff();
  EXPECT_EQ(idlesInside, 1);
  EXPECT_EQ(drawsInside, 0);
  host.onIdle = nullptr;
  const int before = view->draws;
  editor->idle();
  EXPECT_EQ(view->draws, before + 1);
}

TEST_F(EditorTest, SetSizeAsksTheHostFirst) {
  host.canSizeWindow = true;
  host.acceptsSize = true;
  open();
  CFrame* frame = editor->getFrame();
  EXPECT_FALSE(frame->setSize(200, 100));
  EXPECT_EQ(host.count(audioMasterCanDo), 0);
  EXPECT_TRUE(frame->setSize(240, 120));
  ASSERT_EQ(host.count(audioMasterSizeWindow), 1);
  for (const auto& call : host.calls) {
    if (call.opcode == audioMasterSizeWindow) {
      EXPECT_EQ(call.index, 240);
      EXPECT_EQ(call.value, 120);
    }
  }
  CRect size;
  EXPECT_EQ(frame->getViewSize(size), CRect(0, 0, 240, 120));
  RECT windowRect;
  GetWindowRect(frame->getWindowHandle(), &windowRect);
  EXPECT_EQ(windowRect.right - windowRect.left, 240);
  EXPECT_EQ(windowRect.bottom - windowRect.top, 120);
  EXPECT_TRUE(frame->isDirty());
}

TEST_F(EditorTest, SetSizeWithoutTheHostResizesTheWindowChain) {
  open();
  CFrame* frame = editor->getFrame();
  EXPECT_TRUE(frame->setSize(150, 90));
  EXPECT_EQ(host.count(audioMasterCanDo), 1);
  EXPECT_EQ(host.count(audioMasterSizeWindow), 0);
  RECT frameRect;
  RECT parentRect;
  GetWindowRect(frame->getWindowHandle(), &frameRect);
  GetWindowRect(parent.handle(), &parentRect);
  EXPECT_EQ(frameRect.right - frameRect.left, 150);
  EXPECT_EQ(parentRect.right - parentRect.left, 150);
  EXPECT_EQ(parentRect.bottom - parentRect.top, 90);
  CRect size;
  EXPECT_EQ(frame->getViewSize(size), CRect(0, 0, 150, 90));
  // The frame is drawn whole at its new size.
  UpdateWindow(frame->getWindowHandle());
  RecordingView* corner = addView(CRect(140, 80, 150, 90));
  frame->draw(static_cast<CView*>(nullptr));
  EXPECT_GE(corner->draws, 1);
  EXPECT_EQ(GuiTest::windowPixel(frame->getWindowHandle(), 145, 85), (GuiTest::Rgb{255, 0, 0}));
}

TEST_F(EditorTest, DestroyingTheParentWindowClosesTheFrame) {
  GuiTest::ParentWindow own(200, 100, 50, 40, GuiTest::ParentWindow::kOwn);
  editor->open(own.handle());
  CFrame* frame = editor->getFrame();
  EXPECT_TRUE(frame->isOpen());
  DestroyWindow(own.handle());
  EXPECT_FALSE(frame->isOpen());
  EXPECT_EQ(frame->getSystemWindow(), nullptr);
  EXPECT_FALSE(frame->setSize(10, 10));
}

}  // namespace
