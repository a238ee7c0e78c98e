#pragma once

#include <wx/window.h>

namespace Ombix::Kelvane {

// The plain child window whose native handle a plug-in's editor receives as its parent. It
// takes every key (tab and return too) and passes keys on to the panel around it.
class InnerPluginPanel : public wxWindow {
 public:
  explicit InnerPluginPanel(wxWindow* parent);
  ~InnerPluginPanel() override = default;

 private:
  void OnEraseBackground(wxEraseEvent& event);
  void OnKey(wxKeyEvent& event);

  wxDECLARE_EVENT_TABLE();
};

}  // namespace Ombix::Kelvane
