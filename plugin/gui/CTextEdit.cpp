#include "plugin/gui/CTextEdit.h"

#include "plugin/framework/ModuleHandle.h"
#include "plugin/gui/CFrame.h"
#include "plugin/gui/ControlClick.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace Gui {

namespace {

// The system's own procedure of EDIT windows, which the control's procedure passes every message on to.
WNDPROC previousEditProcedure = nullptr;

// Heights and faces of the standard fonts, by font id, for the native edit field.
constexpr long kFontHeights[kNumStandardFonts] = {12, 18, 14, 12, 11, 10, 9, 13};

const char* fontFace(CFont font) {
  return font == kSymbolFont ? "Symbol" : "Arial";
}

void copyText(char* destination, const char* source) {
  std::snprintf(destination, CTextEdit::kMaxText + 1, "%s", source);
}

}  // namespace

CTextEdit::CTextEdit(const CRect& size, CControlListener* listener, long tag, const char* txt,
                     CBitmap* background, const long style)
    : CParamDisplay(size, background, style) {
  this->listener = listener;
  this->tag = tag;
  if (txt) copyText(text, txt);
  setWantsFocus(true);
}

CTextEdit::~CTextEdit() {
  closeEditWindow();
}

void CTextEdit::setText(const char* txt) {
  if (!txt) {
    if (text[0] == 0) return;
    text[0] = 0;
  } else {
    if (std::strcmp(txt, text) == 0) return;
    copyText(text, txt);
  }
  setDirty(true);
}

void CTextEdit::getText(char* txt) const {
  if (txt) copyText(txt, text);
}

void CTextEdit::setTextEditConvert(TextToDisplayWithData convert, void* data) {
  editConvertWithData = convert;
  userData = data;
}

void CTextEdit::setTextEditConvert(TextToDisplay convert) {
  editConvert = convert;
}

void CTextEdit::draw(CDrawContext* context) {
  if (platformControl) {
    setDirty(false);
    return;
  }
  char display[kMaxText + 1] = "";
  if (editConvertWithData) {
    editConvertWithData(text, display, userData);
  } else if (editConvert) {
    editConvert(text, display);
  } else if (stringConvertWithData || stringConvert) {
    if (stringConvertWithData) {
      stringConvertWithData(value, display, userData);
    } else {
      stringConvert(value, display);
    }
    copyText(text, display);
  } else {
    copyText(display, text);
  }
  drawText(context, display);
  setDirty(false);
}

void CTextEdit::mouse(CDrawContext* context, CPoint&, long buttons) {
  if (!bMouseEnabled || !pParentFrame) return;
  if (buttons == -1) buttons = context->getMouseButtons();
  if (!(buttons & kLButton)) return;
  if (listenerTookClick(listener, context, this, buttons)) return;
  if (pParentFrame->getFocusView() == this) return;
  if ((style & kDoubleClickStyle) && !isDoubleClick()) return;
  beginEdit();
  takeFocus(context);
}

RECT CTextEdit::editWindowRect(CDrawContext* context) const {
  CRect area(size);
  for (CView* parent = pParentView; parent; parent = parent->getParentView()) {
    if (parent->notify(const_cast<CTextEdit*>(this), kMsgCheckIfViewContainer) != kMessageNotified) break;
    CRect parentSize;
    parent->getViewSize(parentSize);
    area.offset(parentSize.left, parentSize.top);
  }
  if (context) area.offset(context->offset.h, context->offset.v);
  return RECT{area.left, area.top, area.right, area.bottom};
}

