#pragma once

#include "plugin/gui/CControl.h"

namespace Gui {

// A click-started animation whose value is a pixel offset into a vertical film strip; its owner
// steps it with nextPixmap or previousPixmap and redraws it.
class CAutoAnimation : public CControl {
 public:
  CAutoAnimation(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                 const CPoint& offset);
  CAutoAnimation(const CRect& size, CControlListener* listener, long tag, long subPixmaps,
                 long heightOfOneImage, CBitmap* background, const CPoint& offset);

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool isTypeOf(const char* name) const override;

  virtual void openWindow() { bWindowOpened = true; }
  virtual void closeWindow() { bWindowOpened = false; }
  virtual void nextPixmap();
  virtual void previousPixmap();

  bool isWindowOpened() const { return bWindowOpened; }

 protected:
  CPoint offset;
  long subPixmaps;
  long heightOfOneImage;
  long totalHeightOfBitmap;
  bool bWindowOpened = false;
};

}  // namespace Gui
