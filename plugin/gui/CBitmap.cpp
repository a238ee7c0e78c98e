#include "plugin/gui/CBitmap.h"

#include "plugin/gui/BlendFunctions.h"
#include "plugin/gui/CDrawContext.h"
#include "plugin/gui/ToolkitModule.h"

#include <algorithm>

namespace Gui {

namespace {

// The picture selected into a memory device context for one drawing.
class SelectedPicture {
 public:
  SelectedPicture(HDC reference, HBITMAP picture)
      : memory(CreateCompatibleDC(reference)), previous(SelectObject(memory, picture)) {}
  ~SelectedPicture() {
    SelectObject(memory, previous);
    DeleteDC(memory);
  }
  SelectedPicture(const SelectedPicture&) = delete;
  SelectedPicture& operator=(const SelectedPicture&) = delete;

  HDC get() const { return memory; }

 private:
  HDC memory;
  HGDIOBJ previous;
};

// Leaves pixels whose mask bit is 1 as the destination was and copies the others from the picture; the
// destination's background and text colours turn the monochrome mask into white and black.
void maskedCopy(HDC destination, long x, long y, long w, long h, HDC picture, long ox, long oy, HDC mask,
                long mx, long my) {
  const COLORREF oldBackground = SetBkColor(destination, RGB(255, 255, 255));
  const COLORREF oldText = SetTextColor(destination, RGB(0, 0, 0));
  BitBlt(destination, x, y, w, h, picture, ox, oy, SRCINVERT);
  BitBlt(destination, x, y, w, h, mask, mx, my, SRCAND);
  BitBlt(destination, x, y, w, h, picture, ox, oy, SRCINVERT);
  SetBkColor(destination, oldBackground);
  SetTextColor(destination, oldText);
}

// One drawing of a picture: w by h pixels from the picture at (ox, oy) to the destination at (x, y).
struct Blit {
  long x, y, w, h, ox, oy;
};

// The drawing of rect, in the context's device coordinates, from the picture at offset.
Blit blitFor(const CDrawContext& context, const CRect& rect, const CPoint& offset) {
  return {rect.left + context.offset.h, rect.top + context.offset.v, rect.width(), rect.height(), offset.h, offset.v};
}

// Keeps the part of a drawing whose source lies inside a picture of width by height: a source that
// starts left of or above the picture moves the destination with it, and the size shrinks to what
// the picture holds. False when nothing is left; the rest of the destination stays as it was.
bool clipToPicture(Blit& blit, long width, long height) {
  if (blit.ox < 0) {
    blit.x -= blit.ox;
    blit.w += blit.ox;
    blit.ox = 0;
  }
  if (blit.oy < 0) {
    blit.y -= blit.oy;
    blit.h += blit.oy;
    blit.oy = 0;
  }
  blit.w = std::min(blit.w, width - blit.ox);
  blit.h = std::min(blit.h, height - blit.oy);
  return blit.w > 0 && blit.h > 0;
}

}  // namespace

CBitmap::CBitmap(long resourceID) : resourceID(resourceID) {
  loadFromResource(resourceID);
  transparentCColor = kTransparentCColor;
}

CBitmap::CBitmap(CFrame& /*frame*/, long width, long height) {
  HDC screen = GetDC(nullptr);
  pHandle = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  if (pHandle) {
    this->width = width;
    this->height = height;
    loaded = true;
  }
}

CBitmap::CBitmap() = default;

CBitmap::~CBitmap() {
  dispose();
}

void CBitmap::dispose() {
  if (pHandle) DeleteObject(pHandle);
  if (pMask) DeleteObject(pMask);
  pHandle = nullptr;
  pMask = nullptr;
  loaded = false;
  width = 0;
  height = 0;
}

bool CBitmap::loadFromResource(long id) {
  dispose();
  HBITMAP picture = LoadBitmapA(toolkitModule(), MAKEINTRESOURCEA(static_cast<WORD>(id)));
  if (!picture) return false;
  BITMAP info;
  if (GetObjectA(picture, sizeof(info), &info) != sizeof(info)) {
    DeleteObject(picture);
    return false;
  }
  pHandle = picture;
  width = info.bmWidth;
  height = info.bmHeight;
  loaded = true;
  return true;
}

bool CBitmap::loadFromPath(const void* /*platformPath*/) {
  dispose();
  return false;
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset) {
  if (!pHandle || !context) return;
  Blit blit = blitFor(*context, rect, offset);
  if (!clipToPicture(blit, width, height)) return;
  HDC destination = context->getSystemContext();
  SelectedPicture picture(destination, pHandle);
  BitBlt(destination, blit.x, blit.y, blit.w, blit.h, picture.get(), blit.ox, blit.oy, SRCCOPY);
}

void CBitmap::drawTransparent(CDrawContext* context, const CRect& rect, const CPoint& offset) {
  if (!pHandle || !context) return;
  Blit blit = blitFor(*context, rect, offset);
  if (!clipToPicture(blit, width, height)) return;
  HDC destination = context->getSystemContext();
  SelectedPicture picture(destination, pHandle);
  if (!pMask && transparentBltFunction) {
    transparentBltFunction(destination, blit.x, blit.y, blit.w, blit.h, picture.get(), blit.ox, blit.oy,
                           blit.w, blit.h, toWindowsColor(transparentCColor));
    return;
  }
  drawTransparentWithMask(destination, picture.get(), blit.x, blit.y, blit.w, blit.h, blit.ox, blit.oy);
}

void CBitmap::drawTransparentWithMask(HDC destination, HDC picture, long x, long y, long w, long h, long ox,
                                      long oy) {
  if (!pMask) {
    HDC maskContext = CreateCompatibleDC(destination);
    HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
    HGDIOBJ previous = SelectObject(maskContext, mask);
    const COLORREF oldPictureBackground = SetBkColor(picture, toWindowsColor(transparentCColor));
    BitBlt(maskContext, 0, 0, w, h, picture, ox, oy, SRCCOPY);
    SetBkColor(picture, oldPictureBackground);
    maskedCopy(destination, x, y, w, h, picture, ox, oy, maskContext, 0, 0);
    SelectObject(maskContext, previous);
    DeleteObject(mask);
    DeleteDC(maskContext);
    return;
  }
  // With a stored mask the three passes run in a scratch copy of the destination.
  HDC scratchContext = CreateCompatibleDC(destination);
  HBITMAP scratch = CreateCompatibleBitmap(destination, w, h);
  HGDIOBJ previousScratch = SelectObject(scratchContext, scratch);
  SelectedPicture mask(destination, pMask);
  BitBlt(scratchContext, 0, 0, w, h, destination, x, y, SRCCOPY);
  maskedCopy(scratchContext, 0, 0, w, h, picture, ox, oy, mask.get(), ox, oy);
  BitBlt(destination, x, y, w, h, scratchContext, 0, 0, SRCCOPY);
  SelectObject(scratchContext, previousScratch);
  DeleteObject(scratch);
  DeleteDC(scratchContext);
}

void CBitmap::drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& offset,
                             unsigned char alpha) {
  if (!pHandle || !context || alpha == 0) return;
  if (!alphaBlendFunction) {
    // Without the system's blending any visible opacity shows the picture itself.
    draw(context, rect, offset);
    return;
  }
  Blit blit = blitFor(*context, rect, offset);
  if (!clipToPicture(blit, width, height)) return;
  HDC destination = context->getSystemContext();
  SelectedPicture picture(destination, pHandle);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, 0};
  alphaBlendFunction(destination, blit.x, blit.y, blit.w, blit.h, picture.get(), blit.ox, blit.oy, blit.w,
                     blit.h, blend);
}

void CBitmap::setTransparencyMask(CDrawContext* context, const CPoint& offset) {
  if (!context || width <= 0 || height <= 0) return;
  if (pMask) DeleteObject(pMask);
  HDC source = context->getSystemContext();
  HDC maskContext = CreateCompatibleDC(source);
  pMask = CreateBitmap(width, height, 1, 1, nullptr);
  HGDIOBJ previous = SelectObject(maskContext, pMask);
  const COLORREF oldBackground = SetBkColor(source, toWindowsColor(transparentCColor));
  BitBlt(maskContext, 0, 0, width, height, source, offset.h + context->offset.h, offset.v + context->offset.v,
         SRCCOPY);
  SetBkColor(source, oldBackground);
  SelectObject(maskContext, previous);
  DeleteDC(maskContext);
}

}  // namespace Gui
