#include "host/drivers/directsound/DirectSoundLibrary.h"

namespace Ombix::Kelvane {

DirectSoundLibrary::DirectSoundLibrary() : m_module(LoadLibraryA("dsound.dll")) {
  if (!m_module) return;
  m_create = reinterpret_cast<CreateFunction>(
      reinterpret_cast<void*>(GetProcAddress(m_module, MAKEINTRESOURCEA(1))));
  m_enumerate = reinterpret_cast<EnumerateFunction>(
      reinterpret_cast<void*>(GetProcAddress(m_module, MAKEINTRESOURCEA(2))));
}

DirectSoundLibrary::~DirectSoundLibrary() {
  if (m_module) FreeLibrary(m_module);
}

HRESULT DirectSoundLibrary::Create(const GUID* device, IDirectSound** object) const {
  *object = nullptr;
  return m_create ? m_create(device, object, nullptr) : E_FAIL;
}

HRESULT DirectSoundLibrary::Enumerate(LPDSENUMCALLBACKA callback, void* context) const {
  return m_enumerate ? m_enumerate(callback, context) : E_FAIL;
}

}  // namespace Ombix::Kelvane
