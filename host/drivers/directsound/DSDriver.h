#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <optional>

#include "host/drivers/IAudioHandler.h"
#include "host/drivers/directsound/AudioThread.h"
#include "host/drivers/directsound/DirectSoundLibrary.h"

namespace Ombix::Kelvane {

// One opened DirectSound output device: its rate and block size, and its playback thread while it
// plays.
class DSDriver {
 public:
  DSDriver(const DirectSoundLibrary& library, std::optional<GUID> device, IAudioHandler* handler);
  virtual ~DSDriver();
  DSDriver(const DSDriver&) = delete;
  DSDriver& operator=(const DSDriver&) = delete;

  void Start();
  // Stops playback and waits for the playback thread to end.
  void Stop();
  bool IsRunning() const;
  bool IsStopPending() const { return m_stopPending; }
  AudioThread* Thread() const { return m_thread.get(); }
  double SampleRate() const { return m_sampleRate; }
  void SetSampleRate(double rate) { m_sampleRate = rate; }
  int BlockSize() const { return m_blockSize; }
  void SetBlockSize(int frames) { m_blockSize = frames; }

 private:
  const DirectSoundLibrary& m_library;
  std::optional<GUID> m_device;
  std::unique_ptr<AudioThread> m_thread;
  IAudioHandler* m_handler;
  double m_sampleRate = 44100.0;
  int m_blockSize = 4096;
  std::atomic<bool> m_stopPending{false};
};

}  // namespace Ombix::Kelvane
