#include "plugin/gui/CDropTarget.h"

#include "plugin/gui/CDragContainer.h"
#include "plugin/gui/CDrawContext.h"
#include "plugin/gui/CFrame.h"

Gui::CDragContainer* CDropTarget::gDragContainer = nullptr;

namespace {

// Calls the frame with a fresh context and the cursor position in the frame.
template <typename Call>
void withCursor(Gui::CFrame* frame, Call call) {
  auto* context = new Gui::CDrawContext(frame, nullptr, frame->getWindowHandle());
  Gui::CPoint where;
  frame->getMouseLocation(context, where);
  call(context, where);
  context->forget();
}

}  // namespace

CDropTarget::CDropTarget(Gui::CFrame* frame) : pFrame(frame) {}

HRESULT STDMETHODCALLTYPE CDropTarget::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CDropTarget::AddRef() {
  return static_cast<ULONG>(++refCount);
}

ULONG STDMETHODCALLTYPE CDropTarget::Release() {
  if (--refCount <= 0) {
    delete this;
    return 0;
  }
  return static_cast<ULONG>(refCount);
}

HRESULT STDMETHODCALLTYPE CDropTarget::DragEnter(IDataObject* dataObject, DWORD /*keyState*/,
                                                 POINTL /*point*/, DWORD* effect) {
  if (dataObject && pFrame) {
    if (gDragContainer) gDragContainer->forget();
    gDragContainer = new Gui::CDragContainer(dataObject);
    withCursor(pFrame, [this](Gui::CDrawContext* context, const Gui::CPoint& where) {
      pFrame->onDragEnter(context, gDragContainer, where);
    });
    if (effect) *effect = DROPEFFECT_MOVE;
  } else if (effect) {
    *effect = DROPEFFECT_NONE;
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CDropTarget::DragOver(DWORD /*keyState*/, POINTL /*point*/, DWORD* effect) {
  if (gDragContainer && pFrame) {
    withCursor(pFrame, [this](Gui::CDrawContext* context, const Gui::CPoint& where) {
      pFrame->onDragMove(context, gDragContainer, where);
    });
    if (effect) *effect = DROPEFFECT_MOVE;
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CDropTarget::DragLeave() {
  if (gDragContainer && pFrame) {
    withCursor(pFrame, [this](Gui::CDrawContext* context, const Gui::CPoint& where) {
      pFrame->onDragLeave(context, gDragContainer, where);
    });
    gDragContainer->forget();
    gDragContainer = nullptr;
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CDropTarget::Drop(IDataObject* /*dataObject*/, DWORD /*keyState*/, POINTL /*point*/,
                                            DWORD* /*effect*/) {
  if (gDragContainer && pFrame) {
    withCursor(pFrame, [this](Gui::CDrawContext* context, const Gui::CPoint& where) {
      pFrame->onDrop(context, gDragContainer, where);
    });
    gDragContainer->forget();
    gDragContainer = nullptr;
  }
  return S_OK;
}
