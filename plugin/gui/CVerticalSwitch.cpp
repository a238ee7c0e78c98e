#include "plugin/gui/CVerticalSwitch.h"

#include "plugin/gui/BitmapFrame.h"
#include "plugin/gui/ControlClick.h"
#include "plugin/gui/SwitchPositions.h"

#include <cstring>

namespace Gui {

namespace {

long framesIn(const CBitmap* strip, long extent) {
  return strip && extent > 0 ? strip->getHeight() / extent : 0;
}

}  // namespace

CVerticalSwitch::CVerticalSwitch(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                                 const CPoint& offset)
    : CVerticalSwitch(size, listener, tag, framesIn(background, size.bottom - size.top),
                      size.bottom - size.top, framesIn(background, size.bottom - size.top), background,
                      offset) {}

CVerticalSwitch::CVerticalSwitch(const CRect& size, CControlListener* listener, long tag, long subPixmaps,
                                 long heightOfOneImage, long iMaxPositions, CBitmap* background,
                                 const CPoint& offset)
    : CControl(size, listener, tag, background),
      offset(offset),
      subPixmaps(subPixmaps),
      heightOfOneImage(heightOfOneImage),
      iMaxPositions(iMaxPositions) {
  setDefaultValue(0.f);
}

void CVerticalSwitch::draw(CDrawContext* context) {
  drawBitmapFrame(pBackground, context, size,
                  CPoint(0, switchPosition(value, iMaxPositions) * heightOfOneImage), bTransparencyEnabled);
  setDirty(false);
}

void CVerticalSwitch::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!bMouseEnabled) return;
  if (buttons == -1) buttons = context->getMouseButtons();
  if (!(buttons & kLButton)) return;
  if (listenerTookClick(listener, context, this, buttons)) return;
  if (checkDefaultValue(context, buttons)) return;

  const double zone = static_cast<double>(heightOfOneImage) / iMaxPositions;
  beginEdit();
  do {
    value = switchValueAt(where.v - size.top, zone, iMaxPositions);
    if (isDirty() && listener) listener->valueChanged(context, this);
    getMouseLocation(context, where);
    doIdleStuff();
  } while (context->getMouseButtons() == buttons);
  endEdit();
}

bool CVerticalSwitch::isTypeOf(const char* name) const {
  return std::strcmp(name, "CVerticalSwitch") == 0 || CControl::isTypeOf(name);
}

}  // namespace Gui
