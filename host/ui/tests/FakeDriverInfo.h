#pragma once

#include "host/core/IDriverInfo.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace Testing {

// A driver settings model held in memory: systems with their drivers, the selected driver's
// figures, output sets stored per system and driver, and a record of what was asked of it.
// Selecting a system or driver answers with the signals at once, as the real model does once
// the core has applied its events.
class FakeDriverInfo : public Ombix::Kelvane::IDriverInfo {
 public:
  struct Driver {
    std::string name;
    std::vector<double> rates;
    double rate = 44100.0;
    int bufferSize = 256;
    int minimum = 64;
    int maximum = 2048;
    int granularity = -1;
    std::vector<std::string> outputs;
  };

  void AddSystem(const std::string& name, const std::vector<Driver>& drivers);

  void SelectAudioDriver(int index) override;
  void SelectAudioDriverByName(const std::string& name) override;
  void SelectAudioSystem(int index) override;
  void SelectAudioSystemByName(const std::string& name) override;
  const std::vector<std::string>& GetAudioSystems() override { return systemNames_; }
  const std::vector<std::string>& GetAudioDrivers() override { return driverNames_; }
  const std::vector<double>& GetSampleRates() override { return Current().rates; }
  const std::vector<std::string>& GetInputNames() override { return noNames_; }
  const std::vector<std::string>& GetOutputNames() override { return Current().outputs; }
  void SaveInputConfig(const std::string&, const std::string&, const std::string&,
                       const std::vector<int>&) override {}
  void SetInputConfig(const std::string&, const std::vector<int>&) override {}
  void SaveOutputConfig(const std::string& system, const std::string& driver, const std::string& name,
                        const std::vector<int>& channels) override;
  void SetOutputConfig(const std::string& name, const std::vector<int>& channels) override;
  void LoadInputConfig(const std::string&, std::vector<int>&) override {}
  void LoadOutputConfig(const std::string& name, std::vector<int>& channels) override;
  int GetMinBufferSize() override { return Current().minimum; }
  int GetMaxBufferSize() override { return Current().maximum; }
  int GetBufferGranularity() override { return Current().granularity; }
  std::string GetAudioSystemName() override;
  std::string GetAudioDriverName() override { return Current().name; }
  int GetBufferSize() override { return Current().bufferSize; }
  double GetSampleRate() override { return Current().rate; }
  void ShowAudioConfigPanel() override { ++configPanelShown; }
  void StartDriver() override { ++driverStarts; }
  void StopDriver() override {}
  void ConfigureDriver(double sampleRate, int bufferSize) override;

  std::vector<std::pair<double, int>> configured;
  int driverStarts = 0;
  int configPanelShown = 0;
  // Output sets by system, driver and set name.
  std::map<std::string, std::vector<int>> outputSets;

 private:
  Driver& Current();

  std::vector<std::string> systemNames_;
  std::vector<std::vector<Driver>> systems_;
  std::vector<std::string> driverNames_;
  std::vector<std::string> noNames_;
  Driver none_{"No Audio Driver", {}, 44100.0, 256, 256, 256, 0, {}};
  int system_ = -1;
  int driver_ = -1;
};

}  // namespace Testing
