#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "plugin/engine/FactoryProgramTable.h"
#include "plugin/engine/ParameterIndex.h"
#include "plugin/engine/ParameterInfo.h"

namespace {

// Every stored menu value must be 0 or exactly the code of an entry of its menu.
void expectValidMenuValue(int32_t program, int32_t index, float value) {
  if (value == 0.0f) return;
  const ParameterInfo& info = parameterInfo(index);
  const int32_t entry = decodeMenuEntry(value, info.decode);
  EXPECT_TRUE(entry >= 0 && entry < menuEntryCount(info.menu))
      << "program " << program << " parameter " << index << " value " << value;
  EXPECT_FLOAT_EQ(encodeMenuEntry(entry), value) << "program " << program << " parameter " << index;
}

TEST(FactoryProgramTable, EveryRowHoldsValidValues) {
  const FactoryProgram* table = factoryProgramTable();
  for (int32_t program = 0; program < programCount; ++program) {
    const FactoryProgram& row = table[program];
    const std::size_t nameLength = strnlen(row.name, programNameCapacity);
    EXPECT_GT(nameLength, 0u) << "program " << program;
    EXPECT_LT(nameLength, static_cast<std::size_t>(programNameCapacity)) << "program " << program;
    for (int32_t index = 0; index < ParameterIndex::count; ++index) {
      const float value = row.values[index];
      EXPECT_TRUE(value >= 0.0f && value <= 1.0f) << "program " << program << " parameter " << index;
      if (parameterInfo(index).display == DisplayKind::Menu) expectValidMenuValue(program, index, value);
    }
    EXPECT_EQ(row.values[ParameterIndex::ResetTrigger], 0.0f) << "program " << program;
  }
}

TEST(FactoryProgramTable, CategoriesFollowTheListOrder) {
  struct Category {
    const char* prefix;
    int32_t first;
    int32_t count;
  };
  const Category categories[] = {{"SYN ", 0, 57},   {"LD ", 57, 7},    {"PAD ", 64, 5}, {"SEQ ", 69, 43},
                                 {"DRUM ", 112, 6}, {"ATM ", 118, 25}, {"FX ", 143, 16}};
  int32_t covered = 0;
  for (const Category& category : categories) {
    for (int32_t program = category.first; program < category.first + category.count; ++program) {
      EXPECT_EQ(std::string(factoryProgramTable()[program].name).rfind(category.prefix, 0), 0u)
          << "program " << program;
    }
    covered += category.count;
  }
  EXPECT_EQ(covered, programCount);
}

TEST(FactoryProgramTable, FirstProgramHoldsItsSound) {
  const float expected[ParameterIndex::count] = {
      0.08f,       0.41545245f, 0.6003335f, 0.08f, 0.45553324f, 0.59870416f, 0.07f,      0.01f,
      0.66499996f, 0.565f,      1.0f,       1.0f,  0.0f,        0.12f,       0.8603917f, 0.16f,
      0.50416034f, 0.01f,       0.14f,      1.0f,  0.16f,       0.0f,        0.575f,     0.04f,
      0.8809408f,  0.11f,       0.07f,      0.01f, 0.19999999f, 0.88925403f, 0.04f,      1.0f};
  const FactoryProgram& sunrise = factoryProgramTable()[0];
  EXPECT_STREQ(sunrise.name, "SYN sunrise");
  for (int32_t index = 0; index < ParameterIndex::count; ++index) {
    EXPECT_EQ(sunrise.values[index], expected[index]) << "parameter " << index;
  }
}

}  // namespace
