#include "host/core/commands/CreateNewPlugin.h"

#include "common/logging/Logger.h"
#include "host/core/Engine.h"

namespace Ombix::Kelvane::Commands {

CreateNewPlugin::CreateNewPlugin(const std::string& path) : path_(path) {}

void CreateNewPlugin::Execute(Engine* engine) {
  Common::Logging::theLogger.Info("%s", ("=> CreateNewPlugin [" + path_ + "]\n").c_str());
  engine->CreatePlugin(path_);
}

}  // namespace Ombix::Kelvane::Commands
