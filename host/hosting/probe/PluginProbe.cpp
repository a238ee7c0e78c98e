// The scanner's probe program: loads and opens one plug-in in a process of its own and tells the
// scanner when that worked. Command line: the plug-in's path and the scanner's port, each in double
// quotes. Exit code 0 when the plug-in loaded and the answer was sent, 1 when the plug-in failed,
// 2 for a bad command line, 3 when the scanner could not be told.

#include <cstdlib>
#include <string>

#include "host/hosting/LoadVstPlugin.h"
#include "host/hosting/PluginCrashed.h"
#include "host/hosting/ProbeAnswer.h"
#include "host/hosting/ProbeProtocol.h"

namespace {

using namespace Ombix::Kelvane;

constexpr int kBlockSize = 512;
constexpr double kSampleRate = 44100.0;

// The port as a decimal number from 1 to 65535, nothing else; 0 when the text is not one.
unsigned short ParsePort(const std::string& text) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
  const unsigned long port = std::strtoul(text.c_str(), nullptr, 10);
  return port <= 65535 ? static_cast<unsigned short>(port) : 0;
}

bool PluginOpens(const std::string& path) {
  try {
    auto plugin = LoadVstPlugin(path);
    if (!plugin) return false;
    plugin->Open(kBlockSize, kSampleRate);
    return true;  // the wrapper closes the plug-in and unloads the library here
  } catch (const PluginCrashed&) {
    return false;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const unsigned short port = argc == 3 ? ParsePort(argv[2]) : 0;
  if (port == 0) return 2;
  if (!PluginOpens(argv[1])) return 1;
  const std::string succeeded(ProbeProtocol::kSucceeded, sizeof ProbeProtocol::kSucceeded);
  return SendProbeAnswer(port, {succeeded}) ? 0 : 3;
}
