// The ASIO driver end to end: registry listing, COM creation, buffers and callbacks, through the test
// ASIO driver installed in the Wine registry.

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <thread>

#include "Watchdog.h"
#include "host/drivers/tests/AsioTestFixture.h"

using Ombix::Kelvane::ASIODriver;
using Testing::FinishesWithoutDeadlock;

namespace {

constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();
constexpr float infinity = std::numeric_limits<float>::infinity();

// Output frames cycle through these values; the expected device samples for 16 and 32 bits.
const float outputValues[] = {0.0f, 0.5f, -0.5f, 1.5f, -1.5f, 1.0f, -1.0f, notANumber, infinity, -infinity};
const long expected16[] = {0, 16383, -16383, 32767, -32767, 32767, -32767, 0, 0, 0};
const long expected32[] = {0,          1073741823,  -1073741823, 2147483647, -2147483647,
                           2147483647, -2147483647, 0,           0,          0};
constexpr int valueCount = sizeof outputValues / sizeof outputValues[0];

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

// ---- Listing and opening

TEST_F(AsioTestFixture, ListsInstalledDriversWithTheirNames) {
  TestAsio::InstallDriver("Long", TestAsio::ClassId, "A forty character long driver description");
  TestAsio::InstallDriver("Gone", missingClassId, "Driver whose file is missing");
  TestAsio::InstallDriver("Garbled", "not a class id");
  TestAsio::InstallDriver("Keyed", TestAsio::SecondClassId);  // no description: listed by its key
  Configure({});
  ASSERT_EQ(driver->DeviceCount(), 3);
  std::vector<std::string> names = {driver->DeviceName(0), driver->DeviceName(1), driver->DeviceName(2)};
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"A forty character long drive...", TestAsio::KeyName("Keyed"),
                                             "Test ASIO"}));
  EXPECT_EQ(driver->DeviceName(3), "");
}

TEST_F(AsioTestFixture, OpensTwoDriversWhoseListedNamesAreEqual) {
  TestAsio::RemoveDrivers();
  TestAsio::InstallDriver("Twin 1", TestAsio::ClassId, "Twin driver with a very long name, number one");
  TestAsio::InstallDriver("Twin 2", TestAsio::SecondClassId, "Twin driver with a very long name, number two");
  Configure({});
  ASSERT_EQ(driver->DeviceCount(), 2);
  ASSERT_EQ(driver->DeviceName(0), driver->DeviceName(1));
  std::set<std::string> created;
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(driver->OpenDevice(i)) << i;
    const std::string calls = Calls();
    const auto at = calls.rfind("create ");
    ASSERT_NE(at, std::string::npos);
    created.insert(calls.substr(at + 7, calls.find('\n', at) - at - 7));
  }
  EXPECT_EQ(created, (std::set<std::string>{TestAsio::ClassId, TestAsio::SecondClassId}));
}

