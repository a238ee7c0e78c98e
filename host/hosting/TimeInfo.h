#pragma once

#include "host/hosting/TransportPosition.h"
#include "host/hosting/VstRecords.h"

namespace Ombix::Kelvane {

// The one time-info record every plug-in reads: refreshed in place once per block by the audio
// thread, all zero until the first block.
extern VstTimeInfo vstTimeInfo;

// Copies the transport's position into the time-info record (called inside the audio block, after
// the transport has advanced).
void UpdateVstTimeInfo(const TransportPosition& transport);

}  // namespace Ombix::Kelvane
