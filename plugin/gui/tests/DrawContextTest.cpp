// Drawing contexts over GDI: pixels read back from offscreen images, fonts and clips.
#include "plugin/gui/COffscreenContext.h"
#include "plugin/gui/FrameWindowClass.h"
#include "plugin/gui/tests/GuiTestSupport.h"
#include "tests/support/InputKeys.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace Gui;
using GuiTest::pixelOf;
using GuiTest::Rgb;

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kRed{255, 0, 0};

// Counts the pixels of one colour on a row or a column of the image.
int countOnRow(COffscreenContext& image, int y, Rgb color, int from, int to) {
  int count = 0;
  for (int x = from; x < to; ++x) count += pixelOf(image, x, y) == color;
  return count;
}

LOGFONTA selectedFont(CDrawContext& context) {
  LOGFONTA font{};
  GetObjectA(GetCurrentObject(context.getSystemContext(), OBJ_FONT), sizeof(font), &font);
  return font;
}

TEST(COffscreenContext, StartsInItsBackgroundColourAndCopiesOut) {
  COffscreenContext image(nullptr, 20, 10, kRedCColor);
  EXPECT_EQ(pixelOf(image, 0, 0), kRed);
  EXPECT_EQ(pixelOf(image, 19, 9), kRed);
  EXPECT_EQ(pixelOf(image, 10, 5), kRed);

  COffscreenContext target(nullptr, 30, 30, kWhiteCColor);
  target.offset = CPoint(5, 5);
  image.copyFrom(&target, CRect(0, 0, 4, 4), CPoint(0, 0));
  EXPECT_EQ(pixelOf(target, 5, 5), kRed);
  EXPECT_EQ(pixelOf(target, 8, 8), kRed);
  EXPECT_EQ(pixelOf(target, 9, 9), kWhite);
  EXPECT_EQ(pixelOf(target, 4, 4), kWhite);
}

TEST(COffscreenContext, ZeroOrNegativeSizesStillConstructWithAnOrderedClip) {
  struct Case {
    long width, height;
    CRect clip;
  };
  const Case cases[] = {{0, 0, {0, 0, 0, 0}}, {-10, 5, {-10, 0, 0, 5}}, {7, -3, {0, -3, 7, 0}}};
  for (const Case& c : cases) {
    COffscreenContext image(nullptr, c.width, c.height, kBlackCColor);
    CRect clip;
    EXPECT_EQ(image.getClipRect(clip), c.clip) << c.width << "x" << c.height;
  }
}

TEST(CDrawContext, FillRectLeavesTheLeftAndTopLinesAndDrawRectOutlinesInside) {
  COffscreenContext image(nullptr, 30, 30, kWhiteCColor);
  image.setFillColor(kBlackCColor);
  image.fillRect(CRect(10, 10, 20, 20));
  EXPECT_EQ(pixelOf(image, 10, 15), kWhite);
  EXPECT_EQ(pixelOf(image, 15, 10), kWhite);
  EXPECT_EQ(pixelOf(image, 11, 11), kBlack);
  EXPECT_EQ(pixelOf(image, 19, 19), kBlack);
  EXPECT_EQ(pixelOf(image, 20, 19), kWhite);
  EXPECT_EQ(pixelOf(image, 19, 20), kWhite);
  EXPECT_EQ(countOnRow(image, 15, kBlack, 0, 30), 9);

  COffscreenContext outline(nullptr, 30, 30, kWhiteCColor);
  outline.setFrameColor(kRedCColor);
  outline.drawRect(CRect(10, 10, 20, 20), kDrawStroked);
  EXPECT_EQ(pixelOf(outline, 10, 10), kRed);
  EXPECT_EQ(pixelOf(outline, 19, 10), kRed);
  EXPECT_EQ(pixelOf(outline, 19, 19), kRed);
  EXPECT_EQ(pixelOf(outline, 10, 19), kRed);
  EXPECT_EQ(pixelOf(outline, 20, 10), kWhite);
  EXPECT_EQ(pixelOf(outline, 15, 15), kWhite);
  EXPECT_EQ(countOnRow(outline, 15, kRed, 0, 30), 2);
}

TEST(CDrawContext, FilledRectCoversExactlyItsRectangleAtTheDrawingOffset) {
  COffscreenContext image(nullptr, 30, 30, kWhiteCColor);
  image.offset = CPoint(3, 4);
  image.setFillColor(kRedCColor);
  image.drawRect(CRect(0, 0, 5, 5), kDrawFilled);
  EXPECT_EQ(pixelOf(image, 3, 4), kRed);
  EXPECT_EQ(pixelOf(image, 7, 8), kRed);
  EXPECT_EQ(pixelOf(image, 8, 8), kWhite);
  EXPECT_EQ(pixelOf(image, 2, 4), kWhite);
  EXPECT_EQ(countOnRow(image, 6, kRed, 0, 30), 5);
}

