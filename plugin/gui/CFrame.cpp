#include "plugin/gui/CFrame.h"

#include "plugin/framework/AudioEffectExtended.h"
#include "plugin/gui/AEffGUIEditor.h"
#include "plugin/gui/BlendFunctions.h"
#include "plugin/gui/CDrawContext.h"
#include "plugin/gui/CDropTarget.h"
#include "plugin/gui/CFocusWindowMessages.h"
#include "plugin/gui/COffscreenContext.h"
#include "plugin/gui/FrameWindowClass.h"
#include "plugin/gui/ToolkitModule.h"

#include <ole2.h>

#include <cstdlib>
#include <cstring>

namespace Gui {

namespace {

constexpr long kOuterWindowSlack = 60;  // a parent this much larger holds more than the editor
constexpr long kWindowChainSlack = 80;  // extra size beyond which the window chain is left alone
constexpr unsigned char kTabKey = 2;    // VST virtual key of Tab

long widthOf(const RECT& rect) {
  return rect.right - rect.left;
}
long heightOf(const RECT& rect) {
  return rect.bottom - rect.top;
}

void resizeWindow(HWND window, long width, long height) {
  SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

CFrame::CFrame(const CRect& size, HWND pSystemWindow, AEffGUIEditor* pEditor)
    : CViewContainer(size, nullptr, nullptr), pEditor(pEditor), pSystemWindow(pSystemWindow) {
  pParentFrame = this;
  loadBlendFunctions();
  initFrame(pSystemWindow);
}

CFrame::CFrame(const CRect& size, const char* /*title*/, AEffGUIEditor* pEditor, long /*style*/)
    : CViewContainer(size, nullptr, nullptr), pEditor(pEditor), pSystemWindow(nullptr) {
  pParentFrame = this;
  bOpenFlag = false;
  bAddedWindow = true;
  loadBlendFunctions();
}

CFrame::~CFrame() {
  setModalView(nullptr);
  if (!defaultCursorSaved) defaultCursor = GetCursor();
  SetCursor(defaultCursor);
  if (bDropActive && pHwnd) {
    RevokeDragDrop(pHwnd);
    pDropTarget = nullptr;
  }
  bDropActive = false;
  if (pFrameContext) pFrameContext->forget();
  if (pBackBuffer) pBackBuffer->forget();
  if (hMsimg32) {
    FreeLibrary(hMsimg32);
    // The entry points must not outlive the library.
    if (!GetModuleHandleA("msimg32.dll")) {
      alphaBlendFunction = nullptr;
      transparentBltFunction = nullptr;
    }
  }
  if (pHwnd) {
    SetWindowLongPtrA(pHwnd, GWLP_USERDATA, 0);
    DestroyWindow(pHwnd);
    FrameWindowClass::release();
  }
  if (bAddedWindow && bOpenFlag) pSystemWindow = nullptr;
}

void CFrame::loadBlendFunctions() {
  alphaBlendFunction = nullptr;
  transparentBltFunction = nullptr;
  hMsimg32 = LoadLibraryA("msimg32.dll");
  if (!hMsimg32) return;
  alphaBlendFunction =
      reinterpret_cast<AlphaBlendFunction>(reinterpret_cast<void*>(GetProcAddress(hMsimg32, "AlphaBlend")));
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
  if (GetVersionExA(&version) && version.dwPlatformId >= VER_PLATFORM_WIN32_NT)
    transparentBltFunction = reinterpret_cast<TransparentBltFunction>(
        reinterpret_cast<void*>(GetProcAddress(hMsimg32, "TransparentBlt")));
}

bool CFrame::initFrame(HWND parentWindow) {
  if (!parentWindow || pHwnd) return false;
  if (!FrameWindowClass::acquire(&CFrame::windowProcedure)) return false;
  pHwnd = CreateWindowExA(0, FrameWindowClass::name(), "Window",
                          WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, size.width(),
                          size.height(), parentWindow, nullptr, toolkitModule(), nullptr);
  if (!pHwnd) {
    FrameWindowClass::release();
    return false;
  }
  SetWindowLongPtrA(pHwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  setDropActive(true);
  return true;
}

bool CFrame::open(CPoint* /*position*/) {
  if (!bAddedWindow) return false;
  if (bOpenFlag) {
    HWND grandparent = pHwnd ? GetParent(GetParent(pHwnd)) : nullptr;
    if (grandparent) BringWindowToTop(grandparent);
    return false;
  }
  bOpenFlag = initFrame(pSystemWindow);
  return bOpenFlag;
}

bool CFrame::close() {
  if (!bAddedWindow || !bOpenFlag || !pSystemWindow) return false;
  pSystemWindow = nullptr;
  return true;
}

bool CFrame::isTypeOf(const char* type) const {
  return std::strcmp(type, "CFrame") == 0 || CViewContainer::isTypeOf(type);
}

void CFrame::setViewSize(const CRect& rect) {
  setSize(rect.width(), rect.height());
}

// Drawing.

void CFrame::draw(CDrawContext* context) {
  bFirstDraw = false;
  if (!context) context = pFrameContext;
  if (context) CViewContainer::draw(context);
}

void CFrame::drawRect(CDrawContext* context, const CRect& update) {
  bFirstDraw = false;
  CDrawContext* owned = nullptr;
  if (!context) context = owned = new CDrawContext(this, nullptr, pHwnd);
  const CRect oldClip = context->getLocalClipRect();
  context->setClipRect(CRect(update).bound(oldClip));
  if (update.width() > 0 && update.height() > 0) CViewContainer::drawRect(context, update);
  context->setClipRect(oldClip);
  if (owned) owned->forget();
}

void CFrame::draw(CView* view) {
  if (!pHwnd && !pFrameContext) return;
  CDrawContext* context = pFrameContext;
  if (context)
    context->remember();
  else
    context = new CDrawContext(this, nullptr, pHwnd);
  if (view && isChild(view))
    view->draw(context);
  else
    draw(context);
  context->forget();
}

void CFrame::idle() {
  if (!bOpenFlag || bFirstDraw || !isDirty()) return;
  CDrawContext* context = pFrameContext;
  if (context)
    context->remember();
  else
    context = new CDrawContext(this, nullptr, pHwnd);
  update(context);
  context->forget();
}

void CFrame::update(CDrawContext* context) {
  if (!bOpenFlag || bUpdatesDisabled || !context) return;
  if (bDirty) {
    draw(context);
    bDirty = false;
    return;
  }
  const CRect oldClip = context->getLocalClipRect();
  if (pModalView && pModalView->isDirty()) pModalView->update(context);
  for (CCView* node = pFirstView; node; node = node->pNext) {
    CRect childSize;
    node->pView->getViewSize(childSize);
    context->setClipRect(childSize.bound(oldClip));
    node->pView->update(context);
  }
  context->setClipRect(oldClip);
}

void CFrame::invalidate(const CRect& rect) {
  for (CCView* node = pFirstView; node; node = node->pNext) {
    CRect childSize;
    node->pView->getViewSize(childSize);
    if (childSize.rectOverlap(rect)) node->pView->setDirty(true);
  }
}

bool CFrame::setUpdatesDisabled(bool disabled) {
  const bool previous = bUpdatesDisabled;
  bUpdatesDisabled = disabled;
  return previous;
}

// Mouse, keys and wheel.

void CFrame::mouse(CDrawContext* context, CPoint& where, long buttons) {
  if (!context) context = pFrameContext;
  if (pFocusView) setFocusView(nullptr);
  if (buttons == -1 && context) buttons = context->getMouseButtons();
  if (pModalView) {
    if (pModalView->hitTest(where, buttons)) pModalView->mouse(context, where, buttons);
    return;
  }
  CViewContainer::mouse(context, where, buttons);
}

long CFrame::onKeyDown(VstKeyCode& keyCode) {
  long result = pFocusView ? pFocusView->onKeyDown(keyCode) : -1;
  if (result == -1 && pModalView) result = pModalView->onKeyDown(keyCode);
  if (result == -1 && keyCode.virt == kTabKey)
    result = advanceNextFocusView(pFocusView, (keyCode.modifier & MODIFIER_SHIFT) != 0) ? 1 : -1;
  return result;
}

long CFrame::onKeyUp(VstKeyCode& keyCode) {
  long result = pFocusView ? pFocusView->onKeyUp(keyCode) : -1;
  if (result == -1 && pModalView) result = pModalView->onKeyUp(keyCode);
  return result;
}

bool CFrame::onWheel(CDrawContext* context, const CPoint& where, float distance) {
  return onWheel(context, where, kMouseWheelAxisY, distance);
}

bool CFrame::onWheel(CDrawContext* context, const CPoint& where, CMouseWheelAxis axis, float distance) {
  CView* target = pModalView ? pModalView : getViewAt(where, false);
  if (!target) return false;
  CDrawContext* owned = nullptr;
  if (!context) context = owned = new CDrawContext(this, nullptr, pHwnd);
  const bool taken = target->onWheel(context, where, axis, distance);
  if (owned) owned->forget();
  return taken;
}

CView* CFrame::getCurrentView() const {
  return pModalView ? pModalView : CViewContainer::getCurrentView();
}

// Focus and modal view.

bool CFrame::advanceNextFocusView(CView* oldFocus, bool reverse) {
  if (pModalView) return false;
  if (!oldFocus) oldFocus = pFocusView;
  if (!oldFocus) return CViewContainer::advanceNextFocusView(nullptr, reverse);
  if (isChild(oldFocus)) {
    if (CViewContainer::advanceNextFocusView(oldFocus, reverse)) return true;
    setFocusView(nullptr);
    return false;
  }
  // The focus lies deeper: each enclosing container first, then the frame after the enclosing child.
  CView* child = oldFocus;
  CView* parent = oldFocus->getParentView();
  while (parent && parent != this && parent->isTypeOf("CViewContainer")) {
    if (static_cast<CViewContainer*>(parent)->advanceNextFocusView(child, reverse)) return true;
    child = parent;
    parent = parent->getParentView();
  }
  return CViewContainer::advanceNextFocusView(child, reverse);
}

void CFrame::setFocusView(CView* view) {
  CView* previous = pFocusView;
  pFocusView = view;
  if (view && view->wantsFocus()) view->setDirty(true);
  if (previous && previous != view) {
    previous->looseFocus(nullptr);
    if (previous->wantsFocus()) previous->setDirty(true);
  }
}

bool CFrame::setModalView(CView* view) {
  if (view && pModalView) return false;
  if (CView* closed = pModalView) {
    pModalView = nullptr;
    CViewContainer::removeView(closed, false);
  }
  pModalView = view;
  if (view) addView(view);
  return true;
}

void CFrame::removeView(CView* view, bool withForget) {
  if (view && view == pModalView) {
    setModalView(nullptr);
    return;
  }
  CViewContainer::removeView(view, withForget);
}

// Editor connections.

void CFrame::doIdleStuff() {
  if (pEditor) pEditor->doIdleStuff();
}

unsigned long CFrame::getTicks() const {
  return pEditor ? pEditor->getTicks() : 0;
}

long CFrame::getKnobMode() const {
  return AEffGUIEditor::getKnobMode();
}

void CFrame::beginEdit(long index) {
  if (pEditor) pEditor->beginEdit(index);
}

void CFrame::endEdit(long index) {
  if (pEditor) pEditor->endEdit(index);
}

// Window geometry.

bool CFrame::setPosition(long /*x*/, long /*y*/) {
  return false;
}

HWND CFrame::getOuterWindow() const {
  RECT frameRect;
  if (!pHwnd || !GetWindowRect(pHwnd, &frameRect)) return nullptr;
  for (HWND window = pHwnd; window; window = GetParent(window)) {
    HWND parent = GetParent(window);
    if ((GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION || !parent) return window;
    RECT parentRect;
    GetWindowRect(parent, &parentRect);
    if (std::labs(widthOf(parentRect) - widthOf(frameRect)) > kOuterWindowSlack ||
        std::labs(heightOf(parentRect) - heightOf(frameRect)) > kOuterWindowSlack)
      return window;
  }
  return nullptr;
}

bool CFrame::getPosition(long& x, long& y) const {
  if (!bOpenFlag) return false;
  HWND outer = getOuterWindow();
  if (!outer) return false;
  RECT outerRect;
  GetWindowRect(outer, &outerRect);
  POINT corner{outerRect.left, outerRect.top};
  if (HWND parent = GetParent(outer)) ScreenToClient(parent, &corner);
  x = corner.x;
  y = corner.y;
  return true;
}

bool CFrame::getSize(CRect& rect) const {
  return getSize(&rect);
}

bool CFrame::getSize(CRect* rect) const {
  if (!bOpenFlag || !pHwnd || !rect) return false;
  HWND parent = GetParent(pHwnd);
  RECT parentRect;
  if (!parent || !GetWindowRect(parent, &parentRect)) return false;
  POINT corner{parentRect.left, parentRect.top};
  if (HWND grandparent = GetParent(parent)) ScreenToClient(grandparent, &corner);
  *rect = CRect(corner.x, corner.y, corner.x + widthOf(parentRect), corner.y + heightOf(parentRect));
  return true;
}

bool CFrame::setSize(long width, long height) {
  if (!bOpenFlag || (width == size.width() && height == size.height())) return false;
  if (pBackBuffer) pBackBuffer->forget();
  pBackBuffer = nullptr;

  auto* effect = dynamic_cast<AudioEffectX*>(pEditor ? pEditor->getEffect() : nullptr);
  char capability[] = "sizeWindow";
  if (effect && effect->canHostDo(capability) != 0 && effect->sizeWindow(width, height)) {
    size = CRect(size.left, size.top, size.left + width, size.top + height);
    if (pHwnd) resizeWindow(pHwnd, width, height);
  } else if (resizeWindowChain(width, height)) {
    size = CRect(0, 0, width, height);
  }
  // Whichever way the window was resized, the cached image must match the new size.
  setDirty(true);
  if (bDrawInOffscreen && pOffscreenContext) {
    pOffscreenContext->forget();
    makeOffscreenContext();
  }
  return true;
}

bool CFrame::resizeWindowChain(long width, long height) {
  size.right = size.left + width;
  size.bottom = size.top + height;
  const long frameBorder = 2 * GetSystemMetrics(SM_CYFIXEDFRAME);
  long extraWidth = 0;
  long extraHeight = 0;
  HWND window = pHwnd;
  while (extraWidth != frameBorder && window) {
    HWND parent = GetParent(window);
    if (!parent) break;
    char className[32] = {0};
    GetClassNameA(parent, className, sizeof(className));
    if (std::strcmp(className, "MDIClient") == 0) break;
    RECT windowRect;
    RECT parentRect;
    GetWindowRect(window, &windowRect);
    GetWindowRect(parent, &parentRect);
    resizeWindow(window, width + extraWidth, height + extraHeight);
    extraWidth += widthOf(parentRect) - widthOf(windowRect);
    extraHeight += heightOf(parentRect) - heightOf(windowRect);
    if (extraWidth > kWindowChainSlack || extraHeight > kWindowChainSlack) return false;
    if (extraWidth < 0) extraWidth = 0;
    if (extraHeight < 0) extraHeight = 0;
    window = parent;
  }
  if (window) resizeWindow(window, width + extraWidth, height + extraHeight);
  return true;
}

bool CFrame::getCurrentLocation(CPoint& where) {
  POINT cursor{0, 0};
  GetCursorPos(&cursor);
  RECT windowRect{0, 0, 0, 0};
  if (pHwnd) GetWindowRect(pHwnd, &windowRect);
  where = CPoint(cursor.x - windowRect.left, cursor.y - windowRect.top);
  return true;
}

void CFrame::setCursor(CCursorType type) {
  if (!defaultCursorSaved) {
    defaultCursor = GetCursor();
    defaultCursorSaved = true;
  }
  const char* shape = nullptr;
  switch (type) {
    case kCursorWait:
      shape = IDC_WAIT;
      break;
    case kCursorHSize:
      shape = IDC_SIZEWE;
      break;
    case kCursorVSize:
      shape = IDC_SIZENS;
      break;
    case kCursorSizeAll:
      shape = IDC_SIZEALL;
      break;
    case kCursorNESWSize:
      shape = IDC_SIZENESW;
      break;
    case kCursorNWSESize:
      shape = IDC_SIZENWSE;
      break;
    case kCursorNotAllowed:
      shape = IDC_NO;
      break;
    case kCursorHand:
      shape = IDC_HAND;
      break;
    default:
      break;
  }
  SetCursor(shape ? LoadCursorA(nullptr, shape) : defaultCursor);
}

// Drag and drop.

bool CFrame::setDropActive(bool active) {
  if (!bDropActive && !active) return true;
  if (!pHwnd) return false;
  if (bDropActive) RevokeDragDrop(pHwnd);
  pDropTarget = nullptr;
  bDropActive = false;
  if (!active) return true;
  auto* target = new CDropTarget(this);
  target->AddRef();
  const bool registered = RegisterDragDrop(pHwnd, target) == S_OK;
  target->Release();  // OLE keeps its own reference while registered; a failed target goes here
  if (!registered) return false;
  pDropTarget = target;
  bDropActive = true;
  return true;
}

// The window.

LRESULT CFrame::paint(HWND window) {
  PAINTSTRUCT paintInfo;
  HDC deviceContext = BeginPaint(window, &paintInfo);
  const CRect update(paintInfo.rcPaint.left, paintInfo.rcPaint.top, paintInfo.rcPaint.right,
                     paintInfo.rcPaint.bottom);
  if (pBackBuffer) {
    drawRect(pBackBuffer, update);
    CDrawContext windowContext(this, deviceContext, window);
    pBackBuffer->copyFrom(&windowContext, update, CPoint(update.left, update.top));
  } else {
    auto* context = new CDrawContext(this, deviceContext, window);
    drawRect(context, update);
    context->forget();
  }
  EndPaint(window, &paintInfo);
  return 0;
}

LRESULT CFrame::measureItem(MEASUREITEMSTRUCT* item) {
  auto* target = dynamic_cast<CFocusWindowMessages*>(pFocusView);
  if (target) {
    CDrawContext context(this, nullptr, pHwnd);
    CPoint itemSize;
    if (target->getMenuItemSize(reinterpret_cast<const char*>(item->itemData), &context, itemSize)) {
      item->itemWidth = static_cast<UINT>(itemSize.h);
      item->itemHeight = static_cast<UINT>(itemSize.v);
    }
  }
  return TRUE;
}

LRESULT CFrame::drawItem(DRAWITEMSTRUCT* item) {
  auto* target = dynamic_cast<CFocusWindowMessages*>(pFocusView);
  if (target) {
    long state = 0;
    if (item->itemState & ODS_CHECKED) state |= 1;
    if (item->itemState & (ODS_GRAYED | ODS_DISABLED)) state |= 2;
    if (item->itemState & ODS_SELECTED) state |= 4;
    const CRect rect(item->rcItem.left, item->rcItem.top, item->rcItem.right, item->rcItem.bottom + 1);
    CDrawContext context(this, item->hDC, nullptr);
    target->drawMenuItem(reinterpret_cast<const char*>(item->itemData), static_cast<long>(item->itemID),
                         state, &context, rect);
  }
  return TRUE;
}

LRESULT CFrame::colourEditField(HDC deviceContext) {
  auto* target = dynamic_cast<CFocusWindowMessages*>(pFocusView);
  return target ? reinterpret_cast<LRESULT>(target->colourEditField(deviceContext)) : 0;
}

LRESULT CALLBACK CFrame::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* frame = reinterpret_cast<CFrame*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!frame) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      CDrawContext context(frame, nullptr, window);
      CPoint where(LOWORD(lParam), HIWORD(lParam));
      frame->mouse(&context, where, -1);
      return 0;
    }
    case WM_MOUSEWHEEL: {
      {
        CDrawContext context(frame, nullptr, window);
        CPoint where;
        frame->getCurrentLocation(where);
        const float distance = static_cast<short>(HIWORD(wParam)) / 120.0f;
        frame->onWheel(&context, where, distance);
      }
      return DefWindowProcA(window, message, wParam, lParam);
    }
    case WM_PAINT:
      if (GetUpdateRect(window, nullptr, FALSE)) return frame->paint(window);
      break;
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item && item->CtlType == ODT_MENU && item->itemData) return frame->measureItem(item);
      break;
    }
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (item && item->CtlType == ODT_MENU && item->itemData) return frame->drawItem(item);
      break;
    }
    case WM_CTLCOLOREDIT:
      if (frame->pFocusView) {
        if (LRESULT brush = frame->colourEditField(reinterpret_cast<HDC>(wParam))) return brush;
      }
      break;
    case WM_DESTROY:
      frame->setOpenFlag(false);
      frame->pSystemWindow = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace Gui
