#include "plugin/gui/ValueSteps.h"

#include "plugin/gui/CDrawContext.h"

namespace Gui {

void stepValue(CControl& control, CControlListener* listener, CDrawContext* context, float distance,
               bool fine) {
  float step = distance * control.getWheelInc();
  if (fine) step *= 0.1f;
  control.setValue(control.getValue() + step);
  control.bounceValue();
  if (control.isDirty() && listener) {
    control.beginEdit();
    listener->valueChanged(context, &control);
    control.endEdit();
  }
}

long stepValueByKey(CControl& control, CControlListener* listener, const VstKeyCode& key) {
  float distance;
  switch (key.virt) {
    case kArrowLeft:
    case kArrowDown:
      distance = -1.f;
      break;
    case kArrowUp:
    case kArrowRight:
      distance = 1.f;
      break;
    default:
      return -1;
  }
  stepValue(control, listener, nullptr, distance, (key.modifier & MODIFIER_SHIFT) != 0);
  return 1;
}

bool stepValueByWheel(CControl& control, CControlListener* listener, CDrawContext* context, float distance) {
  if (!control.getMouseEnabled()) return false;
  const bool fine = context && (context->getMouseButtons() & kShift);
  stepValue(control, listener, context, distance, fine);
  return true;
}

}  // namespace Gui
