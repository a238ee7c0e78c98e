#pragma once

#include "plugin/gui/CControl.h"

namespace Gui {

// A number of up to seven decimal digits, each drawn as a frame of a vertical strip of the ten digit
// images.
class CSpecialDigit : public CControl {
 public:
  static constexpr long kMaxDigits = 7;

  CSpecialDigit(const CRect& size, CControlListener* listener, long tag, long dwPos, long iNumbers,
                const long* xpos, const long* ypos, long width, long height, CBitmap* background);

  void draw(CDrawContext* context) override;
  bool isTypeOf(const char* name) const override;

  // The value as a fraction of the largest number shown, held to 0..1.
  virtual float getNormValue() const;

  // The digits the display shows now, from the first.
  long digitsOf(long out[kMaxDigits]) const;

 protected:
  long iNumbers;
  long xpos[kMaxDigits] = {};
  long ypos[kMaxDigits] = {};
  long width;
  long height;
};

}  // namespace Gui
