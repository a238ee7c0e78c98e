#include "plugin/gui/CMovieButton.h"

#include "plugin/gui/BitmapFrame.h"
#include "plugin/gui/ControlClick.h"

#include <cstring>

namespace Gui {

CMovieButton::CMovieButton(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                           const CPoint& offset)
    : CMovieButton(size, listener, tag, size.bottom - size.top, background, offset) {}

CMovieButton::CMovieButton(const CRect& size, CControlListener* listener, long tag, long heightOfOneImage,
                           CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background),
      offset(offset),
      heightOfOneImage(heightOfOneImage),
      buttonState(value) {}

void CMovieButton::draw(CDrawContext* context) {
  bounceValue();
  const CPoint where(0, value == 0.f ? 0 : heightOfOneImage);
  drawBitmapFrame(pBackground, context, size, where, bTransparencyEnabled);
  buttonState = value;
  setDirty(false);
}

void CMovieButton::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!bMouseEnabled) return;
  if (buttons == -1) buttons = context->getMouseButtons();
  if (listenerTookClick(listener, context, this, buttons)) return;
  if (!(buttons & kLButton)) return;

  const float entryValue = value;
  const float toggled = entryValue == 0.f ? 1.f : 0.f;
  beginEdit();
  if (context->getMouseButtons() != 0) {
    do {
      value = insideWithEdges(size, where) ? toggled : entryValue;
      if (isDirty() && listener) listener->valueChanged(context, this);
      getMouseLocation(context, where);
      doIdleStuff();
    } while (context->getMouseButtons() == buttons);
  } else {
    value = toggled;
    if (listener) listener->valueChanged(context, this);
  }
  endEdit();
  buttonState = value;
}

bool CMovieButton::isTypeOf(const char* name) const {
  return std::strcmp(name, "CMovieButton") == 0 || CControl::isTypeOf(name);
}

}  // namespace Gui
