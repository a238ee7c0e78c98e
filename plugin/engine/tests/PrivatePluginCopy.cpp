#include "PrivatePluginCopy.h"

#include <windows.h>

#include "plugin/framework/ModuleHandle.h"
#include "tests/support/TestPaths.h"

std::string loadPrivatePluginCopy(const std::string& folderName) {
  const std::string folder = Testing::makeTempFolder(folderName);
  const std::string copy = folder + "zintara3.dll";
  CopyFileA((Testing::binaryFolder() + "zintara3.dll").c_str(), copy.c_str(), FALSE);
  hInstance = LoadLibraryA(copy.c_str());
  return folder;
}

void releasePrivatePluginCopy() {
  FreeLibrary(hInstance);
  hInstance = nullptr;
}
