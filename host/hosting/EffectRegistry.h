#pragma once

#include "host/hosting/VstRecords.h"

namespace Ombix::Kelvane {

class VSTPlugin;

// The host's own map from a plug-in's record to its wrapper, through which the host callback finds
// the wrapper. A record is in it only from the moment its wrapper exists until the wrapper closes it,
// so a call from a plug-in's entry never reaches a wrapper, whatever the record's reserved fields hold.
namespace EffectRegistry {

void Add(AEffect* effect, VSTPlugin* plugin);
void Remove(AEffect* effect);
// The wrapper of the record, or null.
VSTPlugin* Find(AEffect* effect);

}  // namespace EffectRegistry

}  // namespace Ombix::Kelvane
