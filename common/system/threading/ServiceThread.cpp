#include "common/system/threading/ServiceThread.h"

namespace Common::System::Threading {

ServiceThread::ServiceThread() : running_(true) {
  Start();
}

int ServiceThread::Run() {
  if (!runLock_.TryLock()) return 0;
  OnStart();
  while (running_) {
    SuspendThread(GetHandle());
    ClearStarted();
    if (!running_) break;
    Process();
  }
  runLock_.Unlock();
  OnStop();
  return 0;
}

ServiceThread::~ServiceThread() {
  Stop();
}

void ServiceThread::Stop() {
  running_ = false;
  while (!runLock_.TryLock()) {
    Sleep(1);
    Start();
  }
  WaitForEnd();
  runLock_.Unlock();
}

}  // namespace Common::System::Threading
