#include "host/hosting/VstEventList.h"

#include <cstring>
#include <new>

namespace Ombix::Kelvane {

VstEventList::VstEventList() {
  Allocate(kInitialCapacity);
}

void VstEventList::Allocate(int capacity) {
  const std::size_t bytes = sizeof(VstEvents) + sizeof(VstEvent*) * static_cast<std::size_t>(capacity);
  std::unique_ptr<VstEvents, ListDeleter> list(static_cast<VstEvents*>(::operator new(bytes)));
  std::memset(list.get(), 0, bytes);
  std::unique_ptr<VstMidiEvent[]> midiEvents(new VstMidiEvent[capacity]);
  for (int i = 0; i < capacity; ++i) {
    VstMidiEvent& event = midiEvents[i];
    std::memset(&event, 0, sizeof event);
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    event.flags = kVstMidiEventIsRealtime;
  }
  list_ = std::move(list);
  midiEvents_ = std::move(midiEvents);
  capacity_ = capacity;
}

VstEvents* VstEventList::Build(int count, const PackedMidiEvent* words, double sampleRateKHz, int blockSize) {
  if (count > capacity_) {
    try {
      Allocate(count);
    } catch (const std::bad_alloc&) {
      count = capacity_;  // keep the buffers we have and deliver what fits
    }
  }
  VstEvents* list = list_.get();
  list->numEvents = 0;
  for (int i = 0; i < count && words[i] != 0; ++i) {
    const PackedMidiEvent word = words[i];
    VstMidiEvent& event = midiEvents_[list->numEvents];
    event.midiData[0] = static_cast<char>(word & 0xFF);
    event.midiData[1] = static_cast<char>((word >> 8) & 0xFF);
    event.midiData[2] = static_cast<char>((word >> 16) & 0xFF);
    const double microseconds = static_cast<double>(word >> 32);
    VstInt32 deltaFrames = static_cast<VstInt32>(microseconds / 1000.0 * sampleRateKHz);
    if (static_cast<std::uint32_t>(deltaFrames) >= static_cast<std::uint32_t>(blockSize)) {
      deltaFrames = blockSize - 1;
    }
    event.deltaFrames = deltaFrames;
    EventSlots(list)[list->numEvents] = reinterpret_cast<VstEvent*>(&event);
    ++list->numEvents;
  }
  return list;
}

}  // namespace Ombix::Kelvane
