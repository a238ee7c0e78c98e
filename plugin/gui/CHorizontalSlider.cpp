#include "plugin/gui/CHorizontalSlider.h"

namespace Gui {

CHorizontalSlider::CHorizontalSlider(const CRect& size, CControlListener* listener, long tag, long iMinPos,
                                     long iMaxPos, CBitmap* handle, CBitmap* background, const CPoint& offset,
                                     long style)
    : CSlider(size, listener, tag, iMinPos, iMaxPos, handle, background, offset, style | kHorizontal) {}

CHorizontalSlider::CHorizontalSlider(const CRect& size, CControlListener* listener, long tag,
                                     const CPoint& offsetHandle, long range, CBitmap* handle,
                                     CBitmap* background, const CPoint& offset, long style)
    : CSlider(size, listener, tag, offsetHandle, range, handle, background, offset, style | kHorizontal) {}

}  // namespace Gui
