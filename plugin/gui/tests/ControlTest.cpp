// The control base: the dirty rule, default values, ranges, double clicks and edit gestures.
#include "plugin/gui/tests/GuiTestSupport.h"
#include "plugin/gui/tests/TestEditor.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace Gui;
using GuiTest::TestControl;

// Records what the controls report.
class RecordingListener : public CControlListener {
 public:
  void valueChanged(CDrawContext* context, CControl* control) override {
    changes.push_back(control->getValue());
    contexts.push_back(context);
  }
  long controlModifierClicked(CDrawContext*, CControl*, long buttons) override {
    modifierClicks.push_back(buttons);
    return modifierAnswer;
  }
  std::vector<float> changes;
  std::vector<CDrawContext*> contexts;
  std::vector<long> modifierClicks;
  long modifierAnswer = 0;
};

// A listener that keeps the interface's default for modifier clicks.
class ValueOnlyListener : public CControlListener {
 public:
  void valueChanged(CDrawContext*, CControl*) override {}
};

TEST(CControl, StartsDirtyWithItsDefaults) {
  TestControl control(CRect(0, 0, 10, 10), nullptr, 3);
  EXPECT_TRUE(control.isDirty());
  EXPECT_EQ(control.getOldValue(), 1.0f);
  EXPECT_EQ(control.getValue(), 0.0f);
  EXPECT_EQ(control.getDefaultValue(), 0.5f);
  EXPECT_EQ(control.getMin(), 0.0f);
  EXPECT_EQ(control.getMax(), 1.0f);
  EXPECT_FLOAT_EQ(control.getWheelInc(), 0.1f);
  EXPECT_EQ(control.getTag(), 3);
  EXPECT_TRUE(control.getMouseEnabled());
  EXPECT_FALSE(control.getTransparency());
  EXPECT_TRUE(control.isTypeOf("CControl"));
  EXPECT_TRUE(control.isTypeOf("CView"));
  EXPECT_FALSE(control.isTypeOf("CViewContainer"));
  control.doIdleStuff();  // no frame: nothing happens
}

TEST(CControl, DirtyRuleComparesTheValueWithTheOneDrawnLast) {
  struct Case {
    float value;
    bool flag;
    float oldValue;
  };
  const Case cases[] = {{-1.0f, true, 0.0f}, {0.25f, true, -1.0f}, {0.0f, true, -1.0f}, {0.7f, false, 0.7f}};
  for (const Case& c : cases) {
    TestControl control(CRect(0, 0, 10, 10), nullptr, 0);
    control.setValue(c.value);
    control.setDirty(c.flag);
    EXPECT_EQ(control.getOldValue(), c.oldValue) << c.value;
    EXPECT_TRUE(control.isDirty() || !c.flag);
  }
  TestControl control(CRect(0, 0, 10, 10), nullptr, 0);
  control.setDirty(false);
  EXPECT_FALSE(control.isDirty());
  control.setValue(0.3f);
  EXPECT_TRUE(control.isDirty());
  control.setValue(std::nanf(""));
  control.setDirty(false);
  EXPECT_TRUE(control.isDirty());
}

TEST(CControl, BounceValueClampsIntoTheRange) {
  struct Case {
    float value, expected;
  };
  for (const Case c : {Case{1.5f, 1.0f}, Case{-0.5f, 0.0f}, Case{0.4f, 0.4f}, Case{1.0f, 1.0f}}) {
    TestControl control(CRect(0, 0, 10, 10), nullptr, 0);
    control.setValue(c.value);
    control.bounceValue();
    EXPECT_EQ(control.getValue(), c.expected) << c.value;
  }
}

TEST(CControl, BackOffsetCanBeTheControlsCorner) {
  TestControl control(CRect(12, 34, 50, 60), nullptr, 0);
  control.setBackOffset(CPoint(1, 2));
  EXPECT_EQ(control.getBackOffset(), CPoint(1, 2));
  control.copyBackOffset();
  EXPECT_EQ(control.getBackOffset(), CPoint(12, 34));
}

