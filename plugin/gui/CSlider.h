#pragma once

#include "plugin/gui/CControl.h"

namespace Gui {

class COffscreenContext;

// Style bits of sliders and meters: orientation and the side the value counts from.
enum {
  kHorizontal = 0x1,
  kVertical = 0x2,
  kLeft = 0x8,
  kRight = 0x10,
  kTop = 0x20,
  kBottom = 0x40,
};

// A handle bitmap that moves along a track over a background bitmap, drawn through an offscreen
// buffer of its own.
class CSlider : public CControl {
 public:
  // The handle travels between two positions given in the parent's coordinates.
  CSlider(const CRect& size, CControlListener* listener, long tag, long iMinPos, long iMaxPos,
          CBitmap* handle, CBitmap* background, const CPoint& offset, long style);
  // The handle starts at offsetHandle inside the control and travels over range pixels, handle
  // included.
  CSlider(const CRect& size, CControlListener* listener, long tag, const CPoint& offsetHandle, long range,
          CBitmap* handle, CBitmap* background, const CPoint& offset, long style);
  ~CSlider() override;

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  long onKeyDown(VstKeyCode& keyCode) override;
  bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
  bool removed(CView* parent) override;
  bool attached(CView* parent) override;
  bool isTypeOf(const char* name) const override;

  virtual void setDrawTransparentHandle(bool flag) { bDrawTransparentEnabled = flag; }
  virtual void setFreeClick(bool flag) { bFreeClick = flag; }
  virtual bool getFreeClick() const { return bFreeClick; }
  virtual void setOffsetHandle(const CPoint& offsetHandle);
  virtual void setHandle(CBitmap* handle);
  virtual CBitmap* getHandle() const { return pHandle; }
  virtual void setZoomFactor(float factor) { zoomFactor = factor; }
  virtual float getZoomFactor() const { return zoomFactor; }

  // Where the handle is drawn, in the control's own coordinates.
  CRect handleRect() const;

 protected:
  bool isHorizontal() const { return (style & kHorizontal) != 0; }
  void computeHandlePositions();

  CPoint offset;
  CPoint offsetHandle;
  CBitmap* pHandle;
  COffscreenContext* pOScreen = nullptr;
  long style;
  long widthOfSlider;
  long heightOfSlider;
  long rangeHandle = 0;
  long minTmp = 0;
  long maxTmp = 0;
  long minPos = 0;
  long widthControl;
  long heightControl;
  float zoomFactor = 10.f;
  bool bDrawTransparentEnabled = true;
  bool bFreeClick = true;

 private:
  CSlider(const CRect& size, CControlListener* listener, long tag, CBitmap* handle, CBitmap* background,
          const CPoint& offset, long style);
  float drawFraction() const;
  bool countsFromEnd() const;
};

}  // namespace Gui