TEST(CDrawContext, ClipRectLimitsDrawingAndIsKeptInDeviceCoordinates) {
  COffscreenContext image(nullptr, 30, 30, kWhiteCColor);
  image.offset = CPoint(2, 0);
  image.setClipRect(CRect(0, 0, 10, 10));
  CRect clip;
  EXPECT_EQ(image.getClipRect(clip), CRect(2, 0, 12, 10));
  image.setFillColor(kBlackCColor);
  image.drawRect(CRect(-2, 0, 28, 30), kDrawFilled);
  EXPECT_EQ(pixelOf(image, 11, 5), kBlack);
  EXPECT_EQ(pixelOf(image, 12, 5), kWhite);
  EXPECT_EQ(pixelOf(image, 1, 5), kWhite);
  EXPECT_EQ(pixelOf(image, 5, 10), kWhite);
}

TEST(CDrawContext, LinesLeaveOutTheirEndPixel) {
  COffscreenContext image(nullptr, 20, 20, kWhiteCColor);
  image.setFrameColor(kBlackCColor);
  image.moveTo(CPoint(2, 5));
  image.lineTo(CPoint(10, 5));
  EXPECT_EQ(countOnRow(image, 5, kBlack, 0, 20), 8);
  EXPECT_EQ(pixelOf(image, 10, 5), kWhite);
}

TEST(CDrawContext, FontIdsOutOfRangeUseTheBoldSystemFont) {
  COffscreenContext image(nullptr, 10, 10);
  for (const int id : {9, -1}) {
    image.setFont(kNormalFontBig);
    image.setFont(static_cast<CFont>(id));
    const LOGFONTA font = selectedFont(image);
    EXPECT_EQ(image.getFont(), kSystemFont) << id;
    EXPECT_EQ(font.lfHeight, -12) << id;
    EXPECT_EQ(font.lfWeight, FW_BOLD) << id;
    EXPECT_STREQ(font.lfFaceName, "Arial") << id;
  }
}

TEST(CDrawContext, FontsFollowTheTableAndAreMadeOnlyOnChange) {
  COffscreenContext image(nullptr, 10, 10);
  struct Case {
    CFont id;
    long style;
    long height;
    long weight;
    const char* face;
    bool italic;
  };
  const Case cases[] = {
      {kSystemFont, 0, -12, FW_BOLD, "Arial", false},
      {kNormalFontVeryBig, 0, -18, FW_NORMAL, "Arial", false},
      {kNormalFont, kBoldFace | kItalicFace, -12, FW_BOLD, "Arial", true},
      {kNormalFontVerySmall, 0, -9, FW_NORMAL, "Arial", false},
      {kSymbolFont, 0, -13, FW_NORMAL, "Symbol", false},
      {kSymbolFont, kBoldFace, -13, FW_BOLD, "Symbol", false},
  };
  for (const Case& c : cases) {
    image.setFont(c.id, 0, c.style);
    const LOGFONTA font = selectedFont(image);
    EXPECT_EQ(font.lfHeight, c.height) << c.id;
    EXPECT_EQ(font.lfWeight, c.weight) << c.id;
    EXPECT_STREQ(font.lfFaceName, c.face) << c.id;
    EXPECT_EQ(font.lfItalic != 0, c.italic) << c.id;
  }

  image.setFont(kNormalFont);
  HGDIOBJ first = GetCurrentObject(image.getSystemContext(), OBJ_FONT);
  image.setFont(kNormalFont);
  image.setFont(kNormalFont, 12);
  EXPECT_EQ(GetCurrentObject(image.getSystemContext(), OBJ_FONT), first);
  image.setFont(kNormalFont, 13);
  EXPECT_NE(GetCurrentObject(image.getSystemContext(), OBJ_FONT), first);
  EXPECT_EQ(image.getFontSize(), 13);
}

TEST(CDrawContext, AmpersandIsDrawnAsItself) {
  COffscreenContext image(nullptr, 40, 20, kWhiteCColor);
  image.setFontColor(kBlackCColor);
  image.setFont(kNormalFontVeryBig);
  image.drawString("&", CRect(0, 0, 40, 20), 0, kCenterText);
  int dark = 0;
  for (int y = 0; y < 20; ++y) dark += countOnRow(image, y, kBlack, 0, 40);
  EXPECT_GT(dark, 0);
  EXPECT_GT(image.getStringWidth("&&"), image.getStringWidth("&"));
}

