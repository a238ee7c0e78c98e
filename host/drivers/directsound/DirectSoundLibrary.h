#pragma once

#include <windows.h>
// After windows.h, which they build on.
#include <dsound.h>
#include <mmsystem.h>

namespace Ombix::Kelvane {

// The system's DirectSound library, reached through its exports by ordinal: 1 creates a device
// object, 2 enumerates the output devices.
class DirectSoundLibrary {
 public:
  using CreateFunction = HRESULT(WINAPI*)(const GUID* device, IDirectSound** object, IUnknown* outer);
  using EnumerateFunction = HRESULT(WINAPI*)(LPDSENUMCALLBACKA callback, void* context);

  DirectSoundLibrary();
  ~DirectSoundLibrary();
  DirectSoundLibrary(const DirectSoundLibrary&) = delete;
  DirectSoundLibrary& operator=(const DirectSoundLibrary&) = delete;

  HRESULT Create(const GUID* device, IDirectSound** object) const;
  HRESULT Enumerate(LPDSENUMCALLBACKA callback, void* context) const;

 private:
  HMODULE m_module;
  CreateFunction m_create = nullptr;
  EnumerateFunction m_enumerate = nullptr;
};

}  // namespace Ombix::Kelvane
