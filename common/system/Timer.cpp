#include "common/system/Timer.h"

#include <windows.h>

namespace Common::System {

namespace {

// Milliseconds per counter tick, read once for the whole process.
double millisecondsPerTick() {
  static const double value = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 / static_cast<double>(static_cast<unsigned long long>(frequency.QuadPart));
  }();
  return value;
}

double nowMs() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(static_cast<unsigned long long>(counter.QuadPart)) * millisecondsPerTick();
}

}  // namespace

Timer::Timer() : startMs_(0.0) {
  Reset(0.0);
}

double Timer::ElapsedMs() const {
  return nowMs() - startMs_;
}

void Timer::Reset(double offsetMs) {
  startMs_ = nowMs() - offsetMs;
}

}  // namespace Common::System
