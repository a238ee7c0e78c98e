// The plain editor base.
#include "plugin/framework/AEffEditor.h"
#include "plugin/framework/tests/RecordingEffect.h"

#include <gtest/gtest.h>

namespace {

TEST(AEffEditor, DefaultsOfThePlainEditor) {
  RecordingEffect effect;
  AEffEditor editor(&effect);
  EXPECT_EQ(editor.getEffect(), &effect);
  EXPECT_FALSE(editor.isOpen());

  ERect area{1, 2, 3, 4};
  ERect* rect = &area;
  EXPECT_FALSE(editor.getRect(&rect));
  EXPECT_EQ(rect, nullptr);

  int window = 0;
  EXPECT_FALSE(editor.open(&window));
  EXPECT_TRUE(editor.isOpen());
  editor.close();
  EXPECT_FALSE(editor.isOpen());

  VstKeyCode key{65, 0, 0};
  EXPECT_FALSE(editor.onKeyDown(key));
  EXPECT_FALSE(editor.onKeyUp(key));
  EXPECT_FALSE(editor.onWheel(1.0f));
  EXPECT_FALSE(editor.setKnobMode(2));
}

}  // namespace
