#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "TestPaths.h"
#include "host/hosting/LoadVstPlugin.h"
#include "host/hosting/PluginCrashed.h"
#include "host/hosting/ProcessLevelRegistry.h"
#include "host/hosting/tests/LogCapture.h"
#include "host/hosting/tests/TestPluginLibrary.h"

namespace Ombix::Kelvane {
namespace {

using Lines = std::vector<std::string>;

// A wrapper around the recording plug-in, with its record of calls cleared after loading.
class VSTPluginTest : public testing::Test {
 protected:
  void Load() {
    plugin_ = LoadVstPlugin(recorder_.Path());
    ASSERT_NE(plugin_, nullptr);
    plugin_->SizeChanged.connect([this](int width, int height) { sizes_.push_back({width, height}); });
    plugin_->UpdateDisplay.connect([this] { ++displayUpdates_; });
    recorder_.Clear();
  }

  void LoadAndOpen(int blockSize = 256, double rate = 48000.0) {
    Load();
    plugin_->Open(blockSize, rate);
    recorder_.Clear();
  }

  // The dispatcher calls recorded since the last Clear.
  Lines Dispatched() const { return recorder_.Lines("disp "); }

  Testing::RecordingPluginLibrary recorder_;
  std::unique_ptr<VSTPluginImpl> plugin_;
  std::vector<std::pair<int, int>> sizes_;
  int displayUpdates_ = 0;
};

TEST_F(VSTPluginTest, OpeningConfiguresAndResumes) {
  Load();
  plugin_->Open(256, 48000.0);
  const Lines expected = {
      "disp 0 0 0 0.00000",
      "host 16 0 0 -> 48000",
      "host 11 0 0 -> 5",
      "host 41 0 0 -> " + recorder_.Lines("host 41")[0].substr(15),
      "directory " + Testing::binaryFolder(),
      "disp 10 0 0 48000.00000",
      "disp 11 0 256 0.00000",
      "disp 48 0 0 0.00000",
      "disp 47 0 0 0.00000",
      "disp 33 0 0 0.00000",
      "disp 34 0 0 0.00000",
      "disp 33 1 0 0.00000",
      "disp 34 1 0 0.00000",
      "disp 12 0 1 0.00000",
      "disp 71 0 0 0.00000",
  };
  EXPECT_EQ(recorder_.Lines(), expected);
  EXPECT_EQ(plugin_->ProductString(), "Lead");
  EXPECT_EQ(plugin_->VendorString(), "Acme");
  EXPECT_EQ(Dispatched().size(), 11u) << "the texts are cached";
}

TEST_F(VSTPluginTest, PropertyQueriesInterleaveByIndex) {
  recorder_.Configure(2, 6, 1, effFlagsCanReplacing);
  Load();
  plugin_->Open(128, 44100.0);
  Lines queries;
  for (const std::string& line : Dispatched()) {
    if (line.compare(0, 8, "disp 33 ") == 0 || line.compare(0, 8, "disp 34 ") == 0)
      queries.push_back(line.substr(5, 4));
  }
  EXPECT_EQ(queries, (Lines{"33 0", "34 0", "33 1", "34 1", "34 2", "34 3", "34 4", "34 5"}));
}

TEST_F(VSTPluginTest, ProcessingRunsOnlyWhileResumed) {
  Load();
  std::vector<float> input(64, 0.25f);
  std::vector<float> left(64, 9.0f);
  std::vector<float> right(64, 9.0f);
  float* inputs[] = {input.data(), input.data()};
  float* outputs[] = {left.data(), right.data()};
  plugin_->Process(inputs, outputs, 64);
  EXPECT_TRUE(recorder_.Lines("process").empty());
  EXPECT_EQ(left[0], 9.0f);
  plugin_->Open(64, 44100.0);
  plugin_->Process(inputs, outputs, 64);
  EXPECT_EQ(recorder_.Lines("process"), Lines{"process 64"});
  EXPECT_EQ(left[63], 0.25f);
}

TEST_F(VSTPluginTest, EventsReachThePluginWithDeltaFrames) {
  LoadAndOpen(256, 44100.0);
  const std::vector<PackedMidiEvent> words = {0x7F3C90 | (10000ull << 32), 0x003C80 | (2000ull << 32), 0,
                                              0x7F4090};
  EXPECT_EQ(plugin_->ProcessEvents(4, words.data()), 1);
  EXPECT_EQ(recorder_.Lines("events"), Lines{"events 2"});
  EXPECT_EQ(recorder_.Lines("midi"), (Lines{"midi 90 60 127 delta 255 type 1 size 32 flags 1",
                                            "midi 80 60 0 delta 88 type 1 size 32 flags 1"}));
}

struct ChangeCase {
  const char* name;
  void (*change)(VSTPluginImpl&);
  Lines expected;
};

class VSTPluginChange : public VSTPluginTest, public testing::WithParamInterface<ChangeCase> {};

TEST_P(VSTPluginChange, SuspendsReconfiguresAndResumes) {
  LoadAndOpen();
  GetParam().change(*plugin_);
  EXPECT_EQ(Dispatched(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, VSTPluginChange,
    testing::Values(ChangeCase{"Rate",
                               [](VSTPluginImpl& p) { p.SetSampleRate(96000.0); },
                               {"disp 72 0 0 0.00000", "disp 12 0 0 0.00000", "disp 10 0 0 96000.00000",
                                "disp 12 0 1 0.00000", "disp 71 0 0 0.00000"}},
                    ChangeCase{"BlockSize",
                               [](VSTPluginImpl& p) { p.SetBlockSize(1024); },
                               {"disp 72 0 0 0.00000", "disp 12 0 0 0.00000", "disp 11 0 1024 0.00000",
                                "disp 12 0 1 0.00000", "disp 71 0 0 0.00000"}}),
    [](const testing::TestParamInfo<ChangeCase>& info) { return info.param.name; });

TEST_F(VSTPluginTest, AWrapperNotYetOpenedOnlyKeepsANewRateAndBlockSize) {
  Load();
  plugin_->SetSampleRate(96000.0);
  plugin_->SetBlockSize(128);
  EXPECT_TRUE(Dispatched().empty());
  EXPECT_EQ(recorder_.CallHost(audioMasterGetSampleRate), 96000);
}

TEST_F(VSTPluginTest, ANewRateReachesTheDeltaFramesAndTheHostAnswer) {
  LoadAndOpen(512, 44100.0);
  plugin_->SetSampleRate(88200.0);
  EXPECT_EQ(recorder_.CallHost(audioMasterGetSampleRate), 88200);
  const PackedMidiEvent word = 0x403C90 | (1000ull << 32);
  plugin_->ProcessEvents(1, &word);
  EXPECT_EQ(recorder_.Lines("midi")[0], "midi 90 60 64 delta 88 type 1 size 32 flags 1");
}

TEST_F(VSTPluginTest, EditorOpensIdlesAndClosesOnce) {
  LoadAndOpen();
  int parent = 0;
  plugin_->EditorIdle();
  plugin_->OpenEditor(&parent);
  plugin_->OpenEditor(&parent);
  plugin_->EditorIdle();
  plugin_->CloseEditor();
  plugin_->CloseEditor();
  plugin_->EditorIdle();
  EXPECT_EQ(Dispatched(), (Lines{"disp 14 0 0 0.00000", "disp 13 0 0 0.00000", "disp 19 0 0 0.00000",
                                 "disp 15 0 0 0.00000"}));
  EXPECT_EQ(sizes_, (std::vector<std::pair<int, int>>{{400, 300}}));
}

TEST_F(VSTPluginTest, AnEditorWithoutAParentWindowIsRefusedWithALogLine) {
  LoadAndOpen();
  Testing::LogCapture log;
  plugin_->OpenEditor(nullptr);
  plugin_->EditorIdle();
  plugin_->CloseEditor();
  EXPECT_TRUE(Dispatched().empty());
  EXPECT_NE(log.Levels().find("4:Editor not opened: no parent window\n"), std::string::npos) << log.Levels();
  // A later opening with a window works as ever.
  int parent = 0;
  plugin_->OpenEditor(&parent);
  EXPECT_EQ(Dispatched(), (Lines{"disp 14 0 0 0.00000", "disp 13 0 0 0.00000"}));
}

TEST_F(VSTPluginTest, APluginWithoutEditorGetsNoEditorCalls) {
  recorder_.Configure(0, 2, 1, effFlagsCanReplacing);
  LoadAndOpen();
  int parent = 0;
  plugin_->OpenEditor(&parent);
  plugin_->EditorIdle();
  plugin_->CloseEditor();
  EXPECT_TRUE(Dispatched().empty());
}

TEST_F(VSTPluginTest, ClosingClosesTheEditorSuspendsAndClosesThePlugin) {
  LoadAndOpen();
  int parent = 0;
  plugin_->OpenEditor(&parent);
  recorder_.Clear();
  plugin_.reset();
  EXPECT_EQ(Dispatched(), (Lines{"disp 15 0 0 0.00000", "disp 72 0 0 0.00000", "disp 12 0 0 0.00000",
                                 "disp 1 0 0 0.00000"}));
  EXPECT_EQ(recorder_.Instances(), 0);
}

TEST_F(VSTPluginTest, KeysCarryCharacterVirtualKeyAndModifiers) {
  LoadAndOpen();
  EXPECT_FALSE(plugin_->KeyDown(PluginKeyEvent{112, 1071, 9}));
  EXPECT_FALSE(plugin_->KeyUp(PluginKeyEvent{65, 65, 0}));
  EXPECT_EQ(Dispatched(), (Lines{"disp 59 112 40 9.00001", "disp 60 65 0 0.00001"}));
}

TEST_F(VSTPluginTest, ProgramNamesAndProgramChanges) {
  LoadAndOpen();
  EXPECT_EQ(plugin_->NumPrograms(), 3);
  PatchInfo patch;
  ASSERT_TRUE(plugin_->ProgramName(0, patch));
  EXPECT_EQ(patch.index, 0);
  EXPECT_EQ(patch.name, "First");
  ASSERT_TRUE(plugin_->ProgramName(1, patch));
  EXPECT_EQ(patch.index, 1);
  EXPECT_EQ(patch.name, "<Empty>");
  EXPECT_EQ(patch.category, "");
  EXPECT_FALSE(plugin_->ProgramName(2, patch));
  EXPECT_EQ(patch.name, "<Empty>");
  EXPECT_EQ(plugin_->SetProgram(5), 7);
  EXPECT_EQ(Dispatched(), (Lines{"disp 29 0 -1 0.00000", "disp 29 1 -1 0.00000", "disp 29 2 -1 0.00000",
                                 "disp 2 5 5 0.00000"}));
}

TEST_F(VSTPluginTest, CountsFromTheRecordAreClamped) {
  recorder_.Configure(2, -3, 1000000, effFlagsCanReplacing);
  Load();
  EXPECT_EQ(plugin_->NumOutputs(), 0);
  EXPECT_EQ(plugin_->NumPrograms(), VSTPluginImpl::kMaxPrograms);
  plugin_->Effect()->numInputs = 100000;  // a plug-in that changes its mind after loading
  EXPECT_EQ(plugin_->NumInputs(), VSTPluginImpl::kMaxChannels);
  plugin_->Effect()->numInputs = 2;
}

TEST_F(VSTPluginTest, APluginThatDeclaresMoreChannelsAfterOpeningIsNotCalledToProcess) {
  LoadAndOpen(64, 44100.0);
  std::vector<float> input(64, 0.25f);
  std::vector<float> left(64, 9.0f);
  std::vector<float> right(64, 9.0f);
  float* inputs[] = {input.data(), input.data()};
  float* outputs[] = {left.data(), right.data()};
  AEffect& effect = *plugin_->Effect();
  for (VstInt32* count : {&effect.numInputs, &effect.numOutputs}) {
    *count = 100;
    plugin_->Process(inputs, outputs, 64);
    EXPECT_TRUE(recorder_.Lines("process").empty());
    EXPECT_EQ(left[0], 9.0f);
    *count = 2;
  }
  effect.numOutputs = 1;
  plugin_->Process(inputs, outputs, 64);
  EXPECT_EQ(recorder_.Lines("process"), Lines{"process 64"});
}

struct CallbackCase {
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  VstIntPtr answer;
};

class VSTPluginCallback : public VSTPluginTest, public testing::WithParamInterface<CallbackCase> {};

TEST_P(VSTPluginCallback, AnswersThePluginsOwnQuestions) {
  LoadAndOpen(256, 48000.0);
  const CallbackCase& c = GetParam();
  EXPECT_EQ(recorder_.CallHost(c.opcode, c.index, c.value), c.answer);
}

INSTANTIATE_TEST_SUITE_P(Table, VSTPluginCallback,
                         testing::Values(CallbackCase{audioMasterGetSampleRate, 0, 0, 48000},
                                         CallbackCase{audioMasterGetNumAutomatableParameters, 0, 0, 5},
                                         CallbackCase{audioMasterNeedIdle, 0, 0, 1},
                                         CallbackCase{audioMasterWillReplaceOrAccumulate, 0, 0, 1},
                                         CallbackCase{audioMasterVersion, 0, 0, 2400},
                                         CallbackCase{audioMasterGetBlockSize, 0, 0, 0},
                                         CallbackCase{audioMasterWantMidi, 0, 1, 0},
                                         CallbackCase{audioMasterAutomate, 3, 0, 0}));

TEST_F(VSTPluginTest, SizeRequestsAndDisplayUpdatesAreSignalled) {
  LoadAndOpen();
  EXPECT_EQ(recorder_.CallHost(audioMasterSizeWindow, 600, 400), 1);
  EXPECT_EQ(recorder_.CallHost(audioMasterUpdateDisplay), 1);
  EXPECT_EQ(sizes_, (std::vector<std::pair<int, int>>{{600, 400}}));
  EXPECT_EQ(displayUpdates_, 1);
}

TEST_F(VSTPluginTest, TheDirectoryIsTheLibrarysFolder) {
  LoadAndOpen();
  const auto* folder = reinterpret_cast<const char*>(recorder_.CallHost(audioMasterGetDirectory));
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(std::string(folder), Testing::binaryFolder());
}

TEST_F(VSTPluginTest, ProcessLevelDependsOnTheCallingThread) {
  LoadAndOpen();
  VstIntPtr audioLevel = 0;
  VstIntPtr otherLevel = 0;
  std::thread([&] {
    processLevelRegistry.RegisterCurrentThread(ProcessLevelRegistry::AudioThread);
    audioLevel = recorder_.CallHost(audioMasterGetCurrentProcessLevel);
  }).join();
  std::thread([&] { otherLevel = recorder_.CallHost(audioMasterGetCurrentProcessLevel); }).join();
  EXPECT_EQ(audioLevel, 2);
  EXPECT_EQ(otherLevel, 3);
}

TEST(VSTPluginCrash, AFaultWhileOpeningIsCaughtAndThePluginIsNotCalledAgain) {
  const std::string path = Testing::PluginPath("crash_in_open_plugin");
  Testing::LogCapture log;
  auto plugin = LoadVstPlugin(path);
  ASSERT_NE(plugin, nullptr);
  const HMODULE module = LoadLibraryA(path.c_str());  // keeps the plug-in's count of close calls readable
  EXPECT_THROW(plugin->Open(256, 44100.0), PluginCrashed);
  EXPECT_TRUE(log.Contains("Plugin crashed on open\n"));
  const PackedMidiEvent word = 0x403C90;
  EXPECT_EQ(plugin->ProcessEvents(1, &word), 0);
  int parent = 0;
  plugin->OpenEditor(&parent);
  plugin.reset();
  const auto closeCalls =
      reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(module, "CloseCalls")));
  ASSERT_NE(closeCalls, nullptr);
  EXPECT_EQ(closeCalls(), 0);
  FreeLibrary(module);
  EXPECT_FALSE(Testing::IsLoaded("crash_in_open_plugin"));
}

}  // namespace
}  // namespace Ombix::Kelvane
