#pragma once

#include <cstdint>

namespace Gui {

// Whether the millisecond tick count now has reached the tick count due. The 32-bit count wraps to 0
// every 49.7 days: the difference is read signed, so a due tick taken just before the wrap is reached
// just after it.
inline bool tickReached(unsigned long now, unsigned long due) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(now - due)) >= 0;
}

}  // namespace Gui
