#include "host/core/commands/PluginKeyDown.h"

#include "common/logging/Logger.h"
#include "host/core/Engine.h"
#include "host/core/audio/AudioPlugin.h"

namespace Ombix::Kelvane::Commands {

PluginKeyDown::PluginKeyDown(int id, const PluginKeyEvent& key) : id_(id), key_(key) {}

void PluginKeyDown::Execute(Engine* engine) {
  if (AudioPlugin* plugin = engine->FindPlugin(id_)) plugin->KeyDown(key_);
}

}  // namespace Ombix::Kelvane::Commands
