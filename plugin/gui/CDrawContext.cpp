#include "plugin/gui/CDrawContext.h"

#include "plugin/gui/CFrame.h"
#include "plugin/gui/FrameWindowClass.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace Gui {

namespace {

struct StandardFont {
  long height;
  const char* face;
};

constexpr StandardFont kStandardFonts[kNumStandardFonts] = {
    {12, "Arial"}, {18, "Arial"}, {14, "Arial"}, {12, "Arial"},
    {11, "Arial"}, {10, "Arial"}, {9, "Arial"},  {13, "Symbol"},
};

COLORREF colorRef(const CColor& color) {
  return toWindowsColor(color);
}

// Selects a stock object for the lifetime of the guard.
class SelectedStock {
 public:
  SelectedStock(HDC deviceContext, int stockObject)
      : deviceContext(deviceContext), previous(SelectObject(deviceContext, GetStockObject(stockObject))) {}
  ~SelectedStock() { SelectObject(deviceContext, previous); }
  SelectedStock(const SelectedStock&) = delete;
  SelectedStock& operator=(const SelectedStock&) = delete;

 private:
  HDC deviceContext;
  HGDIOBJ previous;
};

POINT pointOnEllipse(const RECT& box, float degrees) {
  const double radians = degrees * 3.14159265358979323846 / 180.0;
  const double centreX = (box.left + box.right) / 2.0;
  const double centreY = (box.top + box.bottom) / 2.0;
  const double radiusX = (box.right - box.left) / 2.0;
  const double radiusY = (box.bottom - box.top) / 2.0;
  return POINT{static_cast<LONG>(std::lround(centreX + std::cos(radians) * radiusX)),
               static_cast<LONG>(std::lround(centreY - std::sin(radians) * radiusY))};
}

int rasterOperation(CDrawMode mode) {
  return mode == kOrMode ? R2_MERGEPEN : mode == kXorMode ? R2_NOTXORPEN : R2_COPYPEN;
}

RECT toRECT(const CRect& rect) {
  return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

CDrawContext::CDrawContext(CFrame* frame, HDC systemContext, HWND window)
    : pSystemContext(systemContext), pWindow(window), pFrame(frame) {
  if (pFrame)
    pFrame->getViewSize(clipRect);
  else
    clipRect = CRect(0, 0, 1000, 1000);
  if (!pSystemContext && pWindow) {
    ownDC = GetDC(pWindow);
    pSystemContext = ownDC;
  }
  if (pSystemContext) {
    oldBrush = GetCurrentObject(pSystemContext, OBJ_BRUSH);
    oldPen = GetCurrentObject(pSystemContext, OBJ_PEN);
    oldFont = GetCurrentObject(pSystemContext, OBJ_FONT);
    SetBkMode(pSystemContext, TRANSPARENT);
  }
  if (pWindow) {
    RECT windowRect;
    if (GetWindowRect(pWindow, &windowRect)) offsetScreen = CPoint(windowRect.left, windowRect.top);
  }
  setFrameColor(kWhiteCColor);
  setLineStyle(kLineSolid);
  setLineWidth(1);
  setFillColor(kBlackCColor);
  setFontColor(kWhiteCColor);
  setFont(kSystemFont);
  setDrawMode(kCopyMode);
}

CDrawContext::~CDrawContext() {
  detachDeviceContext();
  if (brush) DeleteObject(brush);
  if (pen) DeleteObject(pen);
  if (font) DeleteObject(font);
  if (ownDC) ReleaseDC(pWindow, ownDC);
}

void CDrawContext::attachDeviceContext(HDC deviceContext) {
  pSystemContext = deviceContext;
  if (!pSystemContext) return;
  oldBrush = brush ? SelectObject(pSystemContext, brush) : GetCurrentObject(pSystemContext, OBJ_BRUSH);
  oldPen = pen ? SelectObject(pSystemContext, pen) : GetCurrentObject(pSystemContext, OBJ_PEN);
  oldFont = font ? SelectObject(pSystemContext, font) : GetCurrentObject(pSystemContext, OBJ_FONT);
  SetBkMode(pSystemContext, TRANSPARENT);
  SetBkColor(pSystemContext, colorRef(fillColor));
  SetTextColor(pSystemContext, colorRef(fontColor));
  SetROP2(pSystemContext, rasterOperation(drawMode));
}

void CDrawContext::detachDeviceContext() {
  if (pSystemContext) {
    if (oldBrush) SelectObject(pSystemContext, oldBrush);
    if (oldPen) SelectObject(pSystemContext, oldPen);
    if (oldFont) SelectObject(pSystemContext, oldFont);
  }
  oldBrush = oldPen = oldFont = nullptr;
}

CRect CDrawContext::toDevice(const CRect& rect) const {
  return CRect(rect).offset(offset.h, offset.v);
}

POINT CDrawContext::toDevice(const CPoint& point) const {
  return POINT{point.h + offset.h, point.v + offset.v};
}

void CDrawContext::makePen() {
  HPEN newPen = CreatePen(penStyle, frameWidth, colorRef(frameColor));
  if (!newPen) return;
  SelectObject(pSystemContext, newPen);
  if (pen) DeleteObject(pen);
  pen = newPen;
}

void CDrawContext::setLineStyle(CLineStyle style) {
  if (style == lineStyle) return;
  lineStyle = style;
  penStyle = style == kLineOnOffDash ? PS_DOT : PS_SOLID;
  makePen();
}

void CDrawContext::setLineWidth(long width) {
  if (width == frameWidth) return;
  frameWidth = width;
  makePen();
}

void CDrawContext::setFrameColor(const CColor color) {
  if (color == frameColor) return;
  frameColor = color;
  makePen();
}

void CDrawContext::setFillColor(const CColor color) {
  if (color == fillColor) return;
  fillColor = color;
  SetBkColor(pSystemContext, colorRef(color));
  HBRUSH newBrush = CreateSolidBrush(colorRef(color));
  if (!newBrush) return;
  SelectObject(pSystemContext, newBrush);
  if (brush) DeleteObject(brush);
  brush = newBrush;
}

void CDrawContext::setFontColor(const CColor color) {
  fontColor = color;
  SetTextColor(pSystemContext, colorRef(color));
}

void CDrawContext::setFont(CFont id, long size, long style) {
  const long fontIndex = id < 0 || id >= kNumStandardFonts ? kSystemFont : id;
  const long wanted = size != 0 ? size : kStandardFonts[fontIndex].height;
  if (fontIndex == fontId && wanted == fontSize && style == fontStyle) return;
  fontId = fontIndex;
  fontSize = wanted;
  fontStyle = style;
  const bool bold = fontIndex == kSystemFont || (style & kBoldFace) != 0;
  const DWORD pitchAndFamily =
      fontIndex == kSymbolFont ? (DEFAULT_PITCH | FF_DECORATIVE) : (VARIABLE_PITCH | FF_SWISS);
  HFONT newFont =
      CreateFontA(-wanted, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, (style & kItalicFace) != 0,
                  (style & kUnderlineFace) != 0, 0, ANSI_CHARSET, OUT_STRING_PRECIS, CLIP_STROKE_PRECIS,
                  DEFAULT_QUALITY, pitchAndFamily, kStandardFonts[fontIndex].face);
  if (!newFont) return;
  SelectObject(pSystemContext, newFont);
  if (font) DeleteObject(font);
  font = newFont;
}

void CDrawContext::setDrawMode(CDrawMode mode) {
  if (mode == drawMode) return;
  drawMode = mode;
  SetROP2(pSystemContext, rasterOperation(mode));
}

void CDrawContext::setClipRect(const CRect& clip) {
  const CRect device = toDevice(clip);
  if (device == clipRect) return;
  clipRect = device;
  selectClipRegion();
}

void CDrawContext::selectClipRegion() {
  HRGN region = CreateRectRgn(clipRect.left, clipRect.top, clipRect.right, clipRect.bottom);
  SelectClipRgn(pSystemContext, region);
  DeleteObject(region);
}

CRect& CDrawContext::getClipRect(CRect& clip) const {
  clip = clipRect;
  return clip;
}

CRect CDrawContext::getLocalClipRect() const {
  CRect clip = clipRect;
  return clip.offset(-offset.h, -offset.v);
}

void CDrawContext::resetClipRect() {
  if (pFrame)
    pFrame->getViewSize(clipRect);
  else
    clipRect = CRect(0, 0, 1000, 1000);
  selectClipRegion();
}

void CDrawContext::moveTo(const CPoint& point) {
  const POINT p = toDevice(point);
  MoveToEx(pSystemContext, p.x, p.y, nullptr);
}

void CDrawContext::lineTo(const CPoint& point) {
  const POINT p = toDevice(point);
  LineTo(pSystemContext, p.x, p.y);
}

void CDrawContext::drawLines(const CPoint* points, long numberOfLines) {
  for (long i = 0; i < numberOfLines; ++i) {
    moveTo(points[2 * i]);
    lineTo(points[2 * i + 1]);
  }
}

void CDrawContext::polyLine(const CPoint* points, long numberOfPoints) {
  if (numberOfPoints <= 0) return;
  std::vector<POINT> devicePoints;
  for (long i = 0; i < numberOfPoints; ++i) devicePoints.push_back(toDevice(points[i]));
  Polyline(pSystemContext, devicePoints.data(), static_cast<int>(devicePoints.size()));
}

void CDrawContext::drawPolygon(const CPoint* points, long numberOfPoints, CDrawStyle style) {
  if (numberOfPoints <= 0) return;
  std::vector<POINT> devicePoints;
  for (long i = 0; i < numberOfPoints; ++i) devicePoints.push_back(toDevice(points[i]));
  const int count = static_cast<int>(devicePoints.size());
  if (style == kDrawFilled) {
    SelectedStock noPen(pSystemContext, NULL_PEN);
    Polygon(pSystemContext, devicePoints.data(), count);
  } else if (style == kDrawFilledAndStroked) {
    Polygon(pSystemContext, devicePoints.data(), count);
  } else {
    devicePoints.push_back(devicePoints.front());
    Polyline(pSystemContext, devicePoints.data(), count + 1);
  }
}

void CDrawContext::drawRect(const CRect& rect, CDrawStyle style) {
  const CRect r = toDevice(rect);
  if (style == kDrawFilled || style == kDrawFilledAndStroked) {
    SelectedStock noPen(pSystemContext, NULL_PEN);
    Rectangle(pSystemContext, r.left, r.top, r.right + 1, r.bottom + 1);
  }
  if (style == kDrawStroked || style == kDrawFilledAndStroked) {
    MoveToEx(pSystemContext, r.left, r.top, nullptr);
    LineTo(pSystemContext, r.right - 1, r.top);
    LineTo(pSystemContext, r.right - 1, r.bottom - 1);
    LineTo(pSystemContext, r.left, r.bottom - 1);
    LineTo(pSystemContext, r.left, r.top);
  }
}

void CDrawContext::fillRect(const CRect& rect) {
  const CRect r = toDevice(rect);
  SelectedStock noPen(pSystemContext, NULL_PEN);
  Rectangle(pSystemContext, r.left + 1, r.top + 1, r.right + 1, r.bottom + 1);
}

void CDrawContext::drawEllipse(const CRect& rect) {
  const CRect r = toDevice(rect);
  SelectedStock noBrush(pSystemContext, NULL_BRUSH);
  Ellipse(pSystemContext, r.left, r.top, r.right, r.bottom);
}

void CDrawContext::fillEllipse(const CRect& rect) {
  const CRect r = toDevice(rect);
  SelectedStock noPen(pSystemContext, NULL_PEN);
  Ellipse(pSystemContext, r.left + 1, r.top + 1, r.right + 1, r.bottom + 1);
}

void CDrawContext::drawArc(const CRect& rect, float startAngle, float endAngle) {
  const RECT box = toRECT(toDevice(rect));
  const POINT start = pointOnEllipse(box, startAngle);
  const POINT end = pointOnEllipse(box, endAngle);
  Arc(pSystemContext, box.left, box.top, box.right, box.bottom, start.x, start.y, end.x, end.y);
}

void CDrawContext::fillArc(const CRect& rect, float startAngle, float endAngle) {
  drawPie(rect, startAngle, endAngle, kDrawFilled);
}

void CDrawContext::drawPie(const CRect& rect, float startAngle, float endAngle, CDrawStyle style) {
  const RECT box = toRECT(toDevice(rect));
  const POINT start = pointOnEllipse(box, startAngle);
  const POINT end = pointOnEllipse(box, endAngle);
  if (style == kDrawFilled) {
    SelectedStock noPen(pSystemContext, NULL_PEN);
    Pie(pSystemContext, box.left, box.top, box.right, box.bottom, start.x, start.y, end.x, end.y);
  } else if (style == kDrawFilledAndStroked) {
    Pie(pSystemContext, box.left, box.top, box.right, box.bottom, start.x, start.y, end.x, end.y);
  } else {
    SelectedStock noBrush(pSystemContext, NULL_BRUSH);
    Pie(pSystemContext, box.left, box.top, box.right, box.bottom, start.x, start.y, end.x, end.y);
  }
}

void CDrawContext::drawArc(const CRect& rect, const CPoint& point1, const CPoint& point2) {
  const RECT box = toRECT(toDevice(rect));
  const POINT start = toDevice(point1);
  const POINT end = toDevice(point2);
  Arc(pSystemContext, box.left, box.top, box.right, box.bottom, start.x, start.y, end.x, end.y);
}

void CDrawContext::fillArc(const CRect& rect, const CPoint& point1, const CPoint& point2) {
  const RECT box = toRECT(toDevice(rect));
  const POINT start = toDevice(point1);
  const POINT end = toDevice(point2);
  SelectedStock noPen(pSystemContext, NULL_PEN);
  Pie(pSystemContext, box.left, box.top, box.right, box.bottom, start.x, start.y, end.x, end.y);
}

void CDrawContext::drawPoint(const CPoint& point, CColor color) {
  const POINT p = toDevice(point);
  SetPixel(pSystemContext, p.x, p.y, colorRef(color));
}

CColor CDrawContext::getPoint(const CPoint& point) {
  const POINT p = toDevice(point);
  const COLORREF pixel = GetPixel(pSystemContext, p.x, p.y);
  return CColor{GetRValue(pixel), GetGValue(pixel), GetBValue(pixel), 255};
}

void CDrawContext::floodFill(const CPoint& start) {
  const POINT p = toDevice(start);
  ExtFloodFill(pSystemContext, p.x, p.y, GetPixel(pSystemContext, p.x, p.y), FLOODFILLSURFACE);
}

long CDrawContext::getStringWidth(const char* text) {
  if (!text) return 0;
  SIZE extent{0, 0};
  GetTextExtentPoint32A(pSystemContext, text, static_cast<int>(std::strlen(text)), &extent);
  return extent.cx;
}

void CDrawContext::drawString(const char* text, const CRect& rect, short opaque, CHoriTxtAlign alignment) {
  if (!text) return;
  RECT box = toRECT(toDevice(rect));
  SetBkMode(pSystemContext, opaque ? OPAQUE : TRANSPARENT);
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  if (alignment == kLeftText) {
    format |= DT_LEFT;
    box.left += 1;
  } else if (alignment == kRightText) {
    format |= DT_RIGHT;
  } else {
    format |= DT_CENTER;
  }
  DrawTextA(pSystemContext, text, -1, &box, format);
  SetBkMode(pSystemContext, TRANSPARENT);
}

long CDrawContext::getMouseButtons() {
  const bool swapped = FrameWindowClass::buttonsSwapped();
  long buttons = 0;
  if (GetAsyncKeyState(VK_LBUTTON) & 0x8000) buttons |= swapped ? kRButton : kLButton;
  if (GetAsyncKeyState(VK_MBUTTON) & 0x8000) buttons |= kMButton;
  if (GetAsyncKeyState(VK_RBUTTON) & 0x8000) buttons |= swapped ? kLButton : kRButton;
  if (GetAsyncKeyState(VK_SHIFT) & 0x8000) buttons |= kShift;
  if (GetAsyncKeyState(VK_CONTROL) & 0x8000) buttons |= kControl;
  if (GetAsyncKeyState(VK_MENU) & 0x8000) buttons |= kAlt;
  return buttons;
}

void CDrawContext::getMouseLocation(CPoint& point) {
  POINT cursor{0, 0};
  GetCursorPos(&cursor);
  point = CPoint(cursor.x - offsetScreen.h, cursor.y - offsetScreen.v);
}

bool CDrawContext::waitDoubleClick() {
  POINT start{0, 0};
  GetCursorPos(&start);
  const DWORD begin = static_cast<DWORD>(GetMessageTime());
  const DWORD interval = GetDoubleClickTime();
  while (GetTickCount() - begin < interval) {
    MSG message;
    if (PeekMessageA(&message, pWindow, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE)) return true;
    POINT now{0, 0};
    GetCursorPos(&now);
    if (std::abs(now.x - start.x) > 2 || std::abs(now.y - start.y) > 2) return false;
    Sleep(1);
  }
  return false;
}

bool CDrawContext::waitDrag() {
  POINT start{0, 0};
  GetCursorPos(&start);
  while (getMouseButtons() & kLButton) {
    POINT now{0, 0};
    GetCursorPos(&now);
    if (std::abs(now.x - start.x) > 2 || std::abs(now.y - start.y) > 2) return true;
    if (pFrame) pFrame->doIdleStuff();
  }
  return false;
}

}  // namespace Gui
