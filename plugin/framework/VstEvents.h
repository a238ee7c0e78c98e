#pragma once

#include "plugin/framework/VstTypes.h"

#include <cstddef>

// Event types of VstEvent::type.
enum VstEventTypes {
  kVstMidiType = 1,
};

// Bits of VstMidiEvent::flags.
enum VstMidiEventFlags {
  kVstMidiEventIsRealtime = 1,
};

// One event of any type; byteSize tells how many bytes follow the record's start.
struct VstEvent {
  VstInt32 type;
  VstInt32 byteSize;
  VstInt32 deltaFrames;  // offset in the current block
  VstInt32 flags;
  char data[16];
};

struct VstMidiEvent {
  VstInt32 type;  // kVstMidiType
  VstInt32 byteSize;
  VstInt32 deltaFrames;
  VstInt32 flags;  // VstMidiEventFlags
  VstInt32 noteLength;
  VstInt32 noteOffset;
  char midiData[4];  // status, two data bytes, a fourth byte that is 0
  char detune;
  char noteOffVelocity;
  char reserved1;
  char reserved2;
};

// A list of events: the declared two pointers are the minimum, a host allocates as many as it sends.
struct VstEvents {
  VstInt32 numEvents;
  VstIntPtr reserved;
  VstEvent* events[2];
};

static_assert(sizeof(VstEvent) == 32, "VstEvent layout");
static_assert(offsetof(VstEvent, deltaFrames) == 8, "VstEvent layout");
static_assert(offsetof(VstEvent, data) == 16, "VstEvent layout");
static_assert(sizeof(VstMidiEvent) == 32, "VstMidiEvent layout");
static_assert(offsetof(VstMidiEvent, byteSize) == 4, "VstMidiEvent layout");
static_assert(offsetof(VstMidiEvent, deltaFrames) == 8, "VstMidiEvent layout");
static_assert(offsetof(VstMidiEvent, flags) == 12, "VstMidiEvent layout");
static_assert(offsetof(VstMidiEvent, noteLength) == 16, "VstMidiEvent layout");
static_assert(offsetof(VstMidiEvent, noteOffset) == 20, "VstMidiEvent layout");
static_assert(offsetof(VstMidiEvent, midiData) == 24, "VstMidiEvent layout");
static_assert(offsetof(VstMidiEvent, detune) == 28, "VstMidiEvent layout");
static_assert(offsetof(VstMidiEvent, noteOffVelocity) == 29, "VstMidiEvent layout");
static_assert(offsetof(VstMidiEvent, reserved1) == 30, "VstMidiEvent layout");
static_assert(offsetof(VstMidiEvent, reserved2) == 31, "VstMidiEvent layout");
static_assert(offsetof(VstEvents, numEvents) == 0, "VstEvents layout");
static_assert(offsetof(VstEvents, reserved) == 8, "VstEvents layout");
static_assert(offsetof(VstEvents, events) == 16, "VstEvents layout");
static_assert(sizeof(VstEvents) == 32, "VstEvents layout");
