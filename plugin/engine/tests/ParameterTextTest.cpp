#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "plugin/engine/ParameterText.h"

namespace {

std::string display(int32_t index, float value) {
  char text[parameterTextCapacity + 8];
  std::memset(text, 'x', sizeof text);
  formatParameterText(index, value, text);
  EXPECT_EQ(text[parameterTextCapacity], 'x') << "wrote past the text bound";
  return text;
}

// Values no host should send, shown without reading outside any table.
TEST(ParameterText, OutlandishValuesGiveBoundedTexts) {
  struct Case {
    int32_t index;
    float value;
    const char* expected;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float huge = 3.0e38f;
  const Case cases[] = {
      {0, nan, "-"},      {0, huge, "-"},    {0, -huge, "-"},  {26, 1.5f, "BPM x1.66"}, {26, -0.5f, "-"},
      {1, huge, "20000"}, {1, -huge, "50"},  {1, nan, "50"},   {2, huge, "1.00"},       {2, -3.0f, "0.00"},
      {9, huge, "100 %"}, {9, -huge, "0 %"}, {31, nan, "Off"}, {31, huge, "On"},        {47, huge, ""},
      {-1, 0.5f, ""},     {48, 0.5f, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(display(c.index, c.value), c.expected) << "parameter " << c.index << " value " << c.value;
  }
}

}  // namespace
