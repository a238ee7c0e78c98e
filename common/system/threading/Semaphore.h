#pragma once

#include "common/system/threading/ILockable.h"

#include <windows.h>

namespace Common::System::Threading {

// A counting semaphore. As a lock, Lock waits for one count and Unlock gives one back.
class Semaphore : public ILockable {
 public:
  Semaphore(int initialCount, int maximumCount);
  Semaphore(const Semaphore&) = delete;
  Semaphore& operator=(const Semaphore&) = delete;

  void Lock() override;
  void Unlock() override;
  ~Semaphore() override;
  // Waits without time-out for one count; answers the wait's result (WAIT_OBJECT_0 when signalled).
  virtual DWORD Wait();
  // Takes one count only when one is free at once.
  virtual bool TryWait();
  // Gives back count counts; false when that would pass the maximum or the handle is bad.
  virtual bool Release(int count);
  virtual bool Signal();

 private:
  HANDLE handle_;
};

}  // namespace Common::System::Threading
