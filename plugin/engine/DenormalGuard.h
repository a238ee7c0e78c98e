#pragma once

#include <xmmintrin.h>

// Flushes denormal results to zero and reads denormal inputs as zero for the guard's lifetime, then
// restores the caller's floating-point control state.
class DenormalGuard {
 public:
  DenormalGuard() : saved(_mm_getcsr()) { _mm_setcsr(saved | flushToZero | denormalsAreZero); }
  ~DenormalGuard() { _mm_setcsr(saved); }
  DenormalGuard(const DenormalGuard&) = delete;
  DenormalGuard& operator=(const DenormalGuard&) = delete;

 private:
  static constexpr unsigned int flushToZero = 0x8000;
  static constexpr unsigned int denormalsAreZero = 0x0040;
  unsigned int saved;
};
