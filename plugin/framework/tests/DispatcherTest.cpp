// The opcode dispatcher of the effect base classes: which operation each opcode reaches, how the
// arguments are decoded and how the answers are widened.
#include "plugin/framework/EffectOpcodes.h"
#include "plugin/framework/HostOpcodes.h"
#include "plugin/framework/tests/RecordingEffect.h"
#include "plugin/framework/tests/RecordingHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void* const kPtr = reinterpret_cast<void*>(0x1000);
constexpr VstIntPtr kValuePtr = 0x2000;  // a pointer passed in the value argument

struct DispatchCase {
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  float opt;
  const char* call;  // the one operation reached, "" for none
  VstIntPtr answer;
};

std::ostream& operator<<(std::ostream& out, const DispatchCase& c) {
  return out << "opcode " << c.opcode << " index " << c.index << " value " << c.value << " opt " << c.opt;
}

std::vector<std::string> expectedCalls(const char* call) {
  return *call ? std::vector<std::string>{call} : std::vector<std::string>{};
}

class DispatchTable : public testing::TestWithParam<DispatchCase> {};

TEST_P(DispatchTable, ReachesTheOperationAndWidensItsAnswer) {
  const DispatchCase& c = GetParam();
  RecordingEffect effect;
  effect.attachEditor();
  effect.log.clear();
  EXPECT_EQ(effect.dispatcher(c.opcode, c.index, c.value, kPtr, c.opt), c.answer);
  EXPECT_EQ(effect.log.all(), expectedCalls(c.call));
}

// The opcodes 0 to 24 of the base class.
INSTANTIATE_TEST_SUITE_P(
    BaseOpcodes, DispatchTable,
    testing::Values(
        DispatchCase{effOpen, 0, 0, 0, "open()", 0}, DispatchCase{effClose, 0, 0, 0, "close()", 0},
        DispatchCase{effSetProgram, 0, 3, 0, "setProgram(3)", 0},
        DispatchCase{effSetProgram, 0, 4, 0, "", 0},                 // the program count itself is ignored
        DispatchCase{effSetProgram, 0, -1, 0, "setProgram(-1)", 0},  // the effect checks the lower bound
        DispatchCase{effGetProgram, 0, 0, 0, "getProgram()", kIntAnswer},
        DispatchCase{effSetProgramName, 0, 0, 0, "setProgramName(0x1000)", 0},
        DispatchCase{effGetProgramName, 0, 0, 0, "getProgramName(0x1000)", 0},
        DispatchCase{effGetParamLabel, 5, 0, 0, "getParameterLabel(5,0x1000)", 0},
        DispatchCase{effGetParamDisplay, 5, 0, 0, "getParameterDisplay(5,0x1000)", 0},
        DispatchCase{effGetParamName, 5, 0, 0, "getParameterName(5,0x1000)", 0},
        DispatchCase{effSetSampleRate, 0, 0, 48000.0f, "setSampleRate(48000)", 0},
        DispatchCase{effSetBlockSize, 0, 512, 0, "setBlockSize(512)", 0},
        DispatchCase{effSetBlockSize, 0, 0x100000200LL, 0, "setBlockSize(512)", 0},  // value as int32
        DispatchCase{effMainsChanged, 0, 1, 0, "resume()", 0},
        DispatchCase{effMainsChanged, 0, 2, 0, "resume()", 0},
        DispatchCase{effMainsChanged, 0, 0, 0, "suspend()", 0},
        DispatchCase{effEditGetRect, 0, 0, 0, "editor.getRect(0x1000)", 1},
        DispatchCase{effEditOpen, 0, 0, 0, "editor.open(0x1000)", 1},
        DispatchCase{effEditClose, 0, 0, 0, "editor.close()", 0},
        DispatchCase{effEditIdle, 0, 0, 0, "editor.idle()", 0},
        DispatchCase{effIdentify, 0, 0, 0, "", 0x4E764566},
        DispatchCase{effGetChunk, 1, 0, 0, "getChunk(0x1000,true)", kIntAnswer},
        DispatchCase{effGetChunk, 0, 0, 0, "getChunk(0x1000,false)", kIntAnswer},
        DispatchCase{effSetChunk, 0, 100, 0, "setChunk(0x1000,100,false)", kIntAnswer},
        DispatchCase{effSetChunk, 2, 100, 0, "setChunk(0x1000,100,true)", kIntAnswer}));