TEST_F(AsioTestFixture, FailedOpensLeaveNoDevice) {
  TestAsio::InstallDriver("Refused", TestAsio::RefusedClassId, "Refused");
  struct Case {
    const char* name;
    int index;
    long initSucceeds;
    const char* logged;
  };
  const Case cases[] = {
      {"index out of range", 5, 1, ""},
      {"COM creation fails", -1, 1, ""},
      {"init fails", -2, 0, "ASIOInit => Not present!\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestAsio::Config config;
    config.initSucceeds = c.initSucceeds;
    Configure(config);
    ASSERT_EQ(driver->DeviceCount(), 2);
    const int refused = driver->DeviceName(0) == "Refused" ? 0 : 1;
    const int index = c.index == -1 ? refused : (c.index == -2 ? 1 - refused : c.index);
    log.Clear();
    EXPECT_FALSE(driver->OpenDevice(index));
    EXPECT_TRUE(Contains(log.Text(), c.logged));
    EXPECT_EQ(driver->ChannelCount(false), 0);
    EXPECT_EQ(driver->BufferSize(), 0);
    EXPECT_EQ(driver->FinishBlock(), 0.0f);
    EXPECT_FALSE(driver->Start());
    EXPECT_FALSE(driver->IsRunning());
    // The failure leaves the way open for a working driver.
    if (c.initSucceeds) {
      EXPECT_TRUE(driver->OpenDevice(1 - refused));
    }
  }
}

TEST_F(AsioTestFixture, OpeningReportsChannelsRateAndSize) {
  TestAsio::Config config;
  config.inputs = 1;
  config.outputs = 3;
  Configure(config);
  EXPECT_EQ(driver->FinishBlock(), 0.0f);
  ASSERT_TRUE(driver->OpenDevice(0));
  EXPECT_EQ(driver->ChannelCount(true), 1);
  EXPECT_EQ(driver->ChannelCount(false), 3);
  EXPECT_EQ(driver->ChannelName(true, 0), "Input 1");
  EXPECT_EQ(driver->ChannelName(false, 2), "Output 3");
  EXPECT_EQ(driver->ChannelName(false, 3), "");
  EXPECT_EQ(driver->ChannelName(true, -1), "");
  EXPECT_EQ(driver->MinBufferSize(), 64);
  EXPECT_EQ(driver->MaxBufferSize(), 2048);
  EXPECT_EQ(driver->BufferGranularity(), -1);
  EXPECT_EQ(driver->BufferSize(), 256);
  EXPECT_EQ(driver->SampleRate(), 44100.0);
  EXPECT_EQ(handler.Sizes(), std::vector<int>{256});
  EXPECT_EQ(handler.Rates(), std::vector<double>{44100.0});
  EXPECT_EQ(driver->OutputBuffer(0), nullptr);
}

// ---- Sizes and rates

TEST_F(AsioTestFixture, BufferSizesFollowTheDevicesRules) {
  struct Case {
    long minimum, maximum, preferred, granularity;
    int requested;
    bool accepted;
    int sizeAfter;
  };
  const Case cases[] = {
      {64, 2048, 256, -1, 300, false, 256},  {64, 2048, 256, -1, 512, true, 512},
      {64, 2048, 256, -1, 4096, false, 256}, {64, 2048, 256, -1, 64, true, 64},
      {64, 4096, 256, 32, 100, false, 256},  {64, 4096, 256, 32, 96, true, 96},
      {64, 4096, 256, 0, 100, true, 100},    {128, 128, 128, 0, 256, false, 128},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.requested);
    TestAsio::Config config;
    config.minimumSize = c.minimum;
    config.maximumSize = c.maximum;
    config.preferredSize = c.preferred;
    config.granularity = c.granularity;
    Configure(config);
    OpenAndActivate();
    ASSERT_TRUE(driver->Start());
    EXPECT_EQ(driver->SetBufferSize(c.requested), c.accepted);
    EXPECT_FALSE(driver->IsRunning());
    EXPECT_EQ(driver->BufferSize(), c.sizeAfter);
    EXPECT_EQ(handler.Sizes().back(), c.sizeAfter);
    EXPECT_TRUE(driver->IsBufferSizeValid(c.requested));
  }
}

TEST_F(AsioTestFixture, WithoutAPreferredSizeTheDefaultIs512WithinTheLimits) {
  for (long maximum : {4096L, 256L}) {
    TestAsio::Config config;
    config.minimumSize = 0;
    config.maximumSize = maximum;
    config.preferredSize = 0;
    config.granularity = 0;
    Configure(config);
    ASSERT_TRUE(driver->OpenDevice(0));
    EXPECT_EQ(driver->BufferSize(), std::min(512L, maximum));
  }
}

TEST_F(AsioTestFixture, SampleRatesAreSetOnlyWhenTheDeviceCanRunThem) {
  Configure({});
  EXPECT_FALSE(driver->CanSampleRate(44100.0));
  ASSERT_TRUE(driver->OpenDevice(0));
  EXPECT_TRUE(driver->CanSampleRate(48000.0));
  EXPECT_FALSE(driver->CanSampleRate(96000.0));
  EXPECT_FALSE(driver->SetSampleRate(96000.0));
  EXPECT_EQ(driver->SampleRate(), 44100.0);
  EXPECT_TRUE(driver->SetSampleRate(48000.0));
  EXPECT_EQ(driver->SampleRate(), 48000.0);
  EXPECT_EQ(handler.Rates().back(), 48000.0);
  EXPECT_TRUE(Contains(Calls(), "setSampleRate 48000\n"));
}

