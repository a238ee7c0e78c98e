#include "common/system/threading/CriticalSection.h"

namespace Common::System::Threading {

CriticalSection::CriticalSection() {
  InitializeCriticalSection(&section_);
}

void CriticalSection::Lock() {
  EnterCriticalSection(&section_);
}

void CriticalSection::Unlock() {
  LeaveCriticalSection(&section_);
}

CriticalSection::~CriticalSection() {
  DeleteCriticalSection(&section_);
}

bool CriticalSection::TryLock() {
  return TryEnterCriticalSection(&section_) != FALSE;
}

}  // namespace Common::System::Threading
