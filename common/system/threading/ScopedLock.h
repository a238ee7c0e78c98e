#pragma once

#include "common/system/threading/ILockable.h"

namespace Common::System::Threading {

// Holds one lock for the scope it lives in.
class ScopedLock {
 public:
  explicit ScopedLock(ILockable* lock) : lock_(lock) { lock_->Lock(); }
  explicit ScopedLock(ILockable& lock) : ScopedLock(&lock) {}
  ScopedLock(const ScopedLock&) = delete;
  ScopedLock& operator=(const ScopedLock&) = delete;
  ~ScopedLock() { lock_->Unlock(); }

 private:
  ILockable* lock_;
};

}  // namespace Common::System::Threading
