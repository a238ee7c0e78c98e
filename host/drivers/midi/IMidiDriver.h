#pragma once

#include <string>

#include "host/drivers/midi/PackedMidiEvent.h"

namespace Ombix::Kelvane {

// MIDI input from every device of the system, collected per device between two fetches. Devices 0
// "All" (every event of every device) and 1 "None" (never an event) come before the real ones.
class IMidiDriver {
 public:
  // The most events one fetch can return.
  virtual int Capacity() = 0;
  virtual int DeviceCount() = 0;
  // "" for an index out of range.
  virtual std::string DeviceName(int index) = 0;
  // Opens or closes a real device (index 2 and above).
  virtual void SetDeviceOpen(int index, bool open) = 0;
  // Hands over the events received since the last fetch of the device; they stay valid until the
  // next fetch of the same device. An invalid index gives no events.
  virtual void Fetch(int index, int& count, PackedMidiEvent*& events) = 0;
  virtual ~IMidiDriver() = default;
};

// The host's MIDI driver over WinMM; owned by the caller.
IMidiDriver* CreateMidiDriver();

}  // namespace Ombix::Kelvane
