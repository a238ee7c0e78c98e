#pragma once

#include "plugin/gui/CPoint.h"
#include "plugin/gui/CRect.h"

#include <windows.h>

namespace Gui {

class CDrawContext;

// What the frame window asks of its focus view for the native windows that a control opens: the items
// of an owner-drawn pop-up menu and the colours of an edit field. A view that opens such a window
// implements it besides its view base; the frame finds it with a dynamic cast of its focus view.
class CFocusWindowMessages {
 public:
  // Size of an owner-drawn menu item (h = width, v = height); false when the view draws no menu items.
  virtual bool getMenuItemSize(const char* itemText, CDrawContext* context, CPoint& size) = 0;
  // Draws an owner-drawn menu item; state: 1 ticked, + 2 disabled, + 4 selected. False when not drawn.
  virtual bool drawMenuItem(const char* itemText, long itemId, long state, CDrawContext* context,
                            const CRect& rect) = 0;
  // Sets the edit field's text and background colours and answers the brush of its background, which
  // the view keeps until the next call or its end; null when the view has no edit field.
  virtual HBRUSH colourEditField(HDC deviceContext) = 0;

 protected:
  ~CFocusWindowMessages() = default;
};

}  // namespace Gui
