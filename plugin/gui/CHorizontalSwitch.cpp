#include "plugin/gui/CHorizontalSwitch.h"

#include "plugin/gui/BitmapFrame.h"
#include "plugin/gui/ControlClick.h"
#include "plugin/gui/SwitchPositions.h"

#include <cstring>

namespace Gui {

namespace {

long framesIn(const CBitmap* strip, long extent) {
  return strip && extent > 0 ? strip->getWidth() / extent : 0;
}

}  // namespace

CHorizontalSwitch::CHorizontalSwitch(const CRect& size, CControlListener* listener, long tag,
                                     CBitmap* background, const CPoint& offset)
    : CHorizontalSwitch(size, listener, tag, framesIn(background, size.right - size.left),
                        size.right - size.left, framesIn(background, size.right - size.left), background,
                        offset) {}

CHorizontalSwitch::CHorizontalSwitch(const CRect& size, CControlListener* listener, long tag, long subPixmaps,
                                     long widthOfOneImage, long iMaxPositions, CBitmap* background,
                                     const CPoint& offset)
    : CControl(size, listener, tag, background),
      offset(offset),
      subPixmaps(subPixmaps),
      iMaxPositions(iMaxPositions),
      widthOfOneImage(widthOfOneImage) {
  setDefaultValue(0.f);
}

void CHorizontalSwitch::draw(CDrawContext* context) {
  drawBitmapFrame(pBackground, context, size,
                  CPoint(switchPosition(value, iMaxPositions) * widthOfOneImage, 0), bTransparencyEnabled);
  setDirty(false);
}

void CHorizontalSwitch::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!bMouseEnabled) return;
  if (buttons == -1) buttons = context->getMouseButtons();
  if (!(buttons & kLButton)) return;
  if (listenerTookClick(listener, context, this, buttons)) return;
  if (checkDefaultValue(context, buttons)) return;

  const double zone = static_cast<double>(widthOfOneImage) / iMaxPositions;
  beginEdit();
  do {
    value = switchValueAt(where.h - size.left, zone, iMaxPositions);
    if (isDirty() && listener) listener->valueChanged(context, this);
    getMouseLocation(context, where);
    doIdleStuff();
  } while (context->getMouseButtons() == buttons);
  endEdit();
}

bool CHorizontalSwitch::isTypeOf(const char* name) const {
  return std::strcmp(name, "CHorizontalSwitch") == 0 || CControl::isTypeOf(name);
}

}  // namespace Gui
