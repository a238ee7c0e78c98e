// Construction, flags, the editor's ownership, resume and the record's callbacks of the effect base.
#include "plugin/framework/EffectCallbacks.h"
#include "plugin/framework/EffectFlags.h"
#include "plugin/framework/EffectOpcodes.h"
#include "plugin/framework/HostOpcodes.h"
#include "plugin/framework/tests/RecordingEffect.h"
#include "plugin/framework/tests/RecordingHost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

TEST(EffectBase, ConstructionSetsMembersAndRecord) {
  RecordingEffect effect(RecordingHost::callback);
  AEffect* record = effect.getAeffect();
  EXPECT_EQ(effect.getSampleRate(), 44100.0f);
  EXPECT_EQ(effect.getBlockSize(), 1024);
  EXPECT_EQ(effect.AudioEffect::getProgram(), 0);
  EXPECT_EQ(effect.getEditor(), nullptr);
  EXPECT_EQ(record->object, &effect);
  EXPECT_EQ(record->magic, kEffectMagic);
  EXPECT_EQ(record->numPrograms, RecordingEffect::kPrograms);
  EXPECT_EQ(record->numParams, RecordingEffect::kParameters);
  EXPECT_EQ(record->flags, effFlagsCanReplacing);
  EXPECT_EQ(record->dispatcher, &dispatchEffectClass);
  EXPECT_EQ(record->process, &processClass);
  EXPECT_EQ(record->setParameter, &setParameterClass);
  EXPECT_EQ(record->getParameter, &getParameterClass);
  EXPECT_EQ(record->processReplacing, &processClassReplacing);
  EXPECT_EQ(record->processDoubleReplacing, &processClassDoubleReplacing);
}

TEST(EffectBase, CallbacksForwardToTheEffect) {
  RecordingEffect effect;
  AEffect* record = effect.getAeffect();
  float* floats[1] = {};
  double* doubles[1] = {};
  EXPECT_EQ(record->getParameter(record, 3), 0.25f);
  record->setParameter(record, 3, 0.5f);
  record->process(record, floats, floats, 64);
  record->processReplacing(record, floats, floats, 32);
  record->processDoubleReplacing(record, doubles, doubles, 16);
  EXPECT_EQ(record->dispatcher(record, effGetVendorVersion, 0, 0, nullptr, 0.0f), kIntAnswer);
  const std::string f = CallLog::describe(static_cast<const void*>(floats));
  const std::string d = CallLog::describe(static_cast<const void*>(doubles));
  EXPECT_EQ(effect.log.all(),
            (Strings{"getParameter(3)", "setParameter(3,0.5)", "process(" + f + "," + f + ",64)",
                     "processReplacing(" + f + "," + f + ",32)",
                     "processDoubleReplacing(" + d + "," + d + ",16)", "getVendorVersion()"}));
}

// An effect that reports its close and its destruction into a log that outlives it.
class MortalEffect : public RecordingEffect {
 public:
  explicit MortalEffect(Strings& events) : events(events) {}
  ~MortalEffect() override { events.push_back("destroyed"); }
  void close() override { events.push_back("close"); }

 private:
  Strings& events;
};

TEST(EffectBase, CloseThroughTheRecordClosesThenDeletesAndAnswersOne) {
  Strings events;
  auto* effect = new MortalEffect(events);
  AEffect* record = effect->getAeffect();
  EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
  EXPECT_EQ(events, (Strings{"close", "destroyed"}));
}

// An editor whose destruction is seen from outside.
class WatchedEditor : public AEffEditor {
 public:
  WatchedEditor(AudioEffect* effect, bool& destroyed) : AEffEditor(effect), destroyed(destroyed) {}
  ~WatchedEditor() override { destroyed = true; }

 private:
  bool& destroyed;
};

TEST(EffectBase, SetEditorOwnsTheEditorAndSetsTheFlag) {
  bool destroyed = false;
  {
    RecordingEffect effect;
    auto* editor = new WatchedEditor(&effect, destroyed);
    effect.setEditor(editor);
    EXPECT_EQ(effect.getEditor(), editor);
    EXPECT_EQ(effect.getAeffect()->flags, effFlagsCanReplacing | effFlagsHasEditor);
    effect.setEditor(nullptr);
    EXPECT_EQ(effect.getAeffect()->flags, effFlagsCanReplacing);
    effect.setEditor(editor);
  }
  EXPECT_TRUE(destroyed);
}

struct FlagCase {
  const char* name;
  std::function<void(AudioEffectX&, bool)> set;
  VstInt32 bit;
};

std::ostream& operator<<(std::ostream& out, const FlagCase& c) {
  return out << c.name;
}

class FlagSetters : public testing::TestWithParam<FlagCase> {};

