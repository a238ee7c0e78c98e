#include "plugin/gui/CVuMeter.h"

#include "plugin/gui/BitmapFrame.h"
#include "plugin/gui/COffscreenContext.h"
#include "plugin/gui/CSlider.h"

#include <cstring>

namespace Gui {

CVuMeter::CVuMeter(const CRect& size, CBitmap* onBitmap, CBitmap* offBitmap, long nbLed, const long style)
    : CControl(size, nullptr, 0, nullptr),
      onBitmap(onBitmap),
      offBitmap(offBitmap),
      nbLed(nbLed),
      style(style) {
  if (onBitmap) onBitmap->remember();
  if (offBitmap) offBitmap->remember();
  resetRects(false);
}

CVuMeter::~CVuMeter() {
  delete pOScreen;
  if (onBitmap) onBitmap->forget();
  if (offBitmap) offBitmap->forget();
}

void CVuMeter::resetRects(bool inOffscreen) {
  CRect r(0, 0, size.right - size.left, size.bottom - size.top);
  if (!inOffscreen) {
    r = CRect(
        size.left < size.right ? size.left : size.right, size.top < size.bottom ? size.top : size.bottom,
        size.left < size.right ? size.right : size.left, size.top < size.bottom ? size.bottom : size.top);
  }
  rectOn = r;
  rectOff = r;
}

void CVuMeter::setDirty(bool dirty) {
  CView::setDirty(dirty);
}

bool CVuMeter::removed(CView* parent) {
  delete pOScreen;
  pOScreen = nullptr;
  return CControl::removed(parent);
}

bool CVuMeter::attached(CView* parent) {
  delete pOScreen;
  pOScreen = nullptr;
  if (bUseOffscreen)
    pOScreen = new COffscreenContext(pParentFrame, size.right - size.left, size.bottom - size.top);
  resetRects(bUseOffscreen);
  return CControl::attached(parent);
}

void CVuMeter::draw(CDrawContext* context) {
  if (!onBitmap) return;
  bounceValue();
  float level = oldValue - decreaseValue;
  if (level < value) level = value;
  oldValue = level;

  CDrawContext* target = context;
  if (bUseOffscreen) {
    if (!pOScreen) {
      pOScreen = new COffscreenContext(pParentFrame, size.right - size.left, size.bottom - size.top);
      resetRects(true);
    }
    target = pOScreen;
  }
  const bool inOffscreen = target != context;
  const long leds = nbLed > 0 ? nbLed : 1;
  CPoint offPoint;
  CPoint onPoint;
  if (style & kHorizontal) {
    const long lit = static_cast<long>(leds * level + 0.5f);
    long x = static_cast<long>(static_cast<float>(lit) / leds * onBitmap->getWidth());
    offPoint = CPoint(x, 0);
    if (!inOffscreen) x += size.left;
    rectOn.right = x;
    rectOff.left = x;
  } else {
    const long lit = static_cast<long>((vmax - level) * leds + 0.5f);
    long y = static_cast<long>(static_cast<float>(lit) / leds * onBitmap->getHeight());
    onPoint = CPoint(0, y);
    if (!inOffscreen) y += size.top;
    rectOff.bottom = y;
    rectOn.top = y;
  }
  drawBitmapFrame(offBitmap, target, rectOff, offPoint, bTransparencyEnabled);
  drawBitmapFrame(onBitmap, target, rectOn, onPoint, bTransparencyEnabled);
  if (inOffscreen) pOScreen->copyFrom(context, size);
  setDirty(false);
}

bool CVuMeter::isTypeOf(const char* name) const {
  return std::strcmp(name, "CVuMeter") == 0 || CControl::isTypeOf(name);
}

}  // namespace Gui
