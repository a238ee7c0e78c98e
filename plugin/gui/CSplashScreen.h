#pragma once

#include "plugin/gui/CControl.h"

namespace Gui {

// A click area that shows a picture (a rectangle of its bitmap) as the frame's modal view; a click on
// the picture closes it again. The value is 1 while the picture is shown.
class CSplashScreen : public CControl {
 public:
  CSplashScreen(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                const CRect& toDisplay, const CPoint& offset);

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool hitTest(const CPoint& where, long buttons = -1) override;
  bool isTypeOf(const char* name) const override;

  virtual void unSplash(CDrawContext* context = nullptr);

  // 255 copies the picture, 0 masks it by its transparent colour, anything between blends it.
  void setBitmapTransparency(unsigned char transparency);
  unsigned char getBitmapTransparency() const { return bitmapTransparency; }

  // Draws the picture into area the way the transparency asks.
  void drawPicture(CDrawContext* context, const CRect& area);

 protected:
  CRect toDisplay;
  CPoint offset;
  unsigned char bitmapTransparency = 255;
};

}  // namespace Gui
