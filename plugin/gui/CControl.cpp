#include "plugin/gui/CControl.h"

#include "plugin/gui/CBitmap.h"
#include "plugin/gui/CDrawContext.h"
#include "plugin/gui/CFrame.h"

#include <algorithm>
#include <cstring>

namespace Gui {

namespace {
constexpr long kShortestDoubleClick = 250;
}

CControl::CControl(const CRect& size, CControlListener* listener, long tag, CBitmap* background)
    : CView(size),
      listener(listener),
      tag(tag),
      doubleClickInterval(std::max(static_cast<long>(GetDoubleClickTime()), kShortestDoubleClick)) {
  bMouseEnabled = true;
  bTransparencyEnabled = false;
  // As CView::setBackground, but only the view's flag is raised: the old value stays 1.
  pBackground = background;
  if (pBackground) pBackground->remember();
  bDirty = true;
}

CControl::~CControl() = default;

bool CControl::isDirty() const {
  return !(oldValue == value) || bDirty;
}

void CControl::setDirty(bool dirty) {
  bDirty = dirty;
  if (dirty)
    oldValue = value == -1.0f ? 0.0f : -1.0f;
  else
    oldValue = value;
}

bool CControl::isTypeOf(const char* type) const {
  return std::strcmp(type, "CControl") == 0 || CView::isTypeOf(type);
}

void CControl::doIdleStuff() {
  if (pParentFrame) pParentFrame->doIdleStuff();
}

void CControl::beginEdit() {
  if (!pParentFrame) return;
  pParentFrame->setFocusView(this);
  pParentFrame->beginEdit(tag);
}

void CControl::endEdit() {
  if (pParentFrame) pParentFrame->endEdit(tag);
}

void CControl::copyBackOffset() {
  backOffset = CPoint(size.left, size.top);
}

void CControl::bounceValue() {
  if (value > vmax)
    value = vmax;
  else if (value < vmin)
    value = vmin;
}

bool CControl::checkDefaultValue(CDrawContext* context, long buttons) {
  if (buttons != (kLButton | kControl)) return false;
  beginEdit();
  setValue(getDefaultValue());
  if (listener && isDirty()) listener->valueChanged(context, this);
  endEdit();
  return true;
}

bool CControl::isDoubleClick() {
  const long ticks = static_cast<long>(pParentFrame ? pParentFrame->getTicks() : GetTickCount());
  if (lastTicks <= 0) {
    lastTicks = ticks;
    return false;
  }
  if (lastTicks + doubleClickInterval > ticks) {
    lastTicks = 0;
    return true;
  }
  lastTicks = ticks;
  return false;
}

}  // namespace Gui
