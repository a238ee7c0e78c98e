#pragma once

#include "plugin/gui/CKnob.h"

namespace Gui {

// A knob drawn as one frame of a vertical film strip in its background bitmap.
class CAnimKnob : public CKnob {
 public:
  CAnimKnob(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
            const CPoint& offset);
  CAnimKnob(const CRect& size, CControlListener* listener, long tag, long subPixmaps, long heightOfOneImage,
            CBitmap* background, const CPoint& offset);

  void draw(CDrawContext* context) override;
  bool isDirty() const override;
  bool isTypeOf(const char* name) const override;

  // The top of the frame of the strip that the current value shows.
  long frameTop() const;

 protected:
  long subPixmaps;
  long heightOfOneImage;
  bool bInverseBitmap = false;
  CPoint lastDrawnPoint;
};

}  // namespace Gui
