#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "LocalEffectFixture.h"
#include "PresetImages.h"
#include "plugin/engine/presets/PresetImage.h"
#include "plugin/framework/HostOpcodes.h"

namespace {

using PresetImages::Bytes;
using PresetImages::Program;

// Everything a load may change: the programs, the live values and the current program.
struct EffectState {
  Bytes programs;
  std::vector<float> values;
  VstInt32 current;

  bool operator==(const EffectState& other) const {
    return programs == other.programs && values == other.values && current == other.current;
  }
};

// A program whose values all differ from each other and from every factory value.
Program testProgram(const std::string& name, int seed) {
  Program program{name, {}};
  for (int index = 0; index < ParameterIndex::count; ++index) {
    program.values.push_back(static_cast<float>(seed * 48 + index) / 8192.0f + 0.000061f);
  }
  return program;
}

std::vector<Program> testBank(std::size_t count) {
  std::vector<Program> bank;
  for (std::size_t p = 0; p < count; ++p) bank.push_back(testProgram("Bank " + std::to_string(p), int(p)));
  return bank;
}

class PresetImageTest : public LocalEffectFixture {
 protected:
  EffectState state() const {
    const auto* first = reinterpret_cast<const unsigned char*>(effect->programs.get());
    return EffectState{Bytes(first, first + sizeof(ProgramRecord) * programCount),
                       std::vector<float>(effect->values, effect->values + ParameterIndex::count),
                       effect->getProgram()};
  }

  Program programOf(VstInt32 index) const {
    const ProgramRecord& record = effect->programs[index];
    return Program{record.name, std::vector<float>(record.values, record.values + ParameterIndex::count)};
  }

  std::vector<Program> allPrograms() const {
    std::vector<Program> programs;
    for (VstInt32 p = 0; p < programCount; ++p) programs.push_back(programOf(p));
    return programs;
  }

  void expectProgram(VstInt32 index, const Program& expected) const {
    EXPECT_STREQ(effect->programs[index].name, expected.name.c_str()) << "program " << index;
    for (std::size_t i = 0; i < expected.values.size(); ++i) {
      EXPECT_EQ(effect->programs[index].values[i], expected.values[i])
          << "program " << index << " value " << i;
    }
  }

