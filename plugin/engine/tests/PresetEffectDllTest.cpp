#include <string>
#include <vector>

#include "PresetImages.h"
#include "ZintaraFixture.h"
#include "plugin/engine/OmAudio.h"
#include "plugin/engine/presets/PresetImage.h"
#include "plugin/framework/EffectOpcodes.h"
#include "plugin/framework/HostOpcodes.h"

namespace {

using PresetImages::Bytes;
using PresetImages::Program;

Program testProgram(const std::string& name, int seed) {
  Program program{name, {}};
  for (int index = 0; index < ParameterIndex::count; ++index) {
    program.values.push_back(static_cast<float>((seed * 31 + index * 17) % 100) / 100.0f);
  }
  return program;
}

// The real plug-in in its DLL, its preset images applied to its own effect object as its editor
// applies them, and what its host sees afterwards.
class PresetEffectDll : public ZintaraFixture {
 protected:
  OmAudio& effect() { return *static_cast<OmAudio*>(static_cast<AudioEffect*>(host->effect()->object)); }

  void expectParameters(const Program& program) {
    for (VstInt32 index = 0; index < ParameterIndex::count; ++index) {
      EXPECT_EQ(host->getParameter(index), program.values[index]) << index;
    }
  }
};

TEST_F(PresetEffectDll, LoadedProgramReachesTheHost) {
  host->dispatch(effSetProgram, 0, 20);
  Program loaded = testProgram("From a file", 1);
  loaded.values[ParameterIndex::FilterType2] = 0.44f;  // "FM Sine"
  const Bytes image = PresetImages::program(loaded);
  host->clearCalls();

  ASSERT_TRUE(loadSinglePresetData(effect(), image.data(), image.size()));

  EXPECT_EQ(host->countCalls(audioMasterUpdateDisplay), 1);
  EXPECT_EQ(host->dispatch(effGetProgram), 20);
  EXPECT_EQ(host->text(effGetProgramName), "From a file");
  EXPECT_EQ(host->text(effGetProgramNameIndexed, 20), "From a file");
  EXPECT_EQ(host->text(effGetParamDisplay, ParameterIndex::FilterType2), "FM Sine");
  expectParameters(loaded);
  host->dispatch(effSetProgram, 0, 21);
  host->dispatch(effSetProgram, 0, 20);
  expectParameters(loaded);
}

TEST_F(PresetEffectDll, LoadedBankReachesTheHost) {
  std::vector<Program> bank;
  for (int p = 0; p < 159; ++p) bank.push_back(testProgram("Bank " + std::to_string(p), p));
  const Bytes image = PresetImages::bank(bank);
  host->dispatch(effSetProgram, 0, 30);
  host->clearCalls();

  ASSERT_TRUE(loadBankData(effect(), image.data(), image.size()));

  EXPECT_EQ(host->countCalls(audioMasterUpdateDisplay), 1);
  EXPECT_EQ(host->dispatch(effGetProgram), 0);
  for (int p = 0; p < 159; ++p) EXPECT_EQ(host->text(effGetProgramNameIndexed, p), bank[p].name);
  expectParameters(bank[0]);
  host->dispatch(effSetProgram, 0, 158);
  expectParameters(bank[158]);
}

TEST_F(PresetEffectDll, RefusedImageTellsTheHostNothing) {
  Bytes image = PresetImages::program(testProgram("Foreign", 2), "NoEf");
  const std::string nameBefore = host->text(effGetProgramName);
  const float cutoffBefore = host->getParameter(ParameterIndex::Cutoff1);
  host->clearCalls();

  EXPECT_FALSE(loadSinglePresetData(effect(), image.data(), image.size()));
  EXPECT_FALSE(loadBankData(effect(), image.data(), image.size()));

  EXPECT_TRUE(host->calls().empty());
  EXPECT_EQ(host->text(effGetProgramName), nameBefore);
  EXPECT_EQ(host->getParameter(ParameterIndex::Cutoff1), cutoffBefore);
}

TEST_F(PresetEffectDll, SavedProgramHoldsTheHostsEdits) {
  host->dispatch(effSetProgram, 0, 100);
  std::vector<char> name{'H', 'o', 's', 't', ' ', 'n', 'a', 'm', 'e', '\0'};
  host->dispatch(effSetProgramName, 0, 0, name.data());
  host->setParameter(ParameterIndex::DryWet, 0.125f);

  const Bytes image = buildSinglePresetData(effect());

  Program expected{"Host name", {}};
  for (VstInt32 index = 0; index < ParameterIndex::count; ++index) {
    expected.values.push_back(host->getParameter(index));
  }
  EXPECT_EQ(expected.values[ParameterIndex::DryWet], 0.125f);
  EXPECT_EQ(image, PresetImages::program(expected));
}

}  // namespace
