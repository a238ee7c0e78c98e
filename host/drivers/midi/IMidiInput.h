#pragma once

#include <windows.h>
// After windows.h, which they build on.
#include <mmsystem.h>

#include <string>

namespace Ombix::Kelvane {

// The WinMM MIDI input calls the MIDI driver makes; WinMmMidiInput passes them to the system, tests
// put their own devices behind them.
class IMidiInput {
 public:
  virtual ~IMidiInput() = default;
  virtual unsigned DeviceCount() = 0;
  // The device's product name; false when its capabilities cannot be read.
  virtual bool ProductName(unsigned device, std::string& name) = 0;
  // Opens the device with a callback function and its instance value.
  virtual MMRESULT Open(HMIDIIN* handle, unsigned device, DWORD_PTR callback, DWORD_PTR instance) = 0;
  virtual MMRESULT Start(HMIDIIN handle) = 0;
  virtual MMRESULT Stop(HMIDIIN handle) = 0;
  virtual MMRESULT Close(HMIDIIN handle) = 0;
};

}  // namespace Ombix::Kelvane
