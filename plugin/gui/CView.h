#pragma once

#include "plugin/framework/VstKeyCode.h"
#include "plugin/gui/CColor.h"
#include "plugin/gui/CPoint.h"
#include "plugin/gui/CRect.h"
#include "plugin/gui/CReferenceCounter.h"

#include <vector>

class AEffGUIEditor;

namespace Gui {

class CBitmap;
class CDragContainer;
class CDrawContext;
class CFrame;

// Answers of CView::notify.
enum { kMessageUnknown = 0, kMessageNotified = 1 };

// Asks a view whether it is a view container; recognised by its address, not by its text.
extern const char* const kMsgCheckIfViewContainer;

// The axes of a wheel turn.
enum CMouseWheelAxis { kMouseWheelAxisX = 0, kMouseWheelAxisY = 1 };

// A rectangle of the editor that draws itself and takes the mouse, keys, wheel turns and drops. Its size
// is given in its parent's coordinates.
class CView : public CReferenceCounter {
 public:
  explicit CView(const CRect& size);
  ~CView() override;

  virtual void draw(CDrawContext* context);
  virtual void drawRect(CDrawContext* context, const CRect& update);
  virtual bool checkUpdate(const CRect& update);
  virtual void mouse(CDrawContext* context, CPoint& where, long buttons = -1);
  virtual void setBackground(CBitmap* background);
  virtual CBitmap* getBackground() const { return pBackground; }
  virtual long onKeyDown(VstKeyCode& keyCode);
  virtual long onKeyUp(VstKeyCode& keyCode);
  virtual bool onWheel(CDrawContext* context, const CPoint& where, CMouseWheelAxis axis, float distance);
  virtual bool onWheel(CDrawContext* context, const CPoint& where, float distance);
  virtual bool onDrop(CDrawContext* context, CDragContainer* drag, const CPoint& where);
  virtual void onDragEnter(CDrawContext* context, CDragContainer* drag, const CPoint& where);
  virtual void onDragLeave(CDrawContext* context, CDragContainer* drag, const CPoint& where);
  virtual void onDragMove(CDrawContext* context, CDragContainer* drag, const CPoint& where);
  virtual void looseFocus(CDrawContext* context = nullptr);
  virtual void takeFocus(CDrawContext* context = nullptr);
  virtual bool isDirty() const { return bDirty; }
  virtual void setDirty(bool dirty = true) { bDirty = dirty; }
  virtual void setMouseEnabled(bool enabled = true) { bMouseEnabled = enabled; }
  virtual bool getMouseEnabled() const { return bMouseEnabled; }
  virtual void setMouseableArea(const CRect& rect) { mouseableArea = rect; }
  virtual CRect& getMouseableArea(CRect& rect) const;
  // Right and bottom edges of the mouseable area count as inside.
  virtual bool hitTest(const CPoint& where, long buttons = -1);
  virtual void setTransparency(bool enabled) { bTransparencyEnabled = enabled; }
  virtual bool getTransparency() const { return bTransparencyEnabled; }
  virtual void setViewSize(const CRect& rect);
  virtual CRect& getViewSize(CRect& rect) const;
  virtual bool removed(CView* parent);
  virtual bool attached(CView* parent);
  // The cursor position in the coordinates in which this view's size is given.
  virtual void getMouseLocation(CDrawContext* context, CPoint& point);
  virtual CPoint& frameToLocal(CPoint& point) const;
  virtual CPoint& localToFrame(CPoint& point) const;
  virtual AEffGUIEditor* getEditor() const;
  virtual long notify(CView* sender, const char* message);
  virtual void redrawRect(CDrawContext* context, const CRect& rect);
  virtual bool wantsFocus() const { return bWantsFocus; }
  virtual void setWantsFocus(bool wants) { bWantsFocus = wants; }
  virtual bool isTypeOf(const char* type) const;
  // The idle redraw: redraws the view when it is dirty.
  virtual void update(CDrawContext* context);

  // Draws the view at once through its frame.
  void redraw();

  CFrame* getFrame() const { return pParentFrame; }
  CView* getParentView() const { return pParentView; }
  // Set by the container that takes the view.
  void setParentFrame(CFrame* frame) { pParentFrame = frame; }
  void setParentView(CView* parent) { pParentView = parent; }

  // Attributes: byte records kept by id.
  bool getAttributeSize(long id, long& outSize) const;
  bool getAttribute(long id, long inSize, void* outData, long& outSize) const;
  bool setAttribute(long id, long inSize, const void* inData);

 protected:
  struct Attribute {
    long id;
    std::vector<char> data;
  };

  CRect size;
  CRect mouseableArea;
  CFrame* pParentFrame = nullptr;
  CView* pParentView = nullptr;
  bool bDirty = false;
  bool bMouseEnabled = true;
  bool bTransparencyEnabled = false;
  bool bWantsFocus = false;
  CBitmap* pBackground = nullptr;
  std::vector<Attribute> pAttributeList;
};

}  // namespace Gui
