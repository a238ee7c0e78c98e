#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "host/core/Engine.h"
#include "host/core/Logic.h"
#include "host/core/Plugin.h"
#include "host/core/PluginStatus.h"
#include "host/core/events/PluginCreated.h"
#include "host/core/events/PluginDisposed.h"
#include "host/core/events/PluginMidiKey.h"
#include "host/core/events/PluginNameChanged.h"
#include "host/core/events/PluginPatchesChanged.h"
#include "host/core/events/PluginSizeChanged.h"
#include "host/core/events/PluginStatusChanged.h"
#include "host/core/events/PluginUpdateDisplay.h"
#include "host/drivers/tests/LogCapture.h"

namespace Ombix::Kelvane {
namespace {

// The news a record's signals gave, in order.
void Watch(IPlugin& record, std::string& seen) {
  auto note = [&seen](const char* what) {
    return [&seen, what](IPlugin*) { seen += std::string(what) + ";"; };
  };
  record.Loading.connect(note("loading"));
  record.Failed.connect(note("failed"));
  record.Activated.connect(note("activated"));
  record.Deactivated.connect(note("deactivated"));
  record.SizeChanged.connect(note("size"));
  record.NameChanged.connect(note("name"));
  record.UpdateDisplay.connect(note("display"));
  record.PatchesChanged.connect(note("patches"));
  record.Disposed.connect(note("disposed"));
  record.MidiKey.connect([&seen](IPlugin*, unsigned char key, bool on) {
    seen += "key " + std::to_string(key) + (on ? " on;" : " off;");
  });
}

class EventTest : public ::testing::Test {
 protected:
  EventTest() {
    logic.ProcessCommands();
    Post(new Events::PluginCreated(id, "C:\\plugins\\synth.dll"));
    record = logic.FindRecord(id);
  }

  void Post(Events::IEvent* event) {
    logic.GetEngine()->PostEvent(event);
    logic.ProcessCommands();
  }

