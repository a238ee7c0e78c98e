#pragma once

#include "plugin/gui/CControl.h"

namespace Gui {

// A two-state toggle drawn from a two-frame strip, toggled when released inside it.
class CMovieButton : public CControl {
 public:
  CMovieButton(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
               const CPoint& offset);
  CMovieButton(const CRect& size, CControlListener* listener, long tag, long heightOfOneImage,
               CBitmap* background, const CPoint& offset);

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool isTypeOf(const char* name) const override;

 protected:
  CPoint offset;
  long heightOfOneImage;
  float buttonState;
};

}  // namespace Gui