  bool loadSingle(const Bytes& image) { return loadSinglePresetData(*effect, image.data(), image.size()); }
  bool loadBank(const Bytes& image) { return loadBankData(*effect, image.data(), image.size()); }
};

TEST_F(PresetImageTest, SinglePresetImageIsTheCurrentProgramInBigEndianOrder) {
  effect->setProgram(84);
  effect->setParameter(ParameterIndex::Resonance1, 0.5f);

  const Bytes image = buildSinglePresetData(*effect);

  ASSERT_EQ(image.size(), 248u);
  const Bytes header = {'C', 'c', 'n', 'K', 0,   0,   0, 240, 'F', 'x', 'C', 'k', 0, 0,
                        0,   1,   'O', 'm', 'F', 'S', 0, 0,   0,   1,   0,   0,   0, 48};
  EXPECT_EQ(Bytes(image.begin(), image.begin() + 28), header);
  const Bytes half = {0x3F, 0x00, 0x00, 0x00};
  EXPECT_EQ(Bytes(image.begin() + 56 + 4 * 2, image.begin() + 56 + 4 * 3), half);
  EXPECT_EQ(image, PresetImages::program(
                       Program{"SEQ Drimblex", std::vector<float>(effect->values, effect->values + 48)}));
}

TEST_F(PresetImageTest, BankImageHoldsEveryStoredProgram) {
  char name[] = "Renamed five";
  effect->setProgram(5);
  effect->setProgramName(name);
  effect->setParameter(ParameterIndex::Volume, 0.25f);

  const Bytes image = buildBankData(*effect);

  ASSERT_EQ(image.size(), 39588u);
  const Bytes header = {'C', 'c', 'n', 'K', 0,   0,   0x9A, 0x9C, 'F', 'x', 'B', 'k', 0, 0,
                        0,   1,   'O', 'm', 'F', 'S', 0,    0,    0,   1,   0,   0,   0, 159};
  EXPECT_EQ(Bytes(image.begin(), image.begin() + 28), header);
  EXPECT_EQ(image, PresetImages::bank(allPrograms()));
  EXPECT_EQ(PresetImages::getFloat(image, 156 + 248 * 5 + 56 + 4 * ParameterIndex::Volume), 0.25f);
}

TEST_F(PresetImageTest, NameFieldsHoldNothingAfterTheName) {
  char shortName[] = "X";
  effect->setProgramName(shortName);  // over "SYN sunrise": the record keeps the old tail

  const Bytes single = buildSinglePresetData(*effect);
  const Bytes bank = buildBankData(*effect);

  const Bytes field = {'X', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(Bytes(single.begin() + 28, single.begin() + 56), field);
  EXPECT_EQ(Bytes(bank.begin() + 156 + 28, bank.begin() + 156 + 56), field);
}

TEST_F(PresetImageTest, SavedProgramLoadsBackIntoTheCurrentProgramOnly) {
  effect->setProgram(12);
  const Bytes image = buildSinglePresetData(*effect);
  const EffectState saved = state();

  char otherName[] = "Changed";
  effect->setProgramName(otherName);
  for (VstInt32 index = 0; index < ParameterIndex::count; ++index) effect->setParameter(index, 0.75f);
  const VstInt32 displaysBefore = hostCalls(audioMasterUpdateDisplay);

  ASSERT_TRUE(loadSingle(image));
  EXPECT_EQ(state(), saved);
  EXPECT_EQ(hostCalls(audioMasterUpdateDisplay), displaysBefore + 1);
}

TEST_F(PresetImageTest, LoadedProgramSetsLiveValuesNameAndDisplay) {
  effect->setProgram(3);
  const EffectState before = state();
  Program loaded = testProgram("Loaded", 7);
  loaded.values[ParameterIndex::FilterType1] = 0.47f;  // "Delay"

  ASSERT_TRUE(loadSingle(PresetImages::program(loaded)));

  expectProgram(3, loaded);
  for (VstInt32 index = 0; index < ParameterIndex::count; ++index) {
    EXPECT_EQ(effect->getParameter(index), loaded.values[index]) << index;
  }
  char name[256];
  effect->getProgramName(name);
  EXPECT_STREQ(name, "Loaded");
  char display[256];
  effect->getParameterDisplay(ParameterIndex::FilterType1, display);
  EXPECT_STREQ(display, "Delay");
  EXPECT_EQ(effect->getProgram(), 3);
  EffectState after = state();
  for (VstInt32 p = 0; p < programCount; ++p) {
    if (p == 3) continue;
    EXPECT_EQ(std::memcmp(after.programs.data() + sizeof(ProgramRecord) * p,
                          before.programs.data() + sizeof(ProgramRecord) * p, sizeof(ProgramRecord)),
              0)
        << "program " << p;
  }
}

TEST_F(PresetImageTest, ProgramWithFewerValuesChangesOnlyThose) {
  const Program before = programOf(0);
  ASSERT_TRUE(loadSingle(PresetImages::program(Program{"Two", {0.125f, 0.375f}})));

  Program expected = before;
  expected.name = "Two";
  expected.values[0] = 0.125f;
  expected.values[1] = 0.375f;
  expectProgram(0, expected);
}

TEST_F(PresetImageTest, NamesAreCutAtTheirZeroOrAfter23Characters) {
  struct Case {
    std::string field;
    std::string name;
  };
  const Case cases[] = {
      {"", ""},
      {"Exactly twenty-three ch", "Exactly twenty-three ch"},
      {"Twenty-five characters!!", "Twenty-five characters!"},
      {std::string(28, 'Q'), std::string(23, 'Q')},  // no zero in the whole field
  };
  for (const Case& c : cases) {
    Program single = testProgram(c.field, 1);
    ASSERT_TRUE(loadSingle(PresetImages::program(single))) << c.field;
    EXPECT_STREQ(effect->programs[0].name, c.name.c_str());

    std::vector<Program> bank = testBank(2);
    bank[1].name = c.field;
    ASSERT_TRUE(loadBank(PresetImages::bank(bank))) << c.field;
    EXPECT_STREQ(effect->programs[1].name, c.name.c_str());
  }
}

TEST_F(PresetImageTest, BankOf159LoadsBackAndSelectsTheFirstProgram) {
  const Bytes image = buildBankData(*effect);
  const std::vector<Program> saved = allPrograms();

  for (VstInt32 p = 0; p < programCount; ++p) {
    copyProgramName(effect->programs[p].name, "Overwritten");
    std::fill(effect->programs[p].values, effect->programs[p].values + 48, 0.5f);
  }
  effect->setProgram(7);
  const VstInt32 displaysBefore = hostCalls(audioMasterUpdateDisplay);

  ASSERT_TRUE(loadBank(image));
  for (VstInt32 p = 0; p < programCount; ++p) expectProgram(p, saved[p]);
  EXPECT_EQ(effect->getProgram(), 0);
  for (VstInt32 index = 0; index < ParameterIndex::count; ++index) {
    EXPECT_EQ(effect->getParameter(index), saved[0].values[index]) << index;
  }
  EXPECT_EQ(hostCalls(audioMasterUpdateDisplay), displaysBefore + 1);
}

TEST_F(PresetImageTest, SmallerBankReplacesOnlyItsPrograms) {
  const Program secondBefore = programOf(2);
  const Program firstBefore = programOf(0);
  std::vector<Program> bank = testBank(2);
  bank[0].values.resize(3);
  effect->setProgram(9);

  ASSERT_TRUE(loadBank(PresetImages::bank(bank)));

  Program first = firstBefore;
  first.name = bank[0].name;
  std::copy(bank[0].values.begin(), bank[0].values.end(), first.values.begin());
  expectProgram(0, first);
  expectProgram(1, bank[1]);
  expectProgram(2, secondBefore);
  EXPECT_EQ(effect->getProgram(), 0);
  EXPECT_EQ(effect->getParameter(2), bank[0].values[2]);
  EXPECT_EQ(effect->getParameter(3), firstBefore.values[3]);
}

// Damaged or foreign images: each is refused whole and leaves the effect exactly as it was.
struct BadImage {
  std::string what;
  Bytes image;
};

Bytes withFloat(Bytes image, std::size_t offset, float value) {
  PresetImages::putFloat(image, offset, value);
  return image;
}

Bytes withUnsigned(Bytes image, std::size_t offset, uint32_t value) {
  PresetImages::putUnsigned(image, offset, value);
  return image;
}

Bytes withText(Bytes image, std::size_t offset, const std::string& text) {
  std::copy(text.begin(), text.end(), image.begin() + offset);
  return image;
}

Bytes cut(const Bytes& image, std::size_t length) {
  return Bytes(image.begin(), image.begin() + length);
}

TEST_F(PresetImageTest, DamagedOrForeignProgramsAreRefusedWhole) {
  const Bytes good = PresetImages::program(testProgram("Good", 3));
  Program tooMany = testProgram("Many", 3);
  tooMany.values.push_back(0.5f);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float infinity = std::numeric_limits<float>::infinity();

  std::vector<BadImage> images = {
      {"wrong chunk magic", withText(good, 0, "CcnX")},
      {"other plug-in's id", withText(good, 16, "AbCd")},
      {"id differing in its third character", withText(good, 16, "OmXS")},
      {"id differing in its fourth character", PresetImages::program(testProgram("Fourth", 2), "OmFx")},
      {"bank magic", withText(good, 8, "FxBk")},
      {"opaque chunk magic", withText(good, 8, "FPCh")},
      {"a whole bank", PresetImages::bank(testBank(3))},
      {"49 values", PresetImages::program(tooMany)},
      {"count 49 without the values", withUnsigned(good, 24, 49)},
      {"count wrapping to 0 in 32 bits", withUnsigned(good, 24, 0x40000000)},
      {"largest count", withUnsigned(good, 24, 0xFFFFFFFF)},
      {"not a number", withFloat(good, 56 + 4 * 47, nan)},
      {"infinity", withFloat(good, 56, infinity)},
      {"negative infinity", withFloat(good, 56 + 4 * 20, -infinity)},
  };
  for (std::size_t length = 0; length < good.size(); ++length) {
    images.push_back({"cut to " + std::to_string(length) + " bytes", cut(good, length)});
  }

  effect->setProgram(6);
  const EffectState before = state();
  for (const BadImage& bad : images) {
    EXPECT_FALSE(loadSingle(bad.image)) << bad.what;
    EXPECT_TRUE(state() == before) << bad.what;
  }
  EXPECT_FALSE(loadSinglePresetData(*effect, nullptr, 0));
  EXPECT_EQ(hostCalls(audioMasterUpdateDisplay), 0);
}

// Values beyond 0..1 would play beyond every parameter's range (a volume of 5 plays 14 dB too loud).
TEST_F(PresetImageTest, LoadedValuesAreLimitedToTheParameterRange) {
  const float largest = std::numeric_limits<float>::max();
  Program loud = testProgram("Loud", 4);
  loud.values[ParameterIndex::Volume] = 5.0f;
  loud.values[ParameterIndex::Cutoff1] = -0.5f;
  loud.values[ParameterIndex::Drive] = largest;
  loud.values[ParameterIndex::Step1] = -largest;
  loud.values[ParameterIndex::Resonance1] = 1.0000001f;
  Program limited = loud;
  limited.values[ParameterIndex::Volume] = 1.0f;
  limited.values[ParameterIndex::Cutoff1] = 0.0f;
  limited.values[ParameterIndex::Drive] = 1.0f;
  limited.values[ParameterIndex::Step1] = 0.0f;
  limited.values[ParameterIndex::Resonance1] = 1.0f;

  ASSERT_TRUE(loadSingle(PresetImages::program(loud)));
  expectProgram(0, limited);
  EXPECT_EQ(effect->getParameter(ParameterIndex::Volume), 1.0f);

  std::vector<Program> bank = testBank(3);
  bank[2] = loud;
  ASSERT_TRUE(loadBank(PresetImages::bank(bank)));
  expectProgram(2, limited);
}

TEST_F(PresetImageTest, DamagedOrForeignBanksAreRefusedWhole) {
  const std::vector<Program> programs = testBank(programCount);
  const Bytes good = PresetImages::bank(programs);
  std::vector<Program> tooMany = testBank(programCount + 1);
  std::vector<Program> longProgram = programs;
  longProgram[150].values.push_back(0.5f);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::size_t lastValue = good.size() - 4;

  std::vector<BadImage> images = {
      {"wrong chunk magic", withText(good, 0, "ccnK")},
      {"other plug-in's id", withText(good, 16, "Zz00")},
      {"id differing in its fourth character", withText(good, 19, "?")},
      {"program magic", withText(good, 8, "FxCk")},
      {"a single program", PresetImages::program(programs[0])},
      {"160 programs", PresetImages::bank(tooMany)},
      {"count 160 without the program", withUnsigned(good, 24, 160)},
      {"largest count", withUnsigned(good, 24, 0xFFFFFFFF)},
      {"program 150 with 49 values", PresetImages::bank(longProgram)},
      {"program 80 claiming 49 values", withUnsigned(good, 156 + 248 * 80 + 24, 49)},
      {"program 80 with a wrapping count", withUnsigned(good, 156 + 248 * 80 + 24, 0x40000000)},
      {"program 0 claiming 0xFFFFFFFF values", withUnsigned(good, 156 + 24, 0xFFFFFFFF)},
      {"not a number in the last value", withFloat(good, lastValue, nan)},
  };
  // Every cut inside the bank's header and inside the first, a middle and the last program.
  for (std::size_t length = 0; length < 156; ++length) {
    images.push_back({"cut to " + std::to_string(length) + " bytes", cut(good, length)});
  }
  for (std::size_t program : {0, 79, 158}) {
    for (std::size_t offset = 0; offset < 248; ++offset) {
      const std::size_t length = 156 + 248 * program + offset;
      images.push_back({"cut to " + std::to_string(length) + " bytes", cut(good, length)});
    }
  }

  effect->setProgram(6);
  const EffectState before = state();
  for (const BadImage& bad : images) {
    EXPECT_FALSE(loadBank(bad.image)) << bad.what;
    EXPECT_TRUE(state() == before) << bad.what;
  }
  EXPECT_FALSE(loadBankData(*effect, nullptr, 0));
  EXPECT_EQ(hostCalls(audioMasterUpdateDisplay), 0);
}

TEST_F(PresetImageTest, BytesAfterTheImageAreIgnored) {
  Bytes single = PresetImages::program(testProgram("Trailing", 5));
  single.resize(single.size() + 100, 0xEE);
  ASSERT_TRUE(loadSingle(single));
  expectProgram(0, testProgram("Trailing", 5));

  Bytes bank = PresetImages::bank(testBank(3));
  bank.resize(bank.size() + 100, 0xEE);
  ASSERT_TRUE(loadBank(bank));
  expectProgram(2, testBank(3)[2]);
}

}  // namespace
