#pragma once

#include "plugin/gui/CView.h"

namespace Gui {

class COffscreenContext;

// Update modes of a view container.
enum { kNormalUpdate = 0, kOnlyDirtyUpdate = 1 };

// A view that holds an ordered list of child views placed in its own coordinates. It draws its
// background and then its children (the last on top), through a cached offscreen image when asked,
// and gives clicks, wheel turns and drags to the topmost child under the point.
class CViewContainer : public CView {
 public:
  CViewContainer(const CRect& size, CFrame* frame, CBitmap* background = nullptr);
  ~CViewContainer() override;

  void draw(CDrawContext* context) override;
  void drawRect(CDrawContext* context, const CRect& update) override;
  void mouse(CDrawContext* context, CPoint& where, long buttons = -1) override;
  long onKeyDown(VstKeyCode& keyCode) override;
  long onKeyUp(VstKeyCode& keyCode) override;
  bool onWheel(CDrawContext* context, const CPoint& where, CMouseWheelAxis axis, float distance) override;
  bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
  bool onDrop(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
  void onDragEnter(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
  void onDragLeave(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
  void onDragMove(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
  void looseFocus(CDrawContext* context = nullptr) override;
  void takeFocus(CDrawContext* context = nullptr) override;
  bool isDirty() const override;
  bool hitTest(const CPoint& where, long buttons = -1) override;
  void setViewSize(const CRect& rect) override;
  bool removed(CView* parent) override;
  bool attached(CView* parent) override;
  CPoint& frameToLocal(CPoint& point) const override;
  CPoint& localToFrame(CPoint& point) const override;
  long notify(CView* sender, const char* message) override;
  void redrawRect(CDrawContext* context, const CRect& rect) override;
  bool isTypeOf(const char* type) const override;
  void update(CDrawContext* context) override;

  virtual void addView(CView* view, const CRect& mouseableArea, bool mouseEnabled = true);
  virtual void addView(CView* view);
  // Takes the view out of the list; with forget the creator's reference is dropped as well.
  virtual void removeView(CView* view, bool withForget = true);
  virtual void removeAll(bool withForget = true);
  virtual bool isChild(CView* view) const;
  virtual long getNbViews() const;
  virtual CView* getView(long index) const;
  virtual void setBackgroundColor(const CColor color);
  virtual CColor getBackgroundColor() const { return backgroundColor; }
  virtual void setBackgroundOffset(const CPoint& offset) { backgroundOffset = offset; }
  virtual const CPoint& getBackgroundOffset() const { return backgroundOffset; }
  virtual void drawBackgroundRect(CDrawContext* context, const CRect& rect);
  virtual void setMode(long value) { mode = value; }
  virtual long getMode() const { return mode; }
  virtual void useOffscreen(bool enabled);
  virtual CView* getCurrentView() const;
  virtual CView* getViewAt(const CPoint& where, bool deep = false) const;
  virtual bool advanceNextFocusView(CView* oldFocus, bool reverse = false);

  // Whether a mouse-enabled child is hit (point in local coordinates, children from the last).
  bool hitTestSubViews(const CPoint& where, long buttons = -1);

 protected:
  // One entry of the child list; it holds a reference to its view.
  struct CCView {
    explicit CCView(CView* view);
    ~CCView();
    CCView(const CCView&) = delete;
    CCView& operator=(const CCView&) = delete;

    CView* pView;
    CCView* pNext = nullptr;
    CCView* pPrevious = nullptr;
  };

  // Moves the context's origin (screen and drawing offsets) to this container's top-left corner and
  // back again.
  class ShiftedContext {
   public:
    ShiftedContext(CDrawContext* context, const CRect& size);
    ~ShiftedContext();
    ShiftedContext(const ShiftedContext&) = delete;
    ShiftedContext& operator=(const ShiftedContext&) = delete;

   private:
    CDrawContext* context;
    CPoint savedScreen;
    CPoint savedOffset;
  };

  void makeOffscreenContext();
  void unlinkNode(CCView* node);

  CCView* pFirstView = nullptr;
  CCView* pLastView = nullptr;
  long mode = kOnlyDirtyUpdate;
  COffscreenContext* pOffscreenContext = nullptr;
  CColor backgroundColor = kBlackCColor;
  CPoint backgroundOffset;
  bool bDrawInOffscreen = true;
  CView* currentDragView = nullptr;
};

}  // namespace Gui
