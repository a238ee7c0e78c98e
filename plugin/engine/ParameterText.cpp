#include "plugin/engine/ParameterText.h"

#include <cstdio>

#include "plugin/engine/ParameterIndex.h"
#include "plugin/engine/ParameterInfo.h"
#include "plugin/engine/dsp/FastMath.h"

namespace {

void writeText(char* text, const char* source) {
  std::snprintf(text, parameterTextCapacity, "%s", source);
}

// Numeric displays show what the engine uses: the value limited to 0..1 (NaN reads as 0).
float clampedUnit(float value) {
  if (!(value > 0.0f)) return 0.0f;
  return value > 1.0f ? 1.0f : value;
}

int32_t cutoffHz(float value) {
  return static_cast<int32_t>(20000.0f * fastExp(-6.0f * (1.0f - clampedUnit(value))));
}

}  // namespace

void formatParameterText(int32_t index, float value, char* text) {
  text[0] = '\0';
  if (!ParameterIndex::isValid(index)) return;
  const ParameterInfo& info = parameterInfo(index);
  switch (info.display) {
    case DisplayKind::Menu: {
      const char* entry = menuEntryText(info.menu, decodeParameterEntry(index, value));
      writeText(text, entry ? entry : "-");
      break;
    }
    case DisplayKind::Cutoff:
      std::snprintf(text, parameterTextCapacity, "%d", cutoffHz(value));
      break;
    case DisplayKind::Resonance:
      std::snprintf(text, parameterTextCapacity, "%.2f", static_cast<double>(clampedUnit(value)));
      break;
    case DisplayKind::Percent:
      std::snprintf(text, parameterTextCapacity, "%d %%", static_cast<int32_t>(clampedUnit(value) * 100.0f));
      break;
    case DisplayKind::Step:
      writeText(text, clampedUnit(value) < 0.5f ? "Off" : "On");
      break;
    case DisplayKind::Empty:
      break;
  }
}

void writeParameterName(int32_t index, char* text) {
  writeText(text, ParameterIndex::isValid(index) ? parameterInfo(index).name : "?");
}

void writeParameterLabel(int32_t index, char* text) {
  writeText(text, ParameterIndex::isValid(index) ? parameterInfo(index).label : "?");
}