  static constexpr int id = 4711;
  LogCapture log;
  Logic logic{nullptr, nullptr, "Ombix Labs", "Quillam", 900};
  Plugin* record = nullptr;
  std::string seen;
};

TEST_F(EventTest, CreatedMakesTheRecordNamedByItsPath) {
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(logic.GetPlugin(id), record);
  EXPECT_EQ(record->GetName(), "C:\\plugins\\synth.dll");
  EXPECT_EQ(record->GetStatus(), 0);
  EXPECT_TRUE(record->GetPatches().empty());
  EXPECT_EQ(log.Count("<= PluginCreated [C:\\plugins\\synth.dll]\n"), 1);
}

struct StatusCase {
  int from;
  int to;
  const char* signals;
};

TEST_F(EventTest, StatusChangesFireTheSignalsOfWhatChanged) {
  const StatusCase cases[] = {
      {0, PluginLoading, "loading;"},
      {PluginLoading, PluginActive, "activated;"},
      {PluginLoading, PluginFailed, "failed;"},
      {0, PluginLoading | PluginActive, "loading;activated;"},
      {PluginActive, 0, "deactivated;"},
      {PluginActive, PluginActive, ""},
      {PluginFailed, PluginLoading, "loading;"},
      {PluginActive | PluginLoading, PluginFailed, "failed;deactivated;"},
  };
  ASSERT_NE(record, nullptr);
  Watch(*record, seen);
  for (const StatusCase& c : cases) {
    record->SetStatus(c.from);
    seen.clear();
    Post(new Events::PluginStatusChanged(id, c.to));
    EXPECT_EQ(seen, c.signals) << c.from << " -> " << c.to;
    EXPECT_EQ(record->GetStatus(), c.to);
    EXPECT_EQ(record->IsActive(), (c.to & PluginActive) != 0);
  }
}

TEST_F(EventTest, ChangesReachTheRecordAndItsSignals) {
  ASSERT_NE(record, nullptr);
  Watch(*record, seen);
  Post(new Events::PluginNameChanged(id, "Zintara 100% - Ombix"));
  EXPECT_EQ(record->GetName(), "Zintara 100% - Ombix");
  EXPECT_EQ(log.Count("<= PluginNameChanged [Zintara 100% - Ombix]\n"), 1);

  Post(new Events::PluginSizeChanged(id, 632, 373));
  EXPECT_EQ(record->GetWidth(), 632);
  EXPECT_EQ(record->GetHeight(), 373);

  Post(new Events::PluginPatchesChanged(id, {{0, "Init", ""}, {1, "Bass", ""}}));
  ASSERT_EQ(record->GetPatches().size(), 2u);
  EXPECT_EQ(record->GetPatches()[1].name, "Bass");
  Post(new Events::PluginPatchesChanged(id, {}));
  EXPECT_TRUE(record->GetPatches().empty());

  Post(new Events::PluginUpdateDisplay(id));
  Post(new Events::PluginMidiKey(id, 60, true));
  Post(new Events::PluginMidiKey(id, 60, false));
  EXPECT_EQ(seen, "name;size;patches;patches;display;key 60 on;key 60 off;");
}

TEST_F(EventTest, DisposedDeletesTheRecordAndLaterNewsForItChangesNothing) {
  ASSERT_NE(record, nullptr);
  Watch(*record, seen);
  Post(new Events::PluginDisposed(id));
  EXPECT_EQ(seen, "disposed;");
  EXPECT_EQ(logic.GetPlugin(id), nullptr);

  log.Clear();
  Post(new Events::PluginStatusChanged(id, PluginActive));
  Post(new Events::PluginSizeChanged(id, 1, 1));
  EXPECT_EQ(log.Count("<= PluginStatusChanged\n"), 1);
  EXPECT_EQ(log.Count("<= PluginSizeChanged\n"), 1);
  EXPECT_EQ(logic.GetPlugin(id), nullptr);
}

TEST_F(EventTest, CreatedThenStatusInOneBatchReachesTheNewRecord) {
  const int other = id + 1;
  logic.GetEngine()->PostEvent(new Events::PluginCreated(other, "b.dll"));
  logic.GetEngine()->PostEvent(new Events::PluginStatusChanged(other, PluginActive));
  logic.ProcessCommands();
  ASSERT_NE(logic.GetPlugin(other), nullptr);
  EXPECT_TRUE(logic.GetPlugin(other)->IsActive());
}

TEST_F(EventTest, EventsFromTwoThreadsAreAppliedOnceEachInQueueOrder) {
  constexpr int perThread = 300;
  auto post = [this](int base) {
    for (int i = 0; i < perThread; ++i)
      logic.GetEngine()->PostEvent(new Events::PluginSizeChanged(id, base + i, base));
  };
  std::vector<int> widths;
  record->SizeChanged.connect([&](IPlugin* plugin) { widths.push_back(plugin->GetWidth()); });
  std::thread first(post, 0);
  std::thread second(post, 1000);
  first.join();
  second.join();
  logic.ProcessCommands();
  ASSERT_EQ(widths.size(), 2u * perThread);
  int nextFirst = 0;
  int nextSecond = 1000;
  for (const int width : widths) {
    if (width < 1000) {
      EXPECT_EQ(width, nextFirst++);
    } else {
      EXPECT_EQ(width, nextSecond++);
    }
  }
}

// An event that tells when it is applied and when it is deleted.
class CountedEvent : public Events::IEvent {
 public:
  CountedEvent(int& applied, int& deleted) : applied_(applied), deleted_(deleted) {}
  ~CountedEvent() override { ++deleted_; }
  void Apply(Logic*) override { ++applied_; }

 private:
  int& applied_;
  int& deleted_;
};

TEST(Engine, DeletedWithQueuedEventsDeletesThemUnapplied) {
  int applied = 0;
  int deleted = 0;
  auto* engine = new Engine(nullptr, "Ombix Labs", "Quillam", 900);
  engine->Dispatch.connect([](Events::IEvent* event) { event->Apply(nullptr); });
  engine->PostEvent(new CountedEvent(applied, deleted));
  engine->PostEvent(new CountedEvent(applied, deleted));
  delete engine;
  EXPECT_EQ(applied, 0);
  EXPECT_EQ(deleted, 2);
}

TEST(Engine, DisposingAnIdWithoutAContainerPostsNothing) {
  Engine engine(nullptr, "Ombix Labs", "Quillam", 900);
  int pending = 0;
  engine.EventsPending.connect([&] { ++pending; });
  engine.DisposePlugin(99999);
  EXPECT_EQ(pending, 0);
  EXPECT_EQ(engine.FindPlugin(99999), nullptr);
}

}  // namespace
}  // namespace Ombix::Kelvane
