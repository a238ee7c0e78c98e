#pragma once

#include <string>

namespace Ombix::Kelvane {

// What the host answers to plug-ins that ask for its vendor, product and vendor version. Written once
// by the plug-in factory before any plug-in loads.
struct HostTexts {
  char vendor[256];
  char product[256];
  int vendorVersion;
};

extern HostTexts hostTexts;

// Copies the texts (cut to 255 characters) and the version into the host texts.
void SetHostTexts(const std::string& vendor, const std::string& product, int vendorVersion);

}  // namespace Ombix::Kelvane
