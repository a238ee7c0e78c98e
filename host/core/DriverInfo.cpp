#include "host/core/DriverInfo.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/config/Configuration.h"
#include "common/logging/Logger.h"
#include "host/core/AudioLimits.h"
#include "host/core/ILogic.h"
#include "host/core/commands/ConfigureAudioDriver.h"
#include "host/core/commands/SetAudioDriver.h"
#include "host/core/commands/SetAudioSystem.h"
#include "host/core/commands/SetIOConfiguration.h"
#include "host/core/commands/ShowAudioConfigPanel.h"
#include "host/core/commands/StartDriver.h"
#include "host/core/commands/StopDriver.h"

namespace Ombix::Kelvane {

namespace {

using Common::Logging::theLogger;

const char* const systemKey = "Drivers/AudioSystem";
const char* const driverKey = "Drivers/AudioDriver";
const char* const inputSide = "Input";
const char* const outputSide = "Output";
// An entry of a channel set that leads to no channel of the device.
constexpr int kNoChannel = -1;
// How many outputs a new device plays on: the settings dialog offers its first two.
constexpr std::size_t kDefaultOutputs = 2;

// Names are stored in attributes whose text must not hold markup characters.
std::string Sanitise(std::string name) {
  std::replace_if(
      name.begin(), name.end(), [](char c) { return c == '<' || c == '>' || c == '"'; }, '_');
  return name;
}

// Every name that occurs more than once gets a running number: "In [1]", "In [2]".
void MakeUnique(std::vector<std::string>& names) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string name = names[i];
    if (std::count(names.begin(), names.end(), name) < 2) continue;
    int number = 1;
    for (std::string& entry : names) {
      if (entry == name) entry = name + " [" + std::to_string(number++) + "]";
    }
  }
}

std::string JoinChannels(const std::vector<int>& channels) {
  std::string text;
  for (std::size_t i = 0; i < channels.size(); ++i) {
    if (i > 0) text += "; ";
    text += std::to_string(channels[i]);
  }
  return text;
}

std::vector<int> SplitChannels(const std::string& text) {
  std::vector<int> channels;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    const std::string piece = text.substr(start, end - start);
    const std::size_t digits = piece.find_first_not_of(' ');
    channels.push_back(digits == std::string::npos ? 0 : std::atoi(piece.c_str() + digits));
    start = end + 1;
  }
  return channels;
}

// Says in the log which channel of a set is left out, and why.
void LogDropped(bool input, int channel, const std::string& name, const std::string& reason) {
  theLogger.Warning("%s channel %d of \"%s\" dropped: %s\n", input ? "Input" : "Output", channel,
                    name.c_str(), reason.c_str());
}

// The set with every channel the device does not have, and every repetition of a channel, replaced by
// kNoChannel, each with a log line: a stored set may name channels the device no longer has (or never
// had, in a hand-edited file), or one channel twice (two outputs would then share one buffer and one of
// them would be lost). Positions stay, since the n-th entry belongs to the plug-in's n-th input or
// output. kNoChannel itself is a choice (the settings dialog's "<disabled>"), not a fault.
std::vector<int> UsableChannels(bool input, const std::string& name, const std::vector<int>& channels,
                                std::size_t count) {
  const std::string side = input ? "inputs" : "outputs";
  const std::string present = count == 0 ? "the device has no " + side
                                         : "the device's " + side + " are 0 to " + std::to_string(count - 1);
  std::vector<int> usable;
  for (const int channel : channels) {
    const bool exists = channel >= 0 && static_cast<std::size_t>(channel) < count;
    const bool repeated = exists && std::find(usable.begin(), usable.end(), channel) != usable.end();
    if (!exists && channel != kNoChannel) LogDropped(input, channel, name, present);
    if (repeated) LogDropped(input, channel, name, "it is in the set already");
    usable.push_back(exists && !repeated ? channel : kNoChannel);
  }
  return usable;
}

bool HasChannel(const std::vector<int>& channels) {
  return std::any_of(channels.begin(), channels.end(), [](int channel) { return channel != kNoChannel; });
}

}  // namespace

DriverInfo::DriverInfo(ILogic* logic, Common::Config::Configuration* configuration)
    : configuration_(configuration), logic_(logic) {}

void DriverInfo::SelectAudioDriver(int index) {
  logic_->PostCommand(new Commands::SetAudioDriver(index));
}

