#pragma once

#include <cstdint>

#include "plugin/engine/ParameterIndex.h"

constexpr int32_t programCount = 159;

// Room for a program name: at most 23 characters and the terminator.
constexpr int32_t programNameCapacity = 24;

// One program of the effect: the 48 parameter values and a zero-terminated name.
struct ProgramRecord {
  ProgramRecord();

  float values[ParameterIndex::count];
  char name[programNameCapacity];
};

// Copies at most 23 characters of source into a program name and always terminates it.
void copyProgramName(char* name, const char* source);
