#include "host/drivers/tests/StubAudioHandler.h"

#include <windows.h>

#include "host/drivers/StopSafeLock.h"

void StubAudioHandler::OnBufferSwitch(bool) {
  if (lock) {
    if (!Ombix::Kelvane::LockUnlessStopping(*lock, *driver)) {
      ++abandoned;
      return;
    }
    Process();
    lock->Unlock();
  } else {
    Process();
  }
}

void StubAudioHandler::Process() {
  if (!driver) return;
  const int frames = driver->BufferSize();
  if (blocks == 0) {
    std::lock_guard<std::mutex> hold(m_mutex);
    for (int c = 0; c < inputCount; ++c) {
      const float* input = driver->InputBuffer(c);
      m_firstInputs.emplace_back(input ? std::vector<float>(input, input + frames) : std::vector<float>());
    }
  }
  for (int c = 0; c < outputCount && output; ++c) {
    if (float* buffer = driver->OutputBuffer(c))
      for (int i = 0; i < frames; ++i) buffer[i] = output(i);
  }
  if (busyMs > 0) Sleep(static_cast<DWORD>(busyMs));
  const float load = driver->FinishBlock();
  ++blocks;
  std::lock_guard<std::mutex> hold(m_mutex);
  m_loads.push_back(load);
}

void StubAudioHandler::OnBufferSizeChanged(int frames) {
  std::lock_guard<std::mutex> hold(m_mutex);
  m_sizes.push_back(frames);
}

void StubAudioHandler::OnSampleRateChanged(double rate) {
  std::lock_guard<std::mutex> hold(m_mutex);
  m_rates.push_back(rate);
}

void StubAudioHandler::Reset() {
  std::lock_guard<std::mutex> hold(m_mutex);
  blocks = 0;
  abandoned = 0;
  resetRequests = 0;
  m_sizes.clear();
  m_rates.clear();
  m_loads.clear();
  m_firstInputs.clear();
}

std::vector<int> StubAudioHandler::Sizes() {
  std::lock_guard<std::mutex> hold(m_mutex);
  return m_sizes;
}

std::vector<double> StubAudioHandler::Rates() {
  std::lock_guard<std::mutex> hold(m_mutex);
  return m_rates;
}

std::vector<float> StubAudioHandler::Loads() {
  std::lock_guard<std::mutex> hold(m_mutex);
  return m_loads;
}

std::vector<std::vector<float>> StubAudioHandler::FirstInputs() {
  std::lock_guard<std::mutex> hold(m_mutex);
  return m_firstInputs;
}
