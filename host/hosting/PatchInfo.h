#pragma once

#include <string>

namespace Ombix::Kelvane {

// One entry of a plug-in's program list.
struct PatchInfo {
  int index = 0;
  std::string name;
  std::string category;
};

}  // namespace Ombix::Kelvane