TEST_F(AsioTestFixture, ARefusedStartingRateFallsBackTo44100) {
  TestAsio::Config config;
  config.initialRate = 32000.0;
  Configure(config);
  ASSERT_TRUE(driver->OpenDevice(0));
  EXPECT_EQ(driver->SampleRate(), 44100.0);
  EXPECT_EQ(handler.Rates().back(), 44100.0);
}

TEST_F(AsioTestFixture, ADeviceThatReportsARateItRefusesDoesNotLoopForEver) {
  TestAsio::Config config;
  config.stuckRate = 32000.0;
  Configure(config);
  FinishesWithoutDeadlock([this] { EXPECT_TRUE(driver->OpenDevice(0)); });
  EXPECT_EQ(driver->SampleRate(), 32000.0);
  EXPECT_FALSE(driver->SetSampleRate(48000.0));
}

// ---- Blocks and conversion

TEST_F(AsioTestFixture, ConvertsBitExactAfterThirtyMutedBlocks) {
  for (long sampleType : {16L, 18L}) {
    SCOPED_TRACE(sampleType);
    TestAsio::Config config;
    config.sampleType = sampleType;
    config.preferredSize = 64;
    config.inputPattern[0] = sampleType == 16 ? 16384 : 1073741824;
    config.inputPattern[1] = sampleType == 16 ? -32768 : std::numeric_limits<int>::min();
    config.inputPattern[2] = 0;
    config.inputPattern[3] = 1;
    Configure(config);
    handler.output = [](int frame) { return outputValues[frame % valueCount]; };
    OpenAndActivate();
    ASSERT_TRUE(driver->Start());
    ASSERT_EQ(runBlocks(31), 31);
    driver->Stop();

    const long* expected = sampleType == 16 ? expected16 : expected32;
    for (long channel = 0; channel < 2; ++channel) {
      const std::vector<long> samples = Output(channel);
      ASSERT_EQ(samples.size(), 31u * 64u);
      for (std::size_t i = 0; i < 30 * 64; ++i) ASSERT_EQ(samples[i], 0) << "muted frame " << i;
      for (int i = 0; i < 64; ++i) EXPECT_EQ(samples[30 * 64 + i], expected[i % valueCount]) << i;
    }
    const auto inputs = handler.FirstInputs();
    ASSERT_EQ(inputs.size(), 2u);
    ASSERT_EQ(inputs[1].size(), 64u);
    const float lowest = sampleType == 16 ? 1.0f / 32768.0f : 1.0f / 2147483648.0f;
    EXPECT_EQ(inputs[1][0], 0.5f);
    EXPECT_EQ(inputs[1][1], -1.0f);
    EXPECT_EQ(inputs[1][2], 0.0f);
    EXPECT_EQ(inputs[1][3], lowest);
  }
}

TEST_F(AsioTestFixture, UnsupportedSampleTypesStaySilentAndSaySo) {
  struct Case {
    long sampleType;
    const char* line;
  };
  const Case cases[] = {{19, "ASIO converter 'ASIOSTFloat32LSB' not available!\n"},
                        {0, "ASIO converter 'ASIOSTInt16MSB' not available!\n"},
                        {99, "ASIO converter {99} not available!\n"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sampleType);
    TestAsio::Config config;
    config.sampleType = c.sampleType;
    config.preferredSize = 64;
    Configure(config);
    handler.output = [](int) { return 0.25f; };
    log.Clear();
    OpenAndActivate();
    EXPECT_EQ(log.Count(c.line), 4);
    ASSERT_TRUE(driver->Start());
    ASSERT_EQ(runBlocks(32), 32);
    driver->Stop();
    for (long sample : Output(0)) ASSERT_EQ(sample, 0);
  }
}

