// A thousand start/stop cycles of the host with DirectSound playing into the test services' null
// sink in real time, mixed with changes of device, block size, sample rate and channels; then the
// last start plays a steady tone for a few seconds, which directsound_load.sh records and checks.
// The folder for the script's signals comes in the environment variable QZ_SIGNAL_FOLDER.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "TestPaths.h"
#include "common/config/Configuration.h"
#include "host/core/IDriverInfo.h"
#include "host/core/IPlugin.h"
#include "host/core/Logic.h"
#include "host/core/tests/StartStopCycles.h"
#include "host/hosting/tests/TestPluginLibrary.h"

namespace Ombix::Kelvane {
namespace {

constexpr DWORD kTonePlayedMs = 5000;

void Settle(Logic& logic) {
  for (int i = 0; i < 3; ++i) logic.ProcessCommands();
}

// Tells the script that the tone plays now.
void SignalPlaying() {
  const char* folder = std::getenv("QZ_SIGNAL_FOLDER");
  if (folder) std::ofstream(std::string(folder) + "playing") << "playing\n";
}

TEST(DirectSoundLoad, AThousandStartStopCyclesEndWithTheToneHeard) {
  Common::Config::Configuration config(Testing::makeTempFolder("directsound_load") + "Quillam.cfg");
  auto logic = std::make_unique<Logic>(nullptr, &config, "Ombix Labs", "Quillam", 900);
  Settle(*logic);
  IDriverInfo& info = *logic->GetDriverInfo();
  info.SelectAudioSystemByName("DirectSound");
  Settle(*logic);
  if (info.GetAudioDrivers().empty()) GTEST_SKIP() << "no DirectSound device (start the test services)";
  for (int device = static_cast<int>(info.GetAudioDrivers().size()) - 1; device >= 0; --device) {
    info.SelectAudioDriver(device);
    Settle(*logic);
    info.SetOutputConfig("Stereo Output", {0, 1});
  }
  IPlugin* record = nullptr;
  logic->PluginAdded.connect([&record](IPlugin* added) { record = added; });
  logic->CreatePlugin(Testing::PluginPath("tone_plugin"));
  Settle(*logic);
  ASSERT_NE(record, nullptr);
  ASSERT_TRUE(record->IsActive());

  Testing::CycleSettings settings;
  settings.sizes = {1024, 1152, 2048};
  settings.rates = {48000.0, 44100.0};  // the device refuses the first: it stops and keeps its rate
  settings.waitForABlockEvery = 4;
  Testing::RunStartStopCycles(*logic, *record, settings, 1000);

  info.SelectAudioDriver(0);
  Settle(*logic);
  info.ConfigureDriver(44100.0, 2048);
  info.SetOutputConfig("Stereo Output", {0, 1});
  Settle(*logic);
  const long long frames = Testing::ProcessedFrames(*logic);
  info.StartDriver();
  ASSERT_TRUE(logic->IsAudioRunning());
  SignalPlaying();
  Sleep(kTonePlayedMs);
  EXPECT_TRUE(Testing::AwaitBlocks(*logic, frames, 44100 * 4 / 2048, 1.0)) << "the tone played on";
  info.StopDriver();
  logic.reset();
}

}  // namespace
}  // namespace Ombix::Kelvane
