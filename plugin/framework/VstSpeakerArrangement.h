#pragma once

#include "plugin/framework/VstTypes.h"

#include <cstddef>

// One speaker of an arrangement.
struct VstSpeakerProperties {
  float azimuth;
  float elevation;
  float radius;
  float reserved;
  char name[64];
  VstInt32 type;
  char future[28];
};

// A speaker arrangement: the declared eight speakers are the usual size; an arrangement allocated for
// more channels carries one VstSpeakerProperties per channel.
struct VstSpeakerArrangement {
  VstInt32 type;
  VstInt32 numChannels;
  VstSpeakerProperties speakers[8];
};

// Bytes of an arrangement with the given number of speakers.
constexpr std::size_t speakerArrangementSize(VstInt32 channels) {
  return 8 + sizeof(VstSpeakerProperties) * static_cast<std::size_t>(channels);
}

// The speaker at `index` of an arrangement allocated for more than the declared eight speakers.
inline VstSpeakerProperties* speakerAt(VstSpeakerArrangement* arrangement, VstInt32 index) {
  return reinterpret_cast<VstSpeakerProperties*>(reinterpret_cast<char*>(arrangement) +
                                                 speakerArrangementSize(index));
}

static_assert(sizeof(VstSpeakerProperties) == 112, "VstSpeakerProperties layout");
static_assert(offsetof(VstSpeakerProperties, elevation) == 4, "VstSpeakerProperties layout");
static_assert(offsetof(VstSpeakerProperties, radius) == 8, "VstSpeakerProperties layout");
static_assert(offsetof(VstSpeakerProperties, reserved) == 12, "VstSpeakerProperties layout");
static_assert(offsetof(VstSpeakerProperties, name) == 16, "VstSpeakerProperties layout");
static_assert(offsetof(VstSpeakerProperties, type) == 80, "VstSpeakerProperties layout");
static_assert(offsetof(VstSpeakerProperties, future) == 84, "VstSpeakerProperties layout");
static_assert(offsetof(VstSpeakerArrangement, numChannels) == 4, "VstSpeakerArrangement layout");
static_assert(offsetof(VstSpeakerArrangement, speakers) == 8, "VstSpeakerArrangement layout");
static_assert(sizeof(VstSpeakerArrangement) == speakerArrangementSize(8), "VstSpeakerArrangement layout");