void DriverInfo::SelectAudioDriverByName(const std::string& name) {
  const auto found = std::find(drivers_.begin(), drivers_.end(), name);
  if (found != drivers_.end()) SelectAudioDriver(static_cast<int>(found - drivers_.begin()));
}

void DriverInfo::SelectAudioSystem(int index) {
  logic_->PostCommand(new Commands::SetAudioSystem(index));
}

void DriverInfo::SelectAudioSystemByName(const std::string& name) {
  const auto found = std::find(systems_.begin(), systems_.end(), name);
  if (found != systems_.end()) SelectAudioSystem(static_cast<int>(found - systems_.begin()));
}

std::string DriverInfo::DriverKey(const std::string& system, const std::string& driver, bool create) {
  const std::string systemPath = configuration_->ElementPathWithAttribute("Drivers/DriverInfo/AudioSystem",
                                                                          "Name", Sanitise(system), create);
  return configuration_->ElementPathWithAttribute(systemPath + "Driver", "Name", Sanitise(driver), create);
}

void DriverInfo::SaveChannels(const char* side, const std::string& system, const std::string& driver,
                              const std::string& name, const std::vector<int>& channels) {
  if (driver.empty() || !configuration_) return;
  const std::string configPath = DriverKey(system, driver, true) + side + "/Config";
  const std::string key = configuration_->ElementPathWithAttribute(configPath, "Name", Sanitise(name), true);
  configuration_->SetString(key + "Channels", JoinChannels(channels));
}

void DriverInfo::LoadChannels(const char* side, const std::string& name, std::vector<int>& channels) {
  const std::string driver = GetAudioDriverName();
  if (!HasDriver() || driver.empty()) return;
  channels.clear();
  if (!configuration_) return;
  const std::string configPath = DriverKey(GetAudioSystemName(), driver, false) + side + "/Config";
  const std::string key = configuration_->ElementPathWithAttribute(configPath, "Name", Sanitise(name), false);
  const std::string text = configuration_->GetString(key + "Channels", "");
  if (!text.empty()) channels = SplitChannels(text);
}

bool DriverInfo::HasDriver() const {
  return driverIndex_ >= 0 && driverIndex_ < static_cast<int>(drivers_.size());
}

void DriverInfo::SaveInputConfig(const std::string& system, const std::string& driver,
                                 const std::string& name, const std::vector<int>& channels) {
  SaveChannels(inputSide, system, driver, name, channels);
  if (driver == GetAudioDriverName())
    logic_->PostCommand(new Commands::SetIOConfiguration(true, name, channels));
}

void DriverInfo::SaveOutputConfig(const std::string& system, const std::string& driver,
                                  const std::string& name, const std::vector<int>& channels) {
  SaveChannels(outputSide, system, driver, name, channels);
  if (driver == GetAudioDriverName())
    logic_->PostCommand(new Commands::SetIOConfiguration(false, name, channels));
}

void DriverInfo::SetInputConfig(const std::string& name, const std::vector<int>& channels) {
  if (HasDriver())
    SaveInputConfig(GetAudioSystemName(), GetAudioDriverName(), name,
                    UsableChannels(true, name, channels, inputNames_.size()));
}

void DriverInfo::SetOutputConfig(const std::string& name, const std::vector<int>& channels) {
  if (HasDriver())
    SaveOutputConfig(GetAudioSystemName(), GetAudioDriverName(), name, PlayableOutputs(name, channels));
}

std::vector<int> DriverInfo::PlayableOutputs(const std::string& name, const std::vector<int>& channels) {
  const std::vector<int> usable = UsableChannels(false, name, channels, outputNames_.size());
  // A set whose every channel was dropped would play nothing without a word; it plays where a new
  // device does instead. A set chosen to have no channel (or none at all) stays as it is.
  const bool dropped = usable != channels;
  if (!dropped || HasChannel(usable) || outputNames_.empty()) return usable;
  std::vector<int> first;
  for (std::size_t channel = 0; channel < std::min(kDefaultOutputs, outputNames_.size()); ++channel)
    first.push_back(static_cast<int>(channel));
  theLogger.Warning("No output channel of \"%s\" is left: it takes the device's first outputs, %s\n",
                    name.c_str(), JoinChannels(first).c_str());
  return first;
}

