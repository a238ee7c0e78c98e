#include "plugin/gui/SwitchPositions.h"

namespace Gui {

long switchPosition(float value, long positions) {
  return static_cast<long>((positions - 1) * value + 0.5f);
}

float switchValueAt(long distance, double zoneExtent, long positions) {
  if (positions < 2 || zoneExtent <= 0.) return 0.f;
  const float result = static_cast<long>(distance / zoneExtent) / static_cast<float>(positions - 1);
  if (result > 1.f) return 1.f;
  if (result < 0.f) return 0.f;
  return result;
}

}  // namespace Gui
