#pragma once

#include "plugin/gui/CControl.h"

namespace Gui {

// A display-only control that shows the frame of a vertical film strip matching its value.
class CMovieBitmap : public CControl {
 public:
  CMovieBitmap(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
               const CPoint& offset);
  CMovieBitmap(const CRect& size, CControlListener* listener, long tag, long subPixmaps,
               long heightOfOneImage, CBitmap* background, const CPoint& offset);

  void draw(CDrawContext* context) override;
  bool isTypeOf(const char* name) const override;

 protected:
  CPoint offset;
  long subPixmaps;
  long heightOfOneImage;
};

}  // namespace Gui
