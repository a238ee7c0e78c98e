// Bitmaps from the test program's resources: plain, transparent and blended copies read back.
#include "plugin/gui/BlendFunctions.h"
#include "plugin/gui/CBitmap.h"
#include "plugin/gui/COffscreenContext.h"
#include "plugin/gui/tests/GuiTestSupport.h"
#include "plugin/gui/tests/TestImages.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace Gui;
using GuiTest::pixelOf;
using GuiTest::Rgb;

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kNearWhite{254, 255, 255};
constexpr Rgb kWhite{255, 255, 255};

// A frame without a window loads the system's blending entry points, as the editor's frame does.
class BitmapTest : public testing::Test {
 protected:
  CFrame frame{CRect(0, 0, 10, 10), "", nullptr};
};

// The eight columns of the strip image drawn over a green image, as seen on row 1.
std::vector<Rgb> stripRow(COffscreenContext& image) {
  std::vector<Rgb> row;
  for (int x = 0; x < 8; ++x) row.push_back(pixelOf(image, 2 + x, 3));
  return row;
}

TEST_F(BitmapTest, LoadsItsSizeFromTheResource) {
  struct Case {
    long id;
    long width, height;
  };
  const Case cases[] = {
      {kStripImage, 8, 4}, {kPaletteImage, 5, 3}, {kGreyImage, 16, 16}, {kMissingImage, 0, 0}};
  for (const Case& c : cases) {
    CBitmap bitmap(c.id);
    EXPECT_EQ(bitmap.getWidth(), c.width) << c.id;
    EXPECT_EQ(bitmap.getHeight(), c.height) << c.id;
    EXPECT_EQ(bitmap.isLoaded(), c.width > 0) << c.id;
    EXPECT_EQ(bitmap.getResourceID(), c.id);
    EXPECT_EQ(bitmap.getTransparentColor(), kTransparentCColor);
  }
}

TEST_F(BitmapTest, MissingPictureDrawsNothing) {
  CBitmap bitmap(kMissingImage);
  COffscreenContext image(nullptr, 10, 10, kGreenCColor);
  bitmap.draw(&image, CRect(0, 0, 10, 10));
  bitmap.drawTransparent(&image, CRect(0, 0, 10, 10));
  bitmap.drawAlphaBlend(&image, CRect(0, 0, 10, 10), CPoint(0, 0), 255);
  EXPECT_EQ(pixelOf(image, 5, 5), kGreen);
}

TEST_F(BitmapTest, ReloadingAMissingIdEmptiesTheBitmap) {
  CBitmap bitmap(kStripImage);
  EXPECT_FALSE(bitmap.loadFromResource(kMissingImage));
  EXPECT_EQ(bitmap.getWidth(), 0);
  EXPECT_EQ(bitmap.getHandle(), nullptr);
  EXPECT_EQ(bitmap.getResourceID(), kStripImage);
  EXPECT_TRUE(bitmap.loadFromResource(kGreyImage));
  EXPECT_EQ(bitmap.getWidth(), 16);
  EXPECT_FALSE(bitmap.loadFromPath("C:\\picture.bmp"));
  EXPECT_FALSE(bitmap.isLoaded());
}

TEST_F(BitmapTest, PlainDrawCopiesThePartAtTheOffset) {
  CBitmap bitmap(kGreyImage);
  COffscreenContext image(nullptr, 20, 20, kGreenCColor);
  image.offset = CPoint(1, 1);
  bitmap.draw(&image, CRect(0, 0, 4, 4), CPoint(2, 3));
  EXPECT_EQ(pixelOf(image, 1, 1), (Rgb{100, 100, 100}));
  EXPECT_EQ(pixelOf(image, 2, 3), (Rgb{10, 20, 30}));  // picture pixel (3, 5)
  EXPECT_EQ(pixelOf(image, 5, 5), kGreen);
  EXPECT_EQ(pixelOf(image, 0, 0), kGreen);

  CBitmap palette(kPaletteImage);
  palette.draw(&image, CRect(10, 10, 15, 13));
  EXPECT_EQ(pixelOf(image, 11, 11), (Rgb{0, 0, 0}));
  EXPECT_EQ(pixelOf(image, 12, 11), kGreen);
}

TEST_F(BitmapTest, TransparentDrawLeavesOutPureWhiteOnly) {
  ASSERT_NE(transparentBltFunction, nullptr);
  CBitmap bitmap(kStripImage);
  COffscreenContext image(nullptr, 12, 8, kGreenCColor);
  bitmap.drawTransparent(&image, CRect(2, 2, 10, 6));
  const std::vector<Rgb> expected{kRed, kRed, kRed, kRed, kGreen, kGreen, kNearWhite, kBlue};
  EXPECT_EQ(stripRow(image), expected);
}