// The opcodes 25 to 79 of the extended class.
INSTANTIATE_TEST_SUITE_P(
    ExtendedOpcodes, DispatchTable,
    testing::Values(
        DispatchCase{effProcessEvents, 0, 0, 0, "processEvents(0x1000)", kIntAnswer},
        DispatchCase{effCanBeAutomated, 5, 0, 0, "canParameterBeAutomated(5)", 1},
        DispatchCase{effString2Parameter, 5, 0, 0, "string2parameter(5,0x1000)", 1},
        DispatchCase{effGetProgramNameIndexed, 2, 9, 0, "getProgramNameIndexed(9,2,0x1000)", 1},
        DispatchCase{effGetInputProperties, 5, 0, 0, "getInputProperties(5,0x1000)", 1},
        DispatchCase{effGetOutputProperties, 5, 0, 0, "getOutputProperties(5,0x1000)", 1},
        DispatchCase{effGetPlugCategory, 0, 0, 0, "getPlugCategory()", kIntAnswer},
        DispatchCase{effOfflineNotify, 1, 9, 0, "offlineNotify(0x1000,9,true)", 1},
        DispatchCase{effOfflineNotify, 0, 9, 0, "offlineNotify(0x1000,9,false)", 1},
        DispatchCase{effOfflinePrepare, 0, 9, 0, "offlinePrepare(0x1000,9)", 1},
        DispatchCase{effOfflineRun, 0, 9, 0, "offlineRun(0x1000,9)", 1},
        DispatchCase{effProcessVarIo, 0, 0, 0, "processVariableIo(0x1000)", 1},
        DispatchCase{effSetSpeakerArrangement, 0, kValuePtr, 0, "setSpeakerArrangement(0x2000,0x1000)", 1},
        DispatchCase{effSetBypass, 0, 2, 0, "setBypass(true)", 1},
        DispatchCase{effSetBypass, 0, 0, 0, "setBypass(false)", 1},
        DispatchCase{effGetEffectName, 0, 0, 0, "getEffectName(0x1000)", 1},
        DispatchCase{effGetVendorString, 0, 0, 0, "getVendorString(0x1000)", 1},
        DispatchCase{effGetProductString, 0, 0, 0, "getProductString(0x1000)", 1},
        DispatchCase{effGetVendorVersion, 0, 0, 0, "getVendorVersion()", kIntAnswer},
        DispatchCase{effVendorSpecific, 5, 0x123456789LL, 0.5f, "vendorSpecific(5,4886718345,0x1000,0.5)",
                     kWideAnswer},
        DispatchCase{effCanDo, 0, 0, 0, "canDo(0x1000)", kIntAnswer},
        DispatchCase{effGetTailSize, 0, 0, 0, "getGetTailSize()", kIntAnswer},
        DispatchCase{effGetParameterProperties, 5, 0, 0, "getParameterProperties(5,0x1000)", 1},
        DispatchCase{effGetVstVersion, 0, 0, 0, "getVstVersion()", kIntAnswer},
        DispatchCase{effEditKeyDown, 65, 7, 1.0f, "editor.onKeyDown(65,7,1)", 1},
        DispatchCase{effEditKeyDown, 65, 0x107, 9.00001f, "editor.onKeyDown(65,7,9)", 1},  // low bytes
        DispatchCase{effEditKeyDown, 0, 40, 265.9f, "editor.onKeyDown(0,40,9)", 1},
        DispatchCase{effEditKeyDown, 0, 40, 1e20f, "editor.onKeyDown(0,40,0)", 1},  // no integer holds it
        DispatchCase{effEditKeyUp, 97, 11, 8.0f, "editor.onKeyUp(97,11,8)", 1},
        DispatchCase{effSetEditKnobMode, 0, 2, 0, "editor.setKnobMode(2)", 1},
        DispatchCase{effGetMidiProgramName, 5, 0, 0, "getMidiProgramName(5,0x1000)", kIntAnswer},
        DispatchCase{effGetCurrentMidiProgram, 5, 0, 0, "getCurrentMidiProgram(5,0x1000)", kIntAnswer},
        DispatchCase{effGetMidiProgramCategory, 5, 0, 0, "getMidiProgramCategory(5,0x1000)", kIntAnswer},
        DispatchCase{effHasMidiProgramsChanged, 5, 0, 0, "hasMidiProgramsChanged(5)", 1},
        DispatchCase{effGetMidiKeyName, 5, 0, 0, "getMidiKeyName(5,0x1000)", 1},
        DispatchCase{effBeginSetProgram, 0, 0, 0, "beginSetProgram()", 1},
        DispatchCase{effEndSetProgram, 0, 0, 0, "endSetProgram()", 1},
        DispatchCase{effGetSpeakerArrangement, 0, kValuePtr, 0, "getSpeakerArrangement(0x2000,0x1000)", 1},
        DispatchCase{effShellGetNextPlugin, 0, 0, 0, "getNextShellPlugin(0x1000)", kIntAnswer},
        DispatchCase{effStartProcess, 0, 0, 0, "startProcess()", kIntAnswer},
        DispatchCase{effStopProcess, 0, 0, 0, "stopProcess()", kIntAnswer},
        DispatchCase{effSetTotalSampleToProcess, 0, 9, 0, "setTotalSampleToProcess(9)", kIntAnswer},
        DispatchCase{effSetPanLaw, 0, 9, 0.5f, "setPanLaw(9,0.5)", 1},
        DispatchCase{effBeginLoadBank, 0, 0, 0, "beginLoadBank(0x1000)", kIntAnswer},
        DispatchCase{effBeginLoadProgram, 0, 0, 0, "beginLoadProgram(0x1000)", kIntAnswer},
        DispatchCase{effSetProcessPrecision, 0, 9, 0, "setProcessPrecision(9)", 1},
        DispatchCase{effGetNumMidiInputChannels, 0, 0, 0, "getNumMidiInputChannels()", kIntAnswer},
        DispatchCase{effGetNumMidiOutputChannels, 0, 0, 0, "getNumMidiOutputChannels()", kIntAnswer}));

