#pragma once

// Bits of AEffect::flags.
enum VstAEffectFlags {
  effFlagsHasEditor = 1,
  effFlagsHasClip = 2,  // deprecated
  effFlagsHasVu = 4,    // deprecated
  effFlagsCanMono = 8,  // deprecated
  effFlagsCanReplacing = 16,
  effFlagsProgramChunks = 32,
  effFlagsIsSynth = 256,
  effFlagsNoSoundInStop = 512,
  effFlagsExtIsAsync = 1024,    // deprecated
  effFlagsExtHasBuffer = 2048,  // deprecated
  effFlagsCanDoubleReplacing = 4096,
};
