#include "plugin/gui/CSlider.h"

#include "plugin/gui/BitmapFrame.h"
#include "plugin/gui/COffscreenContext.h"
#include "plugin/gui/ControlClick.h"
#include "plugin/gui/ValueSteps.h"

#include <cstring>

namespace Gui {

CSlider::CSlider(const CRect& size, CControlListener* listener, long tag, CBitmap* handle,
                 CBitmap* background, const CPoint& offset, long style)
    : CControl(size, listener, tag, background),
      offset(offset),
      pHandle(handle),
      style(style),
      widthOfSlider(handle ? handle->getWidth() : 1),
      heightOfSlider(handle ? handle->getHeight() : 1),
      widthControl(size.right - size.left),
      heightControl(size.bottom - size.top) {
  if (pHandle) pHandle->remember();
  setWantsFocus(true);
}

CSlider::CSlider(const CRect& size, CControlListener* listener, long tag, long iMinPos, long iMaxPos,
                 CBitmap* handle, CBitmap* background, const CPoint& offset, long style)
    : CSlider(size, listener, tag, handle, background, offset, style) {
  rangeHandle = iMaxPos - iMinPos;
  minPos = iMinPos - (isHorizontal() ? size.left : size.top);
  computeHandlePositions();
}

CSlider::CSlider(const CRect& size, CControlListener* listener, long tag, const CPoint& offsetHandle,
                 long range, CBitmap* handle, CBitmap* background, const CPoint& offset, long style)
    : CSlider(size, listener, tag, handle, background, offset, style) {
  this->offsetHandle = offsetHandle;
  rangeHandle = range - (isHorizontal() ? widthOfSlider : heightOfSlider);
  computeHandlePositions();
}

CSlider::~CSlider() {
  delete pOScreen;
  if (pHandle) pHandle->forget();
}

void CSlider::computeHandlePositions() {
  if (isHorizontal()) {
    minTmp = minPos + offsetHandle.h;
    maxTmp = minTmp + rangeHandle + widthOfSlider;
  } else {
    minTmp = minPos + offsetHandle.v;
    maxTmp = minTmp + rangeHandle + heightOfSlider;
  }
}

void CSlider::setOffsetHandle(const CPoint& newOffset) {
  offsetHandle = newOffset;
  computeHandlePositions();
}

void CSlider::setHandle(CBitmap* handle) {
  if (pHandle) pHandle->forget();
  pHandle = handle;
  if (pHandle) {
    pHandle->remember();
    widthOfSlider = pHandle->getWidth();
    heightOfSlider = pHandle->getHeight();
  }
}

bool CSlider::removed(CView* parent) {
  delete pOScreen;
  pOScreen = nullptr;
  return CControl::removed(parent);
}

bool CSlider::attached(CView* parent) {
  delete pOScreen;
  pOScreen = new COffscreenContext(pParentFrame, widthControl, heightControl, kBlackCColor);
  return CControl::attached(parent);
}

float CSlider::drawFraction() const {
  return (style & (kLeft | kTop)) ? value : 1.f - value;
}

bool CSlider::countsFromEnd() const {
  return (style & (kRight | kBottom)) != 0;
}

CRect CSlider::handleRect() const {
  const float fraction = drawFraction();
  CRect r;
  if (isHorizontal()) {
    r.left = static_cast<long>(rangeHandle * fraction) + offsetHandle.h;
    if (r.left < minTmp) r.left = minTmp;
    r.right = r.left + widthOfSlider;
    if (r.right > maxTmp) r.right = maxTmp;
    r.top = offsetHandle.v;
    r.bottom = r.top + heightOfSlider;
  } else {
    r.top = static_cast<long>(rangeHandle * fraction) + offsetHandle.v;
    if (r.top < minTmp) r.top = minTmp;
    r.bottom = r.top + heightOfSlider;
    if (r.bottom > maxTmp) r.bottom = maxTmp;
    r.left = offsetHandle.h;
    r.right = r.left + widthOfSlider;
  }
  return r;
}

void CSlider::draw(CDrawContext* context) {
  CDrawContext* target = pOScreen ? pOScreen : context;
  if (pOScreen && bTransparencyEnabled) {
    CRect area(size);
    pOScreen->copyTo(context, area);
  }
  CRect track(0, 0, widthControl, heightControl);
  CRect handle = handleRect();
  if (!pOScreen) {
    track = size;
    handle.offset(size.left, size.top);
  }
  drawBitmapFrame(pBackground, target, track, offset, bTransparencyEnabled);
  drawBitmapFrame(pHandle, target, handle, CPoint(0, 0), bDrawTransparentEnabled);
  if (pOScreen) pOScreen->copyFrom(context, size);
  setDirty(false);
}

void CSlider::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!bMouseEnabled) return;
  if (buttons == -1) buttons = context->getMouseButtons();
  if (listenerTookClick(listener, context, this, buttons)) return;
  if (checkDefaultValue(context, buttons)) return;
  if (!(buttons & kLButton) || rangeHandle <= 0) return;

  const bool horizontal = isHorizontal();
  long delta = horizontal ? offsetHandle.h + size.left : offsetHandle.v + size.top;
  if (bFreeClick) {
    delta += (horizontal ? widthOfSlider : heightOfSlider) / 2 - 1;
  } else {
    CRect handle = handleRect();
    handle.offset(size.left, size.top);
    if (!insideWithEdges(handle, where)) return;
    delta += horizontal ? where.h - handle.left : where.v - handle.top;
  }

  float oldValue = value;
  long clickButtons = buttons;
  beginEdit();
  buttons = context->getMouseButtons();
  while (buttons & kLButton) {
    if (buttons != clickButtons && (buttons & kShift)) {
      clickButtons = buttons;
      oldValue = value;
    } else if (!(buttons & kShift)) {
      oldValue = value;
    }
    value = static_cast<float>((horizontal ? where.h : where.v) - delta) / rangeHandle;
    if (countsFromEnd()) value = 1.f - value;
    if (buttons & kShift) value = oldValue + (value - oldValue) / zoomFactor;
    bounceValue();
    if (isDirty() && listener) listener->valueChanged(context, this);
    getMouseLocation(context, where);
    doIdleStuff();
    buttons = context->getMouseButtons();
  }
  endEdit();
}

long CSlider::onKeyDown(VstKeyCode& keyCode) {
  return stepValueByKey(*this, listener, keyCode);
}

bool CSlider::onWheel(CDrawContext* context, const CPoint&, float distance) {
  return stepValueByWheel(*this, listener, context, distance);
}

bool CSlider::isTypeOf(const char* name) const {
  return std::strcmp(name, "CSlider") == 0 || CControl::isTypeOf(name);
}

}  // namespace Gui
