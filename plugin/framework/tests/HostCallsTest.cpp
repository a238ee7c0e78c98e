// The wrappers through which an effect calls its host: opcode, arguments, answer conversion, and the
// fixed answers without a host.
#include "plugin/framework/HostOpcodes.h"
#include "plugin/framework/tests/RecordingEffect.h"
#include "plugin/framework/tests/RecordingHost.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

auto* const kPtr = reinterpret_cast<char*>(0x1000);
constexpr VstIntPtr kHostPtr = 0x3000;          // a pointer the host answers
constexpr VstIntPtr kWideHost = 0x1FFFFFFFDLL;  // as int32: -3

template <typename T>
T* fake() {
  return reinterpret_cast<T*>(kPtr);
}

VstIntPtr asInt(const void* pointer) {
  return reinterpret_cast<VstIntPtr>(pointer);
}

struct WrapperCase {
  const char* name;
  std::function<VstIntPtr(AudioEffectX&)> call;  // the wrapper's answer, widened
  VstIntPtr hostAnswer;
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  void* ptr;
  float opt;
  VstIntPtr answer;
};

std::ostream& operator<<(std::ostream& out, const WrapperCase& c) {
  return out << c.name << " with the host answering " << c.hostAnswer;
}

class HostWrappers : public testing::TestWithParam<WrapperCase> {};

TEST_P(HostWrappers, CallTheHostOnceAndConvertItsAnswer) {
  const WrapperCase& c = GetParam();
  RecordingHost& host = RecordingHost::instance();
  host.reset();
  RecordingEffect effect(RecordingHost::callback);
  host.answer(c.opcode, c.hostAnswer);
  EXPECT_EQ(c.call(effect), c.answer);
  ASSERT_EQ(host.calls().size(), 1u);
  const HostCall& call = host.calls().front();
  EXPECT_EQ(call.effect, effect.getAeffect());
  EXPECT_EQ(call.opcode, c.opcode);
  EXPECT_EQ(call.index, c.index);
  EXPECT_EQ(call.value, c.value);
  EXPECT_EQ(call.ptr, c.ptr);
  EXPECT_EQ(call.opt, c.opt);
}

using W = WrapperCase;
using E = AudioEffectX;

