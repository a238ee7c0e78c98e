#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "common/config/Configuration.h"
#include "common/xml/XmlDocument.h"
#include "host/core/DriverInfo.h"
#include "host/core/commands/ConfigureAudioDriver.h"
#include "host/core/commands/SetAudioDriver.h"
#include "host/core/commands/SetAudioSystem.h"
#include "host/core/commands/SetIOConfiguration.h"
#include "host/core/tests/FakeLogic.h"

namespace Ombix::Kelvane {
namespace {

using Common::Config::Configuration;

const std::string systemElement = "Drivers/DriverInfo/AudioSystem<0>/";
const std::string driverElement = systemElement + "Driver<0>/";

class DriverInfoTest : public ::testing::Test {
 protected:
  DriverInfoTest()
      : path(Testing::makeTempFolder("driver_info") + "\\Quillam.cfg"),
        config(std::make_unique<Configuration>(path)),
        info(std::make_unique<DriverInfo>(&logic, config.get())) {}

  // The engine's news for the test driver, as the events deliver it.
  void ListAndChange(const std::string& driver, double rate, int size) {
    info->OnAudioSystemListChanged({"ASIO", "DirectSound"});
    info->OnAudioDriverListChanged(0, {"Other", driver});
    info->OnAudioDriverChanged(1, rate, size, {44100.0, 48000.0}, 64, 2048, -1, {"In", "In", "Line"},
                               {"Out L", "Out R"});
  }

  // Saves the store and reads it back from the file.
  void Reload() {
    ASSERT_TRUE(config->GetDocument()->Save(path));
    info.reset();
    config = std::make_unique<Configuration>(path);
    info = std::make_unique<DriverInfo>(&logic, config.get());
    logic.commands.clear();
  }

