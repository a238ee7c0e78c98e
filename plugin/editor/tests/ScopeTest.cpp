#include <gtest/gtest.h>
#include <windows.h>

#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "plugin/editor/CScope.h"
#include "plugin/gui/CBitmap.h"
#include "plugin/gui/COffscreenContext.h"

using namespace Gui;

namespace {

constexpr long width = 134;
constexpr long height = 106;

// A scope over a background of its size (the editor's scope picture from this program's resources),
// drawn into an offscreen image whose pixels the tests read.
class ScopeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    background = new CBitmap(134);
    ASSERT_EQ(background->getWidth(), width);
    scope = new CScope(CRect(0, 0, width, height), background);
    target = std::make_unique<COffscreenContext>(nullptr, width, height, kBlackCColor);
  }
  void TearDown() override {
    target.reset();
    scope->forget();
    background->forget();
  }

  COLORREF pixel(long x, long y) const { return GetPixel(target->getSystemContext(), x, y); }
  // Draws the scope and answers whether any pixel of the rows shows the colour.
  bool colourInRows(COLORREF colour, long top, long bottom) const {
    for (long y = top; y < bottom; ++y)
      for (long x = 0; x < width; ++x)
        if (pixel(x, y) == colour) return true;
    return false;
  }
  void draw() { scope->draw(target.get()); }

  CBitmap* background = nullptr;
  CScope* scope = nullptr;
  std::unique_ptr<COffscreenContext> target;
};

const COLORREF textColour = RGB(210, 210, 210);
const COLORREF bannerColour = RGB(243, 92, 93);

TEST_F(ScopeTest, StartsWithTheTitleAndATip) {
  EXPECT_STREQ(scope->getLine(0), "Welcome!");
  EXPECT_STREQ(scope->getLine(1), "");
  EXPECT_EQ(std::string(scope->getLine(2)).rfind("Tip: ", 0), 0u);
  EXPECT_STREQ(scope->getStatus(), "");
  EXPECT_TRUE(scope->isTextShown());
}

TEST_F(ScopeTest, HelpTopicsFillTheirLinesAndUnknownTopicsClearThem) {
  scope->showHelp(8);
  EXPECT_STREQ(scope->getLine(0), "LFO shape controls the");
  EXPECT_STREQ(scope->getLine(2), "");
  scope->showHelp(18);
  EXPECT_STREQ(scope->getLine(0), "Midi learn enabled!");
  EXPECT_STREQ(scope->getLine(1), "");
  EXPECT_STREQ(scope->getLine(4), "Now move your controler...");
  scope->setTipLine(7, "kept");
  for (const int topic : {19, 100, -1}) {
    scope->showHelp(static_cast<std::int8_t>(topic));
    for (int line = 0; line < 6; ++line) EXPECT_STREQ(scope->getLine(line), "") << topic << " " << line;
  }
  EXPECT_STREQ(scope->getLine(7), "kept");
}

TEST_F(ScopeTest, StatusLineShowsNameAndValueOrNothing) {
  scope->setStatus("Volume", 1.0f);
  EXPECT_STREQ(scope->getStatus(), "Volume : 1.00");
  scope->setStatus("Volume", 0.5f);
  EXPECT_STREQ(scope->getStatus(), "Volume : 0.50");
  scope->setStatus("Volume", -1.0f);
  EXPECT_STREQ(scope->getStatus(), "");
}

TEST_F(ScopeTest, LongTextsAndLinesOutsideTheViewAreRefusedSafely) {
  const std::string longText(400, 'x');
  scope->setTipLine(3, longText.c_str());
  EXPECT_EQ(std::string(scope->getLine(3)).size(), 255u);
  scope->setTipLine(10, "outside");
  scope->setTipLine(-1, "outside");
  scope->setTitle(longText.c_str());
  scope->showRandomTip();
  EXPECT_EQ(std::string(scope->getLine(0)).size(), 255u);
}

TEST_F(ScopeTest, AClickFlipsTheTextAndTwoClicksInOneSecondPickTheSameTip) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::time_t second = std::time(nullptr);
    CPoint where(10, 10);
    scope->mouse(nullptr, where, 1);
    const std::string first = scope->getLine(2);
    scope->mouse(nullptr, where, 1);
    if (std::time(nullptr) != second) continue;  // the clock ticked between the clicks
    EXPECT_EQ(scope->getLine(2), first);
    EXPECT_TRUE(scope->isTextShown());
    return;
  }
  FAIL() << "no two clicks within one second";
}

TEST_F(ScopeTest, BarsRiseFromTheBottomInAGreyGradient) {
  std::vector<std::int32_t> columns(width, 0);
  columns[5] = 200;
  columns[20] = 30;
  columns[40] = -20;
  scope->setValues(columns.data(), 0);
  scope->setTipLine(0, "");
  scope->showHelp(-1);
  for (int line = 6; line < 10; ++line) scope->setTipLine(static_cast<std::int8_t>(line), "");
  draw();
  EXPECT_EQ(pixel(5, height - 1), RGB(105, 105, 105));
  EXPECT_EQ(pixel(5, 1), RGB(105, 105, 105));
  EXPECT_NE(pixel(5, 0), RGB(105, 105, 105));
  // A line leaves out its end pixel: a bar of 30 covers the 29 bottom rows.
  EXPECT_EQ(pixel(20, height - 29), RGB(120, 120, 120));
  EXPECT_NE(pixel(20, height - 30), RGB(120, 120, 120));
  EXPECT_NE(pixel(40, height - 1), RGB(140, 140, 140));
}

TEST_F(ScopeTest, TextsVanishAfterTheirRedrawCounts) {
  scope->setStatus("Drive", 0.5f);
  draw();
  EXPECT_TRUE(colourInRows(textColour, 14, 70));
  EXPECT_TRUE(colourInRows(textColour, height - 14, height));
  while (scope->redrawCount < 60) draw();
  EXPECT_TRUE(colourInRows(textColour, 14, 70));
  EXPECT_FALSE(colourInRows(textColour, height - 14, height));
  while (scope->redrawCount < 100) draw();
  EXPECT_FALSE(colourInRows(textColour, 14, 70));
  scope->redrawCount = 0;
  draw();
  EXPECT_TRUE(colourInRows(textColour, height - 14, height));
}

TEST_F(ScopeTest, TheLimiterBannerReplacesTheTextLines) {
  scope->setStatus("Drive", 0.5f);
  scope->setLimiter(true);
  draw();
  EXPECT_TRUE(colourInRows(bannerColour, 0, height));
  EXPECT_FALSE(colourInRows(textColour, 14, 70));
  EXPECT_TRUE(colourInRows(textColour, height - 14, height));
  scope->setLimiter(false);
  draw();
  EXPECT_FALSE(colourInRows(bannerColour, 0, height));
  EXPECT_TRUE(colourInRows(textColour, 14, 70));
}

}  // namespace
