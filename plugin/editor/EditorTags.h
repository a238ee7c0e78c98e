#pragma once

#include <cstdint>

#include "plugin/engine/ParameterIndex.h"

// The tags of the editor's controls: a parameter control carries its parameter index (0 to 46), the
// editor's own buttons and menus the numbers below.
namespace EditorTag {

enum : std::int32_t {
  Random = ParameterIndex::ResetTrigger,  // 47
  Lfo1SyncRocker = 102,
  Lfo2SyncRocker = 103,
  StepSyncRocker = 104,
  DelaySyncRocker = 105,
  Default = 106,
  Copy = 107,
  Paste = 108,
  ProgramMenu = 109,
  ProgramRocker = 110,
  LoadProgram = 111,
  SaveProgram = 112,
  LoadBank = 113,
  SaveBank = 114,
  Splash = 152,
};

// Tags 0 to 46 belong to the parameter controls; parameter 47 has none.
constexpr std::int32_t parameterControlCount = ParameterIndex::ResetTrigger;

}  // namespace EditorTag
