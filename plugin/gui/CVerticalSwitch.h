#pragma once

#include "plugin/gui/CControl.h"

namespace Gui {

// A multi-position switch whose position follows the mouse down a vertical film strip.
class CVerticalSwitch : public CControl {
 public:
  CVerticalSwitch(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                  const CPoint& offset);
  CVerticalSwitch(const CRect& size, CControlListener* listener, long tag, long subPixmaps,
                  long heightOfOneImage, long iMaxPositions, CBitmap* background, const CPoint& offset);

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool isTypeOf(const char* name) const override;

 protected:
  CPoint offset;
  long subPixmaps;
  long heightOfOneImage;
  long iMaxPositions;
};

}  // namespace Gui
