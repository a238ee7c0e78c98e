#pragma once

#include <stdexcept>

namespace Ombix::Kelvane {

// Thrown to the plug-in loader when a plug-in faulted while it was being loaded or opened.
class PluginCrashed : public std::runtime_error {
 public:
  explicit PluginCrashed(unsigned long code) : std::runtime_error("plug-in crashed"), code_(code) {}
  unsigned long Code() const { return code_; }

 private:
  unsigned long code_;
};

}  // namespace Ombix::Kelvane
