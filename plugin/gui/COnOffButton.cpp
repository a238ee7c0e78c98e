#include "plugin/gui/COnOffButton.h"

#include "plugin/gui/BitmapFrame.h"
#include "plugin/gui/ControlClick.h"

#include <cstring>

namespace Gui {

COnOffButton::COnOffButton(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                           long style)
    : CControl(size, listener, tag, background), style(style) {}

void COnOffButton::draw(CDrawContext* context) {
  if (pBackground) {
    const long top = value == 0.f ? 0 : pBackground->getHeight() / 2;
    drawBitmapFrame(pBackground, context, size, CPoint(0, top), bTransparencyEnabled);
  }
  setDirty(false);
}

void COnOffButton::mouse(CDrawContext* context, CPoint&, long buttons) {
  if (!bMouseEnabled) return;
  if (buttons == -1) buttons = context->getMouseButtons();
  if (!(buttons & kLButton)) return;
  if (listenerTookClick(listener, context, this, buttons)) return;

  value = static_cast<long>(value) != 0 ? 0.f : 1.f;
  if (style == kPreListenerUpdate) tellListener(context);
  doIdleStuff();
  if (style == kPostListenerUpdate) tellListener(context);
}

void COnOffButton::tellListener(CDrawContext* context) {
  if (!listener) return;
  beginEdit();
  listener->valueChanged(context, this);
  endEdit();
}

bool COnOffButton::isTypeOf(const char* name) const {
  return std::strcmp(name, "COnOffButton") == 0 || CControl::isTypeOf(name);
}

}  // namespace Gui
