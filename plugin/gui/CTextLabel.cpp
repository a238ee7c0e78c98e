#include "plugin/gui/CTextLabel.h"

#include <cstring>

namespace Gui {

CTextLabel::CTextLabel(const CRect& size, const char* txt, CBitmap* background, const long style)
    : CParamDisplay(size, background, style) {
  setText(txt);
}

void CTextLabel::freeText() {
  text.clear();
  hasText = false;
}

void CTextLabel::setText(const char* txt) {
  freeText();
  if (!txt) return;
  text = txt;
  hasText = true;
}

const char* CTextLabel::getText() const {
  return hasText ? text.c_str() : nullptr;
}

void CTextLabel::draw(CDrawContext* context) {
  drawText(context, getText());
  setDirty(false);
}

bool CTextLabel::isTypeOf(const char* name) const {
  return std::strcmp(name, "CTextLabel") == 0 || CParamDisplay::isTypeOf(name);
}

}  // namespace Gui
