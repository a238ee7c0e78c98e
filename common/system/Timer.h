#pragma once

namespace Common::System {

// A millisecond stopwatch over the performance counter; it runs from construction.
class Timer {
 public:
  Timer();
  virtual ~Timer() = default;

  double ElapsedMs() const;
  // Restarts the stopwatch so that ElapsedMs continues from offsetMs.
  void Reset(double offsetMs = 0.0);

 private:
  double startMs_;
};

}  // namespace Common::System
