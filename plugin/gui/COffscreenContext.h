#pragma once

#include "plugin/gui/CDrawContext.h"

namespace Gui {

class CBitmap;

// A drawing context on a memory bitmap of its own, copied to a window context in one block transfer.
class COffscreenContext : public CDrawContext {
 public:
  // A memory image of width by height filled with the background colour.
  COffscreenContext(CFrame* frame, long width, long height, const CColor backgroundColor = kBlackCColor);
  // A memory image of the bitmap's size (20 by 20 without one): drawing goes straight into the bitmap's
  // picture with drawInBitmap, else into a copy of it.
  COffscreenContext(CDrawContext* context, CBitmap* bitmap, bool drawInBitmap = false);
  ~COffscreenContext() override;

  // Copies the image from srcOffset to the destination context at destRect.
  void copyFrom(CDrawContext* destination, CRect destRect, CPoint srcOffset = CPoint(0, 0));
  // Copies srcRect of the source context into the image at destOffset.
  void copyTo(CDrawContext* source, CRect& srcRect, CPoint destOffset = CPoint(0, 0));

  long getWidth() const { return width; }
  long getHeight() const { return height; }
  CColor getBackgroundColor() const { return backgroundColor; }
  HBITMAP getBitmapHandle() const { return pixmap; }

 protected:
  CBitmap* pBitmap = nullptr;
  CBitmap* pBitmapBg = nullptr;
  long height = 0;
  long width = 0;
  bool bDestroyPixmap = false;
  CColor backgroundColor = kBlackCColor;
  HGDIOBJ oldBitmap = nullptr;
  HBITMAP pixmap = nullptr;
};

}  // namespace Gui
