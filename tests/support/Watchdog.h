#pragma once

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <future>
#include <thread>

namespace Testing {

// Runs work on the calling thread under a watchdog: when it has not returned after patience, the
// test program ends with "deadlock" and a failure, instead of hanging until the run's time-out.
template <typename Work>
void FinishesWithoutDeadlock(Work work, std::chrono::seconds patience = std::chrono::seconds(120)) {
  std::promise<void> finished;
  std::thread watchdog([done = finished.get_future(), patience] {
    if (done.wait_for(patience) == std::future_status::ready) return;
    std::fprintf(stderr, "deadlock\n");
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), 1);
  });
  work();
  finished.set_value();
  watchdog.join();
}

}  // namespace Testing
