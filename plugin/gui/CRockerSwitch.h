#pragma once

#include "plugin/gui/CControl.h"

namespace Gui {

// Style bits of the rocker: horizontal (left half -1, right half +1) or vertical (upper half -1,
// lower half +1).
enum { kRockerHorizontal = 0x1, kRockerVertical = 0x2 };

// A three-position momentary rocker: -1 or +1 while one half is pressed, 0 at rest.
class CRockerSwitch : public CControl {
 public:
  CRockerSwitch(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                const CPoint& offset, long style);
  CRockerSwitch(const CRect& size, CControlListener* listener, long tag, long heightOfOneImage,
                CBitmap* background, const CPoint& offset, long style);

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
  bool isTypeOf(const char* name) const override;

 protected:
  CPoint offset;
  long heightOfOneImage;
  long style;

 private:
  float valueAt(const CPoint& where, float otherwise) const;
};

}  // namespace Gui
