#pragma once

#include "plugin/gui/CControlListener.h"
#include "plugin/gui/CView.h"

namespace Gui {

// The base of every control: a view with one float value in a range, a default value, a tag that
// identifies it to its listener, and an offset into its background bitmap.
class CControl : public CView {
 public:
  CControl(const CRect& size, CControlListener* listener = nullptr, long tag = 0,
           CBitmap* background = nullptr);
  ~CControl() override;

  void draw(CDrawContext* context) override = 0;
  // Dirty when the view's flag is set or the value differs from the one drawn last.
  bool isDirty() const override;
  void setDirty(bool dirty = true) override;
  bool isTypeOf(const char* type) const override;

  // The paced idle of the frame; drag loops call it once per pass.
  virtual void doIdleStuff();
  virtual void setValue(float val) { value = val; }
  virtual float getValue() const { return value; }
  virtual void setMin(float val) { vmin = val; }
  virtual float getMin() const { return vmin; }
  virtual void setMax(float val) { vmax = val; }
  virtual float getMax() const { return vmax; }
  virtual void setOldValue(float val) { oldValue = val; }
  virtual float getOldValue() const { return oldValue; }
  virtual void setDefaultValue(float val) { defaultValue = val; }
  virtual float getDefaultValue() const { return defaultValue; }
  virtual void setTag(long val) { tag = val; }
  virtual long getTag() const { return tag; }
  // Bracket an interactive change: the host sees the begin and the end of an edit gesture.
  virtual void beginEdit();
  virtual void endEdit();
  virtual void setBackOffset(const CPoint& offset) { backOffset = offset; }
  // The background offset becomes the control's top-left corner.
  virtual void copyBackOffset();
  virtual void setWheelInc(float val) { wheelInc = val; }
  virtual float getWheelInc() const { return wheelInc; }
  // Clamps the value into the range.
  virtual void bounceValue();
  // Left click with Ctrl alone (buttons exactly 17) sets the default value; true when it did.
  virtual bool checkDefaultValue(CDrawContext* context, long buttons);

  // True for the second of two clicks within the double-click interval.
  bool isDoubleClick();
  const CPoint& getBackOffset() const { return backOffset; }
  CControlListener* getListener() const { return listener; }
  void setListener(CControlListener* newListener) { listener = newListener; }

 protected:
  CControlListener* listener;
  long tag;
  float oldValue = 1.0f;
  float defaultValue = 0.5f;
  float value = 0.0f;
  float vmin = 0.0f;
  float vmax = 1.0f;
  float wheelInc = 0.1f;
  long lastTicks = -1;
  long doubleClickInterval;
  CPoint backOffset;
};

}  // namespace Gui
