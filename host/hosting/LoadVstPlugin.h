#pragma once

#include <memory>
#include <string>

#include "host/hosting/VSTPluginImpl.h"

namespace Ombix::Kelvane {

// Loads the plug-in library at path (made a full path first, see FullPluginPath), calls its entry and
// checks its record. Answers the wrapper, or null after logging why the plug-in cannot be used; the
// library is released on every failure.
// Throws PluginCrashed when the plug-in faults in its entry or while it is checked.
std::unique_ptr<VSTPluginImpl> LoadVstPlugin(const std::string& path);

}  // namespace Ombix::Kelvane