  std::string path;
  Testing::FakeLogic logic;
  std::unique_ptr<Configuration> config;
  std::unique_ptr<DriverInfo> info;
};

TEST_F(DriverInfoTest, FirstDriverChangeOnAFreshStoreKeepsEmptyStereoSets) {
  int driverChanged = 0;
  info->DriverChanged.connect([&] { ++driverChanged; });
  ListAndChange("Test ASIO", 44100.0, 256);
  EXPECT_EQ(driverChanged, 1);
  EXPECT_EQ(info->GetAudioSystemName(), "ASIO");
  EXPECT_EQ(info->GetAudioDriverName(), "Test ASIO");
  EXPECT_EQ(info->GetInputNames(), (std::vector<std::string>{"In [1]", "In [2]", "Line"}));
  EXPECT_EQ(info->GetMinBufferSize(), 64);
  EXPECT_EQ(info->GetBufferGranularity(), -1);

  const auto sets = logic.Posted<Commands::SetIOConfiguration>();
  ASSERT_EQ(sets.size(), 2u);
  EXPECT_TRUE(sets[0]->IsInput());
  EXPECT_EQ(sets[0]->Name(), "Stereo Input");
  EXPECT_FALSE(sets[1]->IsInput());
  EXPECT_TRUE(sets[1]->Channels().empty());
  EXPECT_TRUE(logic.Posted<Commands::ConfigureAudioDriver>().empty());

  Reload();
  EXPECT_EQ(config->GetString("Drivers/AudioSystem", ""), "ASIO");
  EXPECT_EQ(config->GetString("Drivers/AudioDriver", ""), "Test ASIO");
  EXPECT_EQ(config->GetString(systemElement + "Name", ""), "ASIO");
  EXPECT_EQ(config->GetString(driverElement + "Name", ""), "Test ASIO");
  EXPECT_EQ(config->GetString(driverElement + "Input/Config<0>/Name", ""), "Stereo Input");
  EXPECT_EQ(config->GetString(driverElement + "Input/Config<0>/Channels", "?"), "");
  EXPECT_EQ(config->GetString(driverElement + "Output/Config<0>/Name", ""), "Stereo Output");
}

struct RateCase {
  double reportedRate;
  int reportedSize;
  bool reconfigures;
};

TEST_F(DriverInfoTest, StoredRateAndSizeAreAskedForAgainWhenTheDriverReportsOthers) {
  ListAndChange("Test ASIO", 44100.0, 256);
  info->ConfigureDriver(48000.0, 512);
  ASSERT_EQ(logic.Posted<Commands::ConfigureAudioDriver>().size(), 1u);
  EXPECT_EQ(info->GetSampleRate(), 44100.0) << "the model waits for the driver's answer";
  Reload();
  EXPECT_EQ(config->GetDouble(driverElement + "SampleRate", 0.0), 48000.0);
  EXPECT_EQ(config->GetInt(driverElement + "BufferSize", 0), 512);

  const RateCase cases[] = {{44100.0, 256, true},
                            {48000.0, 256, true},
                            {48000.3, 512, false},
                            {48000.0, 512, false},
                            {47999.0, 512, true}};
  for (const RateCase& c : cases) {
    logic.commands.clear();
    ListAndChange("Test ASIO", c.reportedRate, c.reportedSize);
    const auto asked = logic.Posted<Commands::ConfigureAudioDriver>();
    ASSERT_EQ(asked.size(), c.reconfigures ? 1u : 0u) << c.reportedRate << " " << c.reportedSize;
    if (c.reconfigures) {
      EXPECT_EQ(asked[0]->SampleRate(), 48000.0);
      EXPECT_EQ(asked[0]->BufferSize(), 512);
    }
  }
}

TEST_F(DriverInfoTest, StoredChannelSetsComeBackOnTheNextDriverChange) {
  ListAndChange("Test <ASIO> \"2\"", 44100.0, 256);
  info->SetOutputConfig("Stereo Output", {0, 1});
  info->SetInputConfig("Stereo Input", {2});
  Reload();
  EXPECT_EQ(config->GetString(driverElement + "Name", ""), "Test _ASIO_ _2_");
  EXPECT_EQ(config->GetString(driverElement + "Output/Config<0>/Channels", ""), "0; 1");

  ListAndChange("Test <ASIO> \"2\"", 44100.0, 256);
  const auto sets = logic.Posted<Commands::SetIOConfiguration>();
  ASSERT_EQ(sets.size(), 2u);
  EXPECT_EQ(sets[0]->Channels(), std::vector<int>{2});
  EXPECT_EQ(sets[1]->Channels(), (std::vector<int>{0, 1}));
}

struct StoredSetCase {
  const char* stored;
  std::vector<int> used;
};

TEST_F(DriverInfoTest, ChannelSetsUseOnlyTheDevicesChannelsEachOnce) {
  ListAndChange("Test ASIO", 44100.0, 256);  // two outputs
  const std::string stored = driverElement + "Output/Config<0>/Channels";
  // A set left without a channel by what the device lacks plays on its first two outputs; one chosen
  // to have none stays so.
  const StoredSetCase cases[] = {
      {"0; 0", {0, -1}}, {"1; 0; 1", {1, 0, -1}}, {"5; 1", {-1, 1}}, {"-1; 0", {-1, 0}},   {"2", {0, 1}},
      {"0; 1", {0, 1}},  {"7; 9", {0, 1}},        {"-1; 7", {0, 1}}, {"-1; -1", {-1, -1}}, {"", {}},
  };
  for (const StoredSetCase& c : cases) {
    config->SetString(stored, c.stored);
    logic.commands.clear();
    ListAndChange("Test ASIO", 44100.0, 256);
    const auto sets = logic.Posted<Commands::SetIOConfiguration>();
    ASSERT_EQ(sets.size(), 2u) << c.stored;
    EXPECT_EQ(sets[1]->Channels(), c.used) << c.stored;
    std::vector<int> kept;
    info->LoadOutputConfig("Stereo Output", kept);
    EXPECT_EQ(kept, c.used) << c.stored;
  }

  logic.commands.clear();
  info->SetInputConfig("Stereo Input", {2, 2, 3, 0});  // three inputs
  const auto sets = logic.Posted<Commands::SetIOConfiguration>();
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0]->Channels(), (std::vector<int>{2, -1, -1, 0}));

  // Inputs a new device does not use either: a set that loses them all keeps none.
  logic.commands.clear();
  info->SetInputConfig("Stereo Input", {7, 9});
  const auto inputs = logic.Posted<Commands::SetIOConfiguration>();
  ASSERT_EQ(inputs.size(), 1u);
  EXPECT_EQ(inputs[0]->Channels(), (std::vector<int>{-1, -1}));
}

struct StoredRateCase {
  const char* rate;
  const char* size;
  bool reconfigures;
  double askedRate;
  int askedSize;
};

