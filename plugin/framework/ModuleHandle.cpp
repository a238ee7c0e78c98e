#include "plugin/framework/ModuleHandle.h"

HINSTANCE hInstance = nullptr;
