#pragma once

#include <ole2.h>

namespace Gui {
class CDragContainer;
class CFrame;
}  // namespace Gui

// The OLE drop target of a frame window: hands a drag that enters, moves over, leaves or drops on the
// window to the frame, with the cursor position as the place.
class CDropTarget : public IDropTarget {
 public:
  explicit CDropTarget(Gui::CFrame* frame);
  virtual ~CDropTarget() = default;

  CDropTarget(const CDropTarget&) = delete;
  CDropTarget& operator=(const CDropTarget&) = delete;

  STDMETHOD(QueryInterface)(REFIID riid, void** object) override;
  STDMETHOD_(ULONG, AddRef)() override;
  STDMETHOD_(ULONG, Release)() override;
  STDMETHOD(DragEnter)(IDataObject* dataObject, DWORD keyState, POINTL point, DWORD* effect) override;
  STDMETHOD(DragOver)(DWORD keyState, POINTL point, DWORD* effect) override;
  STDMETHOD(DragLeave)() override;
  STDMETHOD(Drop)(IDataObject* dataObject, DWORD keyState, POINTL point, DWORD* effect) override;

  // The drag in progress over any frame window, or null.
  static Gui::CDragContainer* currentDragContainer() { return gDragContainer; }

 private:
  long refCount = 0;
  Gui::CFrame* pFrame;

  static Gui::CDragContainer* gDragContainer;
};
