#pragma once

#include "host/drivers/midi/IMidiInput.h"

namespace Ombix::Kelvane {

// The system's WinMM MIDI inputs.
class WinMmMidiInput : public IMidiInput {
 public:
  unsigned DeviceCount() override;
  bool ProductName(unsigned device, std::string& name) override;
  MMRESULT Open(HMIDIIN* handle, unsigned device, DWORD_PTR callback, DWORD_PTR instance) override;
  MMRESULT Start(HMIDIIN handle) override;
  MMRESULT Stop(HMIDIIN handle) override;
  MMRESULT Close(HMIDIIN handle) override;
};

}  // namespace Ombix::Kelvane
