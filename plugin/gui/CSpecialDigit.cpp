#include "plugin/gui/CSpecialDigit.h"

#include "plugin/gui/BitmapFrame.h"

#include <cstring>

namespace Gui {

CSpecialDigit::CSpecialDigit(const CRect& size, CControlListener* listener, long tag, long dwPos,
                             long iNumbers, const long* xpos, const long* ypos, long width, long height,
                             CBitmap* background)
    : CControl(size, listener, tag, background),
      iNumbers(iNumbers < 0 ? 0 : (iNumbers > kMaxDigits ? kMaxDigits : iNumbers)),
      width(width),
      height(height) {
  value = static_cast<float>(dwPos);
  const long step = background ? background->getWidth() : 0;
  for (long i = 0; i < this->iNumbers; ++i) {
    if (xpos && ypos) {
      this->xpos[i] = xpos[i];
      this->ypos[i] = ypos[i];
    } else {
      this->xpos[i] = size.left + i * step;
      this->ypos[i] = size.top;
    }
  }
  long largest = 1;
  for (long i = 0; i < this->iNumbers; ++i) largest *= 10;
  setMin(0.f);
  setMax(static_cast<float>(largest - 1));
}

float CSpecialDigit::getNormValue() const {
  if (vmax <= 0.f) return 0.f;
  const float fraction = value / vmax;
  if (fraction > 1.f) return 1.f;
  if (fraction < 0.f) return 0.f;
  return fraction;
}

long CSpecialDigit::digitsOf(long out[kMaxDigits]) const {
  const long lowest = static_cast<long>(vmin);
  const long highest = static_cast<long>(vmax);
  long number = static_cast<long>(value);
  if (number < lowest) number = lowest;
  if (number > highest) number = highest;
  long divisor = (highest + 1) / 10;
  for (long i = 0; i < iNumbers; ++i) {
    const long digit = divisor > 0 ? number / divisor : 0;
    number -= digit * divisor;
    divisor /= 10;
    out[i] = digit > 9 ? 9 : digit;
  }
  return iNumbers;
}

void CSpecialDigit::draw(CDrawContext* context) {
  long digits[kMaxDigits];
  const long count = digitsOf(digits);
  for (long i = 0; i < count; ++i) {
    const CRect area(xpos[i], ypos[i], xpos[i] + width, ypos[i] + height);
    drawBitmapFrame(pBackground, context, area, CPoint(0, digits[i] * height), bTransparencyEnabled);
  }
  setDirty(false);
}

bool CSpecialDigit::isTypeOf(const char* name) const {
  return std::strcmp(name, "CSpecialDigit") == 0 || CControl::isTypeOf(name);
}

}  // namespace Gui
