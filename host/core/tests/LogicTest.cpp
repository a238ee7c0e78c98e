#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "host/core/Engine.h"
#include "host/core/Logic.h"
#include "host/core/Plugin.h"
#include "host/core/PluginStatus.h"
#include "host/core/commands/ICommand.h"
#include "host/core/events/IEvent.h"
#include "host/hosting/tests/TestPluginLibrary.h"

namespace Ombix::Kelvane {
namespace {

// What the test commands and events did, from whichever thread; read only under its lock.
class Journal {
 public:
  void Add(int tag) {
    std::lock_guard<std::mutex> hold(mutex_);
    executed_.push_back(tag);
    threads_.push_back(GetCurrentThreadId());
  }
  // The tags in the order in which they ran.
  std::vector<int> Executed() {
    std::lock_guard<std::mutex> hold(mutex_);
    return executed_;
  }
  // The thread each one ran on.
  std::vector<DWORD> Threads() {
    std::lock_guard<std::mutex> hold(mutex_);
    return threads_;
  }

  std::atomic<int> deleted{0};

 private:
  std::mutex mutex_;
  std::vector<int> executed_;
  std::vector<DWORD> threads_;
};

class JournalCommand : public Commands::ICommand {
 public:
  JournalCommand(Journal& journal, int tag, std::function<void()> action = {})
      : journal_(journal), tag_(tag), action_(std::move(action)) {}
  ~JournalCommand() override { ++journal_.deleted; }
  void Execute(Engine*) override {
    journal_.Add(tag_);
    if (action_) action_();
  }

 private:
  Journal& journal_;
  const int tag_;
  std::function<void()> action_;
};

class JournalEvent : public Events::IEvent {
 public:
  JournalEvent(Journal& journal, int tag, std::function<void()> action = {})
      : journal_(journal), tag_(tag), action_(std::move(action)) {}
  ~JournalEvent() override { ++journal_.deleted; }
  void Apply(Logic*) override {
    journal_.Add(tag_);
    if (action_) action_();
  }

 private:
  Journal& journal_;
  const int tag_;
  std::function<void()> action_;
};

class LogicTest : public ::testing::Test {
 protected:
  LogicTest() : logic(std::make_unique<Logic>(nullptr, nullptr, "Ombix Labs", "Quillam", 900)) {
    logic->CommandsPending.connect([this] {
      ++pendingSignals;
      pendingThread = GetCurrentThreadId();
    });
  }

  void FromOtherThread(const std::function<void()>& work) { std::thread(work).join(); }

