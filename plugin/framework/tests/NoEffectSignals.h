#pragma once

#include "plugin/framework/VstTypes.h"

// How the test effect DLL (NoEffect.dll) reports its life to the recording host: its constructor and
// destructor call hostVendorSpecific with these arguments, so a host sees every object made and
// destroyed without another export.
namespace NoEffectSignals {

constexpr VstInt32 kSignal = 0x54657374;  // index of the vendor-specific call: 'Test'
constexpr VstIntPtr kMade = 1;            // value: an effect object was constructed
constexpr VstIntPtr kDestroyed = 2;       // value: an effect object was destroyed

// The effect's vendorSpecific answers its library's module handle to this index.
constexpr VstInt32 kAskModuleHandle = 0x4D6F6420;  // 'Mod '

constexpr VstInt32 kPrograms = 3;
constexpr VstInt32 kParameters = 5;

}  // namespace NoEffectSignals
