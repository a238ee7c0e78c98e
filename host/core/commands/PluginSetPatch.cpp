#include "host/core/commands/PluginSetPatch.h"

#include "common/logging/Logger.h"
#include "host/core/Engine.h"
#include "host/core/audio/AudioPlugin.h"

namespace Ombix::Kelvane::Commands {

PluginSetPatch::PluginSetPatch(int id, int program) : id_(id), program_(program) {}

void PluginSetPatch::Execute(Engine* engine) {
  Common::Logging::theLogger.Info("=> PluginSetPatch\n");
  if (AudioPlugin* plugin = engine->FindPlugin(id_)) plugin->SetProgram(program_);
}

}  // namespace Ombix::Kelvane::Commands
