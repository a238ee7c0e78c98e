#include "plugin/gui/CSplashScreen.h"

#include "plugin/gui/BitmapFrame.h"
#include "plugin/gui/CFrame.h"
#include "plugin/gui/CSplashScreenView.h"
#include "plugin/gui/ControlClick.h"

#include <cstring>

namespace Gui {

CSplashScreen::CSplashScreen(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                             const CRect& toDisplay, const CPoint& offset)
    : CControl(size, listener, tag, background), toDisplay(toDisplay), offset(offset) {}

void CSplashScreen::setBitmapTransparency(unsigned char transparency) {
  bitmapTransparency = transparency;
  setTransparency(transparency != 255);
}

void CSplashScreen::drawPicture(CDrawContext* context, const CRect& area) {
  if (!pBackground) return;
  if (bTransparencyEnabled && bitmapTransparency != 0) {
    pBackground->drawAlphaBlend(context, area, offset, bitmapTransparency);
  } else {
    drawBitmapFrame(pBackground, context, area, offset, bTransparencyEnabled);
  }
}

void CSplashScreen::draw(CDrawContext* context) {
  if (value != 0.f) drawPicture(context, toDisplay);
  setDirty(false);
}

bool CSplashScreen::hitTest(const CPoint& where, long buttons) {
  return (buttons & kLButton) && where.h >= mouseableArea.left && where.h <= mouseableArea.right &&
         where.v >= mouseableArea.top && where.v <= mouseableArea.bottom;
}

void CSplashScreen::mouse(CDrawContext* context, CPoint&, long buttons) {
  if (!bMouseEnabled) return;
  if (buttons == -1) buttons = context->getMouseButtons();
  if (!(buttons & kLButton)) return;
  if (listenerTookClick(listener, context, this, buttons)) return;

  value = value == 0.f ? 1.f : 0.f;
  if (value != 0.f && pParentFrame) {
    auto* view = new CSplashScreenView(toDisplay, this);
    if (pParentFrame->setModalView(view)) {
      if (listener) listener->valueChanged(context, this);
    }
    // The frame holds the view while it shows it; refused, nobody does.
    view->forget();
  }
  setDirty(true);
}

void CSplashScreen::unSplash(CDrawContext* context) {
  if (value == 0.f) return;
  value = 0.f;
  if (listener) listener->valueChanged(context, this);
}

bool CSplashScreen::isTypeOf(const char* name) const {
  return std::strcmp(name, "CSplashScreen") == 0 || CControl::isTypeOf(name);
}

}  // namespace Gui
