#pragma once

#include "plugin/gui/CControl.h"

namespace Gui {

// A momentary button: 1 while pressed inside it, back to 0 on release.
class CKickButton : public CControl {
 public:
  CKickButton(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
              const CPoint& offset);
  CKickButton(const CRect& size, CControlListener* listener, long tag, long heightOfOneImage,
              CBitmap* background, const CPoint& offset);

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool isTypeOf(const char* name) const override;

 protected:
  CPoint offset;
  long heightOfOneImage;
};

}  // namespace Gui
