#pragma once

#include "host/core/IDriverInfo.h"

namespace Common::Config {
class Configuration;
}

namespace Ombix::Kelvane {

class ILogic;

// The audio settings model: filled by the engine's events on the GUI thread, its choices stored in
// the configuration under "Drivers/". On every driver change it re-applies the stored channel sets
// "Stereo Input" and "Stereo Output" and the stored rate and buffer size of that driver.
class DriverInfo : public IDriverInfo {
 public:
  // configuration may be null: then nothing is read or stored.
  DriverInfo(ILogic* logic, Common::Config::Configuration* configuration);
  DriverInfo(const DriverInfo&) = delete;
  DriverInfo& operator=(const DriverInfo&) = delete;

  void SelectAudioDriver(int index) override;
  void SelectAudioDriverByName(const std::string& name) override;
  void SelectAudioSystem(int index) override;
  void SelectAudioSystemByName(const std::string& name) override;
  const std::vector<std::string>& GetAudioSystems() override { return systems_; }
  const std::vector<std::string>& GetAudioDrivers() override { return drivers_; }
  const std::vector<double>& GetSampleRates() override { return sampleRates_; }
  const std::vector<std::string>& GetInputNames() override { return inputNames_; }
  const std::vector<std::string>& GetOutputNames() override { return outputNames_; }
  void SaveInputConfig(const std::string& system, const std::string& driver, const std::string& name,
                       const std::vector<int>& channels) override;
  // Channels the open device does not have, and repeated ones, become -1 (none), each with a log line.
  void SetInputConfig(const std::string& name, const std::vector<int>& channels) override;
  void SaveOutputConfig(const std::string& system, const std::string& driver, const std::string& name,
                        const std::vector<int>& channels) override;
  // As SetInputConfig; a set that keeps no channel that way plays on the device's first two outputs.
  void SetOutputConfig(const std::string& name, const std::vector<int>& channels) override;
  void LoadInputConfig(const std::string& name, std::vector<int>& channels) override;
  void LoadOutputConfig(const std::string& name, std::vector<int>& channels) override;
  int GetMinBufferSize() override { return minBufferSize_; }
  int GetMaxBufferSize() override { return maxBufferSize_; }
  int GetBufferGranularity() override { return granularity_; }
  std::string GetAudioSystemName() override;
  std::string GetAudioDriverName() override;
  int GetBufferSize() override { return bufferSize_; }
  double GetSampleRate() override { return sampleRate_; }
  void ShowAudioConfigPanel() override;
  void StartDriver() override;
  void StopDriver() override;
  // Does nothing for a rate that is not finite and positive or a size below 1.
  void ConfigureDriver(double sampleRate, int bufferSize) override;

  // The engine's news, applied by events on the GUI thread.
  void OnAudioSystemListChanged(const std::vector<std::string>& names);
  void OnAudioDriverListChanged(int systemIndex, const std::vector<std::string>& names);
  void OnAudioDriverChanged(int driverIndex, double sampleRate, int bufferSize,
                            const std::vector<double>& sampleRates, int minBufferSize, int maxBufferSize,
                            int granularity, const std::vector<std::string>& inputNames,
                            const std::vector<std::string>& outputNames);

 private:
  // The key prefix of the element of a driver of a system ("Drivers/DriverInfo/AudioSystem<i>/Driver<j>/").
  std::string DriverKey(const std::string& system, const std::string& driver, bool create);
  void SaveChannels(const char* side, const std::string& system, const std::string& driver,
                    const std::string& name, const std::vector<int>& channels);
  // The set with the channels the device lacks dropped; the first outputs when that drops them all.
  std::vector<int> PlayableOutputs(const std::string& name, const std::vector<int>& channels);
  void LoadChannels(const char* side, const std::string& name, std::vector<int>& channels);
  bool HasDriver() const;

  Common::Config::Configuration* const configuration_;
  ILogic* const logic_;
  int systemIndex_ = -1;
  int driverIndex_ = -1;
  int bufferSize_ = 256;
  int minBufferSize_ = 256;
  int maxBufferSize_ = 256;
  int granularity_ = 0;
  double sampleRate_ = 44100.0;
  std::vector<std::string> systems_;
  std::vector<std::string> drivers_;
  std::vector<double> sampleRates_;
  std::vector<std::string> inputNames_;
  std::vector<std::string> outputNames_;
};

}  // namespace Ombix::Kelvane
