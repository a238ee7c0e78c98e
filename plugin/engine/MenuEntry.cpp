#include "plugin/engine/MenuEntry.h"

int32_t menuEntry(float value, MenuScale scale) {
  float scaled = 0.0f;
  switch (scale) {
    case MenuScale::FilterOrDistortion:
      scaled = value * 100.0f * 0.9999f;
      break;
    case MenuScale::RoutingOrDestination:
      scaled = value * 100.0f * 0.999f;
      break;
    case MenuScale::Plain:
      scaled = value * 99.999f;
      break;
  }
  constexpr float largest = 1000000.0f;
  if (!(scaled > -1.0f)) return -1;  // also NaN
  if (scaled >= largest) return static_cast<int32_t>(largest);
  return static_cast<int32_t>(scaled);
}

int32_t wrappedMenuEntry(float value, int32_t count) {
  const float scaled = value * 99.999f;
  if (!(scaled > -2147483648.0f && scaled < 2147483648.0f)) return 0;
  const int32_t entry = static_cast<int32_t>(scaled);
  return ((entry % count) + count) % count;
}