TEST_F(AsioTestFixture, EveryBlockPathReachesTheHandler) {
  for (long useTimeInfo : {0L, 1L}) {
    for (long outputReady : {0L, 1L}) {
      TestAsio::Config config;
      config.useTimeInfo = useTimeInfo;
      config.outputReadySupported = outputReady;
      Configure(config);
      log.Clear();
      OpenAndActivate();
      EXPECT_TRUE(Contains(log.Text(), outputReady ? "Post output active\n" : "Post output deactivated\n"));
      ASSERT_TRUE(driver->Start());
      const long before = outputReadyCount();
      ASSERT_EQ(runBlocks(5), 5);
      EXPECT_EQ(handler.blocks, 5);
      EXPECT_EQ(outputReadyCount() - before, outputReady ? 5 : 0);
    }
  }
}

TEST_F(AsioTestFixture, StartNeedsAnActiveChannelAndWorkingBuffers) {
  Configure({});
  ASSERT_TRUE(driver->OpenDevice(0));
  EXPECT_FALSE(driver->Start());
  EXPECT_FALSE(Contains(Calls(), "createBuffers"));

  TestAsio::Config config;
  config.createBuffersFails = 1;
  Configure(config);
  OpenAndActivate();
  EXPECT_FALSE(driver->Start());
  EXPECT_FALSE(driver->IsRunning());

  config = {};
  config.startFails = 1;
  Configure(config);
  OpenAndActivate();
  EXPECT_FALSE(driver->Start());
  EXPECT_FALSE(driver->IsRunning());
  EXPECT_TRUE(Contains(Calls(), "start\ndisposeBuffers\n"));
}

TEST_F(AsioTestFixture, TheLoadIsTheBlocksShareOfItsTime) {
  TestAsio::Config config;
  config.preferredSize = 441;  // 10 ms at 44100 Hz
  config.granularity = 1;
  config.minimumSize = 1;
  Configure(config);
  OpenAndActivate();
  ASSERT_TRUE(driver->Start());
  handler.busyMs = 20;
  ASSERT_EQ(runBlocks(3), 3);
  for (float load : handler.Loads()) {
    EXPECT_GE(load, 1.5f);
    EXPECT_LT(load, 100.0f);
  }
}

// ---- Messages

TEST_F(AsioTestFixture, AnswersTheDriversMessages) {
  Configure({});
  OpenAndActivate();
  ASSERT_TRUE(driver->Start());
  const long cases[][3] = {{1, 4, 1}, {1, 3, 1}, {1, 8, 1}, {1, 9, 0}, {1, 15, 1}, {2, 0, 2},  {4, 0, 0},
                           {5, 0, 0}, {6, 0, 1}, {7, 0, 1}, {8, 0, 1}, {15, 0, 1}, {99, 0, 0}, {3, 0, 1}};
  for (const auto& c : cases) EXPECT_EQ(sendMessage(c[0], c[1]), c[2]) << c[0] << " " << c[1];
}

TEST_F(AsioTestFixture, AResetIsAnsweredAndTheNextStartReReadsTheDevice) {
  Configure({});
  OpenAndActivate();
  ASSERT_TRUE(driver->Start());
  // Running: the owner is asked to restart the device, which it cannot be from its own callback.
  EXPECT_EQ(sendMessage(3, 0), 1);
  EXPECT_EQ(handler.resetRequests, 1);
  EXPECT_TRUE(driver->IsRunning());
  driver->Stop();
  std::size_t before = Calls().size();
  ASSERT_TRUE(driver->Start());
  EXPECT_TRUE(Contains(Calls().substr(before), "getBufferSize\n"));

  driver->Stop();
  EXPECT_EQ(sendMessage(3, 0), 1) << "stopped: the next start re-reads the device";
  EXPECT_EQ(handler.resetRequests, 1);
  before = Calls().size();
  ASSERT_TRUE(driver->Start());
  EXPECT_TRUE(Contains(Calls().substr(before), "getBufferSize\n"));
  EXPECT_TRUE(driver->IsRunning());

  TestAsio::Config config;
  config.resetFromControlPanel = 1;
  Configure(config);
  OpenAndActivate();
  ASSERT_TRUE(driver->Start());
  driver->ShowControlPanel();
  const std::string calls = Calls();
  ASSERT_TRUE(Contains(calls, "reset answered 1\n"));
  EXPECT_TRUE(Contains(calls.substr(calls.find("reset answered")), "getBufferSize\n"));
  EXPECT_EQ(handler.resetRequests, 0) << "the panel's own re-reading answers it";
}

