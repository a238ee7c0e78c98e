// Drag and drop: the drag container over real data objects, and drops through the frame's target.
#include "plugin/gui/CDragContainer.h"
#include "plugin/gui/CDropTarget.h"
#include "plugin/gui/tests/GuiTestSupport.h"

#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace Gui;
using GuiTest::RecordingView;

// A data object that offers either a list of files (CF_HDROP) or a text (CF_TEXT), or nothing.
class TestDataObject : public IDataObject {
 public:
  static TestDataObject* files(const std::vector<std::string>& paths) {
    auto* data = new TestDataObject;
    data->paths = paths;
    data->format = CF_HDROP;
    return data;
  }
  static TestDataObject* text(const std::string& text) {
    auto* data = new TestDataObject;
    data->content = text;
    data->format = CF_TEXT;
    return data;
  }
  static TestDataObject* empty() { return new TestDataObject; }

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++count; }
  STDMETHODIMP_(ULONG) Release() override {
    if (--count == 0) {
      delete this;
      return 0;
    }
    return count;
  }
  STDMETHODIMP GetData(FORMATETC* wanted, STGMEDIUM* medium) override {
    if (QueryGetData(wanted) != S_OK) return DV_E_FORMATETC;
    ++mediaHandedOut;
    medium->tymed = TYMED_HGLOBAL;
    medium->pUnkForRelease = nullptr;
    medium->hGlobal = format == CF_TEXT ? textMemory() : dropMemory();
    return S_OK;
  }
  STDMETHODIMP QueryGetData(FORMATETC* wanted) override {
    return wanted && format != 0 && wanted->cfFormat == format && (wanted->tymed & TYMED_HGLOBAL)
               ? S_OK
               : DV_E_FORMATETC;
  }
  STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP DUnadvise(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

  int mediaHandedOut = 0;

 private:
  TestDataObject() = default;
  virtual ~TestDataObject() = default;

  HGLOBAL textMemory() const {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, content.size() + 1);
    std::memcpy(GlobalLock(memory), content.c_str(), content.size() + 1);
    GlobalUnlock(memory);
    return memory;
  }
  HGLOBAL dropMemory() const {
    std::string list;
    for (const std::string& path : paths) list += path + '\0';
    list += '\0';
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size());
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
    GlobalUnlock(memory);
    return memory;
  }

  ULONG count = 1;
  CLIPFORMAT format = 0;
  std::vector<std::string> paths;
  std::string content;
};

// Every item of a drag container, in order.
std::vector<std::string> itemsOf(CDragContainer& drag, long expectedType) {
  std::vector<std::string> items;
  long size = 0;
  long type = CDragContainer::kUnknown;
  for (void* item = drag.first(size, type); item; item = drag.next(size, type)) {
    EXPECT_EQ(type, expectedType);
    EXPECT_EQ(static_cast<size_t>(size),
              std::strlen(static_cast<char*>(item)) + (expectedType == CDragContainer::kText));
    items.emplace_back(static_cast<char*>(item));
  }
  EXPECT_EQ(type, CDragContainer::kUnknown);
  return items;
}

TEST(CDragContainer, CountsAndHandsOutDroppedFiles) {
  TestDataObject* data = TestDataObject::files({"C:\\a.fxp", "C:\\b.fxb", "C:\\c.txt"});
  CDragContainer drag(data);
  EXPECT_EQ(drag.getCount(), 3);
  EXPECT_EQ(drag.getType(), CDragContainer::kFile);
  EXPECT_EQ(itemsOf(drag, CDragContainer::kFile),
            (std::vector<std::string>{"C:\\a.fxp", "C:\\b.fxb", "C:\\c.txt"}));
  EXPECT_EQ(itemsOf(drag, CDragContainer::kFile).size(), 3u);  // first starts again
  data->Release();
}

TEST(CDragContainer, TextIsOneItem) {
  TestDataObject* data = TestDataObject::text("hello");
  CDragContainer drag(data);
  EXPECT_EQ(drag.getCount(), 1);
  EXPECT_EQ(drag.getType(), CDragContainer::kText);
  EXPECT_EQ(itemsOf(drag, CDragContainer::kText), std::vector<std::string>{"hello"});
  data->Release();
}

TEST(CDragContainer, NeitherTextNorFilesGivesNoItems) {
  TestDataObject* data = TestDataObject::empty();
  CDragContainer drag(data);
  EXPECT_EQ(drag.getCount(), 0);
  long size = -1;
  long type = 5;
  EXPECT_EQ(drag.first(size, type), nullptr);
  EXPECT_EQ(size, 0);
  EXPECT_EQ(type, CDragContainer::kUnknown);
  data->Release();
  CDragContainer none(nullptr);
  EXPECT_EQ(none.getCount(), 0);
}

