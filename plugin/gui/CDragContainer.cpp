#include "plugin/gui/CDragContainer.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>
#include <string>

namespace Gui {

namespace {

constexpr int kMaxPath = 1024;

FORMATETC formatOf(CLIPFORMAT format) {
  return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// One storage medium taken from a data object, released at the end of the scope.
class Medium {
 public:
  Medium(IDataObject* data, CLIPFORMAT format) {
    FORMATETC wanted = formatOf(format);
    valid = data && data->GetData(&wanted, &medium) == S_OK && medium.tymed == TYMED_HGLOBAL;
  }
  ~Medium() {
    if (valid) ReleaseStgMedium(&medium);
  }
  Medium(const Medium&) = delete;
  Medium& operator=(const Medium&) = delete;

  bool isValid() const { return valid; }
  HGLOBAL global() const { return medium.hGlobal; }

 private:
  STGMEDIUM medium{};
  bool valid = false;
};

bool endsWithLink(const std::string& path) {
  return path.size() >= 4 && _stricmp(path.c_str() + path.size() - 4, ".lnk") == 0;
}

// The target of a shortcut file; the path itself when it cannot be resolved.
std::string resolveShortcut(const std::string& path) {
  IShellLinkA* link = nullptr;
  if (CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                       reinterpret_cast<void**>(&link)) != S_OK)
    return path;
  std::string target = path;
  IPersistFile* file = nullptr;
  if (link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)) == S_OK) {
    wchar_t widePath[kMaxPath];
    if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, kMaxPath) > 0 &&
        file->Load(widePath, STGM_READ) == S_OK) {
      char resolved[kMaxPath] = {0};
      if (link->GetPath(resolved, kMaxPath, nullptr, SLGP_UNCPRIORITY) == S_OK && resolved[0])
        target = resolved;
    }
    file->Release();
  }
  link->Release();
  return target;
}

char* copyOf(const char* bytes, size_t size) {
  char* copy = new char[size + 1];
  std::memcpy(copy, bytes, size);
  copy[size] = 0;
  return copy;
}

}  // namespace

CDragContainer::CDragContainer(IDataObject* platformDrag) : platformDrag(platformDrag) {
  if (hasText()) {
    nbItems = 1;
    return;
  }
  Medium files(platformDrag, CF_HDROP);
  if (!files.isValid()) return;
  HDROP drop = static_cast<HDROP>(GlobalLock(files.global()));
  if (!drop) return;
  nbItems = static_cast<long>(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0));
  GlobalUnlock(files.global());
}

CDragContainer::~CDragContainer() {
  delete[] lastItem;
}

bool CDragContainer::hasText() const {
  FORMATETC wanted = formatOf(CF_TEXT);
  return platformDrag && platformDrag->QueryGetData(&wanted) == S_OK;
}

long CDragContainer::getType() const {
  return hasText() ? kText : kFile;
}

void* CDragContainer::first(long& size, long& type) {
  iterator = 0;
  return next(size, type);
}

void* CDragContainer::next(long& size, long& type) {
  delete[] lastItem;
  lastItem = nullptr;
  size = 0;
  type = kUnknown;
  if (hasText()) {
    if (iterator != 0) return nullptr;
    ++iterator;
    Medium text(platformDrag, CF_TEXT);
    if (!text.isValid()) return nullptr;
    const char* bytes = static_cast<const char*>(GlobalLock(text.global()));
    if (!bytes) return nullptr;
    const size_t byteCount = GlobalSize(text.global());
    lastItem = copyOf(bytes, byteCount);
    GlobalUnlock(text.global());
    size = static_cast<long>(byteCount);
    type = kText;
    return lastItem;
  }
  Medium files(platformDrag, CF_HDROP);
  if (!files.isValid()) return nullptr;
  HDROP drop = static_cast<HDROP>(GlobalLock(files.global()));
  if (!drop) return nullptr;
  const long count = static_cast<long>(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0));
  char path[kMaxPath] = {0};
  const bool found = iterator >= 0 && iterator < count && DragQueryFileA(drop, iterator, path, kMaxPath) > 0;
  GlobalUnlock(files.global());
  if (!found) return nullptr;
  ++iterator;
  std::string item = path;
  if (endsWithLink(item)) item = resolveShortcut(item);
  lastItem = copyOf(item.c_str(), item.size());
  size = static_cast<long>(item.size());
  type = kFile;
  return lastItem;
}

}  // namespace Gui
