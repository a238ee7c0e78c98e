#pragma once

#include <windows.h>

namespace Gui {

// The system's alpha blending and transparent block transfer, looked up in "msimg32.dll" by every
// frame; null when missing. Shared by the whole process.
using AlphaBlendFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
using TransparentBltFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

extern AlphaBlendFunction alphaBlendFunction;
extern TransparentBltFunction transparentBltFunction;

}  // namespace Gui
