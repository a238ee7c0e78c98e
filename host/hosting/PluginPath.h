#pragma once

#include <string>

namespace Ombix::Kelvane {

// The full Windows path of a plug-in named the way a user types it: a relative path is taken from
// the working folder and forward slashes become backslashes. A path that cannot be made full (an
// empty one, for example) comes back unchanged.
std::string FullPluginPath(const std::string& path);

// Why the plug-in library at path does not load, in a few words ("no such file", "a 32-bit
// library", ...); error is the system's error code of the failed load.
std::string LibraryLoadFailure(const std::string& path, unsigned long error);

}  // namespace Ombix::Kelvane
