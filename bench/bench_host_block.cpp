// The host's own block path with a plug-in that does nothing, at 64 frames and 44.1 kHz: the engine
// lock, the MIDI fetch, the event list, the transport and the sample conversion. First each part on
// its own, then whole blocks through the test ASIO driver (32-bit samples, two inputs, two outputs,
// four injected MIDI events per block), processed on the driver's thread (direct) and handed to the
// engine's own thread (deferred). Whole blocks are timed by the host itself, from the driver's call
// to the end of the output conversion (the load figure). Every figure is a share of the block's time.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "common/system/threading/CriticalSection.h"
#include "host/core/IDriverInfo.h"
#include "host/core/IPlugin.h"
#include "host/core/Logic.h"
#include "host/core/Sync.h"
#include "host/core/tests/TestAsioInstall.h"
#include "host/drivers/asio/AsioSampleFormat.h"
#include "host/drivers/midi/IMidiDriver.h"
#include "host/hosting/TimeInfo.h"
#include "host/hosting/VstEventList.h"

using namespace Ombix::Kelvane;

namespace {

constexpr int kFrames = 64;
constexpr double kRate = 44100.0;
constexpr double kBlockUs = kFrames / kRate * 1e6;
constexpr int kPartRuns = 200000;
constexpr int kBlocks = 20000;
constexpr long kAsioInt32 = 18;
constexpr auto kWakePatience = std::chrono::milliseconds(20);

void PrintShare(const char* what, double microseconds) {
  std::printf("  %-34s %9.3f us %8.3f %%\n", what, microseconds, 100.0 * microseconds / kBlockUs);
}

// The mean time of one call of part, in microseconds.
template <typename Part>
double TimePart(Part part) {
  for (int i = 0; i < kPartRuns / 10; ++i) part();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kPartRuns; ++i) part();
  return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() /
         kPartRuns;
}

void TimeParts() {
  std::printf("Parts, each alone (mean of %d):\n", kPartRuns);

  Common::System::Threading::CriticalSection lock;
  PrintShare("engine lock (try, then release)", TimePart([&] {
               if (lock.TryLock()) lock.Unlock();
             }));

  std::unique_ptr<IMidiDriver> midi(CreateMidiDriver());
  int count = 0;
  PackedMidiEvent* events = nullptr;
  PrintShare("MIDI fetch (every device)", TimePart([&] {
               for (int i = 0; i < midi->DeviceCount(); ++i) midi->Fetch(i, count, events);
             }));

  VstEventList list;
  const PackedMidiEvent words[] = {0x643C90, 0x003C80 | (500ull << 32), 0x644090 | (900ull << 32),
                                   0x004080 | (1200ull << 32)};
  PrintShare("event list (four events)", TimePart([&] { list.Build(4, words, kRate / 1000.0, kFrames); }));

  Sync sync;
  sync.SetSampleRate(kRate);
  PrintShare("transport and time info", TimePart([&] {
               sync.Advance(kFrames);
               UpdateVstTimeInfo(sync.Position());
             }));

  std::vector<std::int32_t> device(kFrames, 1 << 20);
  std::vector<float> floats(kFrames, 0.25f);
  const SampleConverter in = ChooseConverter(kAsioInt32, true);
  const SampleConverter out = ChooseConverter(kAsioInt32, false);
  PrintShare("conversion (2 in, 2 out)", TimePart([&] {
               for (int channel = 0; channel < 2; ++channel) {
                 in(kFrames, device.data(), floats.data());
                 out(kFrames, device.data(), floats.data());
               }
             }));
}

void Settle(Logic& logic) {
  for (int i = 0; i < 3; ++i) logic.ProcessCommands();
}

void PrintBlocks(const char* road, std::vector<float> loads) {
  std::sort(loads.begin(), loads.end());
  const double mean = std::accumulate(loads.begin(), loads.end(), 0.0) / loads.size();
  const auto at = [&](double share) {
    return 100.0 * loads[static_cast<std::size_t>(share * (loads.size() - 1))];
  };
  std::printf("  %-9s median %7.3f %%  mean %7.3f %%  99th percentile %7.3f %%  largest %8.3f %%\n", road,
              at(0.5), 100.0 * mean, at(0.99), at(1.0));
}

// Whole blocks through the test ASIO driver; direct: on the driver's thread, else deferred.
std::vector<float> RunBlocks(bool direct) {
  TestAsio::Config config;
  config.preferredSize = kFrames;
  config.directProcess = direct ? 1 : 0;
  Testing::TestAsioInstall asio(config);
  Logic logic(nullptr, nullptr, "Ombix Labs", "Quillam", 900);
  Settle(logic);
  IDriverInfo& info = *logic.GetDriverInfo();
  info.SelectAudioDriverByName("Test ASIO");
  Settle(logic);
  info.ConfigureDriver(kRate, kFrames);
  info.SetInputConfig("Stereo Input", {0, 1});
  info.SetOutputConfig("Stereo Output", {0, 1});
  IPlugin* plugin = nullptr;
  logic.PluginAdded.connect([&plugin](IPlugin* added) { plugin = added; });
  logic.CreatePlugin(Testing::binaryFolder() + "silent_plugin.dll");
  Settle(logic);
  info.StartDriver();
  if (!plugin || !plugin->IsActive() || !logic.IsAudioRunning()) {
    std::printf("  the host did not start\n");
    return {};
  }

  std::vector<float> loads;
  loads.reserve(kBlocks);
  const int warmUp = 100;  // past the blocks muted after the start
  int lostWakes = 0;
  for (int block = 0; block < warmUp + kBlocks; ++block) {
    plugin->InjectMidi(0x643C90, 0x003C80);
    plugin->InjectMidi(0x644090, 0x004080);
    const long finished = asio.OutputReadyCount();
    for (;;) {
      asio.RunBlocks(1);
      // Deferred, the engine's thread finishes the block; a wake that comes while that thread is
      // still on its way back to sleep after the previous block is lost, and the driver calls again.
      const auto start = std::chrono::steady_clock::now();
      while (asio.OutputReadyCount() == finished &&
             std::chrono::steady_clock::now() - start < kWakePatience) {
      }
      if (asio.OutputReadyCount() != finished) break;
      ++lostWakes;
    }
    const float load = logic.GetCpuLoad();  // this block's, for the reading asked for a new peak
    if (block >= warmUp) loads.push_back(load);
  }
  info.StopDriver();
  if (lostWakes > 0)
    std::printf("  (%d wakes of the engine's thread came too early and were repeated)\n", lostWakes);
  return loads;
}

}  // namespace

int main() {
  std::printf(
      "Host block path with a plug-in that does nothing: shares of a %d-frame block at %.1f kHz "
      "(%.2f us)\n\n",
      kFrames, kRate / 1000.0, kBlockUs);
  TimeParts();
  std::printf("\nWhole blocks, as the host measures them (%d blocks each):\n", kBlocks);
  PrintBlocks("direct", RunBlocks(true));
  PrintBlocks("deferred", RunBlocks(false));
  return 0;
}