TEST(CDrawContext, LeftAlignedTextStartsOnePixelRightOfTheEdge) {
  COffscreenContext image(nullptr, 60, 20, kWhiteCColor);
  image.setFontColor(kBlackCColor);
  image.setFont(kNormalFontVeryBig);
  // Opaque text fills its background: its first column shows where the text begins.
  image.setFillColor(kRedCColor);
  image.drawString("l", CRect(10, 0, 60, 20), 1, kLeftText);
  bool columnTen = false;
  bool columnEleven = false;
  for (int y = 0; y < 20; ++y) {
    columnTen |= !(pixelOf(image, 10, y) == kWhite);
    columnEleven |= !(pixelOf(image, 11, y) == kWhite);
  }
  EXPECT_FALSE(columnTen);
  EXPECT_TRUE(columnEleven);
  EXPECT_EQ(GetBkMode(image.getSystemContext()), TRANSPARENT);
}

TEST(CDrawContext, NullTextDrawsNothing) {
  COffscreenContext image(nullptr, 10, 10, kWhiteCColor);
  image.drawString(nullptr, CRect(0, 0, 10, 10));
  EXPECT_EQ(image.getStringWidth(nullptr), 0);
  EXPECT_EQ(pixelOf(image, 5, 5), kWhite);
}

TEST(CDrawContext, FillEllipseStaysInsideItsShiftedBox) {
  COffscreenContext image(nullptr, 30, 30, kWhiteCColor);
  image.setFillColor(kBlackCColor);
  image.fillEllipse(CRect(0, 0, 20, 20));
  EXPECT_EQ(pixelOf(image, 10, 10), kBlack);
  EXPECT_EQ(pixelOf(image, 1, 1), kWhite);
  EXPECT_EQ(pixelOf(image, 0, 10), kWhite);
}

TEST(CDrawContext, PointsAndFloodFill) {
  COffscreenContext image(nullptr, 10, 10, kWhiteCColor);
  image.drawPoint(CPoint(3, 3), kRedCColor);
  EXPECT_EQ(image.getPoint(CPoint(3, 3)), (CColor{255, 0, 0, 255}));
  image.setFillColor(kBlackCColor);
  image.floodFill(CPoint(0, 0));
  EXPECT_EQ(pixelOf(image, 9, 9), kBlack);
  EXPECT_EQ(pixelOf(image, 3, 3), kRed);
}

// The pens, brushes and fonts selected into a device context, and the context's bitmap.
constexpr UINT kSelectedTypes[] = {OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP};

void noteSelected(HDC context, std::set<HGDIOBJ>& objects) {
  for (const UINT type : kSelectedTypes) objects.insert(GetCurrentObject(context, type));
}

// Changes every drawing setting a few times, noting each object the context selects.
void changeSettings(CDrawContext& context, std::set<HGDIOBJ>& objects) {
  for (uint8_t level = 0; level < 10; ++level) {
    context.setFillColor(CColor{level, 0, 0, 255});
    context.setFrameColor(CColor{0, level, 0, 255});
    context.setFont(static_cast<CFont>(level % kNumStandardFonts));
    context.setLineWidth(level % 3 + 1);
    noteSelected(context.getSystemContext(), objects);
  }
}

// GDI keeps no count of a process's objects under every system, so the test follows each object a
// context selects: once replaced, or once the context is gone, it no longer exists.
TEST(CDrawContext, GdiObjectsAreReplacedNotLeaked) {
  const HDC target = CreateCompatibleDC(nullptr);
  std::set<HGDIOBJ> own;
  noteSelected(target, own);
  std::set<HGDIOBJ> made;
  {
    CDrawContext context(nullptr, target, nullptr);
    noteSelected(target, made);
    changeSettings(context, made);
  }
  std::set<HGDIOBJ> after;
  noteSelected(target, after);
  EXPECT_EQ(after, own) << "the device context has its own objects back";
  {
    COffscreenContext image(nullptr, 8, 8);
    made.insert(image.getSystemContext());
    noteSelected(image.getSystemContext(), made);
    changeSettings(image, made);
  }
  DeleteDC(target);
  for (const HGDIOBJ object : own) made.erase(object);
  EXPECT_GT(made.size(), 30u);
  for (const HGDIOBJ object : made) EXPECT_EQ(GetObjectType(object), 0u) << object << " was not deleted";
}

// Presses or releases the physical left button in the system's input state.
void sendLeftButton(bool down) {
  Testing::sendKeys({VK_LBUTTON}, down);
  GuiTest::pumpMessages();
}

TEST(CDrawContext, SwappedButtonsTurnThePhysicalLeftButtonIntoTheRightOne) {
  COffscreenContext image(nullptr, 1, 1);
  EXPECT_EQ(image.getMouseButtons() & (kLButton | kRButton | kMButton), 0);
  sendLeftButton(true);
  EXPECT_EQ(image.getMouseButtons() & (kLButton | kRButton), kLButton);
  FrameWindowClass::setButtonsSwapped(true);
  EXPECT_EQ(image.getMouseButtons() & (kLButton | kRButton), kRButton);
  FrameWindowClass::setButtonsSwapped(false);
  sendLeftButton(false);
  EXPECT_EQ(image.getMouseButtons() & kLButton, 0);
}

}  // namespace
