#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/drivers/IAudioDriver.h"
#include "host/drivers/IAudioHandler.h"
#include "host/drivers/directsound/DSDriver.h"
#include "host/drivers/directsound/DirectSoundLibrary.h"

namespace Ombix::Kelvane {

// Audio system 1: the system's DirectSound output devices, two 16-bit channels at 44100 Hz.
class DirectSoundDriver : public IAudioDriver {
 public:
  DirectSoundDriver(HWND window, IAudioHandler* handler);
  ~DirectSoundDriver() override;

  int DeviceCount() override;
  std::string DeviceName(unsigned index) override;
  bool OpenDevice(int index) override;
  void ShowControlPanel() override {}
  float FinishBlock() override;
  int ChannelCount(bool input) override;
  std::string ChannelName(bool input, int index) override;
  void SetChannelActive(bool, int, bool) override {}
  float* InputBuffer(int) override { return nullptr; }
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

  // Adds a device record (device: none for the system's default device); called by the enumeration.
  void AddDevice(const GUID* device, const std::string& description);

 private:
  struct Device {
    std::optional<GUID> id;
    std::string description;
  };

  // Stops playback, then closes the open device.
  void Close();

  DirectSoundLibrary m_library;
  std::unique_ptr<DSDriver> m_open;
  IAudioHandler* m_handler;
  std::vector<Device> m_devices;
};

}  // namespace Ombix::Kelvane