INSTANTIATE_TEST_SUITE_P(
    Wrappers, HostWrappers,
    testing::Values(
        W{"getMasterVersion", [](E& e) { return e.getMasterVersion(); }, 2400, 1, 0, 0, nullptr, 0, 2400},
        W{"getMasterVersion", [](E& e) { return e.getMasterVersion(); }, 0, 1, 0, 0, nullptr, 0, 1},
        W{"getCurrentUniqueId", [](E& e) { return e.getCurrentUniqueId(); }, kWideHost, 2, 0, 0, nullptr, 0,
          -3},
        W{"masterIdle", [](E& e) { return e.masterIdle(), VstIntPtr{0}; }, 1, 3, 0, 0, nullptr, 0, 0},
        W{"isInputConnected", [](E& e) { return VstIntPtr{e.isInputConnected(2)}; }, 0, 4, 2, 0, nullptr, 0,
          1},
        W{"isInputConnected", [](E& e) { return VstIntPtr{e.isInputConnected(2)}; }, 1, 4, 2, 0, nullptr, 0,
          0},
        W{"isOutputConnected", [](E& e) { return VstIntPtr{e.isOutputConnected(3)}; }, 0, 4, 3, 1, nullptr, 0,
          1},
        W{"isOutputConnected", [](E& e) { return VstIntPtr{e.isOutputConnected(3)}; }, -1, 4, 3, 1, nullptr,
          0, 0},
        W{"wantEvents", [](E& e) { return e.wantEvents(1), VstIntPtr{0}; }, 1, 6, 0, 1, nullptr, 0, 0},
        W{"getTimeInfo", [](E& e) { return asInt(e.getTimeInfo(0x600)); }, kHostPtr, 7, 0, 0x600, nullptr, 0,
          kHostPtr},
        W{"sendVstEventsToHost", [](E& e) { return VstIntPtr{e.sendVstEventsToHost(fake<VstEvents>())}; }, 1,
          8, 0, 0, kPtr, 0, 1},
        W{"sendVstEventsToHost", [](E& e) { return VstIntPtr{e.sendVstEventsToHost(fake<VstEvents>())}; }, 2,
          8, 0, 0, kPtr, 0, 0},
        W{"tempoAt", [](E& e) { return e.tempoAt(5); }, kWideHost, 10, 0, 5, nullptr, 0, -3},
        W{"getNumAutomatableParameters", [](E& e) { return e.getNumAutomatableParameters(); }, kWideHost, 11,
          0, 0, nullptr, 0, -3},
        W{"getParameterQuantization", [](E& e) { return e.getParameterQuantization(); }, kWideHost, 12, 0, 0,
          nullptr, 0, -3},
        W{"ioChanged", [](E& e) { return VstIntPtr{e.ioChanged()}; }, 5, 13, 0, 0, nullptr, 0, 1},
        W{"ioChanged", [](E& e) { return VstIntPtr{e.ioChanged()}; }, 0, 13, 0, 0, nullptr, 0, 0},
        W{"needIdle", [](E& e) { return VstIntPtr{e.needIdle()}; }, -1, 14, 0, 0, nullptr, 0, 1},
        W{"sizeWindow", [](E& e) { return VstIntPtr{e.sizeWindow(632, 373)}; }, 1, 15, 632, 373, nullptr, 0,
          1},
        W{"sizeWindow", [](E& e) { return VstIntPtr{e.sizeWindow(632, 373)}; }, 0, 15, 632, 373, nullptr, 0,
          0},
        W{"getInputLatency", [](E& e) { return e.getInputLatency(); }, kWideHost, 18, 0, 0, nullptr, 0, -3},
        W{"getOutputLatency", [](E& e) { return e.getOutputLatency(); }, kWideHost, 19, 0, 0, nullptr, 0, -3},
        W{"getPreviousPlug", [](E& e) { return asInt(e.getPreviousPlug(4)); }, kHostPtr, 20, 0, 0, nullptr, 0,
          kHostPtr},
        W{"getNextPlug", [](E& e) { return asInt(e.getNextPlug(4)); }, kHostPtr, 21, 0, 0, nullptr, 0,
          kHostPtr},
        W{"willProcessReplacing", [](E& e) { return e.willProcessReplacing(); }, kWideHost, 22, 0, 0, nullptr,
          0, -3},
        W{"getCurrentProcessLevel", [](E& e) { return e.getCurrentProcessLevel(); }, 2, 23, 0, 0, nullptr, 0,
          2},
        W{"getAutomationState", [](E& e) { return e.getAutomationState(); }, kWideHost, 24, 0, 0, nullptr, 0,
          -3},
        W{"offlineStart", [](E& e) { return VstIntPtr{e.offlineStart(fake<VstAudioFile>(), 4, 2)}; }, 7, 25,
          2, 4, kPtr, 0, 1},
        W{"offlineRead", [](E& e) { return VstIntPtr{e.offlineRead(fake<VstOfflineTask>(), 7, true)}; }, 1,
          26, 1, 7, kPtr, 0, 1},
        W{"offlineRead", [](E& e) { return VstIntPtr{e.offlineRead(fake<VstOfflineTask>(), 7, false)}; }, 0,
          26, 0, 7, kPtr, 0, 0},
        W{"offlineWrite", [](E& e) { return VstIntPtr{e.offlineWrite(fake<VstOfflineTask>(), 7)}; }, 1, 27, 0,
          7, kPtr, 0, 1},
        W{"offlineGetCurrentPass", [](E& e) { return e.offlineGetCurrentPass(); }, 5, 28, 0, 0, nullptr, 0,
          1},
        W{"offlineGetCurrentMetaPass", [](E& e) { return e.offlineGetCurrentMetaPass(); }, -5, 29, 0, 0,
          nullptr, 0, 1},
        W{"setOutputSamplerate", [](E& e) { return e.setOutputSamplerate(48000.0f), VstIntPtr{0}; }, 1, 30, 0,
          0, nullptr, 48000.0f, 0},
        W{"getOutputSpeakerArrangement", [](E& e) { return asInt(e.getOutputSpeakerArrangement()); },
          kHostPtr, 31, 0, 0, nullptr, 0, kHostPtr},
        W{"getHostVendorString", [](E& e) { return VstIntPtr{e.getHostVendorString(kPtr)}; }, 1, 32, 0, 0,
          kPtr, 0, 1},
        W{"getHostProductString", [](E& e) { return VstIntPtr{e.getHostProductString(kPtr)}; }, 0, 33, 0, 0,
          kPtr, 0, 0},
        W{"getHostVendorVersion", [](E& e) { return e.getHostVendorVersion(); }, kWideHost, 34, 0, 0, nullptr,
          0, -3},
        W{"hostVendorSpecific", [](E& e) { return e.hostVendorSpecific(5, 0x123456789LL, kPtr, 0.25f); },
          kWideHost, 35, 5, 0x123456789LL, kPtr, 0.25f, kWideHost},
        W{"canHostDo", [](E& e) { return e.canHostDo(kPtr); }, -1, 37, 0, 0, kPtr, 0, 1},
        W{"canHostDo", [](E& e) { return e.canHostDo(kPtr); }, 2, 37, 0, 0, kPtr, 0, 1},
        W{"canHostDo", [](E& e) { return e.canHostDo(kPtr); }, 0, 37, 0, 0, kPtr, 0, 0},
        W{"getHostLanguage", [](E& e) { return e.getHostLanguage(); }, kWideHost, 38, 0, 0, nullptr, 0, -3},
        W{"openWindow", [](E& e) { return asInt(e.openWindow(fake<VstWindow>())); }, kHostPtr, 39, 0, 0, kPtr,
          0, kHostPtr},
        W{"closeWindow", [](E& e) { return VstIntPtr{e.closeWindow(fake<VstWindow>())}; }, 1, 40, 0, 0, kPtr,
          0, 1},
        W{"getDirectory", [](E& e) { return asInt(e.getDirectory()); }, kHostPtr, 41, 0, 0, nullptr, 0,
          kHostPtr},
        W{"updateDisplay", [](E& e) { return VstIntPtr{e.updateDisplay()}; }, 1, 42, 0, 0, nullptr, 0, 1},
        W{"beginEdit", [](E& e) { return VstIntPtr{e.beginEdit(7)}; }, 1, 43, 7, 0, nullptr, 0, 1},
        W{"endEdit", [](E& e) { return VstIntPtr{e.endEdit(7)}; }, 0, 44, 7, 0, nullptr, 0, 0},
        W{"openFileSelector", [](E& e) { return VstIntPtr{e.openFileSelector(fake<VstFileSelect>())}; }, 1,
          45, 0, 0, kPtr, 0, 1},
        W{"closeFileSelector", [](E& e) { return VstIntPtr{e.closeFileSelector(fake<VstFileSelect>())}; }, 1,
          46, 0, 0, kPtr, 0, 1},
        W{"getChunkFile", [](E& e) { return VstIntPtr{e.getChunkFile(kPtr)}; }, 1, 48, 0, 0, kPtr, 0, 1},
        W{"getInputSpeakerArrangement", [](E& e) { return asInt(e.getInputSpeakerArrangement()); }, kHostPtr,
          49, 0, 0, nullptr, 0, kHostPtr}));

