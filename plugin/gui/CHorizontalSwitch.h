#pragma once

#include "plugin/gui/CControl.h"

namespace Gui {

// A multi-position switch whose position follows the mouse along a film strip of frames side by side.
class CHorizontalSwitch : public CControl {
 public:
  CHorizontalSwitch(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                    const CPoint& offset);
  CHorizontalSwitch(const CRect& size, CControlListener* listener, long tag, long subPixmaps,
                    long widthOfOneImage, long iMaxPositions, CBitmap* background, const CPoint& offset);

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool isTypeOf(const char* name) const override;

 protected:
  CPoint offset;
  long subPixmaps;
  long iMaxPositions;
  long widthOfOneImage;
};

}  // namespace Gui
