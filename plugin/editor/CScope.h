#pragma once

#include <cstdint>

#include "plugin/gui/CView.h"

namespace Gui {
class CBitmap;
}

// The editor's display over its background picture: the filter response as one bar per pixel column,
// up to ten lines of text (a title with a random tip, or the help of the control changed last), a status
// line with that control's name and value, and the "LIMITER!" banner while the output limiter acts.
// Texts vanish by themselves: the lines after 100 redraws, the status line after 60.
class CScope : public Gui::CView {
 public:
  static constexpr std::int32_t lineCount = 10;
  static constexpr std::int32_t textCapacity = 256;
  static constexpr std::int32_t maxColumns = 1000;
  static constexpr std::int32_t lineDrawCount = 100;
  static constexpr std::int32_t statusDrawCount = 60;

  // The view is as large as the background, which the caller keeps alive (at most 1000 pixels wide).
  CScope(const Gui::CRect& size, Gui::CBitmap* background);

  void draw(Gui::CDrawContext* context) override;
  // A click shows or hides the text lines and draws a new tip.
  void mouse(Gui::CDrawContext* context, Gui::CPoint& where, long buttons = -1) override;

  // Takes one bar height per pixel column and the mode of the curve; draws nothing.
  virtual void setValues(const std::int32_t* columnValues, std::uint8_t curveMode);
  virtual void setStyle(std::uint8_t newStyle) { style = newStyle; }
  // Writes a text into line 0..9; other lines are ignored and long texts cut.
  virtual void setTipLine(std::int8_t line, const char* text);
  // The title in line 0, an empty line 1 and a tip chosen by the time in seconds in lines 2 to 5.
  virtual void showRandomTip();
  // The help texts of a topic 0..18 in lines 0 to 5; any other topic leaves them empty.
  virtual void showHelp(std::int8_t topic);
  virtual void setTitle(const char* text);
  virtual void setLimiter(bool active) { limiter = active; }
  // "name : value" with two decimals; exactly -1 clears the status line.
  virtual void setStatus(const char* name, float value);

  // Draws since the last control change; the editor resets it to show help and status again.
  std::int32_t redrawCount = 0;

  const char* getLine(std::int32_t line) const { return lines[line]; }
  const char* getStatus() const { return status; }
  bool isTextShown() const { return showText; }
  const std::int32_t* getValues() const { return values; }
  std::uint8_t getMode() const { return mode; }

 private:
  void clearLines(std::int32_t count);
  // Writes texts one per line from line 0 of the given block.
  void writeLines(std::int32_t first, const char* const* texts);
  void drawTextLines(Gui::CDrawContext& context);
  void drawLimiter(Gui::CDrawContext& context);
  void drawStatus(Gui::CDrawContext& context);

  std::uint8_t style = 0;
  bool showText = true;
  Gui::CBitmap* pScopeBitmap;
  std::int32_t width;
  std::int32_t height;
  std::int32_t values[maxColumns] = {};
  std::uint8_t mode = 0;
  char lines[lineCount][textCapacity] = {};
  char status[textCapacity] = {};
  char title[textCapacity] = "Welcome!";
  bool limiter = false;
};