TEST(HostWrappers, SampleRateAndBlockSizeStoreOnlyPositiveAnswers) {
  RecordingHost& host = RecordingHost::instance();
  host.reset();
  RecordingEffect effect(RecordingHost::callback);
  EXPECT_EQ(effect.updateSampleRate(), 44100.0);
  EXPECT_EQ(effect.updateBlockSize(), 1024);
  host.answer(audioMasterGetSampleRate, -1);
  host.answer(audioMasterGetBlockSize, -1);
  EXPECT_EQ(effect.updateSampleRate(), 44100.0);
  EXPECT_EQ(effect.updateBlockSize(), 1024);
  host.answer(audioMasterGetSampleRate, 48000);
  host.answer(audioMasterGetBlockSize, 256);
  EXPECT_EQ(effect.updateSampleRate(), 48000.0);
  EXPECT_EQ(effect.updateBlockSize(), 256);
  EXPECT_EQ(effect.getSampleRate(), 48000.0f);
  EXPECT_EQ(effect.getBlockSize(), 256);
  for (const HostCall& call : host.calls()) {
    EXPECT_TRUE(call.opcode == audioMasterGetSampleRate || call.opcode == audioMasterGetBlockSize);
    EXPECT_EQ(call.effect, effect.getAeffect());
  }
}

