#include "common/system/threading/ServiceThread.h"

#include <gtest/gtest.h>

#include <atomic>

using Common::System::Threading::ServiceThread;

namespace {

// Counts units of work and stops. Not starts: the thread runs OnStart while this class may still be
// under construction, when the call reaches the base's OnStart or this class's counters are yet to be
// set to zero.
class CountingService : public ServiceThread {
 public:
  ~CountingService() override { Stop(); }

  void Process() override { ++processed; }
  void OnStop() override { ++stops; }

  std::atomic<int> processed{0};
  std::atomic<int> stops{0};
};

// Waits until the thread has suspended itself: it then waits for its next wake.
void waitUntilSuspended(HANDLE thread) {
  for (;;) {
    const DWORD previous = SuspendThread(thread);
    ResumeThread(thread);
    if (previous != static_cast<DWORD>(-1) && previous >= 1) return;
    Sleep(1);
  }
}

void waitFor(const std::atomic<int>& value, int wanted) {
  for (int i = 0; i < 60000 && value != wanted; ++i) Sleep(1);
  ASSERT_EQ(wanted, value);
}

}  // namespace

TEST(ServiceThread, EachWakeProcessesExactlyOnce) {
  CountingService service;
  for (int wake = 1; wake <= 20; ++wake) {
    waitUntilSuspended(service.GetHandle());
    service.Start();
    waitFor(service.processed, wake);
  }
  waitUntilSuspended(service.GetHandle());
  Sleep(20);
  EXPECT_EQ(20, service.processed);
  EXPECT_EQ(0, service.stops);
}

TEST(ServiceThread, StopEndsTheThreadAndIsSafeTwice) {
  CountingService service;
  waitUntilSuspended(service.GetHandle());
  service.Stop();
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(service.GetHandle(), 0));
  EXPECT_EQ(1, service.stops);
  EXPECT_EQ(0, service.processed) << "stopping is not a unit of work";
  service.Stop();
  EXPECT_EQ(1, service.stops);
}

TEST(ServiceThread, DestroyedRightAfterConstructionEndsCleanly) {
  for (int i = 0; i < 20; ++i) {
    CountingService service;
    (void)service;
  }
}

TEST(ServiceThread, WakesDuringAUnitOfWorkAreNotQueued) {
  class HeldService : public ServiceThread {
   public:
    ~HeldService() override {
      SetEvent(release);
      Stop();
      CloseHandle(release);
    }
    void Process() override {
      ++entered;
      WaitForSingleObject(release, INFINITE);
    }
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> entered{0};
  } service;
  waitUntilSuspended(service.GetHandle());
  service.Start();
  waitFor(service.entered, 1);
  for (int i = 0; i < 5; ++i) service.Start();
  SetEvent(service.release);
  waitUntilSuspended(service.GetHandle());
  Sleep(20);
  EXPECT_EQ(1, service.entered);
  service.Start();
  waitFor(service.entered, 2);
}

TEST(ServiceThread, StopWaitsForTheUnitOfWorkInProgress) {
  class SlowService : public ServiceThread {
   public:
    ~SlowService() override { Stop(); }
    void Process() override {
      Sleep(100);
      ++finished;
    }
    std::atomic<int> finished{0};
  } service;
  waitUntilSuspended(service.GetHandle());
  service.Start();
  Sleep(20);
  service.Stop();
  EXPECT_EQ(1, service.finished);
}
