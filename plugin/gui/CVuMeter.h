#pragma once

#include "plugin/gui/CControl.h"

namespace Gui {

class COffscreenContext;

// A level meter: the "on" bitmap up to the level, the "off" bitmap beyond it, in LED steps. The level
// rises at once and falls by one decrease step per redraw.
class CVuMeter : public CControl {
 public:
  CVuMeter(const CRect& size, CBitmap* onBitmap, CBitmap* offBitmap, long nbLed, const long style);
  ~CVuMeter() override;

  void draw(CDrawContext* context) override;
  void setDirty(bool dirty = true) override;
  bool removed(CView* parent) override;
  bool attached(CView* parent) override;
  bool isTypeOf(const char* name) const override;

  virtual void setDecreaseStepValue(float step) { decreaseValue = step; }

  void setUseOffscreen(bool use) { bUseOffscreen = use; }

 protected:
  CBitmap* onBitmap;
  CBitmap* offBitmap;
  COffscreenContext* pOScreen = nullptr;
  long nbLed;
  long style;
  float decreaseValue = 0.1f;
  bool bUseOffscreen = true;
  CRect rectOn;
  CRect rectOff;

 private:
  void resetRects(bool inOffscreen);
};

}  // namespace Gui
