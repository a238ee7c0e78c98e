#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "TestPaths.h"
#include "common/config/Configuration.h"
#include "common/xml/XmlDocument.h"
#include "host/core/Engine.h"
#include "host/core/IDriverInfo.h"
#include "host/core/Logic.h"
#include "host/core/Plugin.h"
#include "host/core/Sync.h"
#include "host/core/audio/AudioEngine.h"
#include "host/core/tests/TestAsioInstall.h"
#include "host/drivers/tests/LogCapture.h"
#include "host/hosting/ProcessLevelRegistry.h"
#include "host/hosting/TimeInfo.h"
#include "host/hosting/tests/TestPluginLibrary.h"

namespace Ombix::Kelvane {
namespace {

using Common::Config::Configuration;

// The driver mutes the first blocks after every start.
constexpr long kMutedBlocks = 30;

// A real Logic with the test ASIO driver installed, a store in a real file and hosted test plug-ins.
class AudioEngineTest : public ::testing::Test {
 protected:
  AudioEngineTest()
      : path(Testing::makeTempFolder("audio_engine") + "\\Quillam.cfg"),
        config(std::make_unique<Configuration>(path)) {}

  ~AudioEngineTest() override {
    logic.reset();
    config.reset();
  }

  void MakeLogic() {
    logic = std::make_unique<Logic>(nullptr, config.get(), "Ombix Labs", "Quillam", 900);
    Settle();
  }

  // Runs the GUI thread's share until nothing waits any more.
  void Settle() {
    for (int i = 0; i < 5; ++i) logic->ProcessCommands();
  }

  IDriverInfo& Info() { return *logic->GetDriverInfo(); }
  AudioEngine& Audio() { return *logic->GetEngine()->GetAudioEngine(); }

  // Selects the test driver with both stereo sets, hosts a plug-in and starts the driver.
  IPlugin* StartWith(const std::string& pluginPath) {
    MakeLogic();
    Info().SelectAudioDriverByName("Test ASIO");
    Settle();
    Info().SetInputConfig("Stereo Input", {0, 1});
    Info().SetOutputConfig("Stereo Output", {0, 1});
    IPlugin* added = nullptr;
    logic->PluginAdded.connect([&added](IPlugin* plugin) { added = plugin; });
    logic->CreatePlugin(pluginPath);
    Settle();
    Info().StartDriver();
    return added;
  }

  // Blocks delivered on a thread of their own, as a driver's callback thread does.
  long RunBlocksOnDriverThread(long count, int* level = nullptr) {
    long run = 0;
    std::thread([&] {
      run = asio.RunBlocks(count);
      if (level) *level = processLevelRegistry.CurrentLevel();
    }).join();
    return run;
  }

