#include "plugin/gui/CKickButton.h"

#include "plugin/gui/BitmapFrame.h"
#include "plugin/gui/ControlClick.h"

#include <cstring>

namespace Gui {

CKickButton::CKickButton(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                         const CPoint& offset)
    : CKickButton(size, listener, tag, size.bottom - size.top, background, offset) {}

CKickButton::CKickButton(const CRect& size, CControlListener* listener, long tag, long heightOfOneImage,
                         CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background), offset(offset), heightOfOneImage(heightOfOneImage) {}

void CKickButton::draw(CDrawContext* context) {
  bounceValue();
  CPoint where(offset);
  if (value != 0.f) where.offset(0, heightOfOneImage);
  drawBitmapFrame(pBackground, context, size, where, bTransparencyEnabled);
  setDirty(false);
}

void CKickButton::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!bMouseEnabled) return;
  if (buttons == -1) buttons = context->getMouseButtons();
  if (listenerTookClick(listener, context, this, buttons)) return;
  if (!(buttons & kLButton)) return;

  const float entryValue = value;
  const float pressed = entryValue == 0.f ? 1.f : 0.f;
  beginEdit();
  if (context->getMouseButtons() == kLButton) {
    do {
      value = insideWithEdges(size, where) ? pressed : entryValue;
      if (isDirty() && listener) listener->valueChanged(context, this);
      getMouseLocation(context, where);
      doIdleStuff();
    } while (context->getMouseButtons() == kLButton);
  } else {
    value = pressed;
    if (listener) listener->valueChanged(context, this);
  }
  value = 0.f;
  if (listener) listener->valueChanged(context, this);
  endEdit();
}

bool CKickButton::isTypeOf(const char* name) const {
  return std::strcmp(name, "CKickButton") == 0 || CControl::isTypeOf(name);
}

}  // namespace Gui
