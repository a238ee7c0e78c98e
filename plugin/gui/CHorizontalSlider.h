#pragma once

#include "plugin/gui/CSlider.h"

namespace Gui {

// A slider along the horizontal axis: a plain slider whose style always has kHorizontal.
class CHorizontalSlider : public CSlider {
 public:
  CHorizontalSlider(const CRect& size, CControlListener* listener, long tag, long iMinPos, long iMaxPos,
                    CBitmap* handle, CBitmap* background, const CPoint& offset, long style);
  CHorizontalSlider(const CRect& size, CControlListener* listener, long tag, const CPoint& offsetHandle,
                    long range, CBitmap* handle, CBitmap* background, const CPoint& offset, long style);
};

}  // namespace Gui