  LogCapture log;
  Testing::TestAsioInstall asio;
  std::string path;
  std::unique_ptr<Configuration> config;
  std::unique_ptr<Logic> logic;
};

TEST_F(AudioEngineTest, StartUpListsTheSystemsAndTheAsioDrivers) {
  MakeLogic();
  EXPECT_EQ(Info().GetAudioSystems(), (std::vector<std::string>{"ASIO", "DirectSound"}));
  EXPECT_EQ(Info().GetAudioSystemName(), "ASIO");
  EXPECT_EQ(Info().GetAudioDrivers(), std::vector<std::string>{"Test ASIO"});
  EXPECT_EQ(Info().GetAudioDriverName(), "No Audio Driver");
  EXPECT_EQ(Audio().BlockSize(), 256);
  EXPECT_EQ(Audio().SampleRate(), 44100.0);

  Info().SelectAudioDriverByName("Test ASIO");
  Settle();
  EXPECT_EQ(Info().GetAudioDriverName(), "Test ASIO");
  EXPECT_EQ(Info().GetSampleRates(), (std::vector<double>{44100.0, 48000.0}));
  EXPECT_EQ(Info().GetInputNames().size(), 2u);
  EXPECT_EQ(log.Count("    88200.000000 => Not supported!\n"), 1);
  EXPECT_FALSE(logic->IsAudioRunning());
}

TEST_F(AudioEngineTest, BlocksRunThroughThePluginToTheDriverAndMoveTheTransport) {
  Testing::RecordingPluginLibrary plugin;
  plugin.Configure(0, 2, 2, 16);  // no inputs: it writes 0.5 to both outputs
  ASSERT_NE(StartWith(plugin.Path()), nullptr);
  ASSERT_TRUE(logic->IsAudioRunning());
  const std::int64_t before = Audio().Transport().Position().samplePosition;

  int level = 0;
  const long blocks = kMutedBlocks + 10;
  ASSERT_EQ(RunBlocksOnDriverThread(blocks, &level), blocks);
  EXPECT_EQ(level, ProcessLevelRegistry::AudioThread);
  EXPECT_EQ(plugin.Lines("process 256").size(), static_cast<std::size_t>(blocks));
  EXPECT_EQ(Audio().Transport().Position().samplePosition - before, blocks * 256);
  EXPECT_EQ(vstTimeInfo.samplePos, static_cast<double>(Audio().Transport().Position().samplePosition));

  for (long channel = 0; channel < 2; ++channel) {
    const std::vector<long> samples = asio.Output(channel);
    ASSERT_EQ(samples.size(), static_cast<std::size_t>(blocks * 256));
    const long expected = samples.back();
    EXPECT_NEAR(expected, 1L << 30, 1 << 8);
    EXPECT_TRUE(std::all_of(samples.begin() + kMutedBlocks * 256, samples.end(),
                            [&](long s) { return s == expected; }));
  }
  EXPECT_GT(logic->GetCpuLoad(), 0.0f) << "the blocks took no time";
  Info().StopDriver();
  EXPECT_FALSE(logic->IsAudioRunning());
  EXPECT_EQ(logic->GetCpuLoad(), 0.0f);
}

TEST_F(AudioEngineTest, DriverInputsPassThroughAPluginThatReadsThem) {
  TestAsio::Config driver;
  driver.inputPattern[0] = 1 << 20;
  driver.inputPattern[1] = -(1 << 22);
  driver.inputPattern[2] = 3 << 24;
  driver.inputPattern[3] = 0;
  asio.Configure(driver);
  Testing::RecordingPluginLibrary plugin;
  plugin.Configure(2, 2, 2, 16);  // copies its inputs to its outputs
  ASSERT_NE(StartWith(plugin.Path()), nullptr);
  ASSERT_EQ(RunBlocksOnDriverThread(kMutedBlocks + 3), kMutedBlocks + 3);
  const std::vector<long> left = asio.Output(0);
  ASSERT_EQ(left.size(), static_cast<std::size_t>((kMutedBlocks + 3) * 256));
  // The driver scales by 2^31 - 1 on the way out: a step of one may be lost.
  for (std::size_t i = kMutedBlocks * 256; i < left.size(); ++i)
    ASSERT_NEAR(left[i], driver.inputPattern[i % 4], 1) << i;
}

TEST_F(AudioEngineTest, InjectedMidiReachesThePluginOnlyWhileTheDriverRuns) {
  Testing::RecordingPluginLibrary plugin;
  plugin.Configure(0, 2, 2, 16);
  IPlugin* record = StartWith(plugin.Path());
  ASSERT_NE(record, nullptr);
  plugin.Clear();
  record->InjectMidi(0x643C90, 0x003C80);
  record->InjectMidi(0x004090, 0);
  ASSERT_EQ(RunBlocksOnDriverThread(1), 1);
  EXPECT_EQ(plugin.Lines("events 3").size(), 1u);
  EXPECT_EQ(plugin.Lines("midi 90 60 100").size(), 1u);
  EXPECT_EQ(plugin.Lines("midi 80 60 0").size(), 1u);
  EXPECT_EQ(plugin.Lines("midi 90 64 0").size(), 1u);

  Info().StopDriver();
  plugin.Clear();
  record->InjectMidi(0x643C90, 0);
  Info().StartDriver();
  ASSERT_EQ(RunBlocksOnDriverThread(1), 1);
  EXPECT_TRUE(plugin.Lines("midi").empty()) << "a note played while stopped is dropped";
}

TEST_F(AudioEngineTest, InjectedMidiCarriesItsTimeSinceTheBlockBegan) {
  Testing::RecordingPluginLibrary plugin;
  plugin.Configure(0, 2, 2, 16);
  IPlugin* record = StartWith(plugin.Path());
  ASSERT_NE(record, nullptr);
  ASSERT_EQ(RunBlocksOnDriverThread(1), 1);
  Sleep(3);
  record->InjectMidi(0x643C90, 0);
  plugin.Clear();
  ASSERT_EQ(RunBlocksOnDriverThread(1), 1);
  const std::vector<std::string> notes = plugin.Lines("midi 90 60 100");
  ASSERT_EQ(notes.size(), 1u);
  // At least 2 ms at 44.1 kHz: the offset reaches the plug-in as frames into the block.
  const int delta = std::stoi(notes[0].substr(notes[0].find("delta ") + 6));
  EXPECT_GE(delta, 88) << notes[0];
}

TEST_F(AudioEngineTest, TheLoadPeakStartsAnewAfterEveryReading) {
  Testing::RecordingPluginLibrary plugin;
  plugin.Configure(0, 2, 2, 16);
  ASSERT_NE(StartWith(plugin.Path()), nullptr);
  ASSERT_EQ(RunBlocksOnDriverThread(1), 1);
  logic->GetCpuLoad();

  // A block that waits for the engine lock uses several times its own length (5.8 ms): the lock is
  // held for 100 ms once the block's thread runs, however late it is scheduled.
  Audio().Lock().Lock();
  std::promise<void> running;
  std::thread slow([&] {
    running.set_value();
    asio.RunBlocks(1);
  });
  running.get_future().wait();
  Sleep(100);
  Audio().Lock().Unlock();
  slow.join();
  const float slowPeak = logic->GetCpuLoad();
  EXPECT_GT(slowPeak, 1.0f);

  // The reading asked for a new peak: the next, quick block's load is the peak, though lower.
  ASSERT_EQ(RunBlocksOnDriverThread(1), 1);
  const float quick = logic->GetCpuLoad();
  EXPECT_LT(quick, slowPeak);
  EXPECT_GT(quick, 0.0f);
}

TEST_F(AudioEngineTest, BlocksDeferredToTheServiceThreadAreProcessedThere) {
  TestAsio::Config driver;
  driver.directProcess = 0;
  asio.Configure(driver);
  Testing::RecordingPluginLibrary plugin;
  plugin.Configure(0, 2, 2, 16);
  ASSERT_NE(StartWith(plugin.Path()), nullptr);
  for (int i = 0; i < 2000 && plugin.Lines("process").empty(); ++i) {
    RunBlocksOnDriverThread(1);
    Sleep(1);
  }
  EXPECT_FALSE(plugin.Lines("process 256").empty());
}

TEST_F(AudioEngineTest, StoppingAndReconfiguringWhileTheDriverThreadIsInBlocksNeverDeadlocks) {
  TestAsio::Config driver;
  driver.timerThread = 1;
  driver.timerPeriodMs = 1;
  asio.Configure(driver);
  Testing::RecordingPluginLibrary plugin;
  plugin.Configure(2, 2, 2, 16);
  IPlugin* record = StartWith(plugin.Path());
  ASSERT_NE(record, nullptr);
  for (int round = 0; round < 30; ++round) {
    Info().StartDriver();
    EXPECT_TRUE(logic->IsAudioRunning()) << "round " << round;
    record->InjectMidi(0x643C90, 0);
    Sleep(3);
    switch (round % 3) {
      case 0:
        Info().StopDriver();
        break;
      case 1:
        Info().ConfigureDriver(round % 2 ? 48000.0 : 44100.0, round % 2 ? 128 : 256);
        break;
      default:
        Info().SetOutputConfig("Stereo Output", {1, 0});
        break;
    }
    Settle();
  }
  // Still playing after the storm.
  Info().StartDriver();
  const long before = asio.BlockCount();
  for (int i = 0; i < 5000 && asio.BlockCount() < before + 5; ++i) Sleep(1);
  EXPECT_GE(asio.BlockCount(), before + 5);
  Info().StopDriver();
}

TEST_F(AudioEngineTest, NoDriverStopOverlapsADeferredBlock) {
  TestAsio::Config driver;
  driver.directProcess = 0;
  driver.timerThread = 1;
  driver.timerPeriodMs = 1;
  asio.Configure(driver);
  MakeLogic();
  Info().SelectAudioDriverByName("Test ASIO");
  Settle();
  Info().SetOutputConfig("Stereo Output", {0, 1});
  // Three roads stop the driver: another device, another channel set, and the engine's end.
  for (int road = 0; road < 3; ++road) {
    Info().StartDriver();
    ASSERT_TRUE(logic->IsAudioRunning()) << road;
    // A block on the engine's service thread, inside its end, when the stop comes.
    const long overlapsBefore = asio.StopsDuringBlock();
    asio.HoldBlocks(true);
    asio.AwaitHeldBlock();
    std::thread release([this] {
      Sleep(50);
      asio.HoldBlocks(false);
    });
    switch (road) {
      case 0:
        Info().SelectAudioDriver(-1);
        break;
      case 1:
        Info().SetOutputConfig("Stereo Output", {1, 0});
        break;
      default:
        logic.reset();
        break;
    }
    release.join();
    EXPECT_EQ(asio.StopsDuringBlock(), overlapsBefore) << "road " << road;
    if (road == 0) {
      Settle();
      Info().SelectAudioDriverByName("Test ASIO");
      Settle();
    }
  }
}

TEST_F(AudioEngineTest, AResetTheDeviceAsksForWhilePlayingRestartsItAndTheAudioGoesOn) {
  TestAsio::Config driver;
  driver.timerThread = 1;
  driver.timerPeriodMs = 1;
  driver.resetAfterBlocks = 5;
  asio.Configure(driver);
  Testing::RecordingPluginLibrary plugin;
  plugin.Configure(0, 2, 2, 16);  // writes 0.5 to both outputs
  ASSERT_NE(StartWith(plugin.Path()), nullptr);
  for (int i = 0; i < 5000 && asio.Calls().find("reset answered") == std::string::npos; ++i) Sleep(1);
  const std::string before = asio.Calls();
  ASSERT_NE(before.find("reset answered 1\n"), std::string::npos) << before;

  Settle();  // the GUI thread's share: stop, re-read the device, start again
  EXPECT_TRUE(logic->IsAudioRunning());
  const std::string after = asio.Calls().substr(before.find("reset answered"));
  for (const char* call :
       {"stop\n", "disposeBuffers\n", "getBufferSize\n", "createBuffers 4 256\n", "start\n"})
    EXPECT_NE(after.find(call), std::string::npos) << call << " in\n" << after;
  EXPECT_EQ(log.Count("<= AudioDriverResetRequested\n"), 1);

  // Past the blocks muted after the new start, the plug-in is heard again.
  const long restarted = asio.BlockCount();
  for (int i = 0; i < 5000 && asio.BlockCount() < restarted + kMutedBlocks + 10; ++i) Sleep(1);
  Info().StopDriver();
  const std::vector<long> left = asio.Output(0);
  ASSERT_GE(left.size(), static_cast<std::size_t>((restarted + kMutedBlocks + 10) * 256));
  EXPECT_NEAR(left.back(), 1L << 30, 1 << 8);
}

TEST_F(AudioEngineTest, TheSameChannelSetsAppliedAgainKeepTheDriverPlaying) {
  Testing::RecordingPluginLibrary plugin;
  plugin.Configure(0, 2, 2, 16);
  ASSERT_NE(StartWith(plugin.Path()), nullptr);
  ASSERT_TRUE(logic->IsAudioRunning());
  // News of the driver (a size it reports when it starts, a reset): the model applies its sets again.
  Audio().OnDriverCapsChanged();
  Settle();
  Info().SetOutputConfig("Stereo Output", {0, 1});
  EXPECT_TRUE(logic->IsAudioRunning());
  Info().SetOutputConfig("Stereo Output", {1, 0});
  EXPECT_FALSE(logic->IsAudioRunning());
}

// A settings file as a user may leave it after editing it by hand: one driver of one system with its
// two stored channel sets.
void WriteSettings(const std::string& path, const std::string& system, const std::string& driver,
                   const std::string& inputs, const std::string& outputs) {
  std::ofstream(path) << "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                      << "<Configuration>\n"
                      << "  <Drivers AudioDriver=\"" << driver << "\" AudioSystem=\"" << system << "\">\n"
                      << "    <DriverInfo>\n"
                      << "      <AudioSystem Name=\"" << system << "\">\n"
                      << "        <Driver Name=\"" << driver << "\">\n"
                      << "          <Input><Config Channels=\"" << inputs
                      << "\" Name=\"Stereo Input\"/></Input>\n"
                      << "          <Output><Config Channels=\"" << outputs
                      << "\" Name=\"Stereo Output\"/></Output>\n"
                      << "        </Driver>\n"
                      << "      </AudioSystem>\n"
                      << "    </DriverInfo>\n"
                      << "  </Drivers>\n"
                      << "</Configuration>\n";
}

// The channels the last start activated, as the log lists them (the indented lines after the heading).
std::string ActivatedChannels(const std::string& log) {
  const std::string heading = "Activating channels:\n";
  const std::size_t at = log.rfind(heading);
  if (at == std::string::npos) return "no start";
  std::string list;
  for (std::size_t line = at + heading.size(); line < log.size() && log[line] == ' ';) {
    const std::size_t end = std::min(log.find('\n', line), log.size() - 1);
    list += log.substr(line, end + 1 - line);
    line = end + 1;
  }
  return list;
}

struct StoredChannelsCase {
  const char* inputs;   // the stored "Stereo Input"
  const char* outputs;  // the stored "Stereo Output"
  int dropped;          // channels the log says are dropped
  const char* activated;
  std::vector<int> sounding;  // the outputs that carry the plug-in's sound
  std::vector<int> kept;      // the output set stored afterwards, which the settings dialog shows
};

TEST_F(AudioEngineTest, StoredChannelsTheDeviceLacksAreDroppedWithAWordAndTheLogNamesWhatPlays) {
  // The test device has two inputs and two outputs.
  const StoredChannelsCase cases[] = {
      {"", "7; 9", 2, "  Inputs:\n  Outputs:\n    Output 1\n    Output 2\n", {0, 1}, {0, 1}},
      {"4; 1", "5; 1", 2, "  Inputs:\n    Input 2\n  Outputs:\n    Output 2\n", {1}, {-1, 1}},
      {"7; 9", "1; 1", 3, "  Inputs:\n  Outputs:\n    Output 2\n", {1}, {1, -1}},
      {"-1; 0", "-1; 1", 0, "  Inputs:\n    Input 1\n  Outputs:\n    Output 2\n", {1}, {-1, 1}},
  };
  Testing::RecordingPluginLibrary plugin;
  plugin.Configure(0, 2, 2, 16);  // no inputs: it writes 0.5 to both outputs
  for (const StoredChannelsCase& c : cases) {
    const std::string stored = std::string(c.inputs) + " / " + c.outputs;
    logic.reset();
    asio.Configure(TestAsio::Config());
    WriteSettings(path, "ASIO", "Test ASIO", c.inputs, c.outputs);
    config = std::make_unique<Configuration>(path);
    log.Clear();
    MakeLogic();
    ASSERT_EQ(Info().GetAudioDriverName(), "Test ASIO") << stored;
    logic->CreatePlugin(plugin.Path());
    Settle();
    Info().StartDriver();
    Settle();

    EXPECT_EQ(log.Count(" dropped: "), c.dropped) << stored << "\n" << log.Text();
    EXPECT_EQ(ActivatedChannels(log.Text()), c.activated) << stored;
    ASSERT_TRUE(logic->IsAudioRunning()) << stored;
    ASSERT_EQ(RunBlocksOnDriverThread(kMutedBlocks + 2), kMutedBlocks + 2) << stored;
    for (long channel = 0; channel < 2; ++channel) {
      const std::vector<long> samples = asio.Output(channel);
      const bool sounds = std::count(c.sounding.begin(), c.sounding.end(), channel) > 0;
      EXPECT_EQ(!samples.empty() && std::fabs(samples.back() - 0.5 * 2147483647.0) < 2.0, sounds)
          << stored << ", output " << channel;
    }
    std::vector<int> kept;
    Info().LoadOutputConfig("Stereo Output", kept);
    EXPECT_EQ(kept, c.kept) << stored;
  }
}

// The same on DirectSound, which names every output but the first "Right Speaker".
TEST_F(AudioEngineTest, StoredChannelsADirectSoundDeviceLacksGiveWayToItsSpeakers) {
  WriteSettings(path, "DirectSound", "Primary Sound Driver", "", "7; 9");
  config = std::make_unique<Configuration>(path);
  MakeLogic();
  if (Info().GetAudioDriverName() != "Primary Sound Driver")
    GTEST_SKIP() << "no DirectSound device (start the test services)";
  Info().StartDriver();
  Settle();
  EXPECT_TRUE(logic->IsAudioRunning());
  Info().StopDriver();
  Settle();
  const char* const said[] = {
      "Output channel 7 of \"Stereo Output\" dropped: the device's outputs are 0 to 1\n",
      "Output channel 9 of \"Stereo Output\" dropped: the device's outputs are 0 to 1\n",
      "No output channel of \"Stereo Output\" is left: it takes the device's first outputs, 0; 1\n",
  };
  for (const char* line : said) EXPECT_EQ(log.Count(line), 1) << line;
  EXPECT_EQ(ActivatedChannels(log.Text()), "  Inputs:\n  Outputs:\n    Left Speaker\n    Right Speaker\n");
}

TEST_F(AudioEngineTest, ADriverReportingNoUsableRateOrSizeChangesNothing) {
  Testing::RecordingPluginLibrary plugin;
  plugin.Configure(0, 2, 2, 16);
  ASSERT_NE(StartWith(plugin.Path()), nullptr);
  plugin.Clear();
  for (const double rate : {0.0, -44100.0, std::nan(""), HUGE_VAL})
    std::thread([&] { asio.ReportRate(rate); }).join();
  Audio().OnBufferSizeChanged(0);
  Audio().OnBufferSizeChanged(-256);
  Settle();
  EXPECT_EQ(Audio().SampleRate(), 44100.0);
  EXPECT_EQ(Audio().BlockSize(), 256);
  EXPECT_EQ(Audio().Transport().Position().sampleRate, 44100.0);
  EXPECT_TRUE(plugin.Lines("disp 10 ").empty()) << "the plug-in heard of no rate";
  EXPECT_TRUE(plugin.Lines("disp 11 ").empty()) << "the plug-in heard of no size";
  EXPECT_EQ(Info().GetSampleRate(), 44100.0);
}

TEST_F(AudioEngineTest, APluginWithMoreOutputsThanTheHostCarriesIsRefusedAndBlocksGoOn) {
  Testing::RecordingPluginLibrary plugin;
  plugin.Configure(0, 100, 2, 16);
  IPlugin* record = StartWith(plugin.Path());
  ASSERT_NE(record, nullptr);
  EXPECT_FALSE(record->IsActive());
  EXPECT_EQ(log.Count("Plugin has more than 64 inputs or outputs\n"), 1);
  ASSERT_EQ(RunBlocksOnDriverThread(kMutedBlocks + 2), kMutedBlocks + 2);
  EXPECT_TRUE(plugin.Lines("process").empty());
  EXPECT_EQ(asio.Output(0).back(), 0);
}

TEST_F(AudioEngineTest, StoredDriverRateAndSizeComeBackAtTheNextStart) {
  Testing::RecordingPluginLibrary plugin;
  plugin.Configure(0, 2, 2, 16);
  ASSERT_NE(StartWith(plugin.Path()), nullptr);
  Info().ConfigureDriver(48000.0, 512);
  Settle();
  EXPECT_EQ(Audio().SampleRate(), 48000.0);
  EXPECT_EQ(Audio().BlockSize(), 512);
  EXPECT_EQ(Info().GetBufferSize(), 512);
  EXPECT_EQ(Audio().Transport().Position().sampleRate, 48000.0);
  EXPECT_FALSE(plugin.Lines("disp 11 0 512").empty()) << "the plug-in heard of the new block size";
  ASSERT_TRUE(config->GetDocument()->Save(path));

  logic.reset();
  config = std::make_unique<Configuration>(path);
  MakeLogic();
  EXPECT_EQ(Info().GetAudioDriverName(), "Test ASIO");
  EXPECT_EQ(Info().GetBufferSize(), 512);
  EXPECT_EQ(Info().GetSampleRate(), 48000.0);
  EXPECT_EQ(Audio().BlockSize(), 512);
  std::vector<int> outputs;
  Info().LoadOutputConfig("Stereo Output", outputs);
  EXPECT_EQ(outputs, (std::vector<int>{0, 1}));
}

TEST_F(AudioEngineTest, WithoutADriverObjectDriverRequestsOnlyLog) {
  MakeLogic();
  int lists = 0;
  Info().DriverListChanged.connect([&] { ++lists; });
  Audio().SetAudioSystem(7);  // no such system: no driver is made
  Settle();
  EXPECT_EQ(Audio().Driver(), nullptr);
  EXPECT_EQ(lists, 1);
  EXPECT_TRUE(Info().GetAudioDrivers().empty());

  log.Clear();
  Info().StopDriver();
  Info().ShowAudioConfigPanel();
  Info().StartDriver();
  Info().SetOutputConfig("Stereo Output", {0, 1});
  Audio().AddIOConfig(true, "Stereo Input", {0});
  EXPECT_EQ(log.Count("=> StopDriver\n"), 1);
  EXPECT_EQ(log.Count("=> ShowAudioConfigPanel\n"), 1);
  EXPECT_EQ(log.Count("No audio driver loaded!\n"), 1);
  EXPECT_EQ(log.Count("No audio driver loaded.\n"), 1);
  EXPECT_FALSE(logic->IsAudioRunning());
  EXPECT_EQ(logic->GetCpuLoad(), 0.0f);
}

TEST_F(AudioEngineTest, SelectingTheCurrentSystemChangesNothing) {
  MakeLogic();
  int lists = 0;
  Info().DriverListChanged.connect([&] { ++lists; });
  Info().SelectAudioSystem(0);
  Settle();
  EXPECT_EQ(lists, 0);
  EXPECT_NE(Audio().Driver(), nullptr);
}

TEST_F(AudioEngineTest, RateAndSizeNewsReachTheSignalsOnlyWhenTheyChange) {
  MakeLogic();
  Info().SelectAudioDriverByName("Test ASIO");
  Settle();
  std::vector<double> rates;
  std::vector<int> sizes;
  Audio().SampleRateChanged.connect([&](double rate) { rates.push_back(rate); });
  Audio().BlockSizeChanged.connect([&](int frames) { sizes.push_back(frames); });
  int driverChanged = 0;
  Info().DriverChanged.connect([&] { ++driverChanged; });

  Audio().OnSampleRateChanged(Audio().SampleRate());
  Audio().OnBufferSizeChanged(Audio().BlockSize());
  Settle();
  EXPECT_TRUE(rates.empty());
  EXPECT_TRUE(sizes.empty());
  EXPECT_EQ(driverChanged, 0);

  Audio().OnSampleRateChanged(48000.0);
  Audio().OnBufferSizeChanged(128);
  Settle();
  EXPECT_EQ(rates, std::vector<double>{48000.0});
  EXPECT_EQ(sizes, std::vector<int>{128});
  EXPECT_EQ(Audio().Transport().Position().sampleRate, 48000.0);
  EXPECT_GE(driverChanged, 2);
}

TEST_F(AudioEngineTest, EveryStartRegistersTheThreadOfItsFirstBlock) {
  Testing::RecordingPluginLibrary plugin;
  plugin.Configure(0, 2, 2, 16);
  ASSERT_NE(StartWith(plugin.Path()), nullptr);
  for (int start = 0; start < 3; ++start) {
    int level = 0;
    ASSERT_EQ(RunBlocksOnDriverThread(2, &level), 2);
    EXPECT_EQ(level, ProcessLevelRegistry::AudioThread) << "start " << start;
    Info().StopDriver();
    Info().StartDriver();
  }
}

TEST_F(AudioEngineTest, DeletingTheLogicWhileTheDriverPlaysEndsCleanly) {
  TestAsio::Config driver;
  driver.timerThread = 1;
  driver.timerPeriodMs = 1;
  asio.Configure(driver);
  Testing::RecordingPluginLibrary plugin;
  plugin.Configure(2, 2, 2, 16);
  ASSERT_NE(StartWith(plugin.Path()), nullptr);
  for (int i = 0; i < 2000 && asio.BlockCount() < 20; ++i) Sleep(1);
  EXPECT_GE(asio.BlockCount(), 1);
  logic.reset();
  EXPECT_EQ(plugin.Instances(), 0);
  const long blocks = asio.BlockCount();
  Sleep(20);
  EXPECT_EQ(asio.BlockCount(), blocks) << "the driver stopped";
}

TEST_F(AudioEngineTest, SilencingFadesTheOutputOutStopsTheDriverAndTheNextStartPlaysAtFullLevel) {
  TestAsio::Config driver;
  driver.timerThread = 1;
  driver.timerPeriodMs = 1;
  asio.Configure(driver);
  Testing::RecordingPluginLibrary plugin;
  plugin.Configure(0, 2, 2, 16);  // writes 0.5
  ASSERT_NE(StartWith(plugin.Path()), nullptr);
  for (int i = 0; i < 4000 && asio.BlockCount() < kMutedBlocks + 5; ++i) Sleep(1);
  plugin.Clear();

  logic->SilenceAudio();
  EXPECT_FALSE(logic->IsAudioRunning());
  // Every channel's notes are switched off.
  EXPECT_EQ(plugin.Lines("midi b0 123 0").size(), 1u);
  EXPECT_EQ(plugin.Lines("midi bf 123 0").size(), 1u);
  EXPECT_EQ(plugin.Lines("midi b7 120 0").size(), 1u);
  const std::vector<long> faded = asio.Output(0);
  // The fade lasts 20 ms (882 frames), then at least two blocks go out silent.
  const auto lastFull =
      std::find_if(faded.rbegin(), faded.rend(), [](long s) { return s >= (1L << 30) - 1; });
  ASSERT_NE(lastFull, faded.rend());
  const std::size_t tail = static_cast<std::size_t>(lastFull - faded.rbegin());
  EXPECT_GE(tail, 882u + 2u * 256u);
  EXPECT_TRUE(std::all_of(faded.end() - 512, faded.end(), [](long s) { return s == 0; }));
  EXPECT_GT(faded[faded.size() - tail + 441], (1L << 29) - (1L << 24)) << "halfway through the fade";
  EXPECT_LT(faded[faded.size() - tail + 441], (1L << 29) + (1L << 24)) << "halfway through the fade";

  // Started again, the output plays at full level once the driver's muted blocks are over.
  Info().StartDriver();
  ASSERT_TRUE(logic->IsAudioRunning());
  const std::size_t before = asio.Output(0).size();
  for (int i = 0; i < 4000 && asio.Output(0).size() < before + (kMutedBlocks + 5) * 256; ++i) Sleep(1);
  EXPECT_NEAR(asio.Output(0).back(), 1L << 30, 1 << 8);
}

// A device with long blocks, as ASIO allows (32768 frames, delivered in real time, 0.74 s each):
// silencing waits for the block that fades and the two silent ones after it, however long they
// take, before the driver stops.
TEST_F(AudioEngineTest, SilencingWaitsForTheSilentBlocksOfLongBlocks) {
  TestAsio::Config driver;
  driver.timerThread = 1;
  driver.maximumSize = 32768;
  driver.preferredSize = 32768;
  driver.timerPeriodMs = 743;
  asio.Configure(driver);
  Testing::RecordingPluginLibrary plugin;
  plugin.Configure(0, 2, 2, 16);
  ASSERT_NE(StartWith(plugin.Path()), nullptr);
  ASSERT_EQ(Audio().BlockSize(), 32768);
  for (int i = 0; i < 4000 && asio.BlockCount() < 1; ++i) Sleep(1);
  const long before = asio.BlockCount();
  logic->SilenceAudio();
  EXPECT_FALSE(logic->IsAudioRunning());
  EXPECT_GE(asio.BlockCount() - before, 3) << "the block that fades and two silent ones";
}

TEST_F(AudioEngineTest, TheInstrumentPlaysANote) {
  const std::string instrument = Testing::PluginPath("zintara3");
  if (GetFileAttributesA(instrument.c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "zintara3.dll is not built";
  IPlugin* record = StartWith(instrument);
  ASSERT_NE(record, nullptr);
  EXPECT_TRUE(record->IsActive());
  EXPECT_FALSE(record->GetPatches().empty());
  record->InjectMidi(0x7F3C90, 0);
  ASSERT_EQ(RunBlocksOnDriverThread(200), 200);
  const std::vector<long> left = asio.Output(0);
  ASSERT_FALSE(left.empty());
  const long peak =
      *std::max_element(left.begin(), left.end(), [](long a, long b) { return std::labs(a) < std::labs(b); });
  EXPECT_GT(std::labs(peak), 1L << 20) << "the note is heard";
  const int id = record->GetId();
  record->Dispose();
  Settle();
  EXPECT_EQ(logic->GetPlugin(id), nullptr);
}

// Each request of the user interface reaches the plug-in of its record's id with its arguments.
TEST_F(AudioEngineTest, EveryPluginRequestReachesItsPluginWithItsArguments) {
  Testing::RecordingPluginLibrary plugin;
  plugin.Configure(0, 2, 3, effFlagsCanReplacing | effFlagsHasEditor | effFlagsIsSynth);
  IPlugin* record = StartWith(plugin.Path());
  ASSERT_NE(record, nullptr);
  ASSERT_EQ(logic->GetPlugin(record->GetId()), record);
  const auto parent = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x5A17C0));
  const struct {
    const char* request;
    std::function<void(IPlugin&)> post;
    std::vector<std::string> calls;  // what the plug-in's dispatcher receives
  } cases[] = {
      {"SetPatch", [](IPlugin& p) { p.SetPatch(2); }, {"disp 2 2 2 0.00000"}},
      {"KeyDown",
       [](IPlugin& p) {
         p.KeyDown(PluginKeyEvent{65, 1028, 9});
       },
       {"disp 59 65 7 9.00001"}},
      {"KeyUp",
       [](IPlugin& p) {
         p.KeyUp(PluginKeyEvent{66, 1024, 2});
       },
       {"disp 60 66 1 2.00001"}},
      {"OpenWindow",
       [parent](IPlugin& p) { p.OpenWindow(parent); },
       {"disp 14 0 0 0.00000", "editor parent 5a17c0", "disp 13 0 0 0.00000"}},
      {"IdleWindow", [](IPlugin& p) { p.IdleWindow(); }, {"disp 19 0 0 0.00000"}},
      {"CloseWindow", [](IPlugin& p) { p.CloseWindow(); }, {"disp 15 0 0 0.00000"}},
  };
  for (const auto& c : cases) {
    plugin.Clear();
    c.post(*record);
    Settle();
    std::vector<std::string> calls = plugin.Lines("disp ");
    for (const std::string& line : plugin.Lines("editor ")) calls.insert(calls.begin() + 1, line);
    EXPECT_EQ(calls, c.calls) << c.request;
  }
  plugin.Clear();
  record->Dispose();
  Settle();
  EXPECT_EQ(plugin.Instances(), 0);
  EXPECT_EQ(plugin.Lines("disp 1 ").size(), 1u);
}

// Each request on the audio settings reaches the engine and its driver with its arguments.
TEST_F(AudioEngineTest, EveryDriverRequestReachesTheEngineWithItsArguments) {
  Testing::RecordingPluginLibrary plugin;
  plugin.Configure(0, 2, 2, 16);
  ASSERT_NE(StartWith(plugin.Path()), nullptr);
  EXPECT_TRUE(logic->IsAudioRunning());
  Info().StopDriver();
  Settle();
  EXPECT_FALSE(logic->IsAudioRunning());

  // Only output channel 1, fed from the plug-in's first output (0.5 from a plug-in without inputs).
  Info().SetOutputConfig("Stereo Output", {1});
  Info().StartDriver();
  Settle();
  EXPECT_TRUE(logic->IsAudioRunning());
  ASSERT_EQ(RunBlocksOnDriverThread(kMutedBlocks + 1), kMutedBlocks + 1);
  const std::vector<long> used = asio.Output(1);
  ASSERT_FALSE(used.empty());
  EXPECT_NEAR(used.back(), 0.5 * 2147483647.0, 2.0);
  for (long sample : asio.Output(0)) ASSERT_EQ(sample, 0);

  asio.Configure(TestAsio::Config());
  Info().ShowAudioConfigPanel();
  Settle();
  const std::string calls = asio.Calls();
  ASSERT_NE(calls.find("stop"), std::string::npos) << calls;
  EXPECT_LT(calls.find("stop"), calls.find("controlPanel")) << calls;

  Info().SelectAudioSystem(1);
  Settle();
  EXPECT_EQ(Info().GetAudioSystemName(), "DirectSound");
  Info().SelectAudioSystem(0);
  Settle();
  Info().SelectAudioDriver(0);
  Settle();
  EXPECT_EQ(Info().GetAudioDriverName(), "Test ASIO");
}

}  // namespace
}  // namespace Ombix::Kelvane
