#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

namespace Common::System::Threading {

// A Win32 thread whose body is Run. The thread is created suspended and begins at Start.
// Deleting the object neither waits for nor stops the thread: a derived class ends its thread
// (for example with WaitForEnd) in its own destructor. Deleting the object on its own thread
// ends that thread at once with exit code -1.
class Thread {
 public:
  Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // The thread's body; its result becomes the thread's exit code.
  virtual int Run() = 0;
  virtual ~Thread();

  // Resumes the thread: the first call starts it, later calls wake it after it suspended itself.
  void Start();
  // Names are for the reader of the code only; no name reaches the operating system.
  void SetName(const std::string& name);
  // Waits until the thread has ended; returns at once when there is no thread.
  void WaitForEnd();
  // True once the thread has ended, and when there is no thread.
  bool HasEnded() const;

  bool IsStarted() const { return started_; }
  // True when called on this object's own thread.
  bool IsCurrentThread() const { return GetCurrentThreadId() == id_; }
  HANDLE GetHandle() const { return handle_; }
  std::uint32_t GetId() const { return id_; }

 protected:
  void ClearStarted() { started_ = false; }

 private:
  static DWORD WINAPI Entry(void* parameter);

  std::atomic<bool> started_;
  HANDLE handle_;
  std::uint32_t id_;
};

}  // namespace Common::System::Threading
