#pragma once

#include <windows.h>

namespace Gui {

// One use of OLE by the calling thread, for the life of the object: initialised at construction and
// uninitialised at destruction only when the initialisation succeeded and only on the same thread, so
// that the thread's count of initialisations stays balanced (an object destroyed on another thread
// leaves that thread's OLE alone).
class OleSession {
 public:
  OleSession();
  ~OleSession();
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;

  bool isInitialised() const { return initialised; }

 private:
  bool initialised;
  DWORD thread;
};

}  // namespace Gui
