#pragma once

#include <functional>
#include <string>

namespace Ombix::Kelvane {

// Shows a message box without a parent window, centred, and answers the button chosen
// (wxYES, wxNO, wxOK, ...). Every question the user interface asks goes through here.
int ShowMessage(const std::string& text, const std::string& caption, long style);

// Replaces the message box with a function that answers in its place (for automated runs);
// an empty function restores the real message box.
void SetMessageAnswerer(std::function<int(const std::string&, const std::string&, long)> answerer);

}  // namespace Ombix::Kelvane
