#pragma once

#include <wx/event.h>

namespace Common::Config {
class Configuration;
}

namespace Ombix::Kelvane {

class PluginWindow;
class Quillam;

// The user interface's process-wide objects, set and used on the GUI thread.
extern Quillam* theApplication;
// Made at start-up, saved and deleted at exit; the core and the frame read the same store.
extern Common::Config::Configuration* theConfiguration;
extern PluginWindow* mainFrame;
// The event type with which the core's news is handed to the GUI thread.
extern const wxEventType CommandsPendingEvent;

}  // namespace Ombix::Kelvane
