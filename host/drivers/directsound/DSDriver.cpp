#include "host/drivers/directsound/DSDriver.h"

namespace Ombix::Kelvane {

DSDriver::DSDriver(const DirectSoundLibrary& library, std::optional<GUID> device, IAudioHandler* handler)
    : m_library(library), m_device(device), m_handler(handler) {}

DSDriver::~DSDriver() {
  Stop();
}

void DSDriver::Start() {
  m_thread = std::make_unique<AudioThread>(m_handler);
  m_thread->Setup(m_library, m_device ? &*m_device : nullptr, m_blockSize, m_sampleRate);
}

void DSDriver::Stop() {
  if (!m_thread) return;
  // The thread may be waiting in its block for a lock our caller holds: it gives the block up.
  m_stopPending = true;
  m_thread.reset();
  m_stopPending = false;
}

bool DSDriver::IsRunning() const {
  return m_thread && m_thread->IsPlaying();
}

}  // namespace Ombix::Kelvane
