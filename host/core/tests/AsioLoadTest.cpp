// A thousand start/stop cycles of the host with the test ASIO driver playing on its own thread,
// mixed with changes of device, block size, sample rate and channels; no stop may overlap a deferred
// block; then the audio of the last start is checked sample by sample.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "common/config/Configuration.h"
#include "host/core/IDriverInfo.h"
#include "host/core/IPlugin.h"
#include "host/core/Logic.h"
#include "host/core/tests/StartStopCycles.h"
#include "host/core/tests/TestAsioInstall.h"
#include "host/hosting/tests/TestPluginLibrary.h"

namespace Ombix::Kelvane {
namespace {

constexpr long kMutedBlocks = 30;

TestAsio::Config PlayingDriver(bool direct) {
  TestAsio::Config config;
  config.timerThread = 1;
  config.timerPeriodMs = 1;
  config.directProcess = direct ? 1 : 0;
  return config;
}

// The test driver installed a second time under another class, so that the host can change device.
class SecondDriver {
 public:
  SecondDriver() {
    TestAsio::RegisterServer(TestAsio::SecondClassId, TestAsio::DriverPath());
    TestAsio::InstallDriver("Test ASIO 2", TestAsio::SecondClassId, "Test ASIO 2");
  }
  ~SecondDriver() { TestAsio::UnregisterServer(TestAsio::SecondClassId); }
  SecondDriver(const SecondDriver&) = delete;
  SecondDriver& operator=(const SecondDriver&) = delete;
};

void Settle(Logic& logic) {
  for (int i = 0; i < 3; ++i) logic.ProcessCommands();
}

TEST(AsioLoad, AThousandStartStopCyclesEndWithTheRightAudio) {
  Testing::TestAsioInstall asio(PlayingDriver(true));
  SecondDriver second;
  Common::Config::Configuration config(Testing::makeTempFolder("asio_load") + "Quillam.cfg");
  Testing::RecordingPluginLibrary plugin;
  plugin.Configure(0, 2, 2, effFlagsCanReplacing);  // writes 0.5 to both outputs
  auto logic = std::make_unique<Logic>(nullptr, &config, "Ombix Labs", "Quillam", 900);
  Settle(*logic);
  IDriverInfo& info = *logic->GetDriverInfo();
  ASSERT_EQ(info.GetAudioDrivers().size(), 2u);
  for (const char* device : {"Test ASIO 2", "Test ASIO"}) {
    info.SelectAudioDriverByName(device);
    Settle(*logic);
    ASSERT_EQ(info.GetAudioDriverName(), device);
    info.SetOutputConfig("Stereo Output", {0, 1});
  }
  IPlugin* record = nullptr;
  logic->PluginAdded.connect([&record](IPlugin* added) { record = added; });
  logic->CreatePlugin(plugin.Path());
  Settle(*logic);
  ASSERT_NE(record, nullptr);
  ASSERT_TRUE(record->IsActive());

  // A configuration clears the driver's records: the overlaps seen so far are kept first.
  long overlaps = 0;
  const auto configure = [&](bool direct) {
    overlaps += asio.StopsDuringBlock();
    asio.Configure(PlayingDriver(direct));
  };
  Testing::CycleSettings settings;
  settings.sizes = {64, 128, 256, 512};
  settings.rates = {48000.0, 44100.0};
  // One device processes on its own thread, the other defers to the engine's thread.
  settings.beforeDeviceChange = [&](int device) { configure(device % 2 == 0); };
  Testing::RunStartStopCycles(*logic, *record, settings, 1000);

  // The last start, on a fresh driver object whose records start empty.
  info.SelectAudioDriver(-1);
  Settle(*logic);
  configure(true);
  info.SelectAudioDriverByName("Test ASIO");
  Settle(*logic);
  info.ConfigureDriver(44100.0, 256);
  info.SetOutputConfig("Stereo Output", {0, 1});
  Settle(*logic);
  info.StartDriver();
  for (int i = 0; i < 10000 && asio.BlockCount() < kMutedBlocks + 20; ++i) Sleep(1);
  info.StopDriver();
  ASSERT_GE(asio.BlockCount(), kMutedBlocks + 20);
  for (long channel = 0; channel < 2; ++channel) {
    const std::vector<long> samples = asio.Output(channel);
    ASSERT_GE(samples.size(), static_cast<std::size_t>((kMutedBlocks + 20) * 256));
    for (std::size_t i = samples.size() - 10 * 256; i < samples.size(); ++i)
      ASSERT_NEAR(samples[i], 1L << 30, 1 << 8) << "channel " << channel << " frame " << i;
  }
  logic.reset();
  EXPECT_EQ(plugin.Instances(), 0);
  EXPECT_EQ(overlaps + asio.StopsDuringBlock(), 0)
      << "deferred blocks handed over while a stop was under way";
}

}  // namespace
}  // namespace Ombix::Kelvane