TEST(HostWrappers, SetParameterAutomatedSetsThenTellsTheHost) {
  RecordingHost& host = RecordingHost::instance();
  host.reset();
  RecordingEffect effect(RecordingHost::callback);
  effect.AudioEffect::setParameterAutomated(3, 0.5f);
  EXPECT_EQ(effect.log.all(), std::vector<std::string>{"setParameter(3,0.5)"});
  ASSERT_EQ(host.calls().size(), 1u);
  EXPECT_EQ(host.calls()[0].opcode, audioMasterAutomate);
  EXPECT_EQ(host.calls()[0].index, 3);
  EXPECT_EQ(host.calls()[0].value, 0);
  EXPECT_EQ(host.calls()[0].ptr, nullptr);
  EXPECT_EQ(host.calls()[0].opt, 0.5f);
}

TEST(HostWrappers, NullSelectorsAndPathsAreNotSent) {
  RecordingHost& host = RecordingHost::instance();
  host.reset();
  host.answer(audioMasterOpenFileSelector, 1);
  host.answer(audioMasterCloseFileSelector, 1);
  host.answer(audioMasterGetChunkFile, 1);
  RecordingEffect effect(RecordingHost::callback);
  EXPECT_FALSE(effect.openFileSelector(nullptr));
  EXPECT_FALSE(effect.closeFileSelector(nullptr));
  EXPECT_FALSE(effect.getChunkFile(nullptr));
  EXPECT_TRUE(host.calls().empty());
}

struct NullHostCase {
  const char* name;
  std::function<VstIntPtr(AudioEffectX&)> call;
  VstIntPtr answer;
};

std::ostream& operator<<(std::ostream& out, const NullHostCase& c) {
  return out << c.name;
}

class WithoutHost : public testing::TestWithParam<NullHostCase> {};

TEST_P(WithoutHost, WrappersAnswerTheirFixedValue) {
  RecordingEffect effect(nullptr);
  EXPECT_EQ(GetParam().call(effect), GetParam().answer);
}

using N = NullHostCase;

