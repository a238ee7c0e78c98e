#include "plugin/gui/CKnob.h"

#include "plugin/gui/BitmapFrame.h"
#include "plugin/gui/CFrame.h"
#include "plugin/gui/ControlClick.h"
#include "plugin/gui/ValueSteps.h"

#include <cmath>
#include <cstring>

namespace Gui {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr float kPi = 3.14159265f;
constexpr long kLinearRange = 200;  // pixels of a linear drag over the whole range
constexpr long kLinearKnobMode = 2;

long insetForHandle(const CBitmap& handle) {
  return static_cast<long>(handle.getWidth() / 2.f + 2.5f);
}

// Brings an angle into 0..2pi (one turn at most), as the dead-zone tests expect.
double normalise(double angle) {
  if (angle < 0) return angle + kTwoPi;
  if (angle > kTwoPi) return angle - kTwoPi;
  return angle;
}

}  // namespace

CKnob::CKnob(const CRect& size, CControlListener* listener, long tag, CBitmap* background, CBitmap* handle,
             const CPoint& offset)
    : CControl(size, listener, tag, background),
      offset(offset),
      colorHandle(kWhiteCColor),
      colorShadowHandle(kGreyCColor),
      pHandle(handle),
      inset(handle ? insetForHandle(*handle) : 3),
      radius((size.right - size.left) / 2.f) {
  if (pHandle) pHandle->remember();
  setWantsFocus(true);
  startAngle = 5.f * kPi / 4.f;
  rangeAngle = -3.f * kPi / 2.f;
  compute();
}

CKnob::~CKnob() {
  if (pHandle) pHandle->forget();
}

void CKnob::setStartAngle(float angle) {
  startAngle = angle;
  compute();
}

void CKnob::setRangeAngle(float angle) {
  rangeAngle = angle;
  compute();
}

void CKnob::compute() {
  aCoef = (vmax - vmin) / rangeAngle;
  bCoef = vmin - aCoef * startAngle;
  halfAngle = (static_cast<float>(kTwoPi) - std::fabs(rangeAngle)) / 2.f;
  setDirty(true);
}

void CKnob::setColorShadowHandle(CColor color) {
  colorShadowHandle = color;
  setDirty(true);
}

void CKnob::setColorHandle(CColor color) {
  colorHandle = color;
  setDirty(true);
}

void CKnob::setHandleBitmap(CBitmap* bitmap) {
  if (pHandle) pHandle->forget();
  pHandle = bitmap;
  if (pHandle) {
    pHandle->remember();
    inset = insetForHandle(*pHandle);
  }
}

void CKnob::valueToPoint(CPoint& point) const {
  const float alpha = (value - bCoef) / aCoef;
  const float reach = radius - inset;
  point.h = static_cast<long>(radius + std::cos(alpha) * reach + 0.5f);
  point.v = static_cast<long>(radius - std::sin(alpha) * reach + 0.5f);
}

float CKnob::valueFromPoint(CPoint& point) const {
  double alpha = std::atan2(radius - point.v, point.h - radius);
  if (alpha < 0.) alpha += kTwoPi;
  double alpha2 = alpha - startAngle;
  if (rangeAngle < 0) {
    alpha2 -= rangeAngle;
    const double alpha3 = normalise(alpha2);
    if (alpha3 > halfAngle - rangeAngle) return vmax;
    if (alpha3 > -rangeAngle) return vmin;
    if (alpha2 > halfAngle - rangeAngle) {
      alpha2 -= kTwoPi;
    } else if (alpha2 < -halfAngle) {
      alpha2 += kTwoPi;
    }
    return static_cast<float>(alpha2 * aCoef + vmax);
  }
  const double alpha3 = normalise(alpha2);
  if (alpha3 > halfAngle + rangeAngle) return vmin;
  if (alpha3 > rangeAngle) return vmax;
  if (alpha2 > halfAngle + rangeAngle) {
    alpha2 -= kTwoPi;
  } else if (alpha2 < -halfAngle) {
    alpha2 += kTwoPi;
  }
  return static_cast<float>(alpha2 * aCoef + vmin);
}

void CKnob::draw(CDrawContext* context) {
  drawBitmapFrame(pBackground, context, size, offset, bTransparencyEnabled);
  drawHandle(context);
  setDirty(false);
}

