#pragma once

#include <windows.h>

#include <vector>

namespace Testing {

// Puts virtual keys down or up in the desktop's input state through the system's input queue, so that
// GetAsyncKeyState reads them as it reads a user's hands. Mouse buttons go by their virtual keys
// (VK_LBUTTON...) too: that sets what a control reads of the buttons and clicks no window. A mouse button
// event would click the window under the cursor, wherever the last program left it: the desktop or
// another program's window, which then takes the foreground from the test's window. The key messages go
// to the focus window of the foreground thread.
void sendKeys(const std::vector<WORD>& keys, bool down);

}  // namespace Testing
