#include "plugin/gui/CViewContainer.h"

#include "plugin/gui/CBitmap.h"
#include "plugin/gui/CDrawContext.h"
#include "plugin/gui/CFrame.h"
#include "plugin/gui/COffscreenContext.h"

#include <cstring>

namespace Gui {

namespace {

// Right and bottom edges count as inside.
bool containsWithEdges(const CRect& rect, const CPoint& where) {
  return where.h >= rect.left && where.h <= rect.right && where.v >= rect.top && where.v <= rect.bottom;
}

}  // namespace

CViewContainer::CCView::CCView(CView* view) : pView(view) {
  pView->remember();
}

CViewContainer::CCView::~CCView() {
  pView->forget();
}

CViewContainer::ShiftedContext::ShiftedContext(CDrawContext* context, const CRect& size) : context(context) {
  if (!context) return;
  savedScreen = context->offsetScreen;
  savedOffset = context->offset;
  context->offsetScreen.offset(size.left, size.top);
  context->offset.offset(size.left, size.top);
}

CViewContainer::ShiftedContext::~ShiftedContext() {
  if (!context) return;
  context->offsetScreen = savedScreen;
  context->offset = savedOffset;
}

CViewContainer::CViewContainer(const CRect& size, CFrame* frame, CBitmap* background) : CView(size) {
  pParentFrame = frame;
  setBackground(background);
}

CViewContainer::~CViewContainer() {
  while (pFirstView) {
    CCView* node = pFirstView;
    pFirstView = node->pNext;
    node->pView->removed(this);
    node->pView->forget();
    delete node;
  }
  pLastView = nullptr;
  if (pOffscreenContext) pOffscreenContext->forget();
}

void CViewContainer::makeOffscreenContext() {
  pOffscreenContext = new COffscreenContext(pParentFrame, size.width(), size.height(), kBlackCColor);
}

void CViewContainer::draw(CDrawContext* context) {
  if (!context) return;
  if (bDrawInOffscreen && !pOffscreenContext) makeOffscreenContext();
  const bool offscreen = bDrawInOffscreen && pOffscreenContext;
  ShiftedContext shifted(offscreen ? nullptr : context, size);
  CDrawContext* target = offscreen ? pOffscreenContext : context;

  const CRect local(0, 0, size.width(), size.height());
  const CRect savedClip = context->getLocalClipRect();
  CRect oldClip = savedClip;
  if (offscreen && static_cast<const CView*>(pParentFrame) != this) oldClip.moveTo(0, 0);

  target->setClipRect(CRect(local).bound(oldClip));
  if (pBackground) {
    if (bTransparencyEnabled)
      pBackground->drawTransparent(target, local, backgroundOffset);
    else
      pBackground->draw(target, local, backgroundOffset);
  } else if (!bTransparencyEnabled) {
    target->setFillColor(backgroundColor);
    target->drawRect(local, kDrawFilled);
  }
  for (CCView* node = pFirstView; node; node = node->pNext) {
    CRect childSize;
    node->pView->getViewSize(childSize);
    target->setClipRect(childSize.bound(oldClip));
    node->pView->draw(target);
  }
  target->setClipRect(savedClip);

  if (offscreen) pOffscreenContext->copyFrom(context, size, CPoint(0, 0));
  bDirty = false;
}

void CViewContainer::drawRect(CDrawContext* context, const CRect& update) {
  if (!context) return;
  if (bDrawInOffscreen && !pOffscreenContext) makeOffscreenContext();
  const bool offscreen = bDrawInOffscreen && pOffscreenContext;
  ShiftedContext shifted(offscreen ? nullptr : context, size);
  CDrawContext* target = offscreen ? pOffscreenContext : context;

  const CRect updateArea = CRect(update).bound(size);
  const CRect clientArea = CRect(updateArea).offset(-size.left, -size.top);
  const CRect savedClip = context->getLocalClipRect();
  CRect oldClip = savedClip;
  if (offscreen && static_cast<const CView*>(pParentFrame) != this) oldClip.moveTo(0, 0);
  const CRect newClip = CRect(clientArea).bound(oldClip);
  target->setClipRect(newClip);

  drawBackgroundRect(target, clientArea);
  const bool scrolls = isTypeOf("CScrollContainer");
  for (CCView* node = pFirstView; node; node = node->pNext) {
    CView* child = node->pView;
    if (!child->checkUpdate(clientArea)) continue;
    CRect childSize;
    child->getViewSize(childSize);
    const CRect viewArea = CRect(childSize).bound(newClip);
    if (viewArea.width() == 0 || viewArea.height() == 0) continue;
    target->setClipRect(viewArea);
    const bool wasDirty = child->isDirty();
    child->drawRect(target, clientArea);
    if (wasDirty && viewArea != childSize && !scrolls) child->setDirty(true);
  }
  target->setClipRect(savedClip);

  if (offscreen) pOffscreenContext->copyFrom(context, updateArea, CPoint(clientArea.left, clientArea.top));
  bDirty = false;
}

void CViewContainer::drawBackgroundRect(CDrawContext* context, const CRect& rect) {
  if (pBackground) {
    const CRect oldClip = context->getLocalClipRect();
    context->setClipRect(CRect(rect).bound(oldClip));
    const CRect picture(0, 0, pBackground->getWidth(), pBackground->getHeight());
    if (bTransparencyEnabled)
      pBackground->drawTransparent(context, picture, backgroundOffset);
    else
      pBackground->draw(context, picture, backgroundOffset);
    context->setClipRect(oldClip);
  } else if (!bTransparencyEnabled) {
    context->setFillColor(backgroundColor);
    context->drawRect(rect, kDrawFilled);
  }
}

void CViewContainer::redrawRect(CDrawContext* context, const CRect& rect) {
  const CRect moved = CRect(rect).offset(size.left, size.top);
  if (bTransparencyEnabled) {
    if (pParentView)
      pParentView->redrawRect(context, moved);
    else if (pParentFrame)
      pParentFrame->drawRect(context, moved);
    return;
  }
  if (pParentView && context) {
    CPoint origin(0, 0);
    pParentView->localToFrame(origin);
    const CPoint savedScreen = context->offsetScreen;
    const CPoint savedOffset = context->offset;
    context->offsetScreen.offset(origin.h, origin.v);
    context->offset.offset(origin.h, origin.v);
    drawRect(context, moved);
    context->offsetScreen = savedScreen;
    context->offset = savedOffset;
    return;
  }
  drawRect(context, moved);
}

void CViewContainer::update(CDrawContext* context) {
  const CRect local(0, 0, size.width(), size.height());
  if (mode == kNormalUpdate) {
    if (isDirty()) {
      redrawRect(context, local);
      bDirty = false;
    }
    return;
  }
  if (mode != kOnlyDirtyUpdate) return;
  if (bDirty) {
    redrawRect(context, local);
    bDirty = false;
    return;
  }
  for (CCView* node = pFirstView; node; node = node->pNext) {
    CView* child = node->pView;
    if (!child->isDirty() || !child->checkUpdate(local)) continue;
    if (child->notify(this, kMsgCheckIfViewContainer) == kMessageNotified) {
      child->update(context);
    } else {
      CRect childSize;
      child->getViewSize(childSize);
      child->redrawRect(context, childSize.bound(local));
    }
  }
  bDirty = false;
}

bool CViewContainer::isDirty() const {
  if (bDirty) return true;
  const CRect local(0, 0, size.width(), size.height());
  for (CCView* node = pFirstView; node; node = node->pNext) {
    if (!node->pView->isDirty()) continue;
    CRect childSize;
    node->pView->getViewSize(childSize);
    childSize.bound(local);
    if (childSize.width() > 0 && childSize.height() > 0) return true;
  }
  return false;
}

void CViewContainer::mouse(CDrawContext* context, CPoint& where, long buttons) {
  CPoint local(where.h - size.left, where.v - size.top);
  if (buttons == -1 && context) buttons = context->getMouseButtons();
  for (CCView* node = pLastView; node; node = node->pPrevious) {
    CView* child = node->pView;
    if (child->getMouseEnabled() && child->hitTest(local, buttons)) {
      child->mouse(context, local, buttons);
      return;
    }
  }
}

bool CViewContainer::hitTestSubViews(const CPoint& where, long buttons) {
  for (CCView* node = pLastView; node; node = node->pPrevious) {
    if (node->pView->getMouseEnabled() && node->pView->hitTest(where, buttons)) return true;
  }
  return false;
}

bool CViewContainer::hitTest(const CPoint& where, long buttons) {
  return CView::hitTest(where, buttons);
}

long CViewContainer::onKeyDown(VstKeyCode& keyCode) {
  for (CCView* node = pLastView; node; node = node->pPrevious) {
    const long result = node->pView->onKeyDown(keyCode);
    if (result != -1) return result;
  }
  return -1;
}

long CViewContainer::onKeyUp(VstKeyCode& keyCode) {
  for (CCView* node = pLastView; node; node = node->pPrevious) {
    const long result = node->pView->onKeyUp(keyCode);
    if (result != -1) return result;
  }
  return -1;
}

bool CViewContainer::onWheel(CDrawContext* context, const CPoint& where, float distance) {
  return onWheel(context, where, kMouseWheelAxisY, distance);
}

bool CViewContainer::onWheel(CDrawContext* context, const CPoint& where, CMouseWheelAxis axis,
                             float distance) {
  CView* view = getViewAt(where, false);
  if (!view) return false;
  ShiftedContext shifted(context, size);
  const CPoint local(where.h - size.left, where.v - size.top);
  return view->onWheel(context, local, axis, distance);
}

CView* CViewContainer::getViewAt(const CPoint& where, bool deep) const {
  if (!pParentFrame) return nullptr;
  const CPoint local(where.h - size.left, where.v - size.top);
  for (CCView* node = pLastView; node; node = node->pPrevious) {
    CRect area;
    node->pView->getMouseableArea(area);
    if (!containsWithEdges(area, local)) continue;
    if (deep && node->pView->isTypeOf("CViewContainer"))
      return static_cast<CViewContainer*>(node->pView)->getViewAt(local, deep);
    return node->pView;
  }
  return nullptr;
}

CView* CViewContainer::getCurrentView() const {
  if (!pParentFrame) return nullptr;
  CPoint where;
  pParentFrame->getCurrentLocation(where);
  frameToLocal(where);
  for (CCView* node = pLastView; node; node = node->pPrevious) {
    CRect area;
    node->pView->getMouseableArea(area);
    if (containsWithEdges(area, where)) return node->pView;
  }
  return nullptr;
}

bool CViewContainer::advanceNextFocusView(CView* oldFocus, bool reverse) {
  CCView* node = reverse ? pLastView : pFirstView;
  if (oldFocus) {
    while (node && node->pView != oldFocus) node = reverse ? node->pPrevious : node->pNext;
    if (node) node = reverse ? node->pPrevious : node->pNext;
  }
  for (; node; node = reverse ? node->pPrevious : node->pNext) {
    CView* child = node->pView;
    if (child->wantsFocus()) {
      if (pParentFrame) pParentFrame->setFocusView(child);
      return true;
    }
    if (child->isTypeOf("CViewContainer") &&
        static_cast<CViewContainer*>(child)->advanceNextFocusView(nullptr, reverse))
      return true;
  }
  return false;
}

void CViewContainer::onDragEnter(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
  if (!pParentFrame) return;
  ShiftedContext shifted(context, size);
  const CPoint local(where.h - size.left, where.v - size.top);
  if (currentDragView) currentDragView->onDragLeave(context, drag, local);
  currentDragView = getViewAt(where, false);
  if (currentDragView) currentDragView->onDragEnter(context, drag, local);
}

void CViewContainer::onDragMove(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
  if (!pParentFrame) return;
  ShiftedContext shifted(context, size);
  const CPoint local(where.h - size.left, where.v - size.top);
  CView* view = getViewAt(where, false);
  if (view != currentDragView) {
    if (currentDragView) currentDragView->onDragLeave(context, drag, local);
    if (view) view->onDragEnter(context, drag, local);
    currentDragView = view;
  } else if (currentDragView) {
    currentDragView->onDragMove(context, drag, local);
  }
}

void CViewContainer::onDragLeave(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
  if (!pParentFrame) return;
  ShiftedContext shifted(context, size);
  const CPoint local(where.h - size.left, where.v - size.top);
  if (currentDragView) currentDragView->onDragLeave(context, drag, local);
  currentDragView = nullptr;
}

bool CViewContainer::onDrop(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
  if (!pParentFrame) return false;
  ShiftedContext shifted(context, size);
  const CPoint local(where.h - size.left, where.v - size.top);
  CView* view = getViewAt(where, false);
  if (view != currentDragView) {
    if (currentDragView) currentDragView->onDragLeave(context, drag, local);
    currentDragView = view;
  }
  bool taken = false;
  if (currentDragView) {
    taken = currentDragView->onDrop(context, drag, local);
    currentDragView->onDragLeave(context, drag, local);
  }
  currentDragView = nullptr;
  return taken;
}

void CViewContainer::looseFocus(CDrawContext* context) {
  for (CCView* node = pFirstView; node; node = node->pNext) node->pView->looseFocus(context);
}

void CViewContainer::takeFocus(CDrawContext* context) {
  for (CCView* node = pFirstView; node; node = node->pNext) node->pView->takeFocus(context);
}

void CViewContainer::setViewSize(const CRect& rect) {
  CView::setViewSize(rect);
  if (pOffscreenContext && bDrawInOffscreen) {
    pOffscreenContext->forget();
    makeOffscreenContext();
  }
}

bool CViewContainer::attached(CView* /*parent*/) {
  if (bDrawInOffscreen && !pOffscreenContext) makeOffscreenContext();
  return true;
}

bool CViewContainer::removed(CView* /*parent*/) {
  if (pOffscreenContext) pOffscreenContext->forget();
  pOffscreenContext = nullptr;
  return true;
}

void CViewContainer::useOffscreen(bool enabled) {
  bDrawInOffscreen = enabled;
  if (!enabled && pOffscreenContext) {
    pOffscreenContext->forget();
    pOffscreenContext = nullptr;
  }
}

CPoint& CViewContainer::frameToLocal(CPoint& point) const {
  point.offset(-size.left, -size.top);
  if (pParentView && pParentView->isTypeOf("CViewContainer")) return pParentView->frameToLocal(point);
  return point;
}

CPoint& CViewContainer::localToFrame(CPoint& point) const {
  point.offset(size.left, size.top);
  if (pParentView && pParentView->isTypeOf("CViewContainer")) return pParentView->localToFrame(point);
  return point;
}

long CViewContainer::notify(CView* /*sender*/, const char* message) {
  return message == kMsgCheckIfViewContainer ? kMessageNotified : kMessageUnknown;
}

bool CViewContainer::isTypeOf(const char* type) const {
  return std::strcmp(type, "CViewContainer") == 0 || CView::isTypeOf(type);
}

void CViewContainer::addView(CView* view, const CRect& mouseableArea, bool mouseEnabled) {
  if (!view) return;
  view->setMouseEnabled(mouseEnabled);
  view->setMouseableArea(mouseableArea);
  addView(view);
}

void CViewContainer::addView(CView* view) {
  if (!view) return;
  CCView* node = new CCView(view);
  view->setParentFrame(pParentFrame);
  view->setParentView(this);
  node->pPrevious = pLastView;
  if (pLastView)
    pLastView->pNext = node;
  else
    pFirstView = node;
  pLastView = node;
  view->attached(this);
  view->setDirty(true);
}

void CViewContainer::unlinkNode(CCView* node) {
  if (node->pPrevious)
    node->pPrevious->pNext = node->pNext;
  else
    pFirstView = node->pNext;
  if (node->pNext)
    node->pNext->pPrevious = node->pPrevious;
  else
    pLastView = node->pPrevious;
}

void CViewContainer::removeView(CView* view, bool withForget) {
  if (pParentFrame && view && pParentFrame->getFocusView() == view) pParentFrame->setFocusView(nullptr);
  CCView* node = pFirstView;
  while (node && node->pView != view) node = node->pNext;
  if (!node) return;
  if (currentDragView == view) currentDragView = nullptr;
  view->removed(this);
  if (withForget) view->forget();
  unlinkNode(node);
  delete node;
}

void CViewContainer::removeAll(bool withForget) {
  while (pFirstView) removeView(pFirstView->pView, withForget);
}

bool CViewContainer::isChild(CView* view) const {
  for (CCView* node = pFirstView; node; node = node->pNext) {
    if (node->pView == view) return true;
  }
  return false;
}

long CViewContainer::getNbViews() const {
  long count = 0;
  for (CCView* node = pFirstView; node; node = node->pNext) ++count;
  return count;
}

CView* CViewContainer::getView(long index) const {
  if (index < 0) return nullptr;
  CCView* node = pFirstView;
  for (; node && index > 0; --index) node = node->pNext;
  return node ? node->pView : nullptr;
}

void CViewContainer::setBackgroundColor(const CColor color) {
  backgroundColor = color;
  bDirty = true;
}

}  // namespace Gui
