#include "host/drivers/midi/WinMmMidiInput.h"

namespace Ombix::Kelvane {

unsigned WinMmMidiInput::DeviceCount() {
  return midiInGetNumDevs();
}

bool WinMmMidiInput::ProductName(unsigned device, std::string& name) {
  MIDIINCAPSA capabilities{};
  if (midiInGetDevCapsA(device, &capabilities, sizeof capabilities) != MMSYSERR_NOERROR) return false;
  name = capabilities.szPname;
  return true;
}

MMRESULT WinMmMidiInput::Open(HMIDIIN* handle, unsigned device, DWORD_PTR callback, DWORD_PTR instance) {
  return midiInOpen(handle, device, callback, instance, CALLBACK_FUNCTION);
}

MMRESULT WinMmMidiInput::Start(HMIDIIN handle) {
  return midiInStart(handle);
}

MMRESULT WinMmMidiInput::Stop(HMIDIIN handle) {
  return midiInStop(handle);
}

MMRESULT WinMmMidiInput::Close(HMIDIIN handle) {
  return midiInClose(handle);
}

}  // namespace Ombix::Kelvane
