#pragma once

#include "plugin/gui/CControl.h"
#include "plugin/gui/CDrawContext.h"

namespace Gui {

// Style bits of the text boxes and their subclasses.
enum {
  kMultipleCheckStyle = 0x1,
  kShadowText = 0x4,
  k3DIn = 0x80,
  k3DOut = 0x100,
  kPopupStyle = 0x200,
  kCheckStyle = 0x400,
  kNoTextStyle = 0x800,
  kNoDrawStyle = 0x1000,
  kDoubleClickStyle = 0x2000,
  kNoFrame = 0x4000,
};

// A box that shows its value as text (or a text a subclass hands to drawText), drawn over a
// background bitmap or a filled and framed rectangle.
class CParamDisplay : public CControl {
 public:
  using ValueToText = void (*)(float value, char* text);
  using ValueToTextWithData = void (*)(float value, char* text, void* userData);
  using TextToValue = void (*)(char* text, float& value);

  CParamDisplay(const CRect& size, CBitmap* background = nullptr, const long style = 0);

  virtual void setFont(CFont fontID);
  virtual void setFontColor(CColor color);
  virtual void setBackColor(CColor color);
  virtual void setFrameColor(CColor color);
  virtual void setShadowColor(CColor color);
  virtual void setHoriAlign(CHoriTxtAlign align);
  virtual void setStringConvert(ValueToTextWithData convert, void* userData);
  virtual void setStringConvert(ValueToText convert);
  virtual void setString2FloatConvert(TextToValue convert);
  virtual void setStyle(long newStyle);
  virtual void setTxtFace(long newFace);
  virtual void setTextTransparency(bool transparent);

  CFont getFont() const { return fontID; }
  CColor getFontColor() const { return fontColor; }
  CColor getBackColor() const { return backColor; }
  CColor getFrameColor() const { return frameColor; }
  CColor getShadowColor() const { return shadowColor; }
  CHoriTxtAlign getHoriAlign() const { return horiTxtAlign; }
  long getStyle() const { return style; }
  long getTxtFace() const { return txtFace; }
  bool getTextTransparency() const { return bTextTransparencyEnabled; }

  void draw(CDrawContext* context) override;
  bool isTypeOf(const char* name) const override;

 protected:
  // Draws the box and, unless the style or a null text forbids it, the text; a given alternative
  // bitmap replaces the background.
  void drawText(CDrawContext* context, const char* text, CBitmap* newBackground = nullptr);

  ValueToText stringConvert = nullptr;
  ValueToTextWithData stringConvertWithData = nullptr;
  TextToValue string2FloatConvert = nullptr;
  void* userData = nullptr;
  CHoriTxtAlign horiTxtAlign = kCenterText;
  long style;
  CFont fontID = kNormalFont;
  long txtFace = 0;
  CColor fontColor = kWhiteCColor;
  CColor backColor = kBlackCColor;
  CColor frameColor = kBlackCColor;
  CColor shadowColor = kRedCColor;
  bool bTextTransparencyEnabled = true;

 private:
  void drawEdge3D(CDrawContext* context) const;
};

}  // namespace Gui