// Deprecated and unknown opcodes reach nothing, not even the operations of the same purpose.
INSTANTIATE_TEST_SUITE_P(
    DeprecatedOpcodes, DispatchTable,
    testing::Values(
        DispatchCase{effGetVu, 0, 0, 0, "", 0}, DispatchCase{effEditDraw, 0, 0, 0, "", 0},
        DispatchCase{effEditMouse, 0, 0, 0, "", 0}, DispatchCase{effEditKey, 0, 0, 0, "", 0},
        DispatchCase{effEditTop, 0, 0, 0, "", 0}, DispatchCase{effEditSleep, 0, 0, 0, "", 0},
        DispatchCase{effGetNumProgramCategories, 0, 0, 0, "", 0},
        DispatchCase{effCopyProgram, 1, 0, 0, "", 0}, DispatchCase{effConnectInput, 0, 1, 0, "", 0},
        DispatchCase{effConnectOutput, 0, 1, 0, "", 0}, DispatchCase{effGetCurrentPosition, 0, 0, 0, "", 0},
        DispatchCase{effGetDestinationBuffer, 0, 0, 0, "", 0},
        DispatchCase{effSetBlockSizeAndSampleRate, 0, 512, 48000.0f, "", 0},
        DispatchCase{effGetErrorText, 0, 0, 0, "", 0}, DispatchCase{effIdle, 0, 0, 0, "", 0},
        DispatchCase{effGetIcon, 0, 0, 0, "", 0}, DispatchCase{effSetViewPosition, 1, 2, 0, "", 0},
        DispatchCase{effKeysRequired, 0, 0, 0, "", 0}, DispatchCase{-1, 0, 0, 0, "", 0},
        DispatchCase{80, 0, 0, 0, "", 0}, DispatchCase{1000, 0, 0, 0, "", 0}));

