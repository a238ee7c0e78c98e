#pragma once

#include "plugin/gui/CColor.h"
#include "plugin/gui/CPoint.h"
#include "plugin/gui/CRect.h"
#include "plugin/gui/CReferenceCounter.h"

#include <windows.h>

namespace Gui {

class CFrame;

// Ids of the standard fonts.
enum CFont {
  kSystemFont = 0,
  kNormalFontVeryBig,
  kNormalFontBig,
  kNormalFont,
  kNormalFontSmall,
  kNormalFontSmaller,
  kNormalFontVerySmall,
  kSymbolFont,
  kNumStandardFonts
};

// Font style bits.
enum CTxtFace { kBoldFace = 1, kItalicFace = 2, kUnderlineFace = 4 };

enum CDrawStyle { kDrawStroked = 0, kDrawFilled, kDrawFilledAndStroked };
enum CLineStyle { kLineSolid = 0, kLineOnOffDash };
enum CDrawMode { kCopyMode = 0, kOrMode, kXorMode };
enum CHoriTxtAlign { kLeftText = 0, kCenterText, kRightText };

// Mouse buttons and modifier keys, as one set.
enum CButton { kLButton = 1, kMButton = 2, kRButton = 4, kShift = 8, kControl = 16, kAlt = 32 };

// A drawing surface over a GDI device context: keeps its pen, brush, font and colours, adds the drawing
// offset to every coordinate, clips, and tells where the mouse is and which buttons and keys are down.
class CDrawContext : public CReferenceCounter {
 public:
  // Each argument may be null; with a window and no device context the window's own one is taken.
  CDrawContext(CFrame* frame, HDC systemContext, HWND window);
  ~CDrawContext() override;

  void moveTo(const CPoint& point);
  void lineTo(const CPoint& point);
  // Separate segments from points[2i] to points[2i + 1].
  void drawLines(const CPoint* points, long numberOfLines);
  void polyLine(const CPoint* points, long numberOfPoints);
  void drawPolygon(const CPoint* points, long numberOfPoints, CDrawStyle style = kDrawStroked);
  void drawRect(const CRect& rect, CDrawStyle style = kDrawStroked);
  // The interior without the left and top boundary lines.
  void fillRect(const CRect& rect);
  void drawEllipse(const CRect& rect);
  void fillEllipse(const CRect& rect);
  // Arcs and pies between two angles in degrees, counter-clockwise from three o'clock.
  void drawArc(const CRect& rect, float startAngle, float endAngle);
  void fillArc(const CRect& rect, float startAngle, float endAngle);
  void drawPie(const CRect& rect, float startAngle, float endAngle, CDrawStyle style);
  // An arc and a filled pie between the directions of two points.
  void drawArc(const CRect& rect, const CPoint& point1, const CPoint& point2);
  void fillArc(const CRect& rect, const CPoint& point1, const CPoint& point2);
  void drawPoint(const CPoint& point, CColor color);
  CColor getPoint(const CPoint& point);
  void floodFill(const CPoint& start);

  void setLineStyle(CLineStyle style);
  CLineStyle getLineStyle() const { return lineStyle; }
  void setLineWidth(long width);
  long getLineWidth() const { return frameWidth; }
  void setDrawMode(CDrawMode mode);
  CDrawMode getDrawMode() const { return drawMode; }

  // The clip rectangle is given in local coordinates (the drawing offset is added).
  void setClipRect(const CRect& clip);
  // The clip rectangle in device coordinates (with the drawing offset in it).
  CRect& getClipRect(CRect& clip) const;
  // The clip rectangle in local coordinates, as setClipRect takes it back.
  CRect getLocalClipRect() const;
  void resetClipRect();

  void setFillColor(const CColor color);
  CColor getFillColor() const { return fillColor; }
  void setFrameColor(const CColor color);
  CColor getFrameColor() const { return frameColor; }
  void setFontColor(const CColor color);
  CColor getFontColor() const { return fontColor; }
  // Size 0 takes the font's standard size.
  void setFont(CFont fontId, long size = 0, long style = 0);
  CFont getFont() const { return static_cast<CFont>(fontId); }
  long getFontSize() const { return fontSize; }

  long getStringWidth(const char* text);
  void drawString(const char* text, const CRect& rect, short opaque = 0,
                  CHoriTxtAlign alignment = kCenterText);

  // Buttons and modifier keys held down now.
  long getMouseButtons();
  // The cursor position relative to offsetScreen.
  void getMouseLocation(CPoint& point);
  // True when the left button goes down again within the double-click time near the same place.
  bool waitDoubleClick();
  // True when the cursor leaves a 2-pixel box while the left button stays down.
  bool waitDrag();

  HDC getSystemContext() const { return pSystemContext; }
  HWND getWindow() const { return pWindow; }
  CFrame* getFrame() const { return pFrame; }

  // Where the window's top-left corner lies on the screen (moved by containers for mouse positions).
  CPoint offsetScreen;
  // Added to every coordinate given to a drawing operation.
  CPoint offset;

 protected:
  void makePen();
  void selectClipRegion();
  // Takes a device context made after construction: saves what it holds and selects this context's
  // pen, brush, font, colours and draw mode into it.
  void attachDeviceContext(HDC deviceContext);
  // Puts back the objects the device context held before.
  void detachDeviceContext();
  CRect toDevice(const CRect& rect) const;
  POINT toDevice(const CPoint& point) const;

  HDC pSystemContext;
  HWND pWindow;
  CFrame* pFrame;
  long fontSize = -1;
  long fontStyle = 0;
  long fontId = kNumStandardFonts;
  CColor fontColor{0, 0, 0, 0};
  long frameWidth = 0;
  CColor frameColor{0, 0, 0, 0};
  CColor fillColor{0, 0, 0, 0};
  CLineStyle lineStyle = kLineOnOffDash;
  CDrawMode drawMode = static_cast<CDrawMode>(3);
  CRect clipRect;
  HBRUSH brush = nullptr;
  HPEN pen = nullptr;
  HFONT font = nullptr;
  HGDIOBJ oldBrush = nullptr;
  HGDIOBJ oldPen = nullptr;
  HGDIOBJ oldFont = nullptr;
  long penStyle = PS_SOLID;
  HDC ownDC = nullptr;
};

}  // namespace Gui
