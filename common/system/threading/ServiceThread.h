#pragma once

#include "common/system/threading/CriticalSection.h"
#include "common/system/threading/Thread.h"

#include <atomic>

namespace Common::System::Threading {

// A thread that runs one unit of work (Process) each time its owner wakes it with Start.
// It starts at construction, runs OnStart and then waits suspended; a wake that arrives while
// Process runs is not queued. OnStart may run before a derived class's constructor has finished,
// so it must not use the derived class's members. A derived class that overrides Process or
// OnStop calls Stop in its own destructor.
class ServiceThread : public Thread {
 public:
  ServiceThread();

  int Run() override;
  ~ServiceThread() override;
  virtual void OnStart() {}
  virtual void Process() = 0;
  virtual void OnStop() {}

  // Ends the thread after its current unit of work and waits for it; safe to call again.
  void Stop();

 private:
  CriticalSection runLock_;
  std::atomic<bool> running_;
};

}  // namespace Common::System::Threading