TEST_F(DriverInfoTest, StoredValuesThatAreNoRateOrSizeAreNeverAskedFor) {
  ListAndChange("Test ASIO", 44100.0, 256);
  const StoredRateCase cases[] = {
      {"abc", "256", false, 0.0, 0},    {"0", "256", false, 0.0, 0},     {"-48000", "256", false, 0.0, 0},
      {"nan", "256", false, 0.0, 0},    {"inf", "256", false, 0.0, 0},   {"44100", "0", false, 0.0, 0},
      {"44100", "-512", false, 0.0, 0}, {"44100", "big", false, 0.0, 0}, {"48000", "0", true, 48000.0, 256},
      {"0", "512", true, 44100.0, 512},
  };
  for (const StoredRateCase& c : cases) {
    config->SetString(driverElement + "SampleRate", c.rate);
    config->SetString(driverElement + "BufferSize", c.size);
    logic.commands.clear();
    ListAndChange("Test ASIO", 44100.0, 256);
    const auto asked = logic.Posted<Commands::ConfigureAudioDriver>();
    ASSERT_EQ(asked.size(), c.reconfigures ? 1u : 0u) << c.rate << " " << c.size;
    if (c.reconfigures) {
      EXPECT_EQ(asked[0]->SampleRate(), c.askedRate) << c.rate << " " << c.size;
      EXPECT_EQ(asked[0]->BufferSize(), c.askedSize) << c.rate << " " << c.size;
    }
  }

  // Nor are they taken from the user.
  config->SetString(driverElement + "SampleRate", "44100");
  config->SetString(driverElement + "BufferSize", "256");
  logic.commands.clear();
  const double nan = std::nan("");
  for (const auto& [rate, size] : std::vector<std::pair<double, int>>{
           {0.0, 256}, {nan, 256}, {-1.0, 256}, {44100.0, 0}, {HUGE_VAL, 64}}) {
    info->ConfigureDriver(rate, size);
  }
  EXPECT_TRUE(logic.commands.empty());
  EXPECT_EQ(config->GetString(driverElement + "SampleRate", ""), "44100");
  EXPECT_EQ(config->GetString(driverElement + "BufferSize", ""), "256");
}

struct ChannelTextCase {
  const char* text;
  std::vector<int> channels;
};

TEST_F(DriverInfoTest, ChannelTextsLoadAsLists) {
  const ChannelTextCase cases[] = {
      {"0; 1", {0, 1}}, {"3", {3}}, {"", {}}, {"5;7", {5, 7}}, {"  ; 2", {0, 2}}, {"12;   4; 9", {12, 4, 9}},
  };
  ListAndChange("Test ASIO", 44100.0, 256);
  const std::string key = config->ElementPathWithAttribute(
      config->ElementPathWithAttribute("Drivers/DriverInfo/AudioSystem<0>/Driver", "Name", "Test ASIO",
                                       false) +
          "Input/Config",
      "Name", "Mine", true);
  for (const ChannelTextCase& c : cases) {
    config->SetString(key + "Channels", c.text);
    std::vector<int> loaded{99};
    info->LoadInputConfig("Mine", loaded);
    EXPECT_EQ(loaded, c.channels) << '"' << c.text << '"';
  }
}

TEST_F(DriverInfoTest, StoredSystemAndDriverAreSelectedByName) {
  config->SetString("Drivers/AudioSystem", "DirectSound");
  config->SetString("Drivers/AudioDriver", "Primary Sound Driver");
  info->OnAudioSystemListChanged({"ASIO", "DirectSound"});
  info->OnAudioDriverListChanged(1, {"Other", "Primary Sound Driver"});
  const auto systems = logic.Posted<Commands::SetAudioSystem>();
  const auto drivers = logic.Posted<Commands::SetAudioDriver>();
  ASSERT_EQ(systems.size(), 1u);
  EXPECT_EQ(systems[0]->Index(), 1);
  ASSERT_EQ(drivers.size(), 1u);
  EXPECT_EQ(drivers[0]->Index(), 1);

  logic.commands.clear();
  config->SetString("Drivers/AudioDriver", "Gone");
  info->OnAudioDriverListChanged(1, {"Other"});
  EXPECT_TRUE(logic.Posted<Commands::SetAudioDriver>().empty());
}

TEST(DriverInfoWithoutStore, StoresNothingAndSelectsNothingByName) {
  Testing::FakeLogic logic;
  DriverInfo info(&logic, nullptr);
  EXPECT_EQ(info.GetAudioSystemName(), "No Audio System");
  EXPECT_EQ(info.GetAudioDriverName(), "No Audio Driver");
  EXPECT_EQ(info.GetBufferSize(), 256);
  EXPECT_EQ(info.GetSampleRate(), 44100.0);
  info.SetInputConfig("Stereo Input", {0, 1});
  EXPECT_TRUE(logic.commands.empty()) << "no driver is selected";

  info.OnAudioSystemListChanged({"ASIO", "DirectSound"});
  info.OnAudioDriverListChanged(0, {"Test ASIO"});
  EXPECT_TRUE(logic.commands.empty());
  info.OnAudioDriverChanged(0, 48000.0, 128, {48000.0}, 32, 1024, 32, {"In"}, {"Out"});
  EXPECT_EQ(info.GetSampleRate(), 48000.0);
  EXPECT_EQ(info.GetBufferSize(), 128);
  EXPECT_TRUE(logic.Posted<Commands::ConfigureAudioDriver>().empty());
}

}  // namespace
}  // namespace Ombix::Kelvane
