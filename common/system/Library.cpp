#include "common/system/Library.h"

#include "common/system/threading/CriticalSection.h"
#include "common/system/threading/ScopedLock.h"

namespace Common::System {

namespace {

Threading::CriticalSection& libraryLock() {
  static Threading::CriticalSection lock;
  return lock;
}

}  // namespace

Library* Library::Load(const std::string& path) {
  HMODULE module = nullptr;
  DWORD error = ERROR_SUCCESS;
  {
    Threading::ScopedLock hold(libraryLock());
    module = LoadLibraryA(path.c_str());
    if (!module) {
      error = GetLastError();
      module = LoadLibraryA(("./" + path).c_str());
    }
  }
  if (!module) {
    SetLastError(error);
    return nullptr;
  }
  return new Library(module);
}

Library::~Library() {
  if (!module_) return;
  Threading::ScopedLock hold(libraryLock());
  FreeLibrary(module_);
  module_ = nullptr;
}

void* Library::GetProc(const std::string& name) const {
  if (!module_) return nullptr;
  Threading::ScopedLock hold(libraryLock());
  return reinterpret_cast<void*>(GetProcAddress(module_, name.c_str()));
}

}  // namespace Common::System