INSTANTIATE_TEST_SUITE_P(
    Wrappers, WithoutHost,
    testing::Values(
        N{"getMasterVersion", [](E& e) { return e.getMasterVersion(); }, 1},
        N{"getCurrentUniqueId", [](E& e) { return e.getCurrentUniqueId(); }, 0},
        N{"isInputConnected", [](E& e) { return VstIntPtr{e.isInputConnected(0)}; }, 1},
        N{"isOutputConnected", [](E& e) { return VstIntPtr{e.isOutputConnected(0)}; }, 1},
        N{"getTimeInfo", [](E& e) { return asInt(e.getTimeInfo(0xFFFF)); }, 0},
        N{"sendVstEventsToHost", [](E& e) { return VstIntPtr{e.sendVstEventsToHost(nullptr)}; }, 0},
        N{"tempoAt", [](E& e) { return e.tempoAt(0); }, 0},
        N{"getNumAutomatableParameters", [](E& e) { return e.getNumAutomatableParameters(); }, 0},
        N{"getParameterQuantization", [](E& e) { return e.getParameterQuantization(); }, 0},
        N{"ioChanged", [](E& e) { return VstIntPtr{e.ioChanged()}; }, 0},
        N{"needIdle", [](E& e) { return VstIntPtr{e.needIdle()}; }, 0},
        N{"sizeWindow", [](E& e) { return VstIntPtr{e.sizeWindow(1, 1)}; }, 0},
        N{"updateSampleRate", [](E& e) { return static_cast<VstIntPtr>(e.updateSampleRate()); }, 44100},
        N{"updateBlockSize", [](E& e) { return e.updateBlockSize(); }, 1024},
        N{"getInputLatency", [](E& e) { return e.getInputLatency(); }, 0},
        N{"getOutputLatency", [](E& e) { return e.getOutputLatency(); }, 0},
        N{"getPreviousPlug", [](E& e) { return asInt(e.getPreviousPlug(0)); }, 0},
        N{"getNextPlug", [](E& e) { return asInt(e.getNextPlug(0)); }, 0},
        N{"willProcessReplacing", [](E& e) { return e.willProcessReplacing(); }, 0},
        N{"getCurrentProcessLevel", [](E& e) { return e.getCurrentProcessLevel(); }, 0},
        N{"getAutomationState", [](E& e) { return e.getAutomationState(); }, 0},
        N{"offlineStart", [](E& e) { return VstIntPtr{e.offlineStart(nullptr, 0, 0)}; }, 0},
        N{"offlineRead", [](E& e) { return VstIntPtr{e.offlineRead(nullptr, 0)}; }, 0},
        N{"offlineWrite", [](E& e) { return VstIntPtr{e.offlineWrite(nullptr, 0)}; }, 0},
        N{"offlineGetCurrentPass", [](E& e) { return e.offlineGetCurrentPass(); }, 0},
        N{"offlineGetCurrentMetaPass", [](E& e) { return e.offlineGetCurrentMetaPass(); }, 0},
        N{"getOutputSpeakerArrangement", [](E& e) { return asInt(e.getOutputSpeakerArrangement()); }, 0},
        N{"getHostVendorString", [](E& e) { return VstIntPtr{e.getHostVendorString(kPtr)}; }, 0},
        N{"getHostProductString", [](E& e) { return VstIntPtr{e.getHostProductString(kPtr)}; }, 0},
        N{"getHostVendorVersion", [](E& e) { return e.getHostVendorVersion(); }, 0},
        N{"hostVendorSpecific", [](E& e) { return e.hostVendorSpecific(1, 2, kPtr, 3.0f); }, 0},
        N{"canHostDo",
          [](E& e) {
            char sizeWindow[] = "sizeWindow";
            return e.canHostDo(sizeWindow);
          },
          0},
        N{"getHostLanguage", [](E& e) { return e.getHostLanguage(); }, 0},
        N{"openWindow", [](E& e) { return asInt(e.openWindow(nullptr)); }, 0},
        N{"closeWindow", [](E& e) { return VstIntPtr{e.closeWindow(nullptr)}; }, 0},
        N{"getDirectory", [](E& e) { return asInt(e.getDirectory()); }, 0},
        N{"updateDisplay", [](E& e) { return VstIntPtr{e.updateDisplay()}; }, 0},
        N{"beginEdit", [](E& e) { return VstIntPtr{e.beginEdit(0)}; }, 0},
        N{"endEdit", [](E& e) { return VstIntPtr{e.endEdit(0)}; }, 0},
        N{"openFileSelector", [](E& e) { return VstIntPtr{e.openFileSelector(fake<VstFileSelect>())}; }, 0},
        N{"closeFileSelector", [](E& e) { return VstIntPtr{e.closeFileSelector(fake<VstFileSelect>())}; }, 0},
        N{"getChunkFile", [](E& e) { return VstIntPtr{e.getChunkFile(kPtr)}; }, 0},
        N{"getInputSpeakerArrangement", [](E& e) { return asInt(e.getInputSpeakerArrangement()); }, 0}));

TEST(WithoutHost, SetParameterAutomatedOnlySetsTheParameter) {
  RecordingEffect effect(nullptr);
  effect.AudioEffect::setParameterAutomated(3, 0.5f);
  effect.masterIdle();
  effect.wantEvents(1);
  effect.setOutputSamplerate(48000.0f);
  EXPECT_EQ(effect.log.all(), std::vector<std::string>{"setParameter(3,0.5)"});
}

}  // namespace
