#include "plugin/gui/CView.h"

#include "plugin/gui/CBitmap.h"
#include "plugin/gui/CDrawContext.h"
#include "plugin/gui/CFrame.h"

#include <algorithm>
#include <cstring>

namespace Gui {

const char* const kMsgCheckIfViewContainer = "kMsgCheckIfViewContainer";

CView::CView(const CRect& size) : size(size), mouseableArea(size) {}

CView::~CView() {
  if (pBackground) pBackground->forget();
}

void CView::draw(CDrawContext* context) {
  if (pBackground) {
    if (bTransparencyEnabled)
      pBackground->drawTransparent(context, size);
    else
      pBackground->draw(context, size);
  }
  setDirty(false);
}

void CView::drawRect(CDrawContext* context, const CRect& /*update*/) {
  draw(context);
}

bool CView::checkUpdate(const CRect& update) {
  return update.rectOverlap(size);
}

void CView::mouse(CDrawContext* /*context*/, CPoint& /*where*/, long /*buttons*/) {}

void CView::setBackground(CBitmap* background) {
  if (pBackground) pBackground->forget();
  pBackground = background;
  if (pBackground) pBackground->remember();
  setDirty(true);
}

long CView::onKeyDown(VstKeyCode& /*keyCode*/) {
  return -1;
}

long CView::onKeyUp(VstKeyCode& /*keyCode*/) {
  return -1;
}

bool CView::onWheel(CDrawContext* context, const CPoint& where, CMouseWheelAxis /*axis*/, float distance) {
  return onWheel(context, where, distance);
}

bool CView::onWheel(CDrawContext* /*context*/, const CPoint& /*where*/, float /*distance*/) {
  return false;
}

bool CView::onDrop(CDrawContext* /*context*/, CDragContainer* /*drag*/, const CPoint& /*where*/) {
  return false;
}

void CView::onDragEnter(CDrawContext* /*context*/, CDragContainer* /*drag*/, const CPoint& /*where*/) {}

void CView::onDragLeave(CDrawContext* /*context*/, CDragContainer* /*drag*/, const CPoint& /*where*/) {}

void CView::onDragMove(CDrawContext* /*context*/, CDragContainer* /*drag*/, const CPoint& /*where*/) {}

void CView::looseFocus(CDrawContext* /*context*/) {}

void CView::takeFocus(CDrawContext* /*context*/) {}

CRect& CView::getMouseableArea(CRect& rect) const {
  rect = mouseableArea;
  return rect;
}

bool CView::hitTest(const CPoint& where, long /*buttons*/) {
  return where.h >= mouseableArea.left && where.h <= mouseableArea.right && where.v >= mouseableArea.top &&
         where.v <= mouseableArea.bottom;
}

void CView::setViewSize(const CRect& rect) {
  size = rect;
  setDirty(true);
}

CRect& CView::getViewSize(CRect& rect) const {
  rect = size;
  return rect;
}

bool CView::removed(CView* /*parent*/) {
  return true;
}

bool CView::attached(CView* /*parent*/) {
  return true;
}

void CView::getMouseLocation(CDrawContext* context, CPoint& point) {
  if (!context) return;
  if (pParentView && pParentView->notify(this, kMsgCheckIfViewContainer) == kMessageNotified) {
    CRect parentSize;
    pParentView->getViewSize(parentSize);
    const CPoint savedScreen = context->offsetScreen;
    const CPoint savedOffset = context->offset;
    context->offsetScreen.offset(parentSize.left, parentSize.top);
    context->offset.offset(parentSize.left, parentSize.top);
    pParentView->getMouseLocation(context, point);
    context->offsetScreen = savedScreen;
    context->offset = savedOffset;
    return;
  }
  context->getMouseLocation(point);
}

CPoint& CView::frameToLocal(CPoint& point) const {
  if (pParentView && pParentView->isTypeOf("CViewContainer")) return pParentView->frameToLocal(point);
  return point;
}

CPoint& CView::localToFrame(CPoint& point) const {
  if (pParentView && pParentView->isTypeOf("CViewContainer")) return pParentView->localToFrame(point);
  return point;
}

AEffGUIEditor* CView::getEditor() const {
  return pParentFrame ? pParentFrame->getEditor() : nullptr;
}

long CView::notify(CView* /*sender*/, const char* /*message*/) {
  return kMessageUnknown;
}

void CView::redrawRect(CDrawContext* context, const CRect& rect) {
  if (pParentView)
    pParentView->redrawRect(context, rect);
  else if (pParentFrame)
    pParentFrame->drawRect(context, rect);
}

bool CView::isTypeOf(const char* type) const {
  return std::strcmp(type, "CView") == 0;
}

void CView::update(CDrawContext* context) {
  if (!isDirty()) return;
  if (context)
    redrawRect(context, size);
  else if (pParentFrame)
    pParentFrame->draw(this);
  setDirty(false);
}

void CView::redraw() {
  if (pParentFrame) pParentFrame->draw(this);
}

bool CView::getAttributeSize(long id, long& outSize) const {
  const auto found = std::find_if(pAttributeList.begin(), pAttributeList.end(),
                                  [id](const Attribute& attribute) { return attribute.id == id; });
  if (found == pAttributeList.end()) return false;
  outSize = static_cast<long>(found->data.size());
  return true;
}

bool CView::getAttribute(long id, long inSize, void* outData, long& outSize) const {
  const auto found = std::find_if(pAttributeList.begin(), pAttributeList.end(),
                                  [id](const Attribute& attribute) { return attribute.id == id; });
  if (found == pAttributeList.end() || inSize < static_cast<long>(found->data.size())) return false;
  outSize = static_cast<long>(found->data.size());
  if (outSize > 0) std::memcpy(outData, found->data.data(), found->data.size());
  return true;
}

bool CView::setAttribute(long id, long inSize, const void* inData) {
  if (inSize < 0 || (inSize > 0 && !inData)) return false;
  const char* bytes = static_cast<const char*>(inData);
  const auto found = std::find_if(pAttributeList.begin(), pAttributeList.end(),
                                  [id](const Attribute& attribute) { return attribute.id == id; });
  if (found == pAttributeList.end()) {
    pAttributeList.push_back(Attribute{id, std::vector<char>(bytes, bytes + inSize)});
    return true;
  }
  if (static_cast<long>(found->data.size()) < inSize) return false;
  found->data.assign(bytes, bytes + inSize);
  return true;
}

}  // namespace Gui
