#pragma once

#include "host/hosting/VstRecords.h"

namespace Ombix::Kelvane {

// The host callback every plug-in receives at its entry. Re-entrant; called on any thread.
VstIntPtr VstHostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                          float opt);

}  // namespace Ombix::Kelvane
