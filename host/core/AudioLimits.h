#pragma once

#include <cmath>

namespace Ombix::Kelvane {

// The sample rates and block sizes the host takes from its store, its user or a driver; anything
// else (a corrupt setting, a driver that reports 0 Hz) is refused where it enters.
inline bool IsUsableSampleRate(double rate) {
  return std::isfinite(rate) && rate > 0.0;
}

inline bool IsUsableBlockSize(int frames) {
  return frames >= 1;
}

}  // namespace Ombix::Kelvane
