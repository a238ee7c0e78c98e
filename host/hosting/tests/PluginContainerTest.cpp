#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <vector>

#include "TestPaths.h"
#include "common/system/threading/CriticalSection.h"
#include "host/hosting/PluginFactory.h"
#include "host/hosting/tests/LogCapture.h"
#include "host/hosting/tests/TestContainer.h"
#include "host/hosting/tests/TestPluginLibrary.h"

namespace Ombix::Kelvane {
namespace {

using Notes = std::vector<std::string>;

PackedMidiEvent Word(int status, int first, int second) {
  return static_cast<PackedMidiEvent>(status | first << 8 | second << 16);
}

class PluginContainerTest : public testing::Test {
 protected:
  Testing::TestContainer* Create() { return new Testing::TestContainer(&factory_, &audioLock_, notes_); }

  Testing::TestContainer* CreateLoaded() {
    Testing::TestContainer* container = Create();
    container->SetPath(recorder_.Path());
    recorder_.Clear();
    notes_.clear();
    return container;
  }

  bool Noted(const std::string& note) const {
    return std::find(notes_.begin(), notes_.end(), note) != notes_.end();
  }

  Testing::RecordingPluginLibrary recorder_;
  Common::System::Threading::CriticalSection audioLock_;
  PluginFactory factory_{0, "Ombix Labs", "Quillam", 900};
  Notes notes_;
};

TEST_F(PluginContainerTest, ContainersGetConsecutiveIds) {
  Testing::TestContainer* first = Create();
  Testing::TestContainer* second = Create();
  EXPECT_EQ(second->Id(), first->Id() + 1);
  EXPECT_EQ(first->Name(), "<Empty>");
  delete first;
  delete second;
}

TEST_F(PluginContainerTest, SetPathLoadsOpensAndNamesThePluginBeforeItReturns) {
  Testing::LogCapture log;
  Testing::TestContainer* container = Create();
  container->SetPath(recorder_.Path());
  EXPECT_EQ(log.Text(),
            "Enqueuing container => Direct\nLoading plugin: " + recorder_.Path() + "\nLoading finished!\n");
  EXPECT_EQ(notes_,
            (Notes{"loading", "name Lead - Acme", "inputs 2", "outputs 2", "activated", "patches 2"}));
  ASSERT_EQ(container->Programs().size(), 2u);
  EXPECT_EQ(container->Programs()[0].name, "First");
  EXPECT_EQ(container->Programs()[1].name, "<Empty>");
  EXPECT_EQ(recorder_.Lines("disp 0 ").size(), 1u) << "opened once";
  EXPECT_EQ(recorder_.Lines("disp 11 ")[0], "disp 11 0 256 0.00000");
  EXPECT_EQ(recorder_.Lines("disp 10 ")[0], "disp 10 0 0 44100.00000");
  container->Dispose();
}

TEST_F(PluginContainerTest, APathTypedRelativeToTheWorkingFolderLoadsByItsFullPath) {
  Testing::LogCapture log;
  Testing::TestContainer* container = Create();
  {
    const Testing::WorkingFolder working(Testing::binaryFolder());
    container->SetPath("./recording_plugin.dll");
  }
  EXPECT_TRUE(log.Contains("Loading plugin: " + recorder_.Path() + "\nLoading finished!\n")) << log.Text();
  EXPECT_TRUE(Noted("activated"));
  container->Dispose();
}

TEST_F(PluginContainerTest, ALibraryThatDoesNotLoadIsLoggedWithTheReason) {
  const std::string path = Testing::makeTempFolder("container-no-file") + "absent.dll";
  Testing::LogCapture log;
  Testing::TestContainer* container = Create();
  container->SetPath(path);
  EXPECT_TRUE(log.Contains("Unable to load library: " + path + " (no such file)\n")) << log.Text();
  container->Dispose();
}

struct FailureCase {
  const char* plugin;
  const char* logLine;
};

class PluginContainerFailure : public PluginContainerTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(PluginContainerFailure, LeavesAnEmptySlotTheLibraryReleasedAndTheHostRunning) {
  Testing::LogCapture log;
  Testing::TestContainer* container = Create();
  container->SetPath(Testing::PluginPath(GetParam().plugin));
  EXPECT_NE(log.Text().find(GetParam().logLine), std::string::npos) << log.Text();
  EXPECT_EQ(notes_.front(), "loading");
  EXPECT_EQ(notes_.back(), "unloaded");
  EXPECT_FALSE(Noted("activated"));
  EXPECT_EQ(container->Loaded(), nullptr);
  EXPECT_EQ(container->Name(), "<Empty>");
  EXPECT_FALSE(Testing::IsLoaded(GetParam().plugin));
  container->Dispose();
  EXPECT_EQ(notes_.back(), "deleted");
}

INSTANTIATE_TEST_SUITE_P(
    Plugins, PluginContainerFailure,
    testing::Values(FailureCase{"missing_plugin", "Unable to load library"},
                    FailureCase{"no_entry_plugin", "Unable to retrieve main proc\nLoading failed!\n"},
                    FailureCase{"bad_magic_plugin", "No magic!\nLoading failed!\n"},
                    FailureCase{"null_record_plugin", "No magic!\nLoading failed!\n"},
                    FailureCase{"crash_in_entry_plugin",
                                "Plugin crashed on load\nAttempt to load plugin failed!\nLoading failed!\n"},
                    FailureCase{"throw_in_entry_plugin",
                                "Plugin crashed on load\nAttempt to load plugin failed!\nLoading failed!\n"},
                    FailureCase{
                        "crash_in_open_plugin",
                        "Plugin crashed on open\nAttempt to load plugin failed!\nLoading failed!\n"}));

TEST_F(PluginContainerTest, AFileThatIsNoLibraryLeavesAnEmptySlot) {
  const std::string path = Testing::makeTempFolder("container-not-a-library") + "notes.dll";
  std::ofstream(path) << "MZ but nothing more\n";
  Testing::LogCapture log;
  Testing::TestContainer* container = Create();
  container->SetPath(path);
  EXPECT_TRUE(log.Contains("Unable to load library")) << log.Text();
  EXPECT_EQ(notes_, (Notes{"loading", "unloaded"}));
  container->Dispose();
}

TEST_F(PluginContainerTest, APluginWithoutReplacingProcessingLeavesAnEmptySlot) {
  recorder_.Configure(0, 2, 1, effFlagsIsSynth);
  Testing::LogCapture log;
  Testing::TestContainer* container = Create();
  container->SetPath(recorder_.Path());
  EXPECT_TRUE(log.Contains("Plugin does not support processReplacing\nLoading failed!\n")) << log.Text();
  EXPECT_EQ(notes_, (Notes{"loading", "unloaded"}));
  EXPECT_EQ(recorder_.Instances(), 0);
  container->Dispose();
}

TEST_F(PluginContainerTest, ACrashInTheEntryLetsTheOwnerCloseTheProcessorFirst) {
  Testing::TestContainer* container = Create();
  container->SetPath(Testing::PluginPath("crash_in_entry_plugin"));
  EXPECT_EQ(notes_, (Notes{"loading", "close processor", "unloaded"}));
  container->Dispose();
}

TEST_F(PluginContainerTest, DisposingDeletesTheProcessorAndThenTheContainer) {
  Testing::TestContainer* container = CreateLoaded();
  Testing::LogCapture log;
  container->hook = [container](const std::string& note) {
    if (note == "dispose self") container->Dispose();  // the owner disposing again is ignored
  };
  container->Dispose();
  EXPECT_EQ(notes_, (Notes{"deactivated", "unloaded", "dispose self", "deleted"}));
  EXPECT_EQ(log.Text(), "Enqueuing container => Direct\n");
  EXPECT_EQ(recorder_.Lines("disp "),
            (std::vector<std::string>{"disp 72 0 0 0.00000", "disp 12 0 0 0.00000", "disp 1 0 0 0.00000"}));
  EXPECT_EQ(recorder_.Instances(), 0);
}

TEST_F(PluginContainerTest, APathSetWhileLoadingIsLoadedNext) {
  Testing::TestContainer* container = Create();
  bool again = true;
  container->hook = [&](const std::string& note) {
    if (note == "activated" && again) {
      again = false;
      container->SetPath(Testing::PluginPath("main_only_plugin"));
    }
  };
  container->SetPath(recorder_.Path());
  EXPECT_EQ(container->Name(), "Main Only - ");
  EXPECT_EQ(recorder_.Instances(), 0) << "the first plug-in was replaced and closed";
  container->Dispose();
}

TEST_F(PluginContainerTest, EditorOpensAndClosesThroughTheContainer) {
  Testing::TestContainer* container = CreateLoaded();
  int parent = 0;
  container->OpenEditor(&parent);
  container->EditorIdle();
  container->CloseEditor();
  EXPECT_EQ(recorder_.Lines("disp "),
            (std::vector<std::string>{"disp 14 0 0 0.00000", "disp 13 0 0 0.00000", "disp 19 0 0 0.00000",
                                      "disp 15 0 0 0.00000"}));
  EXPECT_EQ(notes_, Notes{"size 400x300"});
  container->Dispose();
}

TEST_F(PluginContainerTest, APluginAskingToResizeItsWindowReachesTheOwner) {
  Testing::TestContainer* container = Create();
  container->SetPath(Testing::PluginPath("resize_plugin"));
  notes_.clear();
  int parent = 0;
  container->OpenEditor(&parent);
  EXPECT_EQ(notes_, Notes{"size 600x400"});
  container->Dispose();
}

struct MergeCase {
  int deviceEvents;
  int queued;
  int delivered;
  int left;
};

class PluginContainerMerge : public PluginContainerTest, public testing::WithParamInterface<MergeCase> {};

TEST_P(PluginContainerMerge, QueuedWordsFollowTheDeviceEventsAsFarAsTheyFit) {
  const MergeCase& c = GetParam();
  Testing::TestContainer* container = CreateLoaded();
  for (int i = 0; i < c.queued; ++i) container->PushMidi(Word(0xB0, 1, i % 128));
  std::vector<PackedMidiEvent> block(256, 0);
  std::fill_n(block.begin(), c.deviceEvents, Word(0x90, 60, 100));
  container->MergeQueuedMidi(c.deviceEvents, block.data(), 256);
  const std::vector<std::string> lists = recorder_.Lines("events");
  if (c.delivered == 0) {
    EXPECT_TRUE(lists.empty()) << "no event call for a block without events";
  } else {
    EXPECT_EQ(lists, std::vector<std::string>{"events " + std::to_string(c.delivered)});
  }
  EXPECT_EQ(container->QueuedMidiCount(), c.left);
  container->Dispose();
}

INSTANTIATE_TEST_SUITE_P(Blocks, PluginContainerMerge,
                         testing::Values(MergeCase{250, 10, 256, 4}, MergeCase{0, 300, 300, 0},
                                         MergeCase{0, 0, 0, 0}, MergeCase{5, 0, 5, 0}, MergeCase{5, 3, 8, 0},
                                         MergeCase{256, 7, 256, 7}));

TEST_F(PluginContainerTest, WordsLeftOverAreDeliveredInOrderWithTheNextBlock) {
  Testing::TestContainer* container = CreateLoaded();
  for (int i = 0; i < 10; ++i) container->PushMidi(Word(0xB0, 1, i));
  std::vector<PackedMidiEvent> block(256, Word(0x90, 60, 100));
  container->MergeQueuedMidi(250, block.data(), 256);
  recorder_.Clear();
  container->MergeQueuedMidi(0, block.data(), 256);
  EXPECT_EQ(recorder_.Lines("midi"),
            (std::vector<std::string>{
                "midi b0 1 6 delta 0 type 1 size 32 flags 1", "midi b0 1 7 delta 0 type 1 size 32 flags 1",
                "midi b0 1 8 delta 0 type 1 size 32 flags 1", "midi b0 1 9 delta 0 type 1 size 32 flags 1"}));
  container->Dispose();
}

TEST_F(PluginContainerTest, NotesLightTheKeyboardOnlyWhileTheEditorIsOpen) {
  Testing::TestContainer* container = CreateLoaded();
  std::vector<PackedMidiEvent> block = {Word(0x90, 60, 100), Word(0x91, 62, 0), Word(0x80, 60, 64),
                                        Word(0xB0, 64, 127)};
  container->MergeQueuedMidi(4, block.data(), 256);
  EXPECT_TRUE(notes_.empty());
  int parent = 0;
  container->OpenEditor(&parent);
  notes_.clear();
  container->MergeQueuedMidi(4, block.data(), 256);
  EXPECT_EQ(notes_, (Notes{"key 60 on", "key 62 off", "key 60 off"}));
  container->Dispose();
}

TEST_F(PluginContainerTest, KeyboardNotesReachThePlugin) {
  Testing::TestContainer* container = CreateLoaded();
  container->PushMidi(Word(0x90, 60, 100));
  container->PushMidi(Word(0x80, 60, 0));
  std::vector<PackedMidiEvent> block(256, 0);
  container->MergeQueuedMidi(0, block.data(), 256);
  EXPECT_EQ(recorder_.Lines("midi"),
            (std::vector<std::string>{"midi 90 60 100 delta 0 type 1 size 32 flags 1",
                                      "midi 80 60 0 delta 0 type 1 size 32 flags 1"}));
  container->Dispose();
}

TEST_F(PluginContainerTest, TheMidiQueueIsBoundedAndWarnsOnce) {
  Testing::TestContainer* container = CreateLoaded();
  Testing::LogCapture log;
  for (int i = 0; i < PluginContainer::kMaxQueuedMidi + 100; ++i) container->PushMidi(Word(0x90, 60, 1));
  EXPECT_EQ(container->QueuedMidiCount(), PluginContainer::kMaxQueuedMidi);
  EXPECT_EQ(log.Levels(), "4:MIDI queue full: dropping injected events\n");
  container->Dispose();
}

}  // namespace
}  // namespace Ombix::Kelvane