void CKnob::drawHandle(CDrawContext* context) {
  CPoint where;
  valueToPoint(where);
  if (pHandle) {
    const long width = pHandle->getWidth();
    const long height = pHandle->getHeight();
    const long left = where.h + size.left - width / 2;
    const long top = where.v + size.top - height / 2;
    CRect area(left, top, left + width, top + height);
    pHandle->drawTransparent(context, area, CPoint(0, 0));
    return;
  }
  CPoint centre((size.right - size.left) / 2, (size.bottom - size.top) / 2);
  centre.offset(size.left - 1, size.top);
  where.offset(size.left - 1, size.top);
  context->setFrameColor(colorShadowHandle);
  context->moveTo(where);
  context->lineTo(centre);
  where.offset(1, -1);
  centre.offset(1, -1);
  context->setFrameColor(colorHandle);
  context->moveTo(where);
  context->lineTo(centre);
}

CPoint CKnob::relativeToKnob(const CPoint& where) const {
  return CPoint(where.h - size.left, where.v - size.top);
}

void CKnob::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!bMouseEnabled) return;
  if (buttons == -1) buttons = context->getMouseButtons();
  if (!(buttons & kLButton)) return;
  if (listenerTookClick(listener, context, this, buttons)) return;
  if (checkDefaultValue(context, buttons)) return;

  const bool alt = (buttons & kAlt) != 0;
  const bool linearMode = pParentFrame && pParentFrame->getKnobMode() == kLinearKnobMode;
  if (linearMode != alt) {
    dragLinear(context, where, buttons);
  } else {
    dragCircular(context, where);
  }
}

void CKnob::dragLinear(CDrawContext* context, CPoint& where, long buttons) {
  auto coefficientFor = [this](long buttonState) {
    const float range = (buttonState & kShift) ? kLinearRange * zoomFactor : kLinearRange;
    return (vmax - vmin) / range;
  };
  float coefficient = coefficientFor(buttons);
  const CPoint anchor(where);
  float entryValue = value;
  long lastButtons = buttons;

  beginEdit();
  CPoint lastWhere(-1, -1);
  do {
    buttons = context->getMouseButtons();
    if (where != lastWhere) {
      lastWhere = where;
      const long diff = (where.h - anchor.h) + (anchor.v - where.v);
      if (buttons != lastButtons) {
        // Keeps the value continuous when the precision changes in the middle of a drag.
        const float newCoefficient = coefficientFor(buttons);
        entryValue += diff * (coefficient - newCoefficient);
        coefficient = newCoefficient;
        lastButtons = buttons;
      }
      value = entryValue + diff * coefficient;
      bounceValue();
      if (isDirty() && listener) listener->valueChanged(context, this);
    }
    getMouseLocation(context, where);
    doIdleStuff();
  } while (buttons & kLButton);
  endEdit();
}

void CKnob::dragCircular(CDrawContext* context, CPoint& where) {
  const float middle = (vmax - vmin) / 2.f;
  CPoint relative = relativeToKnob(where);
  float old = valueFromPoint(relative);

  beginEdit();
  CPoint lastWhere(-1, -1);
  long buttons;
  do {
    buttons = context->getMouseButtons();
    if (where != lastWhere) {
      lastWhere = where;
      relative = relativeToKnob(where);
      const float candidate = valueFromPoint(relative);
      if (old - candidate > middle) {
        value = vmax;
      } else if (candidate - old > middle) {
        value = vmin;
      } else {
        value = candidate;
        old = candidate;
      }
      if (isDirty() && listener) listener->valueChanged(context, this);
    }
    getMouseLocation(context, where);
    doIdleStuff();
  } while (buttons & kLButton);
  endEdit();
}

long CKnob::onKeyDown(VstKeyCode& keyCode) {
  return stepValueByKey(*this, listener, keyCode);
}

bool CKnob::onWheel(CDrawContext* context, const CPoint&, float distance) {
  return stepValueByWheel(*this, listener, context, distance);
}

bool CKnob::isTypeOf(const char* name) const {
  return std::strcmp(name, "CKnob") == 0 || CControl::isTypeOf(name);
}

}  // namespace Gui
