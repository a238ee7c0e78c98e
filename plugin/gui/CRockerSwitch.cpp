#include "plugin/gui/CRockerSwitch.h"

#include "plugin/gui/BitmapFrame.h"
#include "plugin/gui/ControlClick.h"

#include <cstring>

namespace Gui {

CRockerSwitch::CRockerSwitch(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                             const CPoint& offset, long style)
    : CRockerSwitch(size, listener, tag, size.right - size.left, background, offset, style) {}

CRockerSwitch::CRockerSwitch(const CRect& size, CControlListener* listener, long tag, long heightOfOneImage,
                             CBitmap* background, const CPoint& offset, long style)
    : CControl(size, listener, tag, background),
      offset(offset),
      heightOfOneImage(heightOfOneImage),
      style(style) {}

void CRockerSwitch::draw(CDrawContext* context) {
  CPoint where(offset);
  if (value == 1.f) {
    where.offset(0, 2 * heightOfOneImage);
  } else if (value == 0.f) {
    where.offset(0, heightOfOneImage);
  }
  drawBitmapFrame(pBackground, context, size, where, bTransparencyEnabled);
  setDirty(false);
}

float CRockerSwitch::valueAt(const CPoint& where, float otherwise) const {
  const long halfWidth = (size.right - size.left) / 2;
  const long halfHeight = (size.bottom - size.top) / 2;
  if (style & kRockerHorizontal) {
    if (where.v < size.top || where.v > size.bottom) return otherwise;
    if (where.h >= size.left && where.h <= size.left + halfWidth) return -1.f;
    if (where.h >= size.left + halfWidth && where.h <= size.right) return 1.f;
    return otherwise;
  }
  if (where.h < size.left || where.h > size.right) return otherwise;
  if (where.v >= size.top && where.v <= size.top + halfHeight) return -1.f;
  if (where.v >= size.top + halfHeight && where.v <= size.bottom) return 1.f;
  return otherwise;
}

void CRockerSwitch::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!bMouseEnabled) return;
  if (buttons == -1) buttons = context->getMouseButtons();
  if (listenerTookClick(listener, context, this, buttons)) return;
  if (!(buttons & kLButton)) return;

  const float entryValue = value;
  beginEdit();
  do {
    value = valueAt(where, entryValue);
    if (isDirty() && listener) listener->valueChanged(context, this);
    getMouseLocation(context, where);
    doIdleStuff();
  } while (context->getMouseButtons() != 0);
  value = 0.f;
  if (listener) listener->valueChanged(context, this);
  endEdit();
}

bool CRockerSwitch::onWheel(CDrawContext* context, const CPoint&, float distance) {
  if (!bMouseEnabled) return false;
  value = distance > 0.f ? -1.f : 1.f;
  beginEdit();
  if (isDirty() && listener) listener->valueChanged(context, this);
  value = 0.f;
  if (listener) listener->valueChanged(context, this);
  endEdit();
  return true;
}

bool CRockerSwitch::isTypeOf(const char* name) const {
  return std::strcmp(name, "CRockerSwitch") == 0 || CControl::isTypeOf(name);
}

}  // namespace Gui
