#include "host/hosting/HostTexts.h"

#include <cstdio>

namespace Ombix::Kelvane {

HostTexts hostTexts{};

void SetHostTexts(const std::string& vendor, const std::string& product, int vendorVersion) {
  std::snprintf(hostTexts.vendor, sizeof hostTexts.vendor, "%s", vendor.c_str());
  std::snprintf(hostTexts.product, sizeof hostTexts.product, "%s", product.c_str());
  hostTexts.vendorVersion = vendorVersion;
}

}  // namespace Ombix::Kelvane