TEST(CControlListener, ModifierClicksAreNotHandledByDefault) {
  ValueOnlyListener listener;
  TestControl control(CRect(0, 0, 10, 10), &listener, 0);
  EXPECT_EQ(listener.controlModifierClicked(nullptr, &control, kLButton | kShift), 0);
}

// Controls in an open editor, so that edit gestures and ticks reach the host.
class ControlInEditor : public testing::Test {
 protected:
  ControlInEditor() : editor(new GuiTest::TestEditor(&effect)) {
    editor->open(parent.handle());
    control = new TestControl(CRect(0, 0, 20, 20), &listener, 9);
    editor->getFrame()->addView(control);
  }
  ~ControlInEditor() override { editor->close(); }

  GuiTest::RecordingHost host;
  GuiTest::TestEffect effect{&GuiTest::RecordingHost::callback};
  GuiTest::TestEditor* editor;
  GuiTest::ParentWindow parent{200, 100};
  RecordingListener listener;
  TestControl* control;
};

TEST_F(ControlInEditor, CtrlLeftClickAloneSetsTheDefaultValueOnce) {
  control->setDefaultValue(0.75f);
  struct Case {
    long buttons;
    bool taken;
  };
  const Case cases[] = {{kLButton | kControl | kShift, false},
                        {kControl, false},
                        {kLButton, false},
                        {kLButton | kControl, true}};
  for (const Case& c : cases) EXPECT_EQ(control->checkDefaultValue(nullptr, c.buttons), c.taken) << c.buttons;
  EXPECT_EQ(control->getValue(), 0.75f);
  EXPECT_EQ(listener.changes, std::vector<float>{0.75f});
  EXPECT_EQ(host.count(audioMasterBeginEdit), 1);
  EXPECT_EQ(host.count(audioMasterEndEdit), 1);
  EXPECT_EQ(editor->getFrame()->getFocusView(), control);
}

TEST_F(ControlInEditor, DefaultValueAlreadyShownNotifiesNobody) {
  control->setValue(0.5f);
  control->setDirty(false);
  EXPECT_TRUE(control->checkDefaultValue(nullptr, kLButton | kControl));
  EXPECT_TRUE(listener.changes.empty());
}

TEST_F(ControlInEditor, EditGesturesCarryTheTag) {
  control->beginEdit();
  control->endEdit();
  for (const auto& call : host.calls) {
    if (call.opcode == audioMasterBeginEdit || call.opcode == audioMasterEndEdit) {
      EXPECT_EQ(call.index, 9);
    }
  }
  EXPECT_EQ(host.count(audioMasterBeginEdit), 1);
}

TEST_F(ControlInEditor, SecondOfTwoQuickClicksIsADoubleClickAndDisarmsTheTest) {
  EXPECT_FALSE(control->isDoubleClick());
  EXPECT_TRUE(control->isDoubleClick());
  EXPECT_FALSE(control->isDoubleClick());
  EXPECT_TRUE(control->isDoubleClick());
}

TEST_F(ControlInEditor, DoubleClickIntervalIsAtLeastAQuarterSecond) {
  const UINT saved = GetDoubleClickTime();
  SetDoubleClickTime(50);
  auto* quick = new TestControl(CRect(0, 0, 5, 5), &listener, 1);
  editor->getFrame()->addView(quick);
  SetDoubleClickTime(saved);
  EXPECT_FALSE(quick->isDoubleClick());
  Sleep(120);
  EXPECT_TRUE(quick->isDoubleClick());
}

TEST_F(ControlInEditor, NewControlIsDrawnAtTheFirstIdlePass) {
  UpdateWindow(editor->getFrame()->getWindowHandle());
  auto* fresh = new TestControl(CRect(30, 0, 40, 10), &listener, 2);
  editor->getFrame()->addView(fresh);
  fresh->setValue(0.2f);
  const int before = fresh->draws;
  editor->idle();
  EXPECT_EQ(fresh->draws, before + 1);
  EXPECT_FALSE(fresh->isDirty());
  fresh->setValue(0.2f);
  editor->idle();
  EXPECT_EQ(fresh->draws, before + 1);
  fresh->setValue(0.4f);
  editor->idle();
  EXPECT_EQ(fresh->draws, before + 2);
}

}  // namespace
