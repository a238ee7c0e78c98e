#include "plugin/gui/CAnimKnob.h"

#include "plugin/gui/BitmapFrame.h"
#include "plugin/gui/CBitmap.h"

#include <cstring>

namespace Gui {

CAnimKnob::CAnimKnob(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                     const CPoint& offset)
    : CAnimKnob(size, listener, tag, 0, size.bottom - size.top, background, offset) {
  if (background && heightOfOneImage > 0) {
    subPixmaps = static_cast<short>(background->getHeight() / heightOfOneImage);
  }
}

CAnimKnob::CAnimKnob(const CRect& size, CControlListener* listener, long tag, long subPixmaps,
                     long heightOfOneImage, CBitmap* background, const CPoint& offset)
    : CKnob(size, listener, tag, background, nullptr, offset),
      subPixmaps(subPixmaps),
      heightOfOneImage(heightOfOneImage) {
  inset = 0;
}

long CAnimKnob::frameTop() const {
  if (value < 0.f) return 0;
  const long span = (subPixmaps - 1) * heightOfOneImage;
  long top = static_cast<long>((bInverseBitmap ? 1.f - value : value) * span);
  if (heightOfOneImage <= 0) return top;
  for (long k = 0; k <= span; k += heightOfOneImage) {
    if (k > top) {
      top = k - heightOfOneImage;
      return top < 0 ? 0 : top;
    }
  }
  return top;
}

void CAnimKnob::draw(CDrawContext* context) {
  drawBitmapFrame(pBackground, context, size, CPoint(0, frameTop()), bTransparencyEnabled);
  valueToPoint(lastDrawnPoint);
  setDirty(false);
}

bool CAnimKnob::isDirty() const {
  CPoint where;
  valueToPoint(where);
  if (!bDirty && where == lastDrawnPoint) return false;
  return CControl::isDirty();
}

bool CAnimKnob::isTypeOf(const char* name) const {
  return std::strcmp(name, "CAnimKnob") == 0 || CKnob::isTypeOf(name);
}

}  // namespace Gui
