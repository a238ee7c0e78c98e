#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

// Cuts blocks into pieces so that a control tick falls every controlPeriod samples, counted across
// block boundaries whatever the block sizes. The first block ticks before its first sample.
class ControlClock {
 public:
  // Calls render(count, offset) for consecutive pieces of a block of frames samples (a piece may be
  // empty) and tick() at every tick inside it.
  template <typename Render, typename Tick>
  void run(int32_t frames, int32_t controlPeriod, Render render, Tick tick) {
    const int32_t first = std::max(0, controlPeriod - samplesSinceTick);
    if (first > frames) {
      render(frames, 0);
      samplesSinceTick += frames;
      return;
    }
    render(first, 0);
    tick();
    int32_t pos = first;
    while (pos + controlPeriod < frames) {
      render(controlPeriod, pos);
      pos += controlPeriod;
      tick();
    }
    render(frames - pos, pos);
    samplesSinceTick = frames - pos;
  }

  // Samples rendered after the last tick; a whole period or more means a tick is due.
  int32_t samplesSinceLastTick() const { return samplesSinceTick; }

 private:
  int32_t samplesSinceTick = std::numeric_limits<int32_t>::max();
};