TEST_F(BitmapTest, TransparentDrawGivesTheSameImageWithoutTheSystemCopy) {
  CBitmap bitmap(kStripImage);
  COffscreenContext withSystem(nullptr, 12, 8, kGreenCColor);
  bitmap.drawTransparent(&withSystem, CRect(2, 2, 10, 6));

  const TransparentBltFunction saved = transparentBltFunction;
  transparentBltFunction = nullptr;
  COffscreenContext withMask(nullptr, 12, 8, kGreenCColor);
  bitmap.drawTransparent(&withMask, CRect(2, 2, 10, 6));
  transparentBltFunction = saved;

  EXPECT_EQ(stripRow(withMask), stripRow(withSystem));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 12; ++x)
      EXPECT_EQ(pixelOf(withMask, x, y), pixelOf(withSystem, x, y)) << x << "," << y;
}

TEST_F(BitmapTest, TransparentColourCanBeChanged) {
  CBitmap bitmap(kStripImage);
  bitmap.setTransparentColor(kRedCColor);
  for (const bool system : {true, false}) {
    const TransparentBltFunction saved = transparentBltFunction;
    if (!system) transparentBltFunction = nullptr;
    COffscreenContext image(nullptr, 12, 8, kGreenCColor);
    bitmap.drawTransparent(&image, CRect(2, 2, 10, 6));
    transparentBltFunction = saved;
    const std::vector<Rgb> expected{kGreen, kGreen, kGreen, kGreen, kWhite, kWhite, kNearWhite, kBlue};
    EXPECT_EQ(stripRow(image), expected) << system;
  }
}

TEST_F(BitmapTest, StoredMaskGivesTheSameImage) {
  CBitmap bitmap(kStripImage);
  COffscreenContext picture(nullptr, 8, 4, kBlackCColor);
  bitmap.draw(&picture, CRect(0, 0, 8, 4));
  bitmap.setTransparencyMask(&picture);
  COffscreenContext image(nullptr, 12, 8, kGreenCColor);
  bitmap.drawTransparent(&image, CRect(2, 2, 10, 6));
  const std::vector<Rgb> expected{kRed, kRed, kRed, kRed, kGreen, kGreen, kNearWhite, kBlue};
  EXPECT_EQ(stripRow(image), expected);
}

TEST_F(BitmapTest, AlphaBlendAtFullOpacityLooksLikeDrawAndHalfMixes) {
  ASSERT_NE(alphaBlendFunction, nullptr);
  CBitmap bitmap(kStripImage);
  COffscreenContext blended(nullptr, 12, 8, kGreenCColor);
  bitmap.drawAlphaBlend(&blended, CRect(2, 2, 10, 6), CPoint(0, 0), 255);
  COffscreenContext plain(nullptr, 12, 8, kGreenCColor);
  bitmap.draw(&plain, CRect(2, 2, 10, 6));
  EXPECT_EQ(stripRow(blended), stripRow(plain));

  COffscreenContext half(nullptr, 12, 8, kGreenCColor);
  bitmap.drawAlphaBlend(&half, CRect(2, 2, 10, 6), CPoint(0, 0), 128);
  const Rgb mixed = pixelOf(half, 2, 3);
  EXPECT_NEAR(mixed.red, 128, 2);
  EXPECT_NEAR(mixed.green, 127, 2);
  EXPECT_EQ(mixed.blue, 0);
}

