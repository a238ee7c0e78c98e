#pragma once

#include <cstdint>

// The menus of the enumerated parameters. An enumerated parameter stores menu entry k as the value
// (k + 1) / 100; readers recover k by truncating the value times the parameter's decode factor.
enum class ParameterMenu : int32_t {
  FilterType,
  Routing,
  Distortion,
  LfoSync,
  LfoShape,
  Lfo1Destination,
  Lfo2Destination,
  EnvelopeDestination,
  DelayType,
  DelaySync,
  StepSync,
  StepShape,
  StepDestination,
};

constexpr int32_t parameterMenuCount = 13;

// The factor by which a stored value is scaled before truncation to a menu entry.
enum class MenuDecode {
  Fine,    // value x 100 x 0.9999: filter types and distortion
  Coarse,  // value x 100 x 0.999: routing and the four destinations
  Plain,   // value x 99.999: syncs, shapes and the delay type
};

// The number of entries of a menu.
int32_t menuEntryCount(ParameterMenu menu);

// The text of one entry (at most 31 characters, Windows-1252), or null outside the menu.
const char* menuEntryText(ParameterMenu menu, int32_t entry);

// The entry a stored value selects: truncation toward zero of the scaled value. Values far beyond
// any menu saturate instead of overflowing; NaN gives -1 (no entry).
int32_t decodeMenuEntry(float value, MenuDecode decode);

// The value under which an enumerated parameter stores menu entry k.
constexpr float encodeMenuEntry(int32_t entry) {
  return static_cast<float>(entry + 1) / 100.0f;
}
