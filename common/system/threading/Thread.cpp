#include "common/system/threading/Thread.h"

namespace Common::System::Threading {

Thread::Thread() : started_(false), handle_(nullptr), id_(0) {
  DWORD id = 0;
  handle_ = CreateThread(nullptr, 0, &Thread::Entry, this, CREATE_SUSPENDED, &id);
  id_ = id;
  SetName("Unnamed");
}

Thread::~Thread() {
  if (!handle_) return;
  if (GetCurrentThreadId() == id_) ExitThread(static_cast<DWORD>(-1));
  CloseHandle(handle_);
  handle_ = nullptr;
}

DWORD WINAPI Thread::Entry(void* parameter) {
  Thread* thread = static_cast<Thread*>(parameter);
  thread->started_ = true;
  return static_cast<DWORD>(thread->Run());
}

void Thread::Start() {
  if (!handle_) return;
  const DWORD previousCount = ResumeThread(handle_);
  if (previousCount == 0 || previousCount == 1) started_ = true;
}

void Thread::SetName(const std::string&) {}

void Thread::WaitForEnd() {
  if (handle_) WaitForSingleObject(handle_, INFINITE);
}

bool Thread::HasEnded() const {
  return !handle_ || WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0;
}

}  // namespace Common::System::Threading
