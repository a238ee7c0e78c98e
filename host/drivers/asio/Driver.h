#pragma once

#include <windows.h>

#include <atomic>
#include <vector>

#include "common/system/Timer.h"
#include "host/drivers/IAudioHandler.h"
#include "host/drivers/asio/AsioInterface.h"
#include "host/drivers/asio/ChannelInfo.h"

namespace Ombix::Kelvane {

// One opened ASIO device: its buffer-size limits, rate and channels, the device buffers of the active
// channels, the block callbacks and the conversion between the device's samples and float buffers.
// Only one Driver receives the device's callbacks at a time: the one that started last.
class Driver {
 public:
  // device: the loaded driver object, which outlives this Driver.
  Driver(IASIO& device, IAudioHandler* handler);
  virtual ~Driver();
  Driver(const Driver&) = delete;
  Driver& operator=(const Driver&) = delete;

  // Initialises the device with the window and reads its settings; false when the device refuses.
  bool Init(HWND window);
  // Re-reads the size limits, rate, output-ready support and channels from the device.
  bool ReadSettings();
  bool ReadChannels();
  // The valid size nearest to frames (0 = the preferred size).
  int RoundBufferSize(int frames) const;
  void CreateChannelBuffers(int frames);
  bool SetSampleRate(double rate);
  bool Start();
  void Stop();
  float FinishBlock();
  void ShowControlPanel();

  bool IsRunning() const { return m_running; }
  bool IsStopPending() const { return m_stopPending; }
  int InputCount() const { return m_inputCount; }
  int OutputCount() const { return m_outputCount; }
  int BufferSize() const { return m_bufferSize; }
  int MinBufferSize() const { return m_minimumSize; }
  int MaxBufferSize() const { return m_maximumSize; }
  int BufferGranularity() const { return m_granularity; }
  double SampleRate() const { return m_sampleRate; }
  // Entries: inputs first, then outputs; null when out of range.
  ChannelInfo* Channel(bool input, int index);

  // The device's callbacks, routed here while this Driver is the active one.
  void BeginBlock(long half, bool processNow);
  void SampleRateDidChange(double rate);
  // Answered 1: the device is re-read at the next start; a running device's owner is asked to restart
  // it.
  long ResetRequested();

 private:
  bool ReadSettings(bool adjustRate);
  void ZeroOutputs(long half);

  std::atomic<int> m_startupCounter{0};
  double m_blockLength = 1.0;
  double m_blockStart = 0.0;
  Common::System::Timer m_blockTimer;
  IAudioHandler* m_handler;
  IASIO& m_device;
  std::atomic<bool> m_running{false};
  std::atomic<bool> m_stopPending{false};
  int m_activeBufferCount = 0;
  long m_currentHalf = 0;
  int m_outputCount = 0;
  int m_inputCount = 0;
  int m_bufferSize = 0;
  int m_minimumSize = 0;
  int m_maximumSize = 0;
  int m_preferredSize = 0;
  int m_granularity = 0;
  double m_sampleRate = 0.0;
  bool m_postOutput = false;
  // A rate change or reset the device reported on its own thread, applied by the owner's next
  // configuration call (never inside a block).
  std::atomic<bool> m_settingsChanged{false};
  std::atomic<bool> m_inControlPanel{false};
  std::vector<ChannelInfo> m_channels;
  std::vector<ASIOBufferInfo> m_bufferInfos;
  // The active entries in buffer-info order.
  std::vector<ChannelInfo*> m_activeChannels;
  ASIODriverInfo m_driverInfo{};
  ASIOCallbacks m_callbacks{};
};

}  // namespace Ombix::Kelvane
