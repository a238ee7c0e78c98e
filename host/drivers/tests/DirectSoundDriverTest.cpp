// The DirectSound driver through Wine's DirectSound; the tests that play need a device (the test
// services' PulseAudio null sink) and are skipped without one.

#include <gtest/gtest.h>
#include <windows.h>

#include <future>
#include <memory>

#include "host/drivers/DirectSoundDriver.h"
#include "host/drivers/tests/LogCapture.h"
#include "host/drivers/tests/StubAudioHandler.h"

using Ombix::Kelvane::DirectSoundDriver;

namespace {

class DirectSoundTest : public ::testing::Test {
 protected:
  void SetUp() override { handler.driver = &driver; }

  void OpenDefaultDevice() {
    if (driver.DeviceCount() == 0) GTEST_SKIP() << "no DirectSound device (start the test services)";
    ASSERT_TRUE(driver.OpenDevice(0));
  }

  void WaitForBlocks(int count) {
    const int target = handler.blocks + count;
    for (int waited = 0; handler.blocks < target && waited < 20000; waited += 5) Sleep(5);
    ASSERT_GE(handler.blocks, target) << "the play cursor does not advance";
  }

  LogCapture log;
  StubAudioHandler handler;
  DirectSoundDriver driver{nullptr, &handler};
};

}  // namespace

TEST_F(DirectSoundTest, WithoutAnOpenDeviceAnswersItsDefaults) {
  EXPECT_EQ(driver.DeviceName(1000), "None");
  EXPECT_FALSE(driver.OpenDevice(1000));
  EXPECT_FALSE(driver.OpenDevice(-1));
  EXPECT_EQ(driver.ChannelCount(false), 0);
  EXPECT_EQ(driver.ChannelName(false, 0), "No Name");
  EXPECT_EQ(driver.MinBufferSize(), 64);
  EXPECT_EQ(driver.MaxBufferSize(), 1024);
  EXPECT_EQ(driver.BufferGranularity(), 0);
  EXPECT_EQ(driver.BufferSize(), 4096);
  EXPECT_EQ(driver.SampleRate(), 44100.0);
  EXPECT_FALSE(driver.IsBufferSizeValid(4096));
  EXPECT_FALSE(driver.CanSampleRate(44100.0));
  EXPECT_FALSE(driver.SetBufferSize(4096));
  EXPECT_FALSE(driver.SetSampleRate(44100.0));
  EXPECT_FALSE(driver.Start());
  EXPECT_FALSE(driver.IsRunning());
  EXPECT_EQ(driver.FinishBlock(), 0.0f);
}

TEST_F(DirectSoundTest, AFailedSetUpIsNotRunning) {
  const GUID nowhere = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
  driver.AddDevice(&nowhere, "Nowhere");
  ASSERT_TRUE(driver.OpenDevice(driver.DeviceCount() - 1));
  EXPECT_EQ(driver.DeviceName(driver.DeviceCount() - 1), "Nowhere");
  EXPECT_FALSE(driver.Start());
  EXPECT_FALSE(driver.IsRunning());
  EXPECT_NE(log.Text().find("Create DirectSound Failed!"), std::string::npos);
  driver.Stop();
  EXPECT_EQ(handler.blocks, 0);
}

TEST_F(DirectSoundTest, SizesRatesAndChannelsFollowTheirRules) {
  OpenDefaultDevice();
  EXPECT_EQ(driver.ChannelCount(true), 0);
  EXPECT_EQ(driver.ChannelCount(false), 2);
  EXPECT_EQ(driver.ChannelName(false, 0), "Left Speaker");
  EXPECT_EQ(driver.ChannelName(false, 7), "Right Speaker");
  EXPECT_EQ(driver.ChannelName(true, 0), "No Name");
  EXPECT_EQ(driver.MinBufferSize(), 1024);
  EXPECT_EQ(driver.MaxBufferSize(), 8192);
  EXPECT_EQ(driver.BufferGranularity(), 128);
  for (int frames : {1024, 1152, 8192}) EXPECT_TRUE(driver.IsBufferSizeValid(frames)) << frames;
  for (int frames : {1000, 1100, 8320, 0}) EXPECT_FALSE(driver.IsBufferSizeValid(frames)) << frames;
  EXPECT_FALSE(driver.SetBufferSize(1100));
  EXPECT_EQ(handler.Sizes().back(), 4096);
  EXPECT_TRUE(driver.SetBufferSize(2048));
  EXPECT_EQ(driver.BufferSize(), 2048);
  EXPECT_EQ(handler.Sizes().back(), 2048);
  EXPECT_TRUE(driver.CanSampleRate(44100.05));
  EXPECT_FALSE(driver.CanSampleRate(48000.0));
  EXPECT_FALSE(driver.SetSampleRate(48000.0));
  EXPECT_EQ(handler.Rates().back(), 44100.0);
}

