#include <gtest/gtest.h>

#include "host/core/Sync.h"
#include "host/hosting/TimeInfo.h"
#include "host/hosting/VstHostCallback.h"

namespace Ombix::Kelvane {
namespace {

TEST(TimeInfo, AfterHalfASecondAtTheDefaults) {
  Sync sync;
  sync.Advance(22050);
  UpdateVstTimeInfo(sync.Position());
  EXPECT_EQ(vstTimeInfo.samplePos, 22050.0);
  EXPECT_EQ(vstTimeInfo.sampleRate, 44100.0);
  EXPECT_DOUBLE_EQ(vstTimeInfo.nanoSeconds, 500000000.0);
  EXPECT_NEAR(vstTimeInfo.ppqPos, 1.0, 1e-9);
  EXPECT_EQ(vstTimeInfo.tempo, 120.0);
  EXPECT_EQ(vstTimeInfo.barStartPos, 0.0);
  EXPECT_EQ(vstTimeInfo.cycleStartPos, 0.0);
  EXPECT_EQ(vstTimeInfo.cycleEndPos, 0.0);
  EXPECT_EQ(vstTimeInfo.timeSigNumerator, 4);
  EXPECT_EQ(vstTimeInfo.timeSigDenominator, 4);
  EXPECT_EQ(vstTimeInfo.smpteOffset, 1200);
  EXPECT_EQ(vstTimeInfo.smpteFrameRate, 5);
  EXPECT_EQ(vstTimeInfo.samplesToNextClock, 0);
  EXPECT_EQ(vstTimeInfo.flags, 28418);
}

TEST(TimeInfo, BarsAndBeatsAfterSeveralBlocks) {
  Sync sync;
  sync.Advance(100000);  // 4.535 beats
  sync.Advance(88200);   // 4 more beats
  UpdateVstTimeInfo(sync.Position());
  EXPECT_EQ(vstTimeInfo.samplePos, 188200.0);
  EXPECT_EQ(vstTimeInfo.barStartPos, 8.0);
  EXPECT_NEAR(vstTimeInfo.ppqPos, 188200.0 / 22050.0, 1e-6);
  // 188200 frames are 4.2676 s: 0.2676 s of the current second in 1/2400 s steps
  EXPECT_EQ(vstTimeInfo.smpteOffset, static_cast<int>((188200.0 / 44100.0 - 4.0) * 2400.0));
}

TEST(TimeInfo, TheHostAnswersTheRecordAndItsTempo) {
  Sync sync;
  sync.Advance(256);
  UpdateVstTimeInfo(sync.Position());
  EXPECT_EQ(VstHostCallback(nullptr, audioMasterGetTime, 0, 0xFFFF, nullptr, 0.0f),
            reinterpret_cast<VstIntPtr>(&vstTimeInfo));
  EXPECT_EQ(VstHostCallback(nullptr, audioMasterTempoAt, 0, 12345, nullptr, 0.0f), 1200000);
}

}  // namespace
}  // namespace Ombix::Kelvane
