#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "PrivatePluginCopy.h"
#include "plugin/engine/OmAudio.h"
#include "plugin/engine/ParameterText.h"
#include "plugin/framework/HostOpcodes.h"
#include "plugin/framework/ModuleHandle.h"
#include "tests/support/TestPaths.h"

namespace {

// What the test host answers to time-info requests, and the filters it was asked with.
VstTimeInfo* hostTimeInfo = nullptr;
std::vector<VstIntPtr> timeInfoFilters;

VstIntPtr testHost(AEffect* /*effect*/, VstInt32 opcode, VstInt32 /*index*/, VstIntPtr value, void* /*ptr*/,
                   float /*opt*/) {
  if (opcode == audioMasterVersion) return 2400;
  if (opcode == audioMasterGetTime) {
    timeInfoFilters.push_back(value);
    return reinterpret_cast<VstIntPtr>(hostTimeInfo);
  }
  return 0;
}

// The effect linked into this test program finds its folder through the module handle; it is
// pointed at a plug-in copy in a private folder, so the settings file lives there.
class OmAudioTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { folder = loadPrivatePluginCopy("om-audio"); }
  static void TearDownTestSuite() { releasePrivatePluginCopy(); }

  void SetUp() override {
    ASSERT_NE(hInstance, nullptr);
    removeSettingsFile();
    hostTimeInfo = nullptr;
    timeInfoFilters.clear();
    effect = std::make_unique<OmAudio>(&testHost);
  }
  void TearDown() override {
    effect.reset();
    removeSettingsFile();
  }
  static void removeSettingsFile() { DeleteFileA((folder + "zintara.cfg").c_str()); }

  static std::string folder;
  std::unique_ptr<OmAudio> effect;

  void midi(unsigned char status, unsigned char data1, unsigned char data2) {
    VstMidiEvent event{};
    event.type = kVstMidiType;
    event.byteSize = sizeof event;
    event.midiData[0] = static_cast<char>(status);
    event.midiData[1] = static_cast<char>(data1);
    event.midiData[2] = static_cast<char>(data2);
    VstEvents list{};
    list.numEvents = 1;
    list.events[0] = reinterpret_cast<VstEvent*>(&event);
    EXPECT_EQ(effect->processEvents(&list), 1);
  }
};

std::string OmAudioTest::folder;

TEST_F(OmAudioTest, ArmedLearningEndsWithANoteWithoutMapping) {
  const std::vector<int32_t> mapBefore(effect->controllerMap, effect->controllerMap + controllerCount);
  effect->setLearnParameter(5);
  midi(0x90, 60, 64);
  EXPECT_EQ(effect->learnTarget.load(), -1);
  EXPECT_EQ(std::vector<int32_t>(effect->controllerMap, effect->controllerMap + controllerCount), mapBefore);
  EXPECT_FLOAT_EQ(effect->keyTarget[60], 0.5f * 0.0625f);
  EXPECT_FLOAT_EQ(effect->gate, 0.5f);
}

TEST_F(OmAudioTest, ArmedLearningMapsTheNextControllerAndAppliesIt) {
  effect->setLearnParameter(5);
  midi(0xB2, 20, 64);
  EXPECT_EQ(effect->learnTarget.load(), -1);
  EXPECT_EQ(effect->controllerMap[20], 5);
  EXPECT_EQ(effect->getParameter(5), 0.5f);
  midi(0xB0, 20, 32);
  EXPECT_EQ(effect->getParameter(5), 0.25f);
}

TEST_F(OmAudioTest, LearningReplacesADefaultAssignment) {
  effect->setLearnParameter(9);
  midi(0xB0, 74, 127);
  EXPECT_EQ(effect->controllerMap[74], 9);
  EXPECT_EQ(effect->getParameter(9), 0.9921875f);
}

