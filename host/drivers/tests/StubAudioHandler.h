#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

#include "common/system/threading/CriticalSection.h"
#include "host/drivers/IAudioDriver.h"
#include "host/drivers/IAudioHandler.h"

// An engine stand-in: records what the driver tells it and, once per block, fills the driver's
// outputs, keeps the first frames of its inputs and finishes the block.
class StubAudioHandler : public Ombix::Kelvane::IAudioHandler {
 public:
  void OnBufferSwitch(bool processNow) override;
  void OnBufferSizeChanged(int frames) override;
  void OnSampleRateChanged(double rate) override;
  void OnResetRequest() override { ++resetRequests; }

  // Set before the driver starts.
  Ombix::Kelvane::IAudioDriver* driver = nullptr;
  int outputCount = 0;
  int inputCount = 0;
  // The value of frame i of every output in each block.
  std::function<float(int frame)> output;
  // Taken for every block, like the engine's lock (with LockUnlessStopping).
  Common::System::Threading::CriticalSection* lock = nullptr;
  // Milliseconds each block takes.
  int busyMs = 0;

  std::atomic<int> blocks{0};
  std::atomic<int> abandoned{0};
  std::atomic<int> resetRequests{0};

  // Forgets every record (the settings stay).
  void Reset();
  std::vector<int> Sizes();
  std::vector<double> Rates();
  std::vector<float> Loads();
  // The first block's input samples, channel by channel.
  std::vector<std::vector<float>> FirstInputs();

 private:
  void Process();

  std::mutex m_mutex;
  std::vector<int> m_sizes;
  std::vector<double> m_rates;
  std::vector<float> m_loads;
  std::vector<std::vector<float>> m_firstInputs;
};
