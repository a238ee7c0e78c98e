#include "plugin/gui/COffscreenContext.h"

#include "plugin/gui/CBitmap.h"
#include "plugin/gui/CFrame.h"

#include <algorithm>

namespace Gui {

namespace {

// A device context compatible with the given window's (the screen's for none).
HDC compatibleContextOf(HWND window) {
  HDC windowContext = GetDC(window);
  HDC memory = CreateCompatibleDC(windowContext);
  ReleaseDC(window, windowContext);
  return memory;
}

HBITMAP compatibleBitmapOf(HWND window, long width, long height) {
  HDC windowContext = GetDC(window);
  HBITMAP bitmap = CreateCompatibleBitmap(windowContext, width, height);
  ReleaseDC(window, windowContext);
  return bitmap;
}

}  // namespace

COffscreenContext::COffscreenContext(CFrame* frame, long width, long height, const CColor backgroundColor)
    : CDrawContext(frame, nullptr, nullptr),
      height(height),
      width(width),
      bDestroyPixmap(true),
      backgroundColor(backgroundColor) {
  clipRect = CRect(std::min(0L, width), std::min(0L, height), std::max(0L, width), std::max(0L, height));
  HWND window = frame ? frame->getWindowHandle() : nullptr;
  pixmap = compatibleBitmapOf(window, width, height);
  attachDeviceContext(compatibleContextOf(window));
  oldBitmap = SelectObject(pSystemContext, pixmap);

  setFillColor(backgroundColor);
  setFrameColor(backgroundColor);
  const CRect whole(0, 0, width, height);
  fillRect(whole);
  drawRect(whole, kDrawStroked);
}

COffscreenContext::COffscreenContext(CDrawContext* context, CBitmap* bitmap, bool drawInBitmap)
    : CDrawContext(context ? context->getFrame() : nullptr, nullptr, nullptr), pBitmapBg(bitmap) {
  width = bitmap ? bitmap->getWidth() : 20;
  height = bitmap ? bitmap->getHeight() : 20;
  clipRect = CRect(0, 0, width, height);
  HDC reference = context ? context->getSystemContext() : nullptr;
  HDC screen = reference ? nullptr : GetDC(nullptr);
  HDC memory = CreateCompatibleDC(reference ? reference : screen);
  if (drawInBitmap && bitmap && bitmap->getHandle()) {
    pixmap = bitmap->getHandle();
    bDestroyPixmap = false;
  } else {
    pixmap = CreateCompatibleBitmap(reference ? reference : screen, width, height);
    bDestroyPixmap = true;
  }
  if (screen) ReleaseDC(nullptr, screen);
  attachDeviceContext(memory);
  oldBitmap = SelectObject(pSystemContext, pixmap);
  if (bDestroyPixmap) {
    if (bitmap && bitmap->getHandle()) {
      bitmap->draw(this, CRect(0, 0, width, height));
    } else {
      setFillColor(kBlackCColor);
      drawRect(CRect(0, 0, width, height), kDrawFilled);
    }
  }
}

COffscreenContext::~COffscreenContext() {
  if (pBitmap) pBitmap->forget();
  HDC memory = pSystemContext;
  detachDeviceContext();
  if (memory) {
    SelectObject(memory, oldBitmap);
    DeleteDC(memory);
  }
  pSystemContext = nullptr;
  if (bDestroyPixmap && pixmap) DeleteObject(pixmap);
}

void COffscreenContext::copyFrom(CDrawContext* destination, CRect destRect, CPoint srcOffset) {
  if (!destination) return;
  BitBlt(destination->getSystemContext(), destRect.left + destination->offset.h,
         destRect.top + destination->offset.v, destRect.width(), destRect.height(), pSystemContext,
         srcOffset.h, srcOffset.v, SRCCOPY);
}

void COffscreenContext::copyTo(CDrawContext* source, CRect& srcRect, CPoint destOffset) {
  if (!source) return;
  BitBlt(pSystemContext, destOffset.h, destOffset.v, srcRect.width(), srcRect.height(),
         source->getSystemContext(), srcRect.left + source->offset.h, srcRect.top + source->offset.v,
         SRCCOPY);
}

}  // namespace Gui
