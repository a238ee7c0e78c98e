#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

// Cuts the host's blocks into control periods: a tick comes every controlPeriod samples, counted across
// block boundaries, and every period is rendered whole right after its tick, whatever the block sizes.
// A period that a block ends inside is rendered into held buffers, and the next block starts with its
// rest. So the samples never depend on how the host slices time; what changes between two blocks
// (notes, programs, values) reaches the sound at the next tick. The first block ticks before its first
// sample, and so does the first block after the clock stopped at a tick. Each sample carries a mark,
// set when it is rendered and handed out with it; a block tells whether it handed out a marked sample.
class ControlClock {
 public:
  // capacity: the longest period; longer ones are cut to it.
  explicit ControlClock(int32_t capacity)
      : heldLeft(capacity), heldRight(capacity), marks(std::make_unique<bool[]>(capacity)) {}

  // Fills frames samples of both channels; answers whether any sample handed out in this block is
  // marked, those of a period rendered during an earlier block included. render(count, left, right,
  // marks) renders one whole period of count samples into left and right and marks each of its samples
  // (true or false) in marks; tick() runs before every period and answers whether it is rendered: when it
  // answers false the clock stops there and the rest of the block is silent.
  template <typename Render, typename Tick>
  bool run(float* left, float* right, int32_t frames, int32_t controlPeriod, Render render, Tick tick) {
    const int32_t period = std::clamp(controlPeriod, 1, static_cast<int32_t>(heldLeft.size()));
    bool marked = false;
    int32_t pos = handOutHeld(left, right, frames, marked);
    // Once the held rest is handed out, its marks make room for those of the periods rendered next.
    while (pos < frames) {
      if (!tick()) {
        std::fill(left + pos, left + frames, 0.0f);
        std::fill(right + pos, right + frames, 0.0f);
        return marked;
      }
      samplesSinceTick = 0;
      if (frames - pos >= period) {
        render(period, left + pos, right + pos, marks.get());
        marked = marked || anyMarked(marks.get(), period);
        pos += period;
        samplesSinceTick = period;
      } else {
        render(period, heldLeft.data(), heldRight.data(), marks.get());
        heldLength = period;
        heldPosition = 0;
        pos += handOutHeld(left + pos, right + pos, frames - pos, marked);
      }
    }
    return marked;
  }

  // Samples handed out since the last tick.
  int32_t samplesSinceLastTick() const { return samplesSinceTick; }

  // The rest of the held period plays as silence, without marks; the ticks keep their places.
  void silenceHeld() {
    std::fill(heldLeft.begin() + heldPosition, heldLeft.begin() + heldLength, 0.0f);
    std::fill(heldRight.begin() + heldPosition, heldRight.begin() + heldLength, 0.0f);
    std::fill(marks.get() + heldPosition, marks.get() + heldLength, false);
  }

 private:
  static bool anyMarked(const bool* first, int32_t count) {
    return std::find(first, first + count, true) != first + count;
  }

  // Copies up to frames held samples; answers how many, and sets marked when any of them is marked.
  int32_t handOutHeld(float* left, float* right, int32_t frames, bool& marked) {
    const int32_t count = std::min(frames, heldLength - heldPosition);
    std::copy(heldLeft.data() + heldPosition, heldLeft.data() + heldPosition + count, left);
    std::copy(heldRight.data() + heldPosition, heldRight.data() + heldPosition + count, right);
    marked = marked || anyMarked(marks.get() + heldPosition, count);
    heldPosition += count;
    samplesSinceTick += count;
    return count;
  }

  std::vector<float> heldLeft;
  std::vector<float> heldRight;
  std::unique_ptr<bool[]> marks;  // of the held period, or of the period being rendered
  int32_t heldLength = 0;         // length of the held period
  int32_t heldPosition = 0;       // samples of it handed out so far
  int32_t samplesSinceTick = std::numeric_limits<int32_t>::max();
};
