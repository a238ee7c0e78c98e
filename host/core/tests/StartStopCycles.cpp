#include "host/core/tests/StartStopCycles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <future>
#include <thread>

#include "common/system/threading/ScopedLock.h"
#include "host/core/Engine.h"
#include "host/core/IDriverInfo.h"
#include "host/core/IPlugin.h"
#include "host/core/Logic.h"
#include "host/core/Sync.h"
#include "host/core/audio/AudioEngine.h"

namespace Testing {

namespace {

using Ombix::Kelvane::AudioEngine;
using Ombix::Kelvane::IDriverInfo;
using Ombix::Kelvane::IPlugin;
using Ombix::Kelvane::Logic;

constexpr auto kPatience = std::chrono::seconds(240);

AudioEngine& Audio(Logic& logic) {
  return *logic.GetEngine()->GetAudioEngine();
}

void Settle(Logic& logic) {
  for (int i = 0; i < 3; ++i) logic.ProcessCommands();
}

void ChangeDevice(Logic& logic, const CycleSettings& settings) {
  IDriverInfo& info = *logic.GetDriverInfo();
  const std::vector<std::string>& drivers = info.GetAudioDrivers();
  const int count = static_cast<int>(drivers.size());
  const int current = static_cast<int>(std::find(drivers.begin(), drivers.end(), info.GetAudioDriverName()) -
                                       drivers.begin());
  const int next = (current + 1) % count;
  if (next == current) {
    info.SelectAudioDriver(-1);
    Settle(logic);
  }
  if (settings.beforeDeviceChange) settings.beforeDeviceChange(next);
  info.SelectAudioDriver(next);
}

void EndCycle(Logic& logic, const CycleSettings& settings, int cycle) {
  IDriverInfo& info = *logic.GetDriverInfo();
  const int round = cycle / 25;
  if (cycle % 25 == 7) {
    ChangeDevice(logic, settings);
  } else if (cycle % 25 == 19) {
    info.ConfigureDriver(settings.rates[round % settings.rates.size()], info.GetBufferSize());
  } else if (cycle % 3 == 0) {
    info.ConfigureDriver(info.GetSampleRate(), settings.sizes[(cycle / 3) % settings.sizes.size()]);
  } else if (cycle % 3 == 1) {
    info.SetOutputConfig("Stereo Output", cycle % 2 ? std::vector<int>{1, 0} : std::vector<int>{0, 1});
  } else {
    Common::System::Threading::ScopedLock hold(Audio(logic).Lock());
    Sleep(static_cast<DWORD>(cycle % 2));
    info.StopDriver();
  }
}

}  // namespace

long long ProcessedFrames(Logic& logic) {
  Common::System::Threading::ScopedLock hold(Audio(logic).Lock());
  return Audio(logic).Transport().Position().samplePosition;
}

bool AwaitBlocks(Logic& logic, long long frames, int blocks, double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < end) {
    if (ProcessedFrames(logic) >= frames + static_cast<long long>(blocks) * Audio(logic).BlockSize())
      return true;
    Sleep(1);
  }
  return false;
}

double RunStartStopCycles(Logic& logic, IPlugin& plugin, const CycleSettings& settings, int count) {
  std::promise<void> finished;
  std::thread watchdog([done = finished.get_future()] {
    if (done.wait_for(kPatience) == std::future_status::ready) return;
    std::fprintf(stderr, "the start/stop cycles hang\n");
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), 1);
  });
  IDriverInfo& info = *logic.GetDriverInfo();
  const auto start = std::chrono::steady_clock::now();
  int silentCycles = 0;
  for (int cycle = 0; cycle < count; ++cycle) {
    const long long frames = ProcessedFrames(logic);
    info.StartDriver();
    Settle(logic);
    EXPECT_TRUE(logic.IsAudioRunning()) << "cycle " << cycle;
    if (cycle % settings.waitForABlockEvery == 0 && !AwaitBlocks(logic, frames, 1, 5.0)) ++silentCycles;
    plugin.InjectMidi(0x643C90, 0x003C80);
    EndCycle(logic, settings, cycle);
    Settle(logic);
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  finished.set_value();
  watchdog.join();
  EXPECT_EQ(silentCycles, 0) << "cycles in which no block ran";
  std::printf("%d start/stop cycles took %.1f s\n", count, seconds);
  return seconds;
}

}  // namespace Testing
