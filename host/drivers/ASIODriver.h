#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "host/drivers/IAudioDriver.h"
#include "host/drivers/IAudioHandler.h"
#include "host/drivers/asio/AsioDriverList.h"
#include "host/drivers/asio/Driver.h"

namespace Ombix::Kelvane {

// Audio system 0: the ASIO drivers installed on the system, one of them open as a Driver.
class ASIODriver : public IAudioDriver {
 public:
  ASIODriver(HWND window, IAudioHandler* handler);
  ~ASIODriver() override;

  int DeviceCount() override;
  std::string DeviceName(unsigned index) override;
  bool OpenDevice(int index) override;
  void ShowControlPanel() override;
  float FinishBlock() override;
  int ChannelCount(bool input) override;
  std::string ChannelName(bool input, int index) override;
  void SetChannelActive(bool input, int index, bool active) override;
  float* InputBuffer(int index) override;
  float* OutputBuffer(int index) override;
  int MinBufferSize() override;
  int MaxBufferSize() override;
  int BufferGranularity() override;
  bool IsBufferSizeValid(int frames) override;
  bool SetBufferSize(int frames) override;
  int BufferSize() override;
  bool CanSampleRate(double rate) override;
  bool SetSampleRate(double rate) override;
  double SampleRate() override;
  bool Start() override;
  void Stop() override;
  bool IsRunning() override;
  bool IsStopPending() const override;

 private:
  // The open device's Driver while its object is loaded; null otherwise.
  Driver* Open() const;
  void Close();

  AsioDriverList m_list;
  std::unique_ptr<Driver> m_driver;
  IAudioHandler* m_handler;
  HWND m_window;
  std::vector<std::string> m_names;
};

}  // namespace Ombix::Kelvane
