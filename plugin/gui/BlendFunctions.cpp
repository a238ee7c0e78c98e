#include "plugin/gui/BlendFunctions.h"

namespace Gui {

AlphaBlendFunction alphaBlendFunction = nullptr;
TransparentBltFunction transparentBltFunction = nullptr;

}  // namespace Gui
