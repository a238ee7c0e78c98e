#include "host/ui/MessageBoxes.h"

#include <wx/msgdlg.h>

namespace Ombix::Kelvane {

namespace {

std::function<int(const std::string&, const std::string&, long)>& Answerer() {
  static std::function<int(const std::string&, const std::string&, long)> answerer;
  return answerer;
}

}  // namespace

int ShowMessage(const std::string& text, const std::string& caption, long style) {
  if (Answerer()) {
    return Answerer()(text, caption, style);
  }
  return wxMessageBox(text, caption, style, nullptr);
}

void SetMessageAnswerer(std::function<int(const std::string&, const std::string&, long)> answerer) {
  Answerer() = std::move(answerer);
}

}  // namespace Ombix::Kelvane
