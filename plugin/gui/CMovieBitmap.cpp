#include "plugin/gui/CMovieBitmap.h"

#include "plugin/gui/BitmapFrame.h"

#include <cstring>

namespace Gui {

CMovieBitmap::CMovieBitmap(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                           const CPoint& offset)
    : CMovieBitmap(size, listener, tag, 0, size.bottom - size.top, background, offset) {
  if (background && heightOfOneImage > 0) subPixmaps = background->getHeight() / heightOfOneImage;
}

CMovieBitmap::CMovieBitmap(const CRect& size, CControlListener* listener, long tag, long subPixmaps,
                           long heightOfOneImage, CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background),
      offset(offset),
      subPixmaps(subPixmaps),
      heightOfOneImage(heightOfOneImage) {}

void CMovieBitmap::draw(CDrawContext* context) {
  if (value > 1.f) value = 1.f;
  CPoint where(offset);
  if (value > 0.f) where.offset(0, static_cast<long>((subPixmaps - 1) * value + 0.5f) * heightOfOneImage);
  drawBitmapFrame(pBackground, context, size, where, bTransparencyEnabled);
  setDirty(false);
}

bool CMovieBitmap::isTypeOf(const char* name) const {
  return std::strcmp(name, "CMovieBitmap") == 0 || CControl::isTypeOf(name);
}

}  // namespace Gui