TEST(CDragContainer, ShortcutIsResolvedToItsTarget) {
  OleInitialize(nullptr);
  const std::string folder = Testing::makeTempFolder("gui_drag_link");
  const std::string target = folder + "preset.fxp";
  std::ofstream(target) << "x";
  const std::string link = folder + "preset.lnk";
  IShellLinkA* shellLink = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                             reinterpret_cast<void**>(&shellLink)),
            S_OK);
  shellLink->SetPath(target.c_str());
  IPersistFile* file = nullptr;
  ASSERT_EQ(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
  wchar_t wideLink[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wideLink, MAX_PATH);
  ASSERT_EQ(file->Save(wideLink, TRUE), S_OK);
  file->Release();
  shellLink->Release();

  TestDataObject* data = TestDataObject::files({link});
  {
    CDragContainer drag(data);
    const std::vector<std::string> items = itemsOf(drag, CDragContainer::kFile);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(_stricmp(items[0].c_str(), target.c_str()), 0) << items[0];
  }
  data->Release();
  OleUninitialize();
}

// A frame with one view under the cursor, and a drop target of the frame's kind.
class DropOnFrame : public testing::Test {
 protected:
  DropOnFrame() {
    view = new RecordingView(CRect(20, 20, 120, 80));
    frame->addView(view);
    RECT rect;
    GetWindowRect(frame->getWindowHandle(), &rect);
    SetCursorPos(rect.left + 50, rect.top + 50);
    target->AddRef();
  }
  ~DropOnFrame() override {
    target->Release();
    delete frame;
  }

  GuiTest::ParentWindow parent{200, 100};
  CFrame* frame = new CFrame(CRect(0, 0, 200, 100), parent.handle(), nullptr);
  RecordingView* view;
  CDropTarget* target = new CDropTarget(frame);
};

TEST_F(DropOnFrame, DragEntersMovesAndDropsOnTheViewUnderTheCursor) {
  view->takesDrops = true;
  TestDataObject* data = TestDataObject::files({"C:\\one", "C:\\two", "C:\\three"});
  DWORD effect = 0;
  const POINTL point{0, 0};
  EXPECT_EQ(target->DragEnter(data, 0, point, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
  ASSERT_NE(CDropTarget::currentDragContainer(), nullptr);
  EXPECT_EQ(target->DragOver(0, point, &effect), S_OK);
  EXPECT_EQ(target->Drop(data, 0, point, &effect), S_OK);
  EXPECT_EQ(view->events, (std::vector<std::string>{"enter", "move", "drop", "leave"}));
  EXPECT_EQ(view->droppedItems, 3);
  EXPECT_EQ(CDropTarget::currentDragContainer(), nullptr);
  EXPECT_EQ(data->mediaHandedOut, 1);
  data->Release();
}

TEST_F(DropOnFrame, DropOnAViewThatRefusesItLeavesNoDragBehind) {
  TestDataObject* data = TestDataObject::text("text");
  DWORD effect = 0;
  const POINTL point{0, 0};
  target->DragEnter(data, 0, point, &effect);
  target->Drop(data, 0, point, &effect);
  EXPECT_EQ(view->events, (std::vector<std::string>{"enter", "drop", "leave"}));
  EXPECT_EQ(CDropTarget::currentDragContainer(), nullptr);
  data->Release();
}

TEST_F(DropOnFrame, DragThatLeavesIsForgottenAndMovesBetweenViews) {
  RECT rect;
  GetWindowRect(frame->getWindowHandle(), &rect);
  TestDataObject* data = TestDataObject::files({"C:\\one"});
  DWORD effect = 0;
  const POINTL point{0, 0};
  target->DragEnter(data, 0, point, &effect);
  SetCursorPos(rect.left + 5, rect.top + 5);
  target->DragOver(0, point, &effect);
  target->DragLeave();
  EXPECT_EQ(view->events, (std::vector<std::string>{"enter", "leave"}));
  EXPECT_EQ(CDropTarget::currentDragContainer(), nullptr);

  DWORD untouched = 77;
  EXPECT_EQ(target->DragOver(0, point, &untouched), S_OK);
  EXPECT_EQ(untouched, 77u);
  EXPECT_EQ(target->DragEnter(nullptr, 0, point, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  data->Release();
}

TEST(CDropTarget, AnswersForItsOwnInterfacesOnly) {
  auto* target = new CDropTarget(nullptr);
  void* object = nullptr;
  EXPECT_EQ(target->QueryInterface(IID_IDropTarget, &object), S_OK);
  EXPECT_EQ(object, static_cast<IDropTarget*>(target));
  EXPECT_EQ(target->QueryInterface(IID_IDataObject, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(target->Release(), 0u);
}

}  // namespace
