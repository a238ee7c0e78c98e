#include "common/system/threading/Thread.h"

#include <gtest/gtest.h>

#include <atomic>

using Common::System::Threading::Thread;

namespace {

class CountingThread : public Thread {
 public:
  explicit CountingThread(int result) : result_(result) {}
  ~CountingThread() override { WaitForEnd(); }

  int Run() override {
    ++runs;
    return result_;
  }

  std::atomic<int> runs{0};

 private:
  int result_;
};

// Deletes itself from its own thread, which ends the thread there.
class SelfDeletingThread : public Thread {
 public:
  int Run() override {
    delete this;
    return 7;  // never reached
  }
};

DWORD exitCodeAfterEnd(HANDLE handle) {
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(handle, 60000));
  DWORD code = 0;
  GetExitCodeThread(handle, &code);
  return code;
}

}  // namespace

TEST(Thread, IsCreatedSuspendedAndRunsOnceFromStart) {
  CountingThread thread(12);
  ASSERT_NE(nullptr, thread.GetHandle());
  EXPECT_NE(0u, thread.GetId());
  Sleep(50);
  EXPECT_EQ(0, thread.runs);
  EXPECT_FALSE(thread.IsStarted());

  thread.Start();
  EXPECT_TRUE(thread.IsStarted());
  EXPECT_EQ(12u, exitCodeAfterEnd(thread.GetHandle()));
  EXPECT_EQ(1, thread.runs);
}

TEST(Thread, StartAfterTheEndChangesNothing) {
  CountingThread thread(0);
  thread.Start();
  thread.WaitForEnd();
  thread.Start();
  thread.WaitForEnd();
  EXPECT_EQ(1, thread.runs);
}

TEST(Thread, DeletedUnstartedIsHarmless) {
  struct NeverStarted : Thread {
    int Run() override { return 0; }
  };
  delete new NeverStarted;
}

TEST(Thread, DeletingItselfEndsWithMinusOne) {
  auto* thread = new SelfDeletingThread;
  // The object's destructor leaves its own handle open when it ends its own thread.
  const HANDLE handle = thread->GetHandle();
  thread->Start();
  EXPECT_EQ(static_cast<DWORD>(-1), exitCodeAfterEnd(handle));
  CloseHandle(handle);
}
