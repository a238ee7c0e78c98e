#pragma once

#include <cstdint>

#include "plugin/engine/ParameterMenu.h"

// How a parameter's value is shown to the host and the editor.
enum class DisplayKind {
  Menu,       // the text of the decoded menu entry, "-" outside the menu
  Cutoff,     // frequency in Hz
  Resonance,  // the value with two decimals
  Percent,    // whole percent, "56 %"
  Step,       // "Off" below 0.5, "On" from 0.5
  Empty,      // no text (the reset trigger)
};

// What the plug-in tells about one parameter.
struct ParameterInfo {
  const char* name;
  const char* label;
  DisplayKind display;
  ParameterMenu menu;  // meaningful for DisplayKind::Menu only
  MenuDecode decode;   // meaningful for DisplayKind::Menu only
};

// The description of a parameter; index must be 0..47.
const ParameterInfo& parameterInfo(int32_t index);

// The menu entry that the value of enumerated parameter index selects, as the engine and the
// display read it (the delay sync wraps every twelve entries). Index must name a menu parameter.
int32_t decodeParameterEntry(int32_t index, float value);
