#pragma once

#include "plugin/gui/CColor.h"
#include "plugin/gui/CDrawContext.h"
#include "plugin/gui/CReferenceCounter.h"

namespace Gui {

// Draws the items of owner-drawn pop-up menus in its own colours and font.
class COptionMenuScheme : public CReferenceCounter {
 public:
  // Item states handed to drawItem.
  enum { kChecked = 1, kDisabled = 2, kSelected = 4 };

  COptionMenuScheme();

  // A separator ("-") measures 6 by 18, any other item 18 + its text width by 18.
  virtual void getItemSize(const char* text, CDrawContext* context, CPoint& size);
  virtual void drawItem(const char* text, long itemId, long state, CDrawContext* context, const CRect& rect);
  virtual void drawItemBack(CDrawContext* context, const CRect& rect, bool hilight);

  void setColors(CColor background, CColor selection, CColor text, CColor hilight, CColor disable) {
    backgroundColor = background;
    selectionColor = selection;
    textColor = text;
    hiliteTextColor = hilight;
    disableTextColor = disable;
  }
  void setFont(CFont fontId) { font = fontId; }

 protected:
  CColor backgroundColor;
  CColor selectionColor;
  CColor textColor;
  CColor hiliteTextColor;
  CColor disableTextColor;
  CFont font = kNormalFontSmall;
};

}  // namespace Gui
