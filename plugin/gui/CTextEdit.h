#pragma once

#include "plugin/gui/CFocusWindowMessages.h"
#include "plugin/gui/CParamDisplay.h"

#include <windows.h>

namespace Gui {

// A text box whose text the user edits in a native EDIT window opened over it on a click. The
// listener hears of the text only when an edit changed it.
class CTextEdit : public CParamDisplay, public CFocusWindowMessages {
 public:
  using TextToDisplay = void (*)(char* text, char* display);
  using TextToDisplayWithData = void (*)(char* text, char* display, void* userData);

  static constexpr size_t kMaxText = 255;

  CTextEdit(const CRect& size, CControlListener* listener, long tag, const char* txt = nullptr,
            CBitmap* background = nullptr, const long style = 0);
  ~CTextEdit() override;

  virtual void setText(const char* txt);
  // Copies the text into a buffer of at least 256 characters.
  virtual void getText(char* txt) const;
  virtual void setTextEditConvert(TextToDisplayWithData convert, void* userData);
  virtual void setTextEditConvert(TextToDisplay convert);

  void draw(CDrawContext* context) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  void takeFocus(CDrawContext* context = nullptr) override;
  void looseFocus(CDrawContext* context = nullptr) override;
  bool isTypeOf(const char* name) const override;

  bool getMenuItemSize(const char* itemText, CDrawContext* context, CPoint& size) override;
  bool drawMenuItem(const char* itemText, long itemId, long state, CDrawContext* context,
                    const CRect& rect) override;
  HBRUSH colourEditField(HDC deviceContext) override;

  // The native edit window while the text is edited, null otherwise.
  HWND getEditWindow() const { return platformControl; }
  // True when the last edit ended with the Return key.
  bool wasReturnPressed() const { return bWasReturnPressed; }

 protected:
  HBRUSH platformFontColor = nullptr;
  HWND platformControl = nullptr;
  bool bWasReturnPressed = false;
  HFONT platformFont = nullptr;
  char text[kMaxText + 1] = "";
  TextToDisplay editConvert = nullptr;
  TextToDisplayWithData editConvertWithData = nullptr;

 private:
  static LRESULT CALLBACK editProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  RECT editWindowRect(CDrawContext* context) const;
  void closeEditWindow();
};

}  // namespace Gui
