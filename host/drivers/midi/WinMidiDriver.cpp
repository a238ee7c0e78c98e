#include "host/drivers/midi/WinMidiDriver.h"

#include <algorithm>
#include <atomic>

#include "common/logging/Logger.h"
#include "common/system/threading/ScopedLock.h"
#include "host/drivers/midi/WinMmMidiInput.h"

namespace Ombix::Kelvane {

namespace {

using Common::System::Threading::ScopedLock;

constexpr int firstRealDevice = 2;

// Device 0, "All", which receives every event of every device.
std::atomic<MidiInDeviceInfo*> allDevice{nullptr};

// Appends under the device's lock; false when its current half is full and the word was dropped.
bool Append(MidiInDeviceInfo& device, PackedMidiEvent word) {
  ScopedLock hold(&device.lock);
  int& count = device.counts[device.currentHalf];
  if (count >= MidiInDeviceInfo::capacity) return false;
  device.events[device.currentHalf][count++] = word;
  return true;
}

void ClearHalves(MidiInDeviceInfo& device) {
  ScopedLock hold(&device.lock);
  device.open = false;
  device.currentHalf = 0;
  device.counts[0] = device.counts[1] = 0;
}

}  // namespace

IMidiDriver* CreateMidiDriver() {
  static WinMmMidiInput system;
  return new WinMidiDriver(system);
}

WinMidiDriver::WinMidiDriver(IMidiInput& input) : m_input(input) {
  const unsigned realDevices = m_input.DeviceCount();
  m_devices.push_back(std::make_unique<MidiInDeviceInfo>("All", 0, m_timer));
  m_devices.push_back(std::make_unique<MidiInDeviceInfo>("None", 1, m_timer));
  for (unsigned k = 0; k < realDevices; ++k) {
    std::string name;
    if (!m_input.ProductName(k, name)) name.clear();
    m_devices.push_back(
        std::make_unique<MidiInDeviceInfo>(name, firstRealDevice + static_cast<int>(k), m_timer));
  }
  allDevice = m_devices[0].get();
  for (int i = 0; i < DeviceCount(); ++i) SetDeviceOpen(i, true);
}

WinMidiDriver::~WinMidiDriver() {
  for (auto& device : m_devices)
    if (device->open) Close(*device);
  MidiInDeviceInfo* all = m_devices[0].get();
  allDevice.compare_exchange_strong(all, nullptr);
  m_devices.clear();
  Sleep(100);
}

std::string WinMidiDriver::DeviceName(int index) {
  return index >= 0 && index < DeviceCount() ? m_devices[index]->name : "";
}

void WinMidiDriver::SetDeviceOpen(int index, bool open) {
  if (index < firstRealDevice || index >= DeviceCount()) return;
  MidiInDeviceInfo& device = *m_devices[index];
  if (!open) {
    if (device.open) Close(device);
    return;
  }
  if (device.open) return;
  HMIDIIN handle = nullptr;
  const auto system = static_cast<unsigned>(index - firstRealDevice);
  if (m_input.Open(&handle, system, reinterpret_cast<DWORD_PTR>(&WinMidiDriver::MidiInCallback),
                   reinterpret_cast<DWORD_PTR>(&device)) != MMSYSERR_NOERROR)
    return;
  if (m_input.Start(handle) != MMSYSERR_NOERROR) {
    m_input.Close(handle);
    return;
  }
  ScopedLock hold(&device.lock);
  device.handle = handle;
  device.open = true;
  device.timeBase = m_timer.ElapsedMs();
}

void WinMidiDriver::Close(MidiInDeviceInfo& device) {
  m_input.Stop(device.handle);
  m_input.Close(device.handle);
  ClearHalves(device);
}

void WinMidiDriver::Fetch(int index, int& count, PackedMidiEvent*& events) {
  if (index < 0 || index >= DeviceCount()) {
    count = 0;
    events = nullptr;
    return;
  }
  MidiInDeviceInfo& device = *m_devices[index];
  ScopedLock hold(&device.lock);
  device.timeBase = m_timer.ElapsedMs();
  events = device.events[device.currentHalf];
  count = device.counts[device.currentHalf];
  device.currentHalf = 1 - device.currentHalf;
  device.counts[device.currentHalf] = 0;
}

void CALLBACK WinMidiDriver::MidiInCallback(HMIDIIN, UINT message, DWORD_PTR instance, DWORD_PTR first,
                                            DWORD_PTR) {
  if (message != MIM_DATA && message != MIM_MOREDATA) return;
  const auto shortMessage = static_cast<std::uint32_t>(first);
  if (shortMessage == 0 || (shortMessage & 0xFF) >= 0xF0) return;
  auto& device = *reinterpret_cast<MidiInDeviceInfo*>(instance);
  const double now = device.timer->ElapsedMs();
  double timeBase;
  {
    ScopedLock hold(&device.lock);
    timeBase = device.timeBase;
  }
  // A fetch between reading the clock and the time base may leave the clock behind: never negative.
  const double microseconds = std::min(now > timeBase ? (now - timeBase) * 1000.0 : 0.0, 4294967295.0);
  const PackedMidiEvent word = PackMidiEvent(shortMessage, static_cast<std::uint32_t>(microseconds));
  MidiInDeviceInfo* all = allDevice;
  bool dropped = all && !Append(*all, word);
  dropped = !Append(device, word) || dropped;
  if (dropped) Common::Logging::theLogger.Warning("MIDI buffer overflow!");
}

}  // namespace Ombix::Kelvane
