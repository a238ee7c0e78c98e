#pragma once

#include "plugin/gui/CBitmap.h"

namespace Gui {

// Draws the part of a bitmap that starts at offset into area, masked by the bitmap's transparent
// colour when transparent is set. Nothing for a null bitmap.
void drawBitmapFrame(CBitmap* bitmap, CDrawContext* context, const CRect& area, const CPoint& offset,
                     bool transparent);

}  // namespace Gui
