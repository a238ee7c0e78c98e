#pragma once

namespace Ombix::Kelvane {

// The state bits of a hosted plug-in.
enum PluginStatus : int {
  PluginActive = 1,
  PluginLoading = 2,
  PluginFailed = 4,
};

}  // namespace Ombix::Kelvane