void CTextEdit::takeFocus(CDrawContext* context) {
  if (!pParentFrame || platformControl) return;
  bWasReturnPressed = false;

  const RECT area = editWindowRect(context);
  DWORD alignment = ES_CENTER;
  if (horiTxtAlign == kLeftText) alignment = ES_LEFT;
  if (horiTxtAlign == kRightText) alignment = ES_RIGHT;
  platformControl = CreateWindowExA(0, "EDIT", text, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | alignment,
                                    area.left, area.top, area.right - area.left, area.bottom - area.top,
                                    pParentFrame->getWindowHandle(), nullptr, hInstance, nullptr);
  if (!platformControl) return;

  const CFont font = fontID >= 0 && fontID < kNumStandardFonts ? fontID : kSystemFont;
  LOGFONTA logFont{};
  logFont.lfHeight = -std::min<long>(kFontHeights[font], (area.bottom - area.top) - 2);
  logFont.lfWeight = FW_NORMAL;
  logFont.lfCharSet = ANSI_CHARSET;
  logFont.lfOutPrecision = OUT_STRING_PRECIS;
  logFont.lfClipPrecision = CLIP_STROKE_PRECIS;
  logFont.lfQuality = DEFAULT_QUALITY;
  logFont.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  std::snprintf(logFont.lfFaceName, sizeof(logFont.lfFaceName), "%s", fontFace(font));
  platformFont = CreateFontIndirectA(&logFont);
  platformFontColor = nullptr;

  SetWindowLongPtrA(platformControl, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SendMessageA(platformControl, WM_SETFONT, reinterpret_cast<WPARAM>(platformFont), TRUE);
  SendMessageA(platformControl, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  SendMessageA(platformControl, EM_SETSEL, 0, -1);
  SendMessageA(platformControl, EM_LIMITTEXT, kMaxText, 0);
  SetFocus(platformControl);
  previousEditProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      platformControl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CTextEdit::editProcedure)));
}

LRESULT CALLBACK CTextEdit::editProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* control = reinterpret_cast<CTextEdit*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;
    case WM_KILLFOCUS:
      if (control) control->looseFocus(nullptr);
      break;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN && control) {
        control->bWasReturnPressed = true;
        control->looseFocus(nullptr);
      }
      break;
    default:
      break;
  }
  // Closing the edit destroys the window: nothing is left to pass the message to.
  if (!IsWindow(window)) return 0;
  return CallWindowProcA(previousEditProcedure, window, message, wParam, lParam);
}

void CTextEdit::closeEditWindow() {
  HWND window = platformControl;
  platformControl = nullptr;
  if (window) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
  }
  if (platformFont) DeleteObject(platformFont);
  platformFont = nullptr;
  if (platformFontColor) DeleteObject(platformFontColor);
  platformFontColor = nullptr;
}

void CTextEdit::looseFocus(CDrawContext* context) {
  // Destroying the window and clearing the frame's focus both come back here: the first call does it
  // all, and the edit gesture ends once.
  if (!platformControl) return;

  char oldText[kMaxText + 1];
  copyText(oldText, text);
  GetWindowTextA(platformControl, text, kMaxText + 1);
  closeEditWindow();
  endEdit();
  if (pParentFrame->getFocusView() == this) pParentFrame->setFocusView(nullptr);

  CPoint savedOffset;
  const bool ownContext = context == nullptr;
  if (ownContext) {
    context = new CDrawContext(pParentFrame, nullptr, pParentFrame->getWindowHandle());
  } else {
    context->remember();
  }
  savedOffset = context->offset;
  if (ownContext && pParentView) {
    // The listener draws in the coordinates of the container that holds the control.
    CRect parentSize;
    pParentView->getViewSize(parentSize);
    CPoint origin(0, 0);
    pParentView->localToFrame(origin);
    context->offset = CPoint(parentSize.left + origin.h, parentSize.top + origin.v);
  }
  const bool changed = std::strcmp(oldText, text) != 0;
  if (changed && listener) listener->valueChanged(context, this);
  context->offset = savedOffset;
  context->forget();

  if (changed) doIdleStuff();
  CView* receiver = pParentView ? pParentView : pParentFrame;
  receiver->notify(this, "LooseFocus");
}

HBRUSH CTextEdit::colourEditField(HDC deviceContext) {
  SetTextColor(deviceContext, RGB(fontColor.red, fontColor.green, fontColor.blue));
  SetBkColor(deviceContext, RGB(backColor.red, backColor.green, backColor.blue));
  HBRUSH brush = CreateSolidBrush(RGB(backColor.red, backColor.green, backColor.blue));
  if (platformFontColor) DeleteObject(platformFontColor);
  platformFontColor = brush;
  return brush;
}

bool CTextEdit::getMenuItemSize(const char*, CDrawContext*, CPoint&) {
  return false;
}

bool CTextEdit::drawMenuItem(const char*, long, long, CDrawContext*, const CRect&) {
  return false;
}

bool CTextEdit::isTypeOf(const char* name) const {
  return std::strcmp(name, "CTextEdit") == 0 || CParamDisplay::isTypeOf(name);
}

}  // namespace Gui
