#include "plugin/editor/CScope.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "plugin/editor/ScopeTexts.h"
#include "plugin/gui/CBitmap.h"
#include "plugin/gui/COffscreenContext.h"

using namespace Gui;

namespace {

constexpr CColor textColor{210, 210, 210, 255};
constexpr CColor shadowColor{40, 40, 40, 255};
constexpr CColor limiterColor{243, 92, 93, 255};
constexpr long textHeight = 9;
constexpr long bannerHeight = 20;
constexpr std::int32_t tipFirstLine = 2;
constexpr std::int32_t tipClearedLines = 6;

// A rectangle with its edges in increasing order, so a narrow view still gives a valid one.
CRect ordered(long left, long top, long right, long bottom) {
  return CRect(std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom));
}

void copyText(char* target, const char* text) {
  std::snprintf(target, CScope::textCapacity, "%s", text ? text : "");
}

// The text in its shadow colour one pixel right of and below where it is drawn, then in its own colour.
void drawShadowedString(CDrawContext& context, const char* text, const CRect& shadow, const CRect& place) {
  context.setFontColor(shadowColor);
  context.drawString(text, shadow, 0, kLeftText);
  context.setFontColor(textColor);
  context.drawString(text, place, 0, kLeftText);
}

}  // namespace

CScope::CScope(const CRect& size, CBitmap* background)
    : CView(size),
      pScopeBitmap(background),
      width(std::min<std::int32_t>(background ? background->getWidth() : size.width(), maxColumns)),
      height(background ? background->getHeight() : size.height()) {
  setMouseEnabled(true);
  showRandomTip();
  status[0] = '\0';
}

void CScope::setValues(const std::int32_t* columnValues, std::uint8_t curveMode) {
  std::copy(columnValues, columnValues + width, values);
  mode = curveMode;
}

void CScope::setTipLine(std::int8_t line, const char* text) {
  if (line >= 0 && line < lineCount) copyText(lines[line], text);
}

void CScope::setTitle(const char* text) {
  copyText(title, text);
}

void CScope::setStatus(const char* name, float value) {
  if (value == -1.0f) {
    status[0] = '\0';
  } else {
    std::snprintf(status, textCapacity, "%s : %1.2f", name ? name : "", static_cast<double>(value));
  }
}

void CScope::showRandomTip() {
  copyText(lines[0], title);
  clearLines(tipClearedLines);
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  writeLines(tipFirstLine, ScopeTexts::tip(std::rand() % ScopeTexts::tipCount));
}

void CScope::showHelp(std::int8_t topic) {
  clearLines(tipClearedLines);
  copyText(lines[0], "");
  if (topic >= 0 && topic < ScopeTexts::helpTopicCount) writeLines(0, ScopeTexts::help(topic));
}

void CScope::clearLines(std::int32_t count) {
  for (std::int32_t line = 1; line < count; ++line) lines[line][0] = '\0';
}

void CScope::writeLines(std::int32_t first, const char* const* texts) {
  for (std::int32_t i = 0; texts[i] && first + i < lineCount; ++i) copyText(lines[first + i], texts[i]);
}

void CScope::mouse(CDrawContext* /*context*/, CPoint& /*where*/, long /*buttons*/) {
  showText = !showText;
  showRandomTip();
}

void CScope::draw(CDrawContext* context) {
  ++redrawCount;
  COffscreenContext offscreen(getFrame(), width, height, kBlackCColor);
  if (pScopeBitmap) pScopeBitmap->draw(&offscreen, CRect(0, 0, width, height));

  for (std::int32_t i = 0; i < width; ++i) {
    const std::uint8_t grey = static_cast<std::uint8_t>(std::min(100 + i, 255));
    offscreen.setFrameColor(CColor{grey, grey, grey, 255});
    const long top = std::max<long>(0, static_cast<long>(height) - values[i]);
    if (top < height + 12) {
      offscreen.moveTo(CPoint(i, height));
      offscreen.lineTo(CPoint(i, top));
    }
  }

  if (limiter) {
    drawLimiter(offscreen);
  } else if (showText && redrawCount < lineDrawCount) {
    drawTextLines(offscreen);
  }
  if (redrawCount < statusDrawCount) drawStatus(offscreen);

  offscreen.copyFrom(context, size, CPoint(0, 0));
  setDirty(false);
}

void CScope::drawTextLines(CDrawContext& context) {
  context.setFont(kNormalFontSmaller, textHeight, 0);
  for (std::int32_t k = 0; k < lineCount; ++k) {
    const long y = 16 + 12 * k;
    drawShadowedString(context, lines[k], ordered(6, y, width - 4, y + 15),
                       ordered(5, y - 1, width - 5, y + 14));
  }
}

void CScope::drawLimiter(CDrawContext& context) {
  context.setFont(kNormalFontBig, bannerHeight, 0);
  context.setFontColor(limiterColor);
  context.drawString("LIMITER!", ordered(5, 0, width - 5, height), 0, kCenterText);
}

void CScope::drawStatus(CDrawContext& context) {
  context.setFont(kNormalFontSmaller, textHeight, 0);
  drawShadowedString(context, status, ordered(6, height - 19, width - 4, height + 1),
                     ordered(5, height - 20, width - 5, height));
}