TEST_F(DirectSoundTest, PlaysBlocksOnItsThreadWithTheirLoad) {
  OpenDefaultDevice();
  ASSERT_TRUE(driver.SetBufferSize(4096));
  handler.outputCount = 2;
  handler.output = [](int) { return 0.1f; };
  handler.busyMs = 47;  // about half of a 4096-frame block at 44100 Hz
  ASSERT_TRUE(driver.Start());
  EXPECT_TRUE(driver.IsRunning());
  EXPECT_NE(driver.OutputBuffer(1), nullptr);
  EXPECT_EQ(driver.OutputBuffer(2), nullptr);
  EXPECT_EQ(driver.InputBuffer(0), nullptr);
  WaitForBlocks(3);
  driver.Stop();
  EXPECT_FALSE(driver.IsRunning());
  for (float load : handler.Loads()) {
    EXPECT_GE(load, 0.45f);
    EXPECT_LT(load, 20.0f);
  }
}

TEST_F(DirectSoundTest, StopsWhileTheBlockWaitsForTheCallersLock) {
  OpenDefaultDevice();
  ASSERT_TRUE(driver.SetBufferSize(1024));
  Common::System::Threading::CriticalSection engineLock;
  handler.lock = &engineLock;
  handler.outputCount = 2;
  handler.output = [](int) { return 0.25f; };
  auto done = std::async(std::launch::async, [&] {
    for (int round = 0; round < 12; ++round) {
      engineLock.Lock();
      driver.Start();
      engineLock.Unlock();
      WaitForBlocks(1);
      engineLock.Lock();
      // Long enough for the next block to wait for the lock.
      Sleep(30);
      if (round % 2) {
        driver.Stop();
      } else {
        driver.SetBufferSize(round % 4 ? 1024 : 1152);
      }
      EXPECT_FALSE(driver.IsRunning());
      engineLock.Unlock();
    }
  });
  if (done.wait_for(std::chrono::seconds(150)) != std::future_status::ready) {
    ADD_FAILURE() << "deadlock";
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), 1);
  }
  done.get();
  EXPECT_GT(handler.abandoned, 0);
}

TEST_F(DirectSoundTest, ReopensAndClosesWhileTheBlockWaitsForTheCallersLock) {
  OpenDefaultDevice();
  Common::System::Threading::CriticalSection engineLock;
  handler.lock = &engineLock;
  handler.outputCount = 2;
  handler.output = [](int) { return 0.25f; };
  auto done = std::async(std::launch::async, [&] {
    for (int round = 0; round < 6; ++round) {
      auto playing = std::make_unique<DirectSoundDriver>(nullptr, &handler);
      handler.driver = playing.get();
      ASSERT_TRUE(playing->OpenDevice(0));
      ASSERT_TRUE(playing->SetBufferSize(1024));
      engineLock.Lock();
      playing->Start();
      engineLock.Unlock();
      WaitForBlocks(1);
      engineLock.Lock();
      // Several blocks long: the next block surely waits for the lock.
      Sleep(100);
      if (round % 2) {
        EXPECT_TRUE(playing->OpenDevice(0));
        EXPECT_FALSE(playing->IsRunning());
      }
      playing.reset();
      handler.driver = nullptr;
      engineLock.Unlock();
    }
  });
  if (done.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
    ADD_FAILURE() << "deadlock";
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), 1);
  }
  done.get();
  EXPECT_GT(handler.abandoned, 0);
}
