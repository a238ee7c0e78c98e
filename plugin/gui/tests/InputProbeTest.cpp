#include <gtest/gtest.h>
#include "plugin/gui/CDrawContext.h"
#include "plugin/gui/tests/ControlTestSupport.h"
using namespace ControlTests;
TEST(InputProbe, ButtonsReachTheContext) {
  Gui::CDrawContext context(nullptr, nullptr, nullptr);
  for (long b : {0L, 1L, 9L, 17L, 33L, 4L, 0L}) {
    setInputState(b);
    EXPECT_EQ(b, context.getMouseButtons());
  }
}
