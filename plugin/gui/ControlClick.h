#pragma once

#include "plugin/gui/CControl.h"
#include "plugin/gui/CDrawContext.h"

namespace Gui {

// Shift, Ctrl, Alt and the fourth modifier bit (64), which the Windows query never reports.
constexpr long kAnyModifier = kShift | kControl | kAlt | 64;

// The modifier question of a click: when a modifier is held and the listener answers non-zero from
// controlModifierClicked, the listener has taken the click and the control does nothing more.
inline bool listenerTookClick(CControlListener* listener, CDrawContext* context, CControl* control,
                              long buttons) {
  return listener && (buttons & kAnyModifier) &&
         listener->controlModifierClicked(context, control, buttons) != 0;
}

// Inside the rectangle with its right and bottom edges, as the buttons test a release.
inline bool insideWithEdges(const CRect& r, const CPoint& p) {
  return p.h >= r.left && p.h <= r.right && p.v >= r.top && p.v <= r.bottom;
}

}  // namespace Gui