// A source that lies partly outside the picture draws the part inside it, in all three ways, with and
// without the system's entry points; nothing is drawn where the picture has no pixels.
TEST_F(BitmapTest, SourcesPartlyOutsideThePictureDrawThePartInside) {
  CBitmap bitmap(kStripImage);
  const AlphaBlendFunction savedBlend = alphaBlendFunction;
  const TransparentBltFunction savedTransparent = transparentBltFunction;
  for (const bool system : {true, false}) {
    if (!system) {
      alphaBlendFunction = nullptr;
      transparentBltFunction = nullptr;
    }
    for (int way = 0; way < 3; ++way) {
      // Columns 2 to 9 of the strip, which has 8: the blue column 7 lands at x 7, 8 and 9 stay as they were.
      COffscreenContext right(nullptr, 12, 8, kGreenCColor);
      // Columns -3 to 4: red from column 0 lands at x 5.
      COffscreenContext left(nullptr, 12, 8, kGreenCColor);
      const CRect area(2, 2, 10, 6);
      switch (way) {
        case 0:
          bitmap.draw(&right, area, CPoint(2, 0));
          bitmap.draw(&left, area, CPoint(-3, -1));
          break;
        case 1:
          bitmap.drawTransparent(&right, area, CPoint(2, 0));
          bitmap.drawTransparent(&left, area, CPoint(-3, -1));
          break;
        default:
          bitmap.drawAlphaBlend(&right, area, CPoint(2, 0), 255);
          bitmap.drawAlphaBlend(&left, area, CPoint(-3, -1), 255);
          break;
      }
      const std::string what = "way " + std::to_string(way) + (system ? " with" : " without") + " system";
      EXPECT_EQ(pixelOf(right, 2, 3), kRed) << what;
      EXPECT_EQ(pixelOf(right, 7, 3), kBlue) << what;
      EXPECT_EQ(pixelOf(right, 8, 3), kGreen) << what;
      EXPECT_EQ(pixelOf(right, 9, 3), kGreen) << what;
      EXPECT_EQ(pixelOf(left, 4, 3), kGreen) << what;
      EXPECT_EQ(pixelOf(left, 5, 3), kRed) << what;
      EXPECT_EQ(pixelOf(left, 5, 2), kGreen) << what;  // row -1 of the picture
      EXPECT_EQ(pixelOf(left, 5, 5), kRed) << what;    // row 2 of the picture
    }
  }
  alphaBlendFunction = savedBlend;
  transparentBltFunction = savedTransparent;
}

// Without the system's blending every visible opacity shows the picture; opacity 0 shows nothing.
TEST_F(BitmapTest, BlendWithoutTheSystemEntryPointCopiesForAnyVisibleOpacity) {
  CBitmap bitmap(kStripImage);
  const AlphaBlendFunction saved = alphaBlendFunction;
  alphaBlendFunction = nullptr;
  for (const unsigned char alpha : {1, 64, 127, 128, 255}) {
    COffscreenContext image(nullptr, 12, 8, kGreenCColor);
    bitmap.drawAlphaBlend(&image, CRect(2, 2, 10, 6), CPoint(0, 0), alpha);
    EXPECT_EQ(pixelOf(image, 2, 3), kRed) << int(alpha);
  }
  COffscreenContext image(nullptr, 12, 8, kGreenCColor);
  bitmap.drawAlphaBlend(&image, CRect(2, 2, 10, 6), CPoint(0, 0), 0);
  EXPECT_EQ(pixelOf(image, 2, 3), kGreen);
  alphaBlendFunction = saved;
}

TEST_F(BitmapTest, OffscreenContextOverABitmapDrawsIntoItOrIntoACopy) {
  CBitmap bitmap(kGreyImage);
  COffscreenContext reference(nullptr, 1, 1);
  {
    COffscreenContext copy(&reference, &bitmap, false);
    EXPECT_EQ(copy.getWidth(), 16);
    EXPECT_EQ(pixelOf(copy, 3, 5), (Rgb{10, 20, 30}));
    copy.setFillColor(kRedCColor);
    copy.drawRect(CRect(0, 0, 16, 16), kDrawFilled);
  }
  COffscreenContext check(nullptr, 16, 16, kGreenCColor);
  bitmap.draw(&check, CRect(0, 0, 16, 16));
  EXPECT_EQ(pixelOf(check, 0, 0), (Rgb{100, 100, 100}));
  {
    COffscreenContext inPlace(&reference, &bitmap, true);
    inPlace.setFillColor(kRedCColor);
    inPlace.drawRect(CRect(0, 0, 16, 16), kDrawFilled);
  }
  bitmap.draw(&check, CRect(0, 0, 16, 16));
  EXPECT_EQ(pixelOf(check, 0, 0), kRed);
  COffscreenContext blank(&reference, nullptr);
  EXPECT_EQ(blank.getWidth(), 20);
  EXPECT_EQ(pixelOf(blank, 10, 10), (Rgb{0, 0, 0}));
}

TEST_F(BitmapTest, SharedBitmapLivesUntilTheLastHolderForgetsIt) {
  auto* bitmap = new CBitmap(kGreyImage);
  {
    GuiTest::RecordingView view(CRect(0, 0, 4, 4));
    view.setBackground(bitmap);
    EXPECT_EQ(bitmap->getNbReference(), 2);
    view.setBackground(nullptr);
    EXPECT_EQ(bitmap->getNbReference(), 1);
    view.setBackground(bitmap);
  }
  EXPECT_EQ(bitmap->getNbReference(), 1);
  bitmap->forget();
}

}  // namespace