TEST_F(AsioTestFixture, EveryOutputIsSilentInBothHalvesWhenTheDeviceStarts) {
  for (long sampleType : {16L, 18L}) {
    TestAsio::Config config;
    config.sampleType = sampleType;
    config.outputs = 3;
    Configure(config);
    OpenAndActivate();
    ASSERT_TRUE(driver->Start());
    EXPECT_EQ(noiseAtStart(), 0) << sampleType;
    driver->Stop();
    ASSERT_TRUE(driver->Start());
    EXPECT_EQ(noiseAtStart(), 0) << sampleType;
  }
}

TEST_F(AsioTestFixture, AChannelDeactivatedAfterItsBufferWasMadeHasNoBuffer) {
  Configure({});
  OpenAndActivate();
  ASSERT_TRUE(driver->Start());
  driver->Stop();
  ASSERT_NE(driver->OutputBuffer(1), nullptr);
  ASSERT_NE(driver->InputBuffer(1), nullptr);
  driver->SetChannelActive(false, 1, false);
  driver->SetChannelActive(true, 1, false);
  EXPECT_EQ(driver->OutputBuffer(1), nullptr);
  EXPECT_EQ(driver->InputBuffer(1), nullptr);
  EXPECT_NE(driver->OutputBuffer(0), nullptr);
  ASSERT_TRUE(driver->Start());
  EXPECT_EQ(driver->OutputBuffer(1), nullptr);
  EXPECT_TRUE(Contains(Calls(), "createBuffers 2 256\n"));
}

TEST_F(AsioTestFixture, ARateChangeOnTheDriversThreadKeepsTheRunningBuffers) {
  TestAsio::Config config;
  config.timerThread = 1;
  Configure(config);
  OpenAndActivate();
  ASSERT_TRUE(driver->Start());
  float* output = driver->OutputBuffer(0);
  std::thread([] { reportRate(48000.0); }).join();
  EXPECT_EQ(handler.Rates().back(), 48000.0);
  EXPECT_TRUE(driver->IsRunning());
  EXPECT_EQ(driver->OutputBuffer(0), output);
  EXPECT_FALSE(Contains(Calls(), "disposeBuffers"));
  // The owner re-configures outside the callback.
  EXPECT_TRUE(driver->SetSampleRate(48000.0));
  EXPECT_EQ(driver->SampleRate(), 48000.0);
  EXPECT_TRUE(driver->Start());
}

// ---- Threads

TEST_F(AsioTestFixture, StopsWhileTheBlockWaitsForTheCallersLock) {
  TestAsio::Config config;
  config.timerThread = 1;
  config.timerPeriodMs = 1;
  config.preferredSize = 64;
  Configure(config);
  Common::System::Threading::CriticalSection engineLock;
  handler.lock = &engineLock;
  handler.output = [](int) { return 0.5f; };
  OpenAndActivate();
  FinishesWithoutDeadlock([&] {
    for (int round = 0; round < 30; ++round) {
      engineLock.Lock();
      ASSERT_TRUE(driver->Start());
      engineLock.Unlock();
      const long target = blockCount() + 3;
      while (blockCount() < target) Sleep(1);
      // Hold the lock while the driver's thread is (probably) waiting for it in a block.
      engineLock.Lock();
      Sleep(round % 3);
      if (round % 2) {
        driver->Stop();
      } else {
        driver->SetBufferSize(round % 4 ? 128 : 64);
      }
      EXPECT_FALSE(driver->IsRunning());
      engineLock.Unlock();
    }
  });
  EXPECT_GT(handler.blocks, 0);
}
