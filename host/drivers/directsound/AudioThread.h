#pragma once

#include <windows.h>
// After windows.h, which they build on.
#include <dsound.h>
#include <mmsystem.h>

#include <atomic>
#include <vector>

#include "common/system/Timer.h"
#include "common/system/threading/Thread.h"
#include "host/drivers/IAudioHandler.h"
#include "host/drivers/directsound/DirectSoundLibrary.h"

namespace Ombix::Kelvane {

// The DirectSound playback thread: plays a looping buffer of two halves and, while the device plays
// one half, has the handler render the next block into the other.
class AudioThread : public Common::System::Threading::Thread {
 public:
  explicit AudioThread(IAudioHandler* handler);
  // Stops playback: waits for the thread to leave its loop, then releases the device.
  ~AudioThread() override;

  // Creates the device and its buffers for blocks of frames at rate, starts playback and the
  // thread; logs the failing step and answers false when any fails.
  bool Setup(const DirectSoundLibrary& library, const GUID* device, int frames, double rate);
  // Converts the block's float outputs into the locked half; answers the block's load.
  float FinishBlock();
  // The left (0) or right (1) float buffer.
  float* Buffer(int channel);
  // Playback was set up and the thread has not ended.
  bool IsPlaying() const { return m_running && !m_ended; }

 protected:
  int Run() override;

 private:
  struct Region {
    void* first = nullptr;
    DWORD firstBytes = 0;
    void* second = nullptr;
    DWORD secondBytes = 0;
  };

  bool Prepare(const DirectSoundLibrary& library, const GUID* device, int frames, double rate);
  bool WaitForHalf();
  void ReleaseRegion();

  Common::System::Timer m_blockTimer;
  bool m_half = false;
  DWORD m_halfSize = 0;
  std::atomic<bool> m_running{false};
  std::atomic<bool> m_ended{false};
  IAudioHandler* m_handler;
  Region m_region;
  std::vector<float> m_left;
  std::vector<float> m_right;
  double m_rate = 44100.0;
  int m_frames = 0;
  IDirectSound* m_device = nullptr;
  IDirectSoundBuffer* m_buffer = nullptr;
  bool m_started = false;
};

}  // namespace Ombix::Kelvane
