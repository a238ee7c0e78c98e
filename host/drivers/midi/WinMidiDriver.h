#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/system/Timer.h"
#include "host/drivers/midi/IMidiDriver.h"
#include "host/drivers/midi/IMidiInput.h"
#include "host/drivers/midi/MidiInDeviceInfo.h"

namespace Ombix::Kelvane {

// MIDI from every WinMM input at once: opens every device when it is made and keeps each device's
// short messages until the engine fetches them once per block.
class WinMidiDriver : public IMidiDriver {
 public:
  // input: the MIDI input service; it outlives the driver.
  explicit WinMidiDriver(IMidiInput& input);
  ~WinMidiDriver() override;
  WinMidiDriver(const WinMidiDriver&) = delete;
  WinMidiDriver& operator=(const WinMidiDriver&) = delete;

  int Capacity() override { return MidiInDeviceInfo::capacity; }
  int DeviceCount() override { return static_cast<int>(m_devices.size()); }
  std::string DeviceName(int index) override;
  void SetDeviceOpen(int index, bool open) override;
  void Fetch(int index, int& count, PackedMidiEvent*& events) override;

  // The WinMM input callback: instance is the sending device's record.
  static void CALLBACK MidiInCallback(HMIDIIN handle, UINT message, DWORD_PTR instance, DWORD_PTR first,
                                      DWORD_PTR second);

 private:
  void Close(MidiInDeviceInfo& device);

  IMidiInput& m_input;
  Common::System::Timer m_timer;
  std::vector<std::unique_ptr<MidiInDeviceInfo>> m_devices;
};

}  // namespace Ombix::Kelvane
