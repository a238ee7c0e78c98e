#pragma once

#include <windows.h>

// The plug-in library's own module handle, kept by DllMain on every call. The toolkit loads its
// bitmaps and registers its window class with it; the effect finds its own file through it. Null in
// a program that links the framework without the plug-in entry.
extern HINSTANCE hInstance;
