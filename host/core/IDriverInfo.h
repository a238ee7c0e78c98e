#pragma once

#include <boost/signals2/signal.hpp>
#include <string>
#include <vector>

namespace Ombix::Kelvane {

// The user interface's model of the audio settings: systems, drivers of the selected system and the
// selected driver's rates, channels and buffer sizes. Its setters post commands.
class IDriverInfo {
 public:
  boost::signals2::signal<void()> SystemListChanged;
  boost::signals2::signal<void()> DriverListChanged;
  boost::signals2::signal<void()> DriverChanged;

  virtual ~IDriverInfo() = default;
  virtual void SelectAudioDriver(int index) = 0;
  virtual void SelectAudioDriverByName(const std::string& name) = 0;
  virtual void SelectAudioSystem(int index) = 0;
  virtual void SelectAudioSystemByName(const std::string& name) = 0;
  virtual const std::vector<std::string>& GetAudioSystems() = 0;
  virtual const std::vector<std::string>& GetAudioDrivers() = 0;
  virtual const std::vector<double>& GetSampleRates() = 0;
  virtual const std::vector<std::string>& GetInputNames() = 0;
  virtual const std::vector<std::string>& GetOutputNames() = 0;
  virtual void SaveInputConfig(const std::string& system, const std::string& driver, const std::string& name,
                               const std::vector<int>& channels) = 0;
  virtual void SetInputConfig(const std::string& name, const std::vector<int>& channels) = 0;
  virtual void SaveOutputConfig(const std::string& system, const std::string& driver, const std::string& name,
                                const std::vector<int>& channels) = 0;
  virtual void SetOutputConfig(const std::string& name, const std::vector<int>& channels) = 0;
  virtual void LoadInputConfig(const std::string& name, std::vector<int>& channels) = 0;
  virtual void LoadOutputConfig(const std::string& name, std::vector<int>& channels) = 0;
  virtual int GetMinBufferSize() = 0;
  virtual int GetMaxBufferSize() = 0;
  virtual int GetBufferGranularity() = 0;
  virtual std::string GetAudioSystemName() = 0;
  virtual std::string GetAudioDriverName() = 0;
  virtual int GetBufferSize() = 0;
  virtual double GetSampleRate() = 0;
  virtual void ShowAudioConfigPanel() = 0;
  virtual void StartDriver() = 0;
  virtual void StopDriver() = 0;
  virtual void ConfigureDriver(double sampleRate, int bufferSize) = 0;
};

}  // namespace Ombix::Kelvane
