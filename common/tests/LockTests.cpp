#include "common/system/threading/CriticalSection.h"
#include "common/system/threading/ScopedLock.h"
#include "common/system/threading/Semaphore.h"

#include <gtest/gtest.h>

#include <future>

using namespace Common::System::Threading;

namespace {

// Runs TryLock on another thread: whether a thread other than the holder could take the lock.
bool otherThreadCanLock(CriticalSection& section) {
  return std::async(std::launch::async,
                    [&section] {
                      const bool taken = section.TryLock();
                      if (taken) section.Unlock();
                      return taken;
                    })
      .get();
}

}  // namespace

TEST(CriticalSection, IsRecursiveForItsOwnerAndExcludesOthers) {
  CriticalSection section;
  section.Lock();
  EXPECT_TRUE(section.TryLock());
  EXPECT_FALSE(otherThreadCanLock(section));
  section.Unlock();
  EXPECT_FALSE(otherThreadCanLock(section)) << "locked twice, unlocked once: still held";
  section.Unlock();
  EXPECT_TRUE(otherThreadCanLock(section));
}

TEST(ScopedLock, HoldsTheLockForItsScope) {
  CriticalSection section;
  {
    ScopedLock hold(section);
    EXPECT_FALSE(otherThreadCanLock(section));
  }
  EXPECT_TRUE(otherThreadCanLock(section));
  {
    ScopedLock hold(&section);
    EXPECT_FALSE(otherThreadCanLock(section));
  }
  EXPECT_TRUE(otherThreadCanLock(section));
}

TEST(Semaphore, StartingAtZeroGivesNothingUntilSignalled) {
  Semaphore semaphore(0, 64);
  EXPECT_FALSE(semaphore.TryWait());
  EXPECT_TRUE(semaphore.Signal());
  EXPECT_TRUE(semaphore.TryWait());
  EXPECT_FALSE(semaphore.TryWait());

  EXPECT_TRUE(semaphore.Release(3));
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(semaphore.TryWait()) << i;
  EXPECT_FALSE(semaphore.TryWait());
}

TEST(Semaphore, CountsUpToItsMaximumOnly) {
  Semaphore semaphore(2, 2);
  EXPECT_FALSE(semaphore.Signal());
  EXPECT_EQ(WAIT_OBJECT_0, semaphore.Wait());
  EXPECT_TRUE(semaphore.Release(1));
  EXPECT_FALSE(semaphore.Release(1));
}

TEST(Semaphore, AsALockWaitsForAndGivesBackACount) {
  Semaphore semaphore(1, 1);
  {
    ScopedLock hold(semaphore);
    EXPECT_FALSE(semaphore.TryWait());
  }
  EXPECT_TRUE(semaphore.TryWait());
}

TEST(Semaphore, WakesAThreadWaitingOnIt) {
  Semaphore semaphore(0, 8192);
  auto waiter = std::async(std::launch::async, [&semaphore] { return semaphore.Wait(); });
  semaphore.Signal();
  EXPECT_EQ(WAIT_OBJECT_0, waiter.get());
}