TEST(Dispatcher, EditorOpcodesWithoutEditorAnswerZeroAndReachNothing) {
  RecordingEffect effect;
  for (const VstInt32 opcode : {effEditGetRect, effEditOpen, effEditClose, effEditIdle, effEditKeyDown,
                                effEditKeyUp, effSetEditKnobMode}) {
    EXPECT_EQ(effect.dispatcher(opcode, 65, 7, kPtr, 1.0f), 0) << "opcode " << opcode;
  }
  EXPECT_TRUE(effect.log.all().empty());
}

// Opcodes that answer through the pointer: without one they answer 0 and reach nothing, so that no
// operation writes through a null pointer.
TEST(Dispatcher, OpcodesAnsweringThroughAMissingPointerAnswerZero) {
  RecordingEffect effect;
  effect.attachEditor();
  effect.log.clear();
  for (const VstInt32 opcode :
       {effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName, effEditGetRect, effGetChunk,
        effGetProgramNameIndexed, effGetInputProperties, effGetOutputProperties, effGetEffectName,
        effGetVendorString, effGetProductString, effGetParameterProperties, effGetMidiProgramName,
        effGetCurrentMidiProgram, effGetMidiProgramCategory, effGetMidiKeyName, effGetSpeakerArrangement,
        effShellGetNextPlugin}) {
    EXPECT_EQ(effect.dispatcher(opcode, 1, kValuePtr, nullptr, 0.0f), 0) << "opcode " << opcode;
  }
  EXPECT_EQ(effect.dispatcher(effGetSpeakerArrangement, 0, 0, kPtr, 0.0f), 0);
  EXPECT_EQ(effect.log.all(), std::vector<std::string>{});
}

TEST(Dispatcher, NoOpcodeReachesTheWheel) {
  RecordingEffect effect;
  effect.attachEditor();
  for (VstInt32 opcode = -1; opcode <= 80; ++opcode) {
    if (opcode == effClose) continue;
    effect.dispatcher(opcode, 0, 0, nullptr, 1.0f);
  }
  for (const std::string& call : effect.log.all()) EXPECT_EQ(call.find("onWheel"), std::string::npos);
}

// A plain effect that offers nothing: the answers of the defaults through the dispatcher.
class PlainEffect : public AudioEffectX {
 public:
  PlainEffect() : AudioEffectX(nullptr, 4, 6) {}
  void processReplacing(float**, float**, VstInt32) override {}
};

struct DefaultCase {
  VstInt32 opcode;
  VstIntPtr value;
  VstIntPtr answer;
};

std::ostream& operator<<(std::ostream& out, const DefaultCase& c) {
  return out << "opcode " << c.opcode;
}

class DefaultAnswers : public testing::TestWithParam<DefaultCase> {};

TEST_P(DefaultAnswers, AnswerOfThePlainEffect) {
  const DefaultCase& c = GetParam();
  PlainEffect effect;
  alignas(8) char scratch[256] = {'x'};
  EXPECT_EQ(effect.dispatcher(c.opcode, 1, c.value, scratch, 0.0f), c.answer);
}

