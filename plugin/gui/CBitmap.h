#pragma once

#include "plugin/gui/CColor.h"
#include "plugin/gui/CPoint.h"
#include "plugin/gui/CRect.h"
#include "plugin/gui/CReferenceCounter.h"

#include <windows.h>

namespace Gui {

class CDrawContext;
class CFrame;

// A picture loaded by resource id from the plug-in module, drawn plainly, with one colour left out, or
// blended with a constant opacity.
class CBitmap : public CReferenceCounter {
 public:
  explicit CBitmap(long resourceID);
  // A blank picture of width by height compatible with the screen.
  CBitmap(CFrame& frame, long width, long height);
  CBitmap();
  ~CBitmap() override;

  // Each draws width by height of rect from the picture at offset to rect's top-left corner.
  virtual void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint(0, 0));
  virtual void drawTransparent(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint(0, 0));
  virtual void drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint(0, 0),
                              unsigned char alpha = 128);
  virtual void dispose();
  virtual bool loadFromResource(long resourceID);
  // Pictures come only from resources: disposes and answers false.
  virtual bool loadFromPath(const void* platformPath);

  long getWidth() const { return width; }
  long getHeight() const { return height; }
  long getResourceID() const { return resourceID; }
  void setTransparentColor(const CColor color) { transparentCColor = color; }
  CColor getTransparentColor() const { return transparentCColor; }
  // Builds the mask from the image of the bitmap in a context at offset: 1 where it is transparent.
  void setTransparencyMask(CDrawContext* context, const CPoint& offset = CPoint(0, 0));
  HBITMAP getHandle() const { return pHandle; }
  bool isLoaded() const { return pHandle != nullptr; }

 protected:
  void drawTransparentWithMask(HDC destination, HDC picture, long x, long y, long w, long h, long ox,
                               long oy);

  long resourceID = 0;
  long width = 0;
  long height = 0;
  CColor transparentCColor = kTransparentCColor;
  bool loaded = false;
  HBITMAP pHandle = nullptr;
  HBITMAP pMask = nullptr;
};

}  // namespace Gui
