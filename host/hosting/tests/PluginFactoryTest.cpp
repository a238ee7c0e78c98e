#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "common/system/threading/CriticalSection.h"
#include "host/hosting/HostTexts.h"
#include "host/hosting/PluginFactory.h"
#include "host/hosting/tests/LogCapture.h"
#include "host/hosting/tests/TestContainer.h"
#include "host/hosting/tests/TestPluginLibrary.h"

namespace Ombix::Kelvane {
namespace {

using Notes = std::vector<std::string>;

// Waits (generously) until the condition holds; false when it never did.
template <typename Condition>
bool Eventually(Condition condition) {
  for (int i = 0; i < 2000; ++i) {
    if (condition()) return true;
    Sleep(10);
  }
  return condition();
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
    ++count;
  return count;
}

TEST(PluginFactory, SetsTheHostTextsAndLoadsDirectlyByDefault) {
  PluginFactory factory(4, "Ombix Labs", "Quillam", 900);
  EXPECT_STREQ(hostTexts.vendor, "Ombix Labs");
  EXPECT_STREQ(hostTexts.product, "Quillam");
  EXPECT_EQ(hostTexts.vendorVersion, 900);
  EXPECT_EQ(factory.LoaderThreadCount(), 0);
}

TEST(PluginFactory, StartsAndStopsLoaderThreads) {
  PluginFactory factory(0, "Ombix Labs", "Quillam", 900);
  factory.SetLoaderThreadCount(2);
  EXPECT_EQ(factory.LoaderThreadCount(), 2);
  factory.SetLoaderThreadCount(0);
  EXPECT_EQ(factory.LoaderThreadCount(), 2);
  Testing::LogCapture log;
  factory.StopLoaders();
  EXPECT_EQ(log.Text(),
            "Enqueuing container => Threaded\nEnqueuing container => Threaded\nWaiting for loaders to die\n");
  EXPECT_EQ(factory.LoaderThreadCount(), 0);
  factory.StopLoaders();
  EXPECT_EQ(Count(log.Text(), "Waiting"), 1u);
}

class ThreadedLoading : public testing::Test {
 protected:
  Testing::TestContainer* Create(Notes& notes) {
    return new Testing::TestContainer(&factory_, &audioLock_, notes);
  }

  static bool Has(const Notes& notes, const std::string& note) {
    const Notes copy = Testing::Snapshot(notes);
    return std::find(copy.begin(), copy.end(), note) != copy.end();
  }

  static bool Deleted(const Notes& notes) {
    const Notes copy = Testing::Snapshot(notes);
    return !copy.empty() && copy.back() == "deleted";
  }

  Testing::RecordingPluginLibrary recorder_;
  Common::System::Threading::CriticalSection audioLock_;
  PluginFactory factory_{0, "Ombix Labs", "Quillam", 900};
};

TEST_F(ThreadedLoading, ALoaderThreadLoadsTheQueuedContainer) {
  factory_.SetLoaderThreadCount(1);
  Notes notes;
  Testing::TestContainer* container = Create(notes);
  container->SetPath(recorder_.Path());
  ASSERT_TRUE(Eventually([&] { return factory_.LoadsFinished() == 1; }));
  ASSERT_TRUE(Eventually([&] { return Has(notes, "activated"); }));
  EXPECT_EQ(container->Name(), "Lead - Acme");
  container->Dispose();
  EXPECT_TRUE(Eventually([&] { return Deleted(notes); }));
  factory_.StopLoaders();
  EXPECT_EQ(recorder_.Instances(), 0);
}

TEST_F(ThreadedLoading, DisposingDuringALoadDeletesTheNewProcessorUnopenedAndThenTheContainer) {
  factory_.SetLoaderThreadCount(1);
  recorder_.HoldEntries(true);
  Notes notes;
  Testing::TestContainer* container = Create(notes);
  container->SetPath(recorder_.Path());
  recorder_.AwaitWaitingEntries(1);
  container->Dispose();
  EXPECT_EQ(Testing::Snapshot(notes), (Notes{"loading", "dispose self"}));
  recorder_.HoldEntries(false);
  ASSERT_TRUE(Eventually([&] { return Deleted(notes); }));
  EXPECT_EQ(Testing::Snapshot(notes),
            (Notes{"loading", "dispose self", "deactivated", "unloaded", "deleted"}));
  EXPECT_TRUE(recorder_.Lines("disp 0 ").empty()) << "never opened";
  EXPECT_EQ(recorder_.Lines("disp 1 ").size(), 1u);
  EXPECT_EQ(recorder_.Instances(), 0);
  factory_.StopLoaders();
}

TEST_F(ThreadedLoading, OneLibraryIsNeverLoadedByTwoLoadersAtOnce) {
  factory_.SetLoaderThreadCount(2);
  recorder_.HoldEntries(true);
  Notes firstNotes;
  Notes secondNotes;
  Testing::TestContainer* first = Create(firstNotes);
  Testing::TestContainer* second = Create(secondNotes);
  first->SetPath(recorder_.Path());
  recorder_.AwaitWaitingEntries(1);
  second->SetPath(recorder_.Path());
  Sleep(300);  // the second container keeps going back to the queue meanwhile
  EXPECT_EQ(recorder_.Lines("entry").size(), 0u);
  EXPECT_FALSE(Has(secondNotes, "activated"));
  recorder_.HoldEntries(false);
  ASSERT_TRUE(Eventually([&] { return Has(firstNotes, "activated") && Has(secondNotes, "activated"); }));
  EXPECT_EQ(recorder_.Lines("entry").size(), 2u);
  EXPECT_EQ(factory_.LoadsFinished(), 2);
  first->Dispose();
  second->Dispose();
  ASSERT_TRUE(Eventually([&] { return Deleted(firstNotes) && Deleted(secondNotes); }));
  factory_.StopLoaders();
  EXPECT_EQ(recorder_.Instances(), 0);
}

TEST_F(ThreadedLoading, DrainFinishesQueuedContainersWithoutLoadingThem) {
  factory_.SetLoaderThreadCount(1);
  recorder_.HoldEntries(true);
  Notes busyNotes;
  Notes queuedNotes;
  Testing::TestContainer* busy = Create(busyNotes);
  busy->SetPath(recorder_.Path());
  recorder_.AwaitWaitingEntries(1);  // the only loader is busy now
  Testing::TestContainer* queued = Create(queuedNotes);
  queued->SetPath(Testing::PluginPath("main_only_plugin"));
  queued->Dispose();
  factory_.Drain();
  EXPECT_EQ(Testing::Snapshot(queuedNotes), (Notes{"loading", "dispose self", "deleted"}));
  recorder_.HoldEntries(false);
  ASSERT_TRUE(Eventually([&] { return Has(busyNotes, "activated"); }));
  busy->Dispose();
  ASSERT_TRUE(Eventually([&] { return Deleted(busyNotes); }));
  factory_.StopLoaders();
}

}  // namespace
}  // namespace Ombix::Kelvane
