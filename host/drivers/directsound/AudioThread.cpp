#include "host/drivers/directsound/AudioThread.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "common/logging/Logger.h"
#include "host/drivers/SampleConversion.h"

namespace Ombix::Kelvane {

namespace {

// How long before the play cursor is due to enter the other half the thread wakes up to watch it.
constexpr int wakeMarginMs = 3;

template <typename Object>
void ReleaseObject(Object*& object) {
  if (object) object->Release();
  object = nullptr;
}

}  // namespace

AudioThread::AudioThread(IAudioHandler* handler) : m_handler(handler) {
  SetThreadPriority(GetHandle(), THREAD_PRIORITY_TIME_CRITICAL);
}

AudioThread::~AudioThread() {
  m_running = false;
  if (m_started) WaitForEnd();
  if (m_buffer) m_buffer->Stop();
  ReleaseObject(m_buffer);
  ReleaseObject(m_device);
}

bool AudioThread::Setup(const DirectSoundLibrary& library, const GUID* device, int frames, double rate) {
  // The thread runs in any case; without playback it ends at once.
  m_running = Prepare(library, device, frames, rate);
  m_started = true;
  Start();
  return m_running;
}

bool AudioThread::Prepare(const DirectSoundLibrary& library, const GUID* device, int frames, double rate) {
  auto& log = Common::Logging::theLogger;
  m_halfSize = static_cast<DWORD>(frames) * 4;
  m_rate = rate;
  m_frames = frames;

  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 2;
  format.wBitsPerSample = 16;
  format.nSamplesPerSec = static_cast<DWORD>(rate + 0.5);
  format.nBlockAlign = 4;
  format.nAvgBytesPerSec = format.nSamplesPerSec * 4;

  HWND window = GetForegroundWindow();
  if (!window) window = GetDesktopWindow();

  if (FAILED(library.Create(device, &m_device))) {
    log.Error("Create DirectSound Failed!");
    return false;
  }
  if (FAILED(m_device->SetCooperativeLevel(window, DSSCL_PRIORITY))) {
    log.Error("SetCooperativeLevel Failed");
    return false;
  }
  DSBUFFERDESC primaryDescription{};
  primaryDescription.dwSize = sizeof primaryDescription;
  primaryDescription.dwFlags = DSBCAPS_PRIMARYBUFFER;
  IDirectSoundBuffer* primary = nullptr;
  if (FAILED(m_device->CreateSoundBuffer(&primaryDescription, &primary, nullptr))) {
    log.Error("Create Primary Sound Buffer Failed!");
    return false;
  }
  const HRESULT formatResult = primary->SetFormat(&format);
  primary->Release();
  if (FAILED(formatResult)) {
    log.Error("Set Primary Format Failed!");
    return false;
  }
  DSBUFFERDESC description{};
  description.dwSize = sizeof description;
  description.dwFlags = DSBCAPS_GLOBALFOCUS | DSBCAPS_CTRLPOSITIONNOTIFY;
  description.dwBufferBytes = 2 * m_halfSize;
  description.lpwfxFormat = &format;
  if (FAILED(m_device->CreateSoundBuffer(&description, &m_buffer, nullptr))) {
    log.Error("Create Second Sound Buffer Failed!");
    return false;
  }

  m_left.assign(static_cast<std::size_t>(frames), 0.0f);
  m_right.assign(static_cast<std::size_t>(frames), 0.0f);
  if (m_handler) {
    m_handler->OnBufferSizeChanged(frames);
    m_handler->OnSampleRateChanged(rate);
  }

  Region whole;
  if (FAILED(m_buffer->Lock(0, 2 * m_halfSize, &whole.first, &whole.firstBytes, &whole.second,
                            &whole.secondBytes, 0))) {
    log.Error("Lock entirebuffer failed! Stop Failed!");
    return false;
  }
  std::memset(whole.first, 0, whole.firstBytes);
  if (whole.second) std::memset(whole.second, 0, whole.secondBytes);
  m_buffer->Unlock(whole.first, whole.firstBytes, whole.second, whole.secondBytes);
  m_buffer->Play(0, 0, DSBPLAY_LOOPING);
  return true;
}

float* AudioThread::Buffer(int channel) {
  if (channel != 0 && channel != 1) return nullptr;
  auto& buffer = channel == 0 ? m_left : m_right;
  return buffer.empty() ? nullptr : buffer.data();
}

int AudioThread::Run() {
  int result = 0;
  while (m_running) {
    m_region = Region{};
    if (!WaitForHalf()) break;
    m_blockTimer.Reset(0);
    m_half = !m_half;
    const DWORD offset = m_half ? 0 : m_halfSize;
    if (FAILED(m_buffer->Lock(offset, m_halfSize, &m_region.first, &m_region.firstBytes, &m_region.second,
                              &m_region.secondBytes, 0))) {
      m_region = Region{};
      Common::Logging::theLogger.Error("Lock DirectSoundBuffer Failed!");
      result = -1;
      break;
    }
    if (m_handler) m_handler->OnBufferSwitch(true);
    // A block the handler gave up (or never finished) plays silence.
    if (m_region.first) {
      std::memset(m_region.first, 0, m_region.firstBytes);
      if (m_region.second) std::memset(m_region.second, 0, m_region.secondBytes);
      ReleaseRegion();
    }
  }
  m_ended = true;
  return result;
}

bool AudioThread::WaitForHalf() {
  while (m_running) {
    DWORD play = 0, write = 0;
    if (FAILED(m_buffer->GetCurrentPosition(&play, &write))) {
      Sleep(1);
      continue;
    }
    if ((!m_half && play > m_halfSize) || (m_half && play < m_halfSize)) return true;
    // Asleep until shortly before the play cursor enters the other half, then looking every
    // millisecond: a wake-up every millisecond of the block would cost a share of a core.
    const DWORD ahead = (m_half ? 2 * m_halfSize : m_halfSize) - play;
    const int aheadMs = static_cast<int>(ahead / 4 / m_rate * 1000.0);
    Sleep(static_cast<DWORD>(std::max(aheadMs - wakeMarginMs, 1)));
  }
  return false;
}

void AudioThread::ReleaseRegion() {
  m_buffer->Unlock(m_region.first, m_region.firstBytes, m_region.second, m_region.secondBytes);
  m_region = Region{};
}

float AudioThread::FinishBlock() {
  if (m_region.first) {
    // A half is locked whole, so it comes in one part.
    std::memset(m_region.first, 0, m_region.firstBytes);
    if (m_region.second) std::memset(m_region.second, 0, m_region.secondBytes);
    const int frames = std::min(m_frames, static_cast<int>(m_region.firstBytes / 4));
    InterleaveStereo16(m_left.data(), m_right.data(), frames, static_cast<std::int16_t*>(m_region.first));
  }
  std::fill(m_left.begin(), m_left.end(), 0.0f);
  std::fill(m_right.begin(), m_right.end(), 0.0f);
  if (m_region.first) ReleaseRegion();
  return static_cast<float>(m_blockTimer.ElapsedMs() / (m_frames / m_rate * 1000.0));
}

}  // namespace Ombix::Kelvane
