#include "plugin/gui/COptionMenuScheme.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace Gui {

namespace {

CColor systemColor(int index) {
  const COLORREF color = GetSysColor(index);
  return CColor{GetRValue(color), GetGValue(color), GetBValue(color), 0};
}

constexpr long kTextIndent = 18;
constexpr long kItemHeight = 18;
constexpr long kSeparatorWidth = 6;
constexpr long kTabColumn = 50;  // the part after a tab goes into the item's last 50 pixels

bool isSeparator(const char* text) {
  return std::strcmp(text, "-") == 0;
}

}  // namespace

COptionMenuScheme::COptionMenuScheme()
    : backgroundColor(systemColor(COLOR_MENU)),
      selectionColor(systemColor(COLOR_HIGHLIGHT)),
      textColor(systemColor(COLOR_MENUTEXT)),
      hiliteTextColor(systemColor(COLOR_HIGHLIGHTTEXT)),
      disableTextColor(systemColor(COLOR_GRAYTEXT)) {}

void COptionMenuScheme::getItemSize(const char* text, CDrawContext* context, CPoint& size) {
  if (isSeparator(text)) {
    size = CPoint(kSeparatorWidth, kItemHeight);
    return;
  }
  context->setFont(font);
  size = CPoint(kTextIndent + context->getStringWidth(text), kItemHeight);
}

void COptionMenuScheme::drawItemBack(CDrawContext* context, const CRect& rect, bool hilight) {
  context->setFillColor(hilight ? selectionColor : backgroundColor);
  context->fillRect(rect);
}

void COptionMenuScheme::drawItem(const char* text, long, long state, CDrawContext* context,
                                 const CRect& rect) {
  const bool selected = (state & kSelected) != 0;
  drawItemBack(context, rect, selected);

  if (isSeparator(text)) {
    const long y = rect.top + (rect.bottom - rect.top) / 2;
    context->setFrameColor(CColor{0, 0, 0, 150});
    context->moveTo(CPoint(rect.left + 2, y - 1));
    context->lineTo(CPoint(rect.right - 2, y - 1));
    context->setFrameColor(CColor{255, 255, 255, 150});
    context->moveTo(CPoint(rect.left + 2, y));
    context->lineTo(CPoint(rect.right - 2, y));
    return;
  }

  if (state & kChecked) {
    context->setFillColor(selected ? hiliteTextColor : textColor);
    context->fillEllipse(CRect(rect.left + 6, rect.top + 4, rect.left + 14, rect.top + 12));
  }
  CRect textRect(rect.left + kTextIndent, rect.top, rect.right, rect.bottom);
  context->setFont(font);
  if (state & kDisabled) {
    context->setFontColor(disableTextColor);
  } else {
    context->setFontColor(selected ? hiliteTextColor : textColor);
  }
  const char* tab = std::strchr(text, '\t');
  if (!tab) {
    context->drawString(text, textRect, 0, kLeftText);
    return;
  }
  const std::string before(text, tab);
  context->drawString(before.c_str(), textRect, 0, kLeftText);
  textRect.left = textRect.right - kTabColumn;
  context->drawString(tab + 1, textRect, 0, kLeftText);
}

}  // namespace Gui
