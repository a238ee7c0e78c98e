#include "plugin/gui/CAutoAnimation.h"

#include "plugin/gui/BitmapFrame.h"
#include "plugin/gui/ControlClick.h"

#include <cstring>

namespace Gui {

CAutoAnimation::CAutoAnimation(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                               const CPoint& offset)
    : CAutoAnimation(size, listener, tag, 0, size.bottom - size.top, background, offset) {
  if (background && heightOfOneImage > 0) subPixmaps = background->getHeight() / heightOfOneImage;
  totalHeightOfBitmap = subPixmaps * heightOfOneImage;
}

CAutoAnimation::CAutoAnimation(const CRect& size, CControlListener* listener, long tag, long subPixmaps,
                               long heightOfOneImage, CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background),
      offset(offset),
      subPixmaps(subPixmaps),
      heightOfOneImage(heightOfOneImage),
      totalHeightOfBitmap(subPixmaps * heightOfOneImage) {}

void CAutoAnimation::draw(CDrawContext* context) {
  if (bWindowOpened) {
    const CPoint where(offset.h, offset.v + static_cast<long>(value));
    drawBitmapFrame(pBackground, context, size, where, bTransparencyEnabled);
  }
  setDirty(false);
}

void CAutoAnimation::mouse(CDrawContext* context, CPoint&, long buttons) {
  if (!bMouseEnabled) return;
  if (buttons == -1) buttons = context->getMouseButtons();
  if (!(buttons & kLButton)) return;
  if (listenerTookClick(listener, context, this, buttons)) return;

  value = 0.f;
  if (bWindowOpened) {
    setDirty(true);
    closeWindow();
    return;
  }
  openWindow();
  setDirty(true);
  if (listener) listener->valueChanged(context, this);
}

void CAutoAnimation::nextPixmap() {
  value += heightOfOneImage;
  if (value >= totalHeightOfBitmap - heightOfOneImage) value = 0.f;
}

void CAutoAnimation::previousPixmap() {
  value -= heightOfOneImage;
  if (value < 0.f) value = static_cast<float>(totalHeightOfBitmap - heightOfOneImage - 1);
}

bool CAutoAnimation::isTypeOf(const char* name) const {
  return std::strcmp(name, "CAutoAnimation") == 0 || CControl::isTypeOf(name);
}

}  // namespace Gui
