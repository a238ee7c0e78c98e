#include "common/system/Timer.h"

#include <windows.h>

#include <gtest/gtest.h>

using Common::System::Timer;

TEST(Timer, ContinuesFromTheOffsetOfReset) {
  Timer timer;
  timer.Reset(5);
  const double elapsed = timer.ElapsedMs();
  EXPECT_GE(elapsed, 5.0);
  EXPECT_LT(elapsed, 500.0);
}

TEST(Timer, MeasuresMillisecondsFromConstructionAndReset) {
  Timer first;
  Timer second;  // reuses the process-wide counter scale
  Sleep(30);
  EXPECT_GE(first.ElapsedMs(), 25.0);
  EXPECT_GE(second.ElapsedMs(), 25.0);
  EXPECT_LT(second.ElapsedMs(), 30000.0);

  second.Reset();
  EXPECT_LT(second.ElapsedMs(), first.ElapsedMs());
  EXPECT_GE(second.ElapsedMs(), 0.0);
}
