#pragma once

#include "plugin/gui/CViewContainer.h"
#include "plugin/gui/OleSession.h"

#include <windows.h>

class AEffGUIEditor;
class CDropTarget;

namespace Gui {

class COffscreenContext;

// Cursor types of CFrame::setCursor.
enum CCursorType {
  kCursorDefault = 0,
  kCursorWait,
  kCursorHSize,
  kCursorVSize,
  kCursorSizeAll,
  kCursorNESWSize,
  kCursorNWSESize,
  kCursorCopy,
  kCursorNotAllowed,
  kCursorHand
};

// The root view of an editor: owns a child window in the host's editor window, turns its paint, mouse,
// wheel and owner-drawn menu messages into view calls, keeps the modal and the focus view, takes file
// drops and connects the views to the editor for idle, ticks, knob mode and edit gestures.
class CFrame : public CViewContainer {
 public:
  // Makes the frame's window in the parent window.
  CFrame(const CRect& size, HWND pSystemWindow, AEffGUIEditor* pEditor);
  // A frame without a window of its own.
  CFrame(const CRect& size, const char* title, AEffGUIEditor* pEditor, long style = 0);
  ~CFrame() override;

  void draw(CDrawContext* context) override;
  void drawRect(CDrawContext* context, const CRect& update) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  long onKeyDown(VstKeyCode& keyCode) override;
  long onKeyUp(VstKeyCode& keyCode) override;
  bool onWheel(CDrawContext* context, const CPoint& where, CMouseWheelAxis axis, float distance) override;
  bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
  void setViewSize(const CRect& rect) override;
  AEffGUIEditor* getEditor() const override { return pEditor; }
  bool isTypeOf(const char* type) const override;
  void update(CDrawContext* context) override;
  CView* getCurrentView() const override;
  void removeView(CView* view, bool withForget = true) override;
  bool advanceNextFocusView(CView* oldFocus, bool reverse = false) override;

  virtual bool open(CPoint* position = nullptr);
  virtual bool close();
  virtual bool isOpen() const { return bOpenFlag; }
  // Redraws the dirty views (after the first paint).
  virtual void idle();
  virtual void doIdleStuff();
  virtual unsigned long getTicks() const;
  virtual long getKnobMode() const;
  virtual bool setPosition(long x, long y);
  virtual bool getPosition(long& x, long& y) const;
  virtual bool setSize(long width, long height);
  virtual bool getSize(CRect& rect) const;
  virtual bool getSize(CRect* rect) const;
  // A modal view is added as a child; the frame holds only the reference that adds. Closing it,
  // however it is removed (setModalView with null, removeView or removeAll, with forget or without),
  // drops that reference alone: whatever the view's creator holds stays its own.
  virtual bool setModalView(CView* view);
  virtual CView* getModalView() const { return pModalView; }
  virtual void beginEdit(long index);
  virtual void endEdit(long index);
  // The cursor position relative to the frame window's top-left corner.
  virtual bool getCurrentLocation(CPoint& where);
  virtual void setCursor(CCursorType type);
  virtual void setFocusView(CView* view);
  virtual CView* getFocusView() const { return pFocusView; }
  virtual bool setDropActive(bool active);
  virtual bool isDropActive() const { return bDropActive; }
  virtual void setOpenFlag(bool flag) { bOpenFlag = flag; }
  virtual bool getOpenFlag() const { return bOpenFlag; }
  // Flags every child that overlaps the rectangle dirty.
  virtual void invalidate(const CRect& rect);
  // Answers the previous value.
  virtual bool setUpdatesDisabled(bool disabled);
  virtual bool isUpdatesDisabled() const { return bUpdatesDisabled; }
  // Draws one direct child at once, or the whole frame for any other view.
  virtual void draw(CView* view);

  bool initFrame(HWND parentWindow);
  HWND getSystemWindow() const { return pSystemWindow; }
  HWND getWindowHandle() const { return pHwnd; }
  // The window that holds the editor in the host: the first one up from the frame window with a
  // caption, without a parent or much larger than the frame window; null when none.
  HWND getOuterWindow() const;
  COffscreenContext* getBackBuffer() const { return pBackBuffer; }

  // The window procedure of every frame window.
  static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  LRESULT paint(HWND window);
  LRESULT measureItem(MEASUREITEMSTRUCT* item);
  LRESULT drawItem(DRAWITEMSTRUCT* item);
  LRESULT colourEditField(HDC deviceContext);
  void loadBlendFunctions();
  bool resizeWindowChain(long width, long height);

  AEffGUIEditor* pEditor;
  HWND pSystemWindow;
  CView* pModalView = nullptr;
  CView* pFocusView = nullptr;
  bool bFirstDraw = true;
  bool bOpenFlag = true;
  bool bDropActive = false;
  bool bUpdatesDisabled = false;
  HWND pHwnd = nullptr;
  HMODULE hMsimg32 = nullptr;
  CDropTarget* pDropTarget = nullptr;
  COffscreenContext* pBackBuffer = nullptr;
  CDrawContext* pFrameContext = nullptr;
  bool bAddedWindow = false;
  HCURSOR defaultCursor = nullptr;
  bool defaultCursorSaved = false;  // defaultCursor holds the cursor before the first setCursor
  // OLE for the window's drop target; ends with the frame, after the target is revoked.
  OleSession ole;
};

}  // namespace Gui
