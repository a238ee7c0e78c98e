#pragma once

#include "common/system/threading/ILockable.h"

#include <windows.h>

namespace Common::System::Threading {

// A recursive lock inside one process: the thread that holds it may lock it again, and must
// unlock it as often as it locked it.
class CriticalSection : public ILockable {
 public:
  CriticalSection();
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

  void Lock() override;
  void Unlock() override;
  ~CriticalSection() override;
  // Takes the lock only when no other thread holds it; never waits.
  virtual bool TryLock();

 private:
  CRITICAL_SECTION section_;
};

}  // namespace Common::System::Threading
