#include "common/system/threading/Semaphore.h"

namespace Common::System::Threading {

Semaphore::Semaphore(int initialCount, int maximumCount)
    : handle_(CreateSemaphoreA(nullptr, initialCount, maximumCount, nullptr)) {}

void Semaphore::Lock() {
  Wait();
}

void Semaphore::Unlock() {
  Signal();
}

Semaphore::~Semaphore() {
  if (handle_) CloseHandle(handle_);
}

DWORD Semaphore::Wait() {
  return WaitForSingleObject(handle_, INFINITE);
}

bool Semaphore::TryWait() {
  return WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0;
}

bool Semaphore::Release(int count) {
  return ReleaseSemaphore(handle_, count, nullptr) != FALSE;
}

bool Semaphore::Signal() {
  return Release(1);
}

}  // namespace Common::System::Threading
