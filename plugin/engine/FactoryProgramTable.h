#pragma once

#include <cstdint>

#include "plugin/engine/ProgramRecord.h"

// One program as the plug-in ships it.
struct FactoryProgram {
  char name[programNameCapacity];
  float values[ParameterIndex::count];
};

// The 159 factory programs in program order.
const FactoryProgram* factoryProgramTable();
