#pragma once

#include <windows.h>
// After windows.h, which they build on.
#include <mmsystem.h>

#include <string>
#include <utility>

#include "common/system/Timer.h"
#include "common/system/threading/CriticalSection.h"
#include "host/drivers/midi/PackedMidiEvent.h"

namespace Ombix::Kelvane {

// One MIDI input device of the driver, real or virtual, with its two alternating halves of events:
// the callback fills the current half, each fetch hands it over and makes the other one current.
struct MidiInDeviceInfo {
  static constexpr int capacity = 256;

  MidiInDeviceInfo(std::string deviceName, int deviceIndex, Common::System::Timer& driverTimer)
      : name(std::move(deviceName)), index(deviceIndex), timer(&driverTimer) {}
  virtual ~MidiInDeviceInfo() = default;

  std::string name;
  bool open = false;
  int index;
  int currentHalf = 0;
  int counts[2] = {0, 0};
  PackedMidiEvent events[2][capacity] = {};
  Common::System::Timer* timer;
  double timeBase = 0.0;
  HMIDIIN handle = nullptr;
  // Guards the halves, the counts and the time base between the callback and the fetch.
  Common::System::Threading::CriticalSection lock;
};

}  // namespace Ombix::Kelvane
