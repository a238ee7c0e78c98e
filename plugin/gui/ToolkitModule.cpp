#include "plugin/gui/ToolkitModule.h"

#include "plugin/framework/ModuleHandle.h"

namespace Gui {

HINSTANCE toolkitModule() {
  return hInstance ? hInstance : GetModuleHandleA(nullptr);
}

}  // namespace Gui
