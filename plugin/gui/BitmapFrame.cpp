#include "plugin/gui/BitmapFrame.h"

namespace Gui {

void drawBitmapFrame(CBitmap* bitmap, CDrawContext* context, const CRect& area, const CPoint& offset,
                     bool transparent) {
  if (!bitmap) return;
  CRect destination(area);
  if (transparent) {
    bitmap->drawTransparent(context, destination, offset);
  } else {
    bitmap->draw(context, destination, offset);
  }
}

}  // namespace Gui
