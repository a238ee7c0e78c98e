#pragma once

#include "plugin/gui/CControl.h"

namespace Gui {

// When the listener of an on/off button hears of a click: after or before the idle pass that
// redraws the button.
enum { kPostListenerUpdate = 0, kPreListenerUpdate = 1 };

// A toggle between 0 and 1 on every press; the upper half of the bitmap shows off, the lower on.
class COnOffButton : public CControl {
 public:
  COnOffButton(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
               long style = kPreListenerUpdate);

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  bool isTypeOf(const char* name) const override;

  virtual long getStyle() const { return style; }
  virtual void setStyle(long newStyle) { style = newStyle; }

 protected:
  long style;

 private:
  void tellListener(CDrawContext* context);
};

}  // namespace Gui
