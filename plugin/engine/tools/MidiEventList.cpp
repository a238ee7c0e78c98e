#include "plugin/engine/tools/MidiEventList.h"

#include <cstddef>

MidiEventList::MidiEventList(const std::vector<std::vector<unsigned char>>& messages)
    : events(messages.size()),
      // The list's header is followed by as many pointers as there are events.
      listMemory(offsetof(VstEvents, events) + sizeof(VstEvent*) * (messages.size() + 2)) {
  VstEvents* list = get();
  list->numEvents = static_cast<VstInt32>(messages.size());
  for (std::size_t i = 0; i < messages.size(); ++i) {
    VstMidiEvent& event = events[i];
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    event.flags = kVstMidiEventIsRealtime;
    for (std::size_t b = 0; b < 3 && b < messages[i].size(); ++b) {
      event.midiData[b] = static_cast<char>(messages[i][b]);
    }
    list->events[i] = reinterpret_cast<VstEvent*>(&event);
  }
}
