#include "host/ui/tests/FakeDriverInfo.h"

namespace Testing {

void FakeDriverInfo::AddSystem(const std::string& name, const std::vector<Driver>& drivers) {
  systemNames_.push_back(name);
  systems_.push_back(drivers);
}

FakeDriverInfo::Driver& FakeDriverInfo::Current() {
  if (system_ < 0 || driver_ < 0) {
    return none_;
  }
  return systems_[system_][driver_];
}

std::string FakeDriverInfo::GetAudioSystemName() {
  return system_ < 0 ? "No Audio System" : systemNames_[system_];
}

void FakeDriverInfo::SelectAudioSystem(int index) {
  system_ = index;
  driver_ = -1;
  driverNames_.clear();
  for (const Driver& driver : systems_[index]) {
    driverNames_.push_back(driver.name);
  }
  DriverListChanged();
  SelectAudioDriver(0);
}

void FakeDriverInfo::SelectAudioSystemByName(const std::string& name) {
  for (std::size_t i = 0; i < systemNames_.size(); ++i) {
    if (systemNames_[i] == name) {
      SelectAudioSystem(static_cast<int>(i));
      return;
    }
  }
}

void FakeDriverInfo::SelectAudioDriver(int index) {
  driver_ = index;
  DriverChanged();
}

void FakeDriverInfo::SelectAudioDriverByName(const std::string& name) {
  for (std::size_t i = 0; i < driverNames_.size(); ++i) {
    if (driverNames_[i] == name) {
      SelectAudioDriver(static_cast<int>(i));
      return;
    }
  }
}

void FakeDriverInfo::SaveOutputConfig(const std::string& system, const std::string& driver,
                                      const std::string& name, const std::vector<int>& channels) {
  outputSets[system + "/" + driver + "/" + name] = channels;
}

void FakeDriverInfo::SetOutputConfig(const std::string& name, const std::vector<int>& channels) {
  if (driver_ >= 0) {
    SaveOutputConfig(GetAudioSystemName(), GetAudioDriverName(), name, channels);
  }
}

void FakeDriverInfo::LoadOutputConfig(const std::string& name, std::vector<int>& channels) {
  channels.clear();
  const auto found = outputSets.find(GetAudioSystemName() + "/" + GetAudioDriverName() + "/" + name);
  if (found != outputSets.end()) {
    channels = found->second;
  }
}

void FakeDriverInfo::ConfigureDriver(double sampleRate, int bufferSize) {
  configured.emplace_back(sampleRate, bufferSize);
}

}  // namespace Testing
