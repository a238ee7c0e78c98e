#pragma once

#include "plugin/gui/CControl.h"

namespace Gui {

// A rotary control: a patch of the background with a handle (a small bitmap or a line from the
// centre) at the angle of the value. Dragged circularly or linearly, stepped by wheel and arrows.
class CKnob : public CControl {
 public:
  CKnob(const CRect& size, CControlListener* listener, long tag, CBitmap* background, CBitmap* handle,
        const CPoint& offset);
  ~CKnob() override;

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  long onKeyDown(VstKeyCode& keyCode) override;
  bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
  bool isTypeOf(const char* name) const override;

  virtual void drawHandle(CDrawContext* context);
  virtual void setStartAngle(float angle);
  virtual float getStartAngle() const { return startAngle; }
  virtual void setRangeAngle(float angle);
  virtual float getRangeAngle() const { return rangeAngle; }
  virtual void valueToPoint(CPoint& point) const;
  virtual float valueFromPoint(CPoint& point) const;
  virtual void setInsetValue(long value) { inset = value; }
  virtual void setColorShadowHandle(CColor color);
  virtual void setColorHandle(CColor color);
  virtual void setHandleBitmap(CBitmap* bitmap);
  virtual void setZoomFactor(float factor) { zoomFactor = factor; }
  virtual float getZoomFactor() const { return zoomFactor; }

  long getInsetValue() const { return inset; }

 protected:
  void compute();

  CPoint offset;
  CColor colorHandle;
  CColor colorShadowHandle;
  CBitmap* pHandle;
  long inset;
  float startAngle = 0.f;
  float rangeAngle = 0.f;
  float halfAngle = 0.f;
  float aCoef = 0.f;
  float bCoef = 0.f;
  float radius;
  float zoomFactor = 1.5f;

 private:
  void dragLinear(CDrawContext* context, CPoint& where, long buttons);
  void dragCircular(CDrawContext* context, CPoint& where);
  CPoint relativeToKnob(const CPoint& where) const;
};

}  // namespace Gui
