#pragma once

#include <vector>

#include "plugin/framework/VstEvents.h"

// MIDI messages of three bytes at the most, laid out as the event list a host hands to a plug-in.
class MidiEventList {
 public:
  explicit MidiEventList(const std::vector<std::vector<unsigned char>>& messages);
  MidiEventList(const MidiEventList&) = delete;
  MidiEventList& operator=(const MidiEventList&) = delete;

  VstEvents* get() { return reinterpret_cast<VstEvents*>(listMemory.data()); }

 private:
  std::vector<VstMidiEvent> events;
  std::vector<unsigned char> listMemory;
};
