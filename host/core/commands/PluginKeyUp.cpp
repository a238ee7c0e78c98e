#include "host/core/commands/PluginKeyUp.h"

#include "common/logging/Logger.h"
#include "host/core/Engine.h"
#include "host/core/audio/AudioPlugin.h"

namespace Ombix::Kelvane::Commands {

PluginKeyUp::PluginKeyUp(int id, const PluginKeyEvent& key) : id_(id), key_(key) {}

void PluginKeyUp::Execute(Engine* engine) {
  if (AudioPlugin* plugin = engine->FindPlugin(id_)) plugin->KeyUp(key_);
}

}  // namespace Ombix::Kelvane::Commands