void DriverInfo::LoadInputConfig(const std::string& name, std::vector<int>& channels) {
  LoadChannels(inputSide, name, channels);
}

void DriverInfo::LoadOutputConfig(const std::string& name, std::vector<int>& channels) {
  LoadChannels(outputSide, name, channels);
}

std::string DriverInfo::GetAudioSystemName() {
  return systemIndex_ >= 0 && systemIndex_ < static_cast<int>(systems_.size()) ? systems_[systemIndex_]
                                                                               : "No Audio System";
}

std::string DriverInfo::GetAudioDriverName() {
  return HasDriver() ? drivers_[driverIndex_] : "No Audio Driver";
}

void DriverInfo::ShowAudioConfigPanel() {
  logic_->PostCommand(new Commands::ShowAudioConfigPanel());
}

void DriverInfo::StartDriver() {
  logic_->PostCommand(new Commands::StartDriver());
}

void DriverInfo::StopDriver() {
  logic_->PostCommand(new Commands::StopDriver());
}

void DriverInfo::ConfigureDriver(double sampleRate, int bufferSize) {
  if (!IsUsableSampleRate(sampleRate) || !IsUsableBlockSize(bufferSize)) return;
  if (configuration_ && HasDriver()) {
    const std::string key = DriverKey(GetAudioSystemName(), GetAudioDriverName(), true);
    configuration_->SetDouble(key + "SampleRate", sampleRate);
    configuration_->SetInt(key + "BufferSize", bufferSize);
  }
  logic_->PostCommand(new Commands::ConfigureAudioDriver(sampleRate, bufferSize));
}

void DriverInfo::OnAudioSystemListChanged(const std::vector<std::string>& names) {
  systems_ = names;
  if (configuration_) SelectAudioSystemByName(configuration_->GetString(systemKey, ""));
  SystemListChanged();
}

void DriverInfo::OnAudioDriverListChanged(int systemIndex, const std::vector<std::string>& names) {
  if (configuration_ && systemIndex >= 0 && systemIndex < static_cast<int>(systems_.size()))
    configuration_->SetString(systemKey, systems_[systemIndex]);
  driverIndex_ = -1;
  outputNames_.clear();
  inputNames_.clear();
  systemIndex_ = systemIndex;
  drivers_ = names;
  DriverListChanged();
  if (configuration_) SelectAudioDriverByName(configuration_->GetString(driverKey, ""));
}

void DriverInfo::OnAudioDriverChanged(int driverIndex, double sampleRate, int bufferSize,
                                      const std::vector<double>& sampleRates, int minBufferSize,
                                      int maxBufferSize, int granularity,
                                      const std::vector<std::string>& inputNames,
                                      const std::vector<std::string>& outputNames) {
  if (configuration_ && driverIndex >= 0 && driverIndex < static_cast<int>(drivers_.size()))
    configuration_->SetString(driverKey, drivers_[driverIndex]);
  driverIndex_ = driverIndex;
  sampleRate_ = sampleRate;
  bufferSize_ = bufferSize;
  minBufferSize_ = minBufferSize;
  maxBufferSize_ = maxBufferSize;
  granularity_ = granularity;
  sampleRates_ = sampleRates;
  inputNames_ = inputNames;
  outputNames_ = outputNames;
  MakeUnique(inputNames_);
  MakeUnique(outputNames_);

  std::vector<int> channels;
  LoadInputConfig("Stereo Input", channels);
  SetInputConfig("Stereo Input", channels);
  channels.clear();
  LoadOutputConfig("Stereo Output", channels);
  SetOutputConfig("Stereo Output", channels);
  DriverChanged();

  if (!configuration_ || !HasDriver()) return;
  const std::string key = DriverKey(GetAudioSystemName(), GetAudioDriverName(), false);
  // A stored value that is no rate or size (a damaged file) counts as absent.
  double storedRate = configuration_->GetDouble(key + "SampleRate", sampleRate);
  if (!IsUsableSampleRate(storedRate)) storedRate = sampleRate;
  int storedSize = configuration_->GetInt(key + "BufferSize", bufferSize);
  if (!IsUsableBlockSize(storedSize)) storedSize = bufferSize;
  if (std::fabs(storedRate - sampleRate) > 0.5 || storedSize != bufferSize)
    ConfigureDriver(storedRate, storedSize);
}

}  // namespace Ombix::Kelvane
