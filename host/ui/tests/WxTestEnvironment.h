#pragma once

#include <functional>

class wxImage;
class wxWindow;

namespace Testing {

// Runs the toolkit's pending events (paints, timers, posted events) until done() is true or
// timeoutMs have passed; answers done() at the end.
bool PumpEventsUntil(const std::function<bool()>& done, int timeoutMs = 10000);
// Runs the toolkit's pending events for about ms milliseconds.
void PumpEventsFor(int ms);
// What the window's client area shows once it has painted anew, read back from the screen.
wxImage Screen(wxWindow* window);

}  // namespace Testing
