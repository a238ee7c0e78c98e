#include "plugin/gui/OleSession.h"

#include <ole2.h>

namespace Gui {

OleSession::OleSession() : initialised(SUCCEEDED(OleInitialize(nullptr))), thread(GetCurrentThreadId()) {}

OleSession::~OleSession() {
  if (initialised && GetCurrentThreadId() == thread) OleUninitialize();
}

}  // namespace Gui
