#pragma once

#include "plugin/framework/VstTypes.h"

#include <cstddef>

// Bits of VstKeyCode::modifier.
enum VstModifierKey {
  MODIFIER_SHIFT = 1,
  MODIFIER_ALTERNATE = 2,
  MODIFIER_COMMAND = 4,
  MODIFIER_CONTROL = 8,
};

// A key handed to the editor: the character, the VST virtual key (1 to 57, 0 for none) and modifiers.
struct VstKeyCode {
  VstInt32 character;
  unsigned char virt;
  unsigned char modifier;  // VstModifierKey
};

static_assert(sizeof(VstKeyCode) == 8, "VstKeyCode layout");
static_assert(offsetof(VstKeyCode, virt) == 4, "VstKeyCode layout");
static_assert(offsetof(VstKeyCode, modifier) == 5, "VstKeyCode layout");
