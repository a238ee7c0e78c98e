#include "host/ui/EventHandlers.h"

#include <wx/event.h>

namespace Ombix::Kelvane {

void SkipEvent(wxEvent& event) {
  event.Skip();
}

void PropagateKeyEvent(wxKeyEvent& event) {
  event.ResumePropagation(20);
  event.Skip();
}

}  // namespace Ombix::Kelvane
