#pragma once

#include "plugin/framework/VstKeyCode.h"
#include "plugin/gui/CControl.h"

namespace Gui {

// The four arrow keys as the host hands them over in VstKeyCode::virt.
enum ArrowKey { kArrowLeft = 11, kArrowUp = 12, kArrowRight = 13, kArrowDown = 14 };

// Adds distance times the control's wheel increment (a tenth of it when fine) to its value, keeps it
// in range and, when that changed what is shown, tells the listener inside an edit gesture.
void stepValue(CControl& control, CControlListener* listener, CDrawContext* context, float distance,
               bool fine);

// The arrow-key step shared by knobs and sliders: left and down -1, up and right +1, a tenth with
// Shift. Answers 1 for an arrow key, -1 (not taken) for any other key.
long stepValueByKey(CControl& control, CControlListener* listener, const VstKeyCode& key);

// The wheel step shared by knobs and sliders, fine while Shift is held: false when the control does
// not take the mouse, true otherwise.
bool stepValueByWheel(CControl& control, CControlListener* listener, CDrawContext* context, float distance);

}  // namespace Gui
