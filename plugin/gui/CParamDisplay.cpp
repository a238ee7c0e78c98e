#include "plugin/gui/CParamDisplay.h"

#include "plugin/gui/BitmapFrame.h"

#include <cstdio>
#include <cstring>

namespace Gui {

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, const long style)
    : CControl(size, nullptr, 0, background), style(style) {
  if (style & kNoDrawStyle) setDirty(false);
}

void CParamDisplay::setFont(CFont newFont) {
  if (fontID != newFont) setDirty(true);
  fontID = newFont;
}

void CParamDisplay::setFontColor(CColor color) {
  if (fontColor != color) setDirty(true);
  fontColor = color;
}

void CParamDisplay::setBackColor(CColor color) {
  if (backColor != color) setDirty(true);
  backColor = color;
}

void CParamDisplay::setFrameColor(CColor color) {
  if (frameColor != color) setDirty(true);
  frameColor = color;
}

void CParamDisplay::setShadowColor(CColor color) {
  if (shadowColor != color) setDirty(true);
  shadowColor = color;
}

void CParamDisplay::setHoriAlign(CHoriTxtAlign align) {
  if (horiTxtAlign != align) setDirty(true);
  horiTxtAlign = align;
}

void CParamDisplay::setStringConvert(ValueToTextWithData convert, void* data) {
  stringConvertWithData = convert;
  userData = data;
}

void CParamDisplay::setStringConvert(ValueToText convert) {
  stringConvert = convert;
}

void CParamDisplay::setString2FloatConvert(TextToValue convert) {
  string2FloatConvert = convert;
}

void CParamDisplay::setStyle(long newStyle) {
  if (style != newStyle) setDirty(true);
  style = newStyle;
}

void CParamDisplay::setTxtFace(long newFace) {
  if (txtFace != newFace) setDirty(true);
  txtFace = newFace;
}

void CParamDisplay::setTextTransparency(bool transparent) {
  bTextTransparencyEnabled = transparent;
}

void CParamDisplay::draw(CDrawContext* context) {
  char text[256] = "";
  if (stringConvertWithData) {
    stringConvertWithData(value, text, userData);
  } else if (stringConvert) {
    stringConvert(value, text);
  } else {
    snprintf(text, sizeof(text), "%2.2f", value);
  }
  drawText(context, text);
}

bool CParamDisplay::isTypeOf(const char* name) const {
  return std::strcmp(name, "CParamDisplay") == 0 || CControl::isTypeOf(name);
}

void CParamDisplay::drawText(CDrawContext* context, const char* text, CBitmap* newBackground) {
  setDirty(false);
  if (style & kNoDrawStyle) return;

  CBitmap* const picture = newBackground ? newBackground : pBackground;
  if (picture) {
    drawBitmapFrame(picture, context, size, backOffset, bTransparencyEnabled);
  } else if (!bTransparencyEnabled) {
    context->setFillColor(backColor);
    context->fillRect(size);
    if (!(style & (k3DIn | k3DOut | kNoFrame))) {
      context->setFrameColor(frameColor);
      context->drawRect(size);
    }
  }
  if (style & (k3DIn | k3DOut)) drawEdge3D(context);

  if ((style & kNoTextStyle) || !text) return;

  const CRect oldClip = context->getLocalClipRect();
  CRect clip(size);
  clip.bound(oldClip);
  context->setClipRect(clip);
  context->setFont(fontID, 0, txtFace);
  const short opaque = bTextTransparencyEnabled ? 0 : 1;
  if (style & kShadowText) {
    CRect shadow(size);
    shadow.offset(1, 1);
    context->setFontColor(shadowColor);
    context->drawString(text, shadow, opaque, horiTxtAlign);
  }
  context->setFontColor(fontColor);
  context->drawString(text, size, opaque, horiTxtAlign);
  context->setClipRect(oldClip);
}

void CParamDisplay::drawEdge3D(CDrawContext* context) const {
  const bool inset = (style & k3DIn) != 0;
  const CRect r(size.left, size.top + 1, size.right - 1, size.bottom - 1);
  context->setLineWidth(1);
  context->setFrameColor(inset ? backColor : frameColor);
  context->moveTo(CPoint(r.left, r.bottom));
  context->lineTo(CPoint(r.left, r.top));
  context->lineTo(CPoint(r.right, r.top));
  context->setFrameColor(inset ? frameColor : backColor);
  context->lineTo(CPoint(r.right, r.bottom));
  context->lineTo(CPoint(r.left, r.bottom));
}

}  // namespace Gui
