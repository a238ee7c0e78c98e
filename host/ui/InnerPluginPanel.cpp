#include "host/ui/InnerPluginPanel.h"

#include "host/ui/EventHandlers.h"

namespace Ombix::Kelvane {

// clang-format off
wxBEGIN_EVENT_TABLE(InnerPluginPanel, wxWindow)
  EVT_ERASE_BACKGROUND(InnerPluginPanel::OnEraseBackground)
  EVT_KEY_DOWN(InnerPluginPanel::OnKey)
  EVT_KEY_UP(InnerPluginPanel::OnKey)
wxEND_EVENT_TABLE()
    // clang-format on

    InnerPluginPanel::InnerPluginPanel(wxWindow* parent)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0, "panel") {
  SetWindowStyle(GetWindowStyle() | wxWANTS_CHARS);
}

void InnerPluginPanel::OnEraseBackground(wxEraseEvent& event) {
  SkipEvent(event);
}

void InnerPluginPanel::OnKey(wxKeyEvent& event) {
  PropagateKeyEvent(event);
}

}  // namespace Ombix::Kelvane
