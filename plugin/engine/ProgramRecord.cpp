#include "plugin/engine/ProgramRecord.h"

#include <cstring>

ProgramRecord::ProgramRecord() : values{} {
  copyProgramName(name, "Init");
}

void copyProgramName(char* name, const char* source) {
  std::strncpy(name, source, programNameCapacity - 1);
  name[programNameCapacity - 1] = '\0';
}