TEST_F(OmAudioTest, LearnedMapIsSavedAndReadByTheNextInstance) {
  effect->setLearnParameter(12);
  midi(0xB0, 3, 0);
  effect.reset();
  EXPECT_EQ(GetFileAttributesA((folder + "zintara.cfg").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  effect = std::make_unique<OmAudio>(&testHost);
  EXPECT_EQ(effect->controllerMap[3], 12);
  EXPECT_EQ(effect->controllerMap[74], 1);
}

TEST_F(OmAudioTest, PitchBendUsesTheMostSignificantByte) {
  struct Case {
    unsigned char lsb;
    unsigned char msb;
    float factor;
  };
  const Case cases[] = {{0, 64, 1.0f},
                        {127, 64, 1.0f},
                        {0, 127, std::exp(0.118f)},
                        {0, 0, std::exp(-0.118f)},
                        {0, 96, std::exp(0.5f * 1.015873f * 0.118f)},
                        {0, 32, std::exp(-0.5f * 0.118f)}};
  for (const Case& c : cases) {
    midi(0xE0, c.lsb, c.msb);
    EXPECT_NEAR(effect->pitchBend, c.factor, 1e-5f) << "msb " << int(c.msb);
  }
  midi(0xE0, 0, 64);
  EXPECT_EQ(effect->pitchBend, 1.0f);
}

TEST_F(OmAudioTest, NotesSetAndReleaseKeys) {
  effect->sleeping = true;
  midi(0x91, 60, 127);
  EXPECT_FALSE(effect->sleeping);
  EXPECT_EQ(effect->fadeGain, 1.0f);
  EXPECT_FLOAT_EQ(effect->keyTarget[60], 127.0f / 128.0f / 16.0f);
  midi(0x90, 64, 64);
  midi(0x80, 64, 0);
  EXPECT_EQ(effect->gate, 0.0f);  // one gate for all keys
  EXPECT_EQ(effect->keyTarget[64], 0.0f);
  EXPECT_GT(effect->keyTarget[60], 0.0f);

  effect->sleeping = true;
  midi(0x90, 60, 0);  // a note-on without velocity releases
  EXPECT_EQ(effect->keyTarget[60], 0.0f);
  EXPECT_FALSE(effect->sleeping);

  midi(0x90, 60 | 0x80, 64);  // data bytes count with seven bits
  EXPECT_GT(effect->keyTarget[60], 0.0f);
}

TEST_F(OmAudioTest, AllNotesOffReleasesEveryKey) {
  for (unsigned char key : {0, 60, 127}) midi(0x90, key, 100);
  effect->sleeping = true;
  midi(0xB0, 127, 0);
  for (float target : effect->keyTarget) EXPECT_EQ(target, 0.0f);
  EXPECT_EQ(effect->gate, 0.0f);
  EXPECT_FALSE(effect->sleeping);
}

TEST_F(OmAudioTest, NoteOnRestartsOnlySyncedLfos) {
  effect->setParameter(ParameterIndex::Lfo1Sync, 0.05f);  // "12"
  effect->setParameter(ParameterIndex::Lfo2Sync, 0.01f);  // "none"
  effect->lfo1Phase = effect->lfo1Beats = 0.3f;
  effect->lfo2Phase = effect->lfo2Beats = 0.3f;
  effect->stepBeats = 2.0f;
  effect->noteOn(60, 100);
  EXPECT_EQ(effect->lfo1Phase, 0.0f);
  EXPECT_EQ(effect->lfo1Beats, 0.0f);
  EXPECT_EQ(effect->lfo2Phase, 0.3f);
  EXPECT_EQ(effect->lfo2Beats, 0.3f);
  EXPECT_EQ(effect->stepBeats, 0.0f);
}

TEST_F(OmAudioTest, ProgramSelectionReleasesKeysAndFadesIn) {
  midi(0x90, 60, 100);
  effect->setProgram(2);
  EXPECT_EQ(effect->keyTarget[60], 0.0f);
  EXPECT_EQ(effect->gate, 0.0f);
  EXPECT_EQ(effect->fadeGain, 0.0f);
  midi(0x90, 61, 100);
  EXPECT_EQ(effect->fadeGain, 1.0f);
}

TEST_F(OmAudioTest, TempoFromTheHostWhenItIsValid) {
  struct Case {
    bool answers;
    double tempo;
    VstInt32 flags;
    float expected;
  };
  const Case cases[] = {{false, 0.0, 0, 120.0f},
                        {true, 140.0, kVstTempoValid, 140.0f},
                        {true, 140.0, kVstTempoValid | kVstTransportPlaying, 140.0f},
                        {true, 0.0, kVstTempoValid, 120.0f},
                        {true, -20.0, kVstTempoValid, 120.0f},
                        {true, 140.0, kVstPpqPosValid, 120.0f}};
  VstTimeInfo info{};
  for (const Case& c : cases) {
    info.tempo = c.tempo;
    info.flags = c.flags;
    hostTimeInfo = c.answers ? &info : nullptr;
    timeInfoFilters.clear();
    EXPECT_EQ(effect->getTempo(), c.expected) << "tempo " << c.tempo << " flags " << c.flags;
    EXPECT_EQ(timeInfoFilters, std::vector<VstIntPtr>{kVstTempoValid});
  }
}

TEST_F(OmAudioTest, PositionAndTransportFromTheHost) {
  EXPECT_EQ(effect->getPpqPos(), 0.0);
  EXPECT_TRUE(effect->isPlaying());
  VstTimeInfo info{};
  info.ppqPos = 17.25;
  hostTimeInfo = &info;
  timeInfoFilters.clear();
  EXPECT_EQ(effect->getPpqPos(), 17.25);
  EXPECT_FALSE(effect->isPlaying());
  info.flags = kVstTransportPlaying;
  EXPECT_TRUE(effect->isPlaying());
  EXPECT_EQ(timeInfoFilters,
            (std::vector<VstIntPtr>{kVstPpqPosValid, kVstTransportPlaying, kVstTransportPlaying}));
}

TEST_F(OmAudioTest, EditorControlsCanAskForTheTextOfAnyValue) {
  char text[parameterTextCapacity];
  effect->formatParameterValue(ParameterIndex::FilterType2, 0.47f, text);
  EXPECT_STREQ(text, "Delay");
  EXPECT_EQ(effect->getParameter(ParameterIndex::FilterType2), 0.08f);  // the live value is untouched
}

}  // namespace
