// The test effect DLL loaded as a host loads a plug-in: entry, record, life and death of the object.
#include "plugin/framework/AEffect.h"
#include "plugin/framework/EffectOpcodes.h"
#include "plugin/framework/HostOpcodes.h"
#include "plugin/framework/tests/NoEffectSignals.h"
#include "plugin/framework/tests/RecordingHost.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

namespace {

using Entry = AEffect* (*)(audioMasterCallback);

class PluginEntryTest : public testing::Test {
 protected:
  void SetUp() override {
    host().reset();
    library = LoadLibraryA((Testing::binaryFolder() + "NoEffect.dll").c_str());
    ASSERT_NE(library, nullptr) << "NoEffect.dll did not load";
    entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(library, "VSTPluginMain")));
    ASSERT_NE(entry, nullptr);
  }

  void TearDown() override {
    if (library) FreeLibrary(library);
  }

  static RecordingHost& host() { return RecordingHost::instance(); }

  // The objects the effect reported as made or destroyed.
  static std::vector<void*> signalled(VstIntPtr what) {
    std::vector<void*> objects;
    for (const HostCall& call : host().callsWith(audioMasterVendorSpecific)) {
      if (call.index == NoEffectSignals::kSignal && call.value == what) objects.push_back(call.ptr);
    }
    return objects;
  }

  static VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                            void* ptr = nullptr, float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }

  HMODULE library = nullptr;
  Entry entry = nullptr;
};

TEST_F(PluginEntryTest, BothExportNamesGiveTheSameFunction) {
  EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(library, "main")),
            reinterpret_cast<void*>(GetProcAddress(library, "VSTPluginMain")));
}

TEST_F(PluginEntryTest, EntryAsksTheHostForItsVersionFirst) {
  AEffect* effect = entry(RecordingHost::callback);
  ASSERT_NE(effect, nullptr);
  ASSERT_FALSE(host().calls().empty());
  const HostCall& first = host().calls().front();
  EXPECT_EQ(first.opcode, audioMasterVersion);
  EXPECT_EQ(first.effect, nullptr);
  EXPECT_EQ(first.index, 0);
  EXPECT_EQ(first.value, 0);
  EXPECT_EQ(first.ptr, nullptr);
  EXPECT_EQ(first.opt, 0.0f);
  dispatch(effect, effClose);
}

TEST_F(PluginEntryTest, RecordAfterConstructionHoldsTheBaseValues) {
  AEffect* effect = entry(RecordingHost::callback);
  ASSERT_NE(effect, nullptr);
  const std::vector<void*> made = signalled(NoEffectSignals::kMade);
  ASSERT_EQ(made.size(), 1u);

  EXPECT_EQ(effect->magic, 0x56737450);
  EXPECT_EQ(effect->numPrograms, NoEffectSignals::kPrograms);
  EXPECT_EQ(effect->numParams, NoEffectSignals::kParameters);
  EXPECT_EQ(effect->numInputs, 1);
  EXPECT_EQ(effect->numOutputs, 2);
  EXPECT_EQ(effect->flags, 16);
  EXPECT_EQ(effect->ioRatio, 1.0f);
  EXPECT_EQ(effect->uniqueID, 0x4E6F4566);
  EXPECT_EQ(effect->version, 1);
  EXPECT_EQ(effect->object, made.front());
  EXPECT_NE(effect->dispatcher, nullptr);
  EXPECT_NE(effect->process, nullptr);
  EXPECT_NE(effect->setParameter, nullptr);
  EXPECT_NE(effect->getParameter, nullptr);
  EXPECT_NE(effect->processReplacing, nullptr);
  EXPECT_NE(effect->processDoubleReplacing, nullptr);

  // Every byte that is neither a set field nor a callback is zero: padding, reserved words, the
  // deprecated qualities, the delay, `user` and the future bytes.
  const auto* bytes = reinterpret_cast<const unsigned char*>(effect);
  const struct {
    std::size_t offset, size;
  } zeroed[] = {{4, 4}, {60, 4}, {64, 8}, {72, 8}, {80, 4}, {84, 4}, {88, 4}, {104, 8}, {136, 56}};
  for (const auto& range : zeroed) {
    for (std::size_t i = range.offset; i < range.offset + range.size; ++i) {
      EXPECT_EQ(bytes[i], 0) << "byte " << i;
    }
  }
  dispatch(effect, effClose);
}