INSTANTIATE_TEST_SUITE_P(
    Defaults, DefaultAnswers,
    testing::Values(DefaultCase{effGetProgram, 0, 0}, DefaultCase{effGetChunk, 0, 0},
                    DefaultCase{effSetChunk, 16, 0}, DefaultCase{effProcessEvents, 0, 0},
                    DefaultCase{effCanBeAutomated, 0, 1}, DefaultCase{effString2Parameter, 0, 0},
                    DefaultCase{effGetProgramNameIndexed, 0, 0}, DefaultCase{effGetInputProperties, 0, 0},
                    DefaultCase{effGetOutputProperties, 0, 0}, DefaultCase{effGetPlugCategory, 0, 0},
                    DefaultCase{effOfflineNotify, 0, 0}, DefaultCase{effOfflinePrepare, 0, 0},
                    DefaultCase{effOfflineRun, 0, 0}, DefaultCase{effProcessVarIo, 0, 0},
                    DefaultCase{effSetSpeakerArrangement, 0, 0}, DefaultCase{effSetBypass, 1, 0},
                    DefaultCase{effGetEffectName, 0, 0}, DefaultCase{effGetVendorString, 0, 0},
                    DefaultCase{effGetProductString, 0, 0}, DefaultCase{effGetVendorVersion, 0, 0},
                    DefaultCase{effVendorSpecific, 0, 0}, DefaultCase{effCanDo, 0, 0},
                    DefaultCase{effGetTailSize, 0, 0}, DefaultCase{effGetParameterProperties, 0, 0},
                    DefaultCase{effGetVstVersion, 0, 2400}, DefaultCase{effGetMidiProgramName, 0, 0},
                    DefaultCase{effGetCurrentMidiProgram, 0, -1},
                    DefaultCase{effGetMidiProgramCategory, 0, 0},
                    DefaultCase{effHasMidiProgramsChanged, 0, 0}, DefaultCase{effGetMidiKeyName, 0, 0},
                    DefaultCase{effBeginSetProgram, 0, 0}, DefaultCase{effEndSetProgram, 0, 0},
                    DefaultCase{effShellGetNextPlugin, 0, 0}, DefaultCase{effStartProcess, 0, 0},
                    DefaultCase{effStopProcess, 0, 0}, DefaultCase{effSetTotalSampleToProcess, 77, 77},
                    DefaultCase{effSetPanLaw, 0, 0}, DefaultCase{effBeginLoadBank, 0, 0},
                    DefaultCase{effBeginLoadProgram, 0, 0}, DefaultCase{effSetProcessPrecision, 0, 0},
                    DefaultCase{effGetNumMidiInputChannels, 0, 0},
                    DefaultCase{effGetNumMidiOutputChannels, 0, 0}, DefaultCase{effIdentify, 0, 0x4E764566}));

TEST(Dispatcher, DefaultTextOperationsWriteAnEmptyText) {
  PlainEffect effect;
  for (const VstInt32 opcode : {effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName}) {
    char text[32] = "unchanged";
    effect.dispatcher(opcode, 0, 0, text, 0.0f);
    EXPECT_STREQ(text, "") << "opcode " << opcode;
  }
}

TEST(Dispatcher, DefaultSpeakerArrangementClearsBothOutPointers) {
  PlainEffect effect;
  VstSpeakerArrangement dummy{};
  VstSpeakerArrangement* input = &dummy;
  VstSpeakerArrangement* output = &dummy;
  EXPECT_EQ(effect.dispatcher(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output, 0),
            0);
  EXPECT_EQ(input, nullptr);
  EXPECT_EQ(output, nullptr);
}

TEST(Dispatcher, HostOpcodesChangeTheStoredValues) {
  PlainEffect effect;
  effect.dispatcher(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  effect.dispatcher(effSetBlockSize, 0, 256, nullptr, 0.0f);
  effect.dispatcher(effSetProgram, 0, 3, nullptr, 0.0f);
  EXPECT_EQ(effect.getSampleRate(), 48000.0f);
  EXPECT_EQ(effect.getBlockSize(), 256);
  EXPECT_EQ(effect.dispatcher(effGetProgram, 0, 0, nullptr, 0.0f), 3);
  effect.dispatcher(effSetProgram, 0, 4, nullptr, 0.0f);  // at the program count: ignored
  EXPECT_EQ(effect.getProgram(), 3);
}

TEST(Dispatcher, PlugCategoryIsSynthWhenTheSynthFlagIsSet) {
  PlainEffect effect;
  effect.isSynth(true);
  EXPECT_EQ(effect.dispatcher(effGetPlugCategory, 0, 0, nullptr, 0.0f), 2);
  effect.isSynth(false);
  EXPECT_EQ(effect.dispatcher(effGetPlugCategory, 0, 0, nullptr, 0.0f), 0);
}

}  // namespace
