#pragma once

class wxEvent;
class wxKeyEvent;

namespace Ombix::Kelvane {

// Lets the toolkit's default handling of the event follow.
void SkipEvent(wxEvent& event);
// Sends a key on to the parent windows (up to 20 levels) until one of them takes it.
void PropagateKeyEvent(wxKeyEvent& event);

}  // namespace Ombix::Kelvane
