#pragma once

namespace Ombix::Kelvane {

// The VST virtual key (1..57) for a host key code; 0 when the key has none.
int ToVstVirtualKey(int hostKeyCode);

}  // namespace Ombix::Kelvane
