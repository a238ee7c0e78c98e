#pragma once

#include <string>

// The effect linked into a test program finds its folder, and so its settings file, through the
// module handle. These point the handle at a copy of the plug-in in a fresh private folder, and
// release it again.
std::string loadPrivatePluginCopy(const std::string& folderName);
void releasePrivatePluginCopy();
