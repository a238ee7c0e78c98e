#pragma once

#include "plugin/gui/CSlider.h"

namespace Gui {

// A slider along the vertical axis: a plain slider whose style always has kVertical.
class CVerticalSlider : public CSlider {
 public:
  CVerticalSlider(const CRect& size, CControlListener* listener, long tag, long iMinPos, long iMaxPos,
                  CBitmap* handle, CBitmap* background, const CPoint& offset, long style);
  CVerticalSlider(const CRect& size, CControlListener* listener, long tag, const CPoint& offsetHandle,
                  long range, CBitmap* handle, CBitmap* background, const CPoint& offset, long style);
};

}  // namespace Gui