TEST_F(PluginEntryTest, HostWithoutVersionGetsNothing) {
  host().answer(audioMasterVersion, 0);
  EXPECT_EQ(entry(RecordingHost::callback), nullptr);
  EXPECT_TRUE(signalled(NoEffectSignals::kMade).empty());
  ASSERT_EQ(host().calls().size(), 1u);
  EXPECT_EQ(host().calls().front().opcode, audioMasterVersion);
}

TEST_F(PluginEntryTest, NullHostCallbackGetsNothing) {
  EXPECT_EQ(entry(nullptr), nullptr);
  EXPECT_TRUE(host().calls().empty());
}

TEST_F(PluginEntryTest, TwoEntriesMakeTwoIndependentEffects) {
  AEffect* first = entry(RecordingHost::callback);
  AEffect* second = entry(RecordingHost::callback);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_NE(first->object, second->object);
  EXPECT_EQ(signalled(NoEffectSignals::kMade), (std::vector<void*>{first->object, second->object}));

  // Changing and closing one leaves the other as it was.
  dispatch(first, effSetProgram, 0, 2);
  EXPECT_EQ(dispatch(first, effGetProgram), 2);
  EXPECT_EQ(dispatch(second, effGetProgram), 0);
  void* const secondObject = second->object;
  EXPECT_EQ(dispatch(first, effClose), 1);
  EXPECT_EQ(second->object, secondObject);
  EXPECT_EQ(dispatch(second, effIdentify), 0x4E764566);
  EXPECT_EQ(dispatch(second, effClose), 1);
}

TEST_F(PluginEntryTest, CloseAnswersOneAndDestroysTheObject) {
  AEffect* effect = entry(RecordingHost::callback);
  ASSERT_NE(effect, nullptr);
  void* const object = effect->object;
  EXPECT_TRUE(signalled(NoEffectSignals::kDestroyed).empty());
  EXPECT_EQ(dispatch(effect, effClose), 1);
  EXPECT_EQ(signalled(NoEffectSignals::kDestroyed), std::vector<void*>{object});
}

TEST_F(PluginEntryTest, ModuleHandleIsTheLibrarysOwn) {
  AEffect* effect = entry(RecordingHost::callback);
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(dispatch(effect, effVendorSpecific, NoEffectSignals::kAskModuleHandle),
            reinterpret_cast<VstIntPtr>(library));
  dispatch(effect, effClose);
}

TEST_F(PluginEntryTest, RecordCallbacksReachTheEffect) {
  AEffect* effect = entry(RecordingHost::callback);
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(dispatch(effect, effGetVstVersion), 2400);
  EXPECT_EQ(dispatch(effect, effGetVu), 0);
  EXPECT_EQ(dispatch(effect, 80), 0);
  dispatch(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
  dispatch(effect, effMainsChanged, 0, 1);

  std::vector<float> left(64, 1.0f), right(64, 1.0f);
  float* outputs[] = {left.data(), right.data()};
  effect->processReplacing(effect, nullptr, outputs, 64);
  EXPECT_EQ(left, std::vector<float>(64, 0.0f));
  EXPECT_EQ(right, std::vector<float>(64, 0.0f));

  effect->setParameter(effect, 1, 0.5f);
  EXPECT_EQ(effect->getParameter(effect, 1), 0.0f);  // the base keeps no parameters
  dispatch(effect, effClose);
}

}  // namespace