  Journal journal;
  std::atomic<int> pendingSignals{0};
  std::atomic<DWORD> pendingThread{0};
  std::unique_ptr<Logic> logic;
};

TEST_F(LogicTest, CommandPostedOnTheGuiThreadHasRunWhenPostReturns) {
  logic->PostCommand(new JournalCommand(journal, 1));
  EXPECT_EQ(journal.Executed(), std::vector<int>{1});
  EXPECT_EQ(journal.Threads().front(), GetCurrentThreadId());
  EXPECT_EQ(journal.deleted, 1);
  EXPECT_EQ(pendingSignals, 0);
}

TEST_F(LogicTest, CommandFromAnotherThreadWaitsAndWakesTheGuiOnce) {
  DWORD poster = 0;
  FromOtherThread([&] {
    poster = GetCurrentThreadId();
    logic->PostCommand(new JournalCommand(journal, 7));
  });
  EXPECT_TRUE(journal.Executed().empty());
  EXPECT_EQ(pendingSignals, 1);
  EXPECT_EQ(pendingThread, poster);

  logic->ProcessCommands();
  EXPECT_EQ(journal.Executed(), std::vector<int>{7});
  EXPECT_EQ(journal.Threads().front(), GetCurrentThreadId());
  EXPECT_EQ(journal.deleted, 1);
}

TEST_F(LogicTest, CommandsFromManyThreadsRunOnceEachInTheirPostingOrder) {
  constexpr int threads = 4;
  constexpr int perThread = 200;
  std::vector<std::thread> posters;
  for (int t = 0; t < threads; ++t) {
    posters.emplace_back([&, t] {
      for (int i = 0; i < perThread; ++i) logic->PostCommand(new JournalCommand(journal, t * 1000 + i));
    });
  }
  // The GUI thread drains while the others post.
  while (journal.Executed().size() < static_cast<std::size_t>(threads * perThread)) {
    logic->ProcessCommands();
    Sleep(1);
  }
  for (auto& poster : posters) poster.join();
  logic->ProcessCommands();

  ASSERT_EQ(journal.Executed().size(), static_cast<std::size_t>(threads * perThread));
  std::map<int, int> next;
  for (const int tag : journal.Executed()) {
    EXPECT_EQ(tag % 1000, next[tag / 1000]++) << "thread " << tag / 1000;
  }
  for (const DWORD thread : journal.Threads()) EXPECT_EQ(thread, GetCurrentThreadId());
  EXPECT_EQ(journal.deleted, threads * perThread);
  EXPECT_EQ(pendingSignals, threads * perThread);
}

TEST_F(LogicTest, ProcessCommandsCalledFromACommandReturnsAtOnce) {
  FromOtherThread([&] {
    logic->PostCommand(new JournalCommand(journal, 1, [&] {
      logic->ProcessCommands();
      EXPECT_EQ(journal.Executed(), std::vector<int>{1}) << "the nested call ran the next command";
    }));
    logic->PostCommand(new JournalCommand(journal, 2));
  });
  logic->ProcessCommands();
  EXPECT_EQ(journal.Executed(), (std::vector<int>{1, 2}));
}

TEST_F(LogicTest, ACommandWhoseWakeUpCameDuringANestedLoopRunsBeforeProcessCommandsReturns) {
  logic->ProcessCommands();  // the engine's start-up news
  // Applying the event opens a dialog: meanwhile another thread posts a command, and its wake-up
  // reaches ProcessCommands inside the dialog's loop, where it cannot run.
  logic->GetEngine()->PostEvent(new JournalEvent(journal, 100, [&] {
    FromOtherThread([&] { logic->PostCommand(new JournalCommand(journal, 1)); });
    logic->ProcessCommands();
    EXPECT_EQ(journal.Executed(), std::vector<int>{100});
  }));
  logic->ProcessCommands();
  EXPECT_EQ(journal.Executed(), (std::vector<int>{100, 1}));
  EXPECT_EQ(journal.deleted, 2);
}

TEST_F(LogicTest, QueuedCommandsRunBeforeQueuedEventsAreApplied) {
  logic->ProcessCommands();  // the engine's start-up news
  FromOtherThread([&] {
    logic->GetEngine()->PostEvent(new JournalEvent(journal, 100));
    logic->PostCommand(new JournalCommand(journal, 1));
    logic->GetEngine()->PostEvent(new JournalEvent(journal, 101));
  });
  EXPECT_TRUE(journal.Executed().empty());
  EXPECT_EQ(pendingSignals, 3);
  logic->ProcessCommands();
  EXPECT_EQ(journal.Executed(), (std::vector<int>{1, 100, 101}));
  EXPECT_EQ(journal.deleted, 3);
}

TEST_F(LogicTest, WithoutARunningDriverTheLoadIsZeroAndAudioIsNotRunning) {
  logic->ProcessCommands();
  EXPECT_FALSE(logic->IsAudioRunning());
  EXPECT_EQ(logic->GetCpuLoad(), 0.0f);
}

TEST_F(LogicTest, UnknownIdHasNoRecordAndLeavesNoneBehind) {
  EXPECT_EQ(logic->GetPlugin(12345), nullptr);
  EXPECT_EQ(logic->FindRecord(12345), nullptr);
}

TEST_F(LogicTest, PluginThatCannotBeLoadedLeavesAFailedRecord) {
  const std::string files[] = {Testing::PluginPath("no_such_plugin"), Testing::PluginPath("no_entry_plugin"),
                               Testing::PluginPath("bad_magic_plugin")};
  for (const std::string& file : files) {
    std::vector<IPlugin*> added;
    int failed = 0;
    const auto connection = logic->PluginAdded.connect([&](IPlugin* plugin) {
      added.push_back(plugin);
      plugin->Failed.connect([&](IPlugin*) { ++failed; });
    });
    logic->CreatePlugin(file);
    logic->ProcessCommands();
    connection.disconnect();
    ASSERT_EQ(added.size(), 1u) << file;
    EXPECT_EQ(added[0]->GetStatus(), PluginFailed) << file;
    EXPECT_EQ(failed, 1) << file;
    EXPECT_FALSE(added[0]->IsActive()) << file;
  }
}

TEST_F(LogicTest, PluginLoadedOnALoaderThreadReportsThroughTheQueue) {
  Testing::RecordingPluginLibrary library;
  library.Configure(2, 2, 3, 16);
  logic->SetLoaderThreads(1);
  IPlugin* record = nullptr;
  logic->PluginAdded.connect([&](IPlugin* plugin) { record = plugin; });
  logic->CreatePlugin(library.Path());
  for (int i = 0; i < 5000 && !(record && record->IsActive()); ++i) {
    logic->ProcessCommands();
    Sleep(1);
  }
  ASSERT_NE(record, nullptr);
  EXPECT_TRUE(record->IsActive());
  EXPECT_GE(pendingSignals, 1) << "news from the loader thread wakes the GUI thread";
  EXPECT_EQ(record->GetName(), "Lead - Acme");
  logic.reset();
  EXPECT_EQ(library.Instances(), 0);
}

TEST_F(LogicTest, DeletingTheLogicDisposesItsPluginsAndAppliesNoQueuedEvent) {
  Testing::RecordingPluginLibrary library;
  library.Configure(2, 2, 3, 16);
  std::vector<IPlugin*> added;
  logic->PluginAdded.connect([&](IPlugin* plugin) { added.push_back(plugin); });
  logic->CreatePlugin(library.Path());
  logic->ProcessCommands();
  ASSERT_EQ(added.size(), 1u);
  EXPECT_EQ(library.Instances(), 1);
  EXPECT_TRUE(added[0]->IsActive());

  int disposed = 0;
  added[0]->Disposed.connect([&](IPlugin*) { ++disposed; });
  FromOtherThread([&] { logic->GetEngine()->PostEvent(new JournalEvent(journal, 9)); });
  logic.reset();

  EXPECT_EQ(disposed, 1);
  EXPECT_EQ(library.Instances(), 0);
  EXPECT_TRUE(journal.Executed().empty());
  EXPECT_EQ(journal.deleted, 1);
}

}  // namespace
}  // namespace Ombix::Kelvane
