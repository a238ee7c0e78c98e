#include "host/ui/UiGlobals.h"

namespace Ombix::Kelvane {

Quillam* theApplication = nullptr;
Common::Config::Configuration* theConfiguration = nullptr;
PluginWindow* mainFrame = nullptr;
const wxEventType CommandsPendingEvent = wxNewEventType();

}  // namespace Ombix::Kelvane