TEST_P(FlagSetters, SetAndClearTheirBit) {
  RecordingEffect effect;
  const VstInt32 before = effect.getAeffect()->flags;
  GetParam().set(effect, true);
  EXPECT_EQ(effect.getAeffect()->flags, before | GetParam().bit);
  GetParam().set(effect, false);
  EXPECT_EQ(effect.getAeffect()->flags, before & ~GetParam().bit);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, FlagSetters,
    testing::Values(
        FlagCase{"hasClip", [](AudioEffectX& e, bool s) { e.hasClip(s); }, 2},
        FlagCase{"hasVu", [](AudioEffectX& e, bool s) { e.hasVu(s); }, 4},
        FlagCase{"canMono", [](AudioEffectX& e, bool s) { e.canMono(s); }, 8},
        FlagCase{"canProcessReplacing", [](AudioEffectX& e, bool s) { e.canProcessReplacing(s); }, 16},
        FlagCase{"programsAreChunks", [](AudioEffectX& e, bool s) { e.programsAreChunks(s); }, 32},
        FlagCase{"isSynth", [](AudioEffectX& e, bool s) { e.isSynth(s); }, 256},
        FlagCase{"noTail", [](AudioEffectX& e, bool s) { e.noTail(s); }, 512},
        FlagCase{"wantAsyncOperation", [](AudioEffectX& e, bool s) { e.wantAsyncOperation(s); }, 1024},
        FlagCase{"hasExternalBuffer", [](AudioEffectX& e, bool s) { e.hasExternalBuffer(s); }, 2048},
        FlagCase{"canDoubleReplacing", [](AudioEffectX& e, bool s) { e.canDoubleReplacing(s); }, 4096}));

TEST(EffectBase, RecordSettersStoreTheirValue) {
  RecordingEffect effect;
  effect.setUniqueID(0x4F6D4653);
  effect.setNumInputs(0);
  effect.setNumOutputs(6);
  effect.setInitialDelay(128);
  effect.setRealtimeQualities(3);
  effect.setOfflineQualities(4);
  const AEffect* record = effect.getAeffect();
  EXPECT_EQ(record->uniqueID, 0x4F6D4653);
  EXPECT_EQ(record->numInputs, 0);
  EXPECT_EQ(record->numOutputs, 6);
  EXPECT_EQ(record->initialDelay, 128);
  EXPECT_EQ(record->realQualities, 3);
  EXPECT_EQ(record->offQualities, 4);
}

TEST(EffectBase, BlockSizeAndSampleRateTogetherCallNoHost) {
  RecordingHost::instance().reset();
  RecordingEffect effect(RecordingHost::callback);
  effect.AudioEffectX::setBlockSizeAndSampleRate(128, 96000.0f);
  EXPECT_EQ(effect.getBlockSize(), 128);
  EXPECT_EQ(effect.getSampleRate(), 96000.0f);
  EXPECT_TRUE(RecordingHost::instance().calls().empty());
}

// An effect whose canDo answers a set value, to drive the base resume.
class MidiEffect : public AudioEffectX {
 public:
  explicit MidiEffect(VstInt32 canDoAnswer)
      : AudioEffectX(RecordingHost::callback, 1, 1), canDoAnswer(canDoAnswer) {}
  void processReplacing(float**, float**, VstInt32) override {}
  VstInt32 canDo(char* text) override {
    asked.push_back(text);
    return canDoAnswer;
  }

  Strings asked;

 private:
  VstInt32 canDoAnswer;
};

struct ResumeCase {
  bool synth;
  VstInt32 canDoAnswer;
  bool wantsEvents;
};

std::ostream& operator<<(std::ostream& out, const ResumeCase& c) {
  return out << "synth " << c.synth << " canDo " << c.canDoAnswer;
}

class Resume : public testing::TestWithParam<ResumeCase> {};

TEST_P(Resume, AsksForMidiWhenSynthOrReceivingMidiEvents) {
  RecordingHost::instance().reset();
  MidiEffect effect(GetParam().canDoAnswer);
  effect.isSynth(GetParam().synth);
  effect.resume();
  const std::vector<HostCall> calls = RecordingHost::instance().callsWith(audioMasterWantMidi);
  if (GetParam().wantsEvents) {
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].value, 1);
    EXPECT_EQ(calls[0].effect, effect.getAeffect());
  } else {
    EXPECT_TRUE(calls.empty());
  }
  EXPECT_EQ(RecordingHost::instance().calls().size(), calls.size());
  if (!GetParam().synth) {
    EXPECT_EQ(effect.asked, Strings{"receiveVstMidiEvent"});
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, Resume,
                         testing::Values(ResumeCase{false, 1, true}, ResumeCase{false, -1, false},
                                         ResumeCase{false, 0, false}, ResumeCase{false, 2, false},
                                         ResumeCase{true, 0, true}, ResumeCase{true, -1, true}));

}  // namespace
