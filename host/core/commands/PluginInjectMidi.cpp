#include "host/core/commands/PluginInjectMidi.h"

#include <cstdint>

#include "common/logging/Logger.h"
#include "host/core/Engine.h"
#include "host/core/audio/AudioEngine.h"
#include "host/core/audio/AudioPlugin.h"
#include "host/drivers/IAudioDriver.h"

namespace Ombix::Kelvane::Commands {

PluginInjectMidi::PluginInjectMidi(int id, int firstMessage, int secondMessage)
    : id_(id), firstMessage_(firstMessage), secondMessage_(secondMessage) {}

void PluginInjectMidi::Execute(Engine* engine) {
  AudioEngine* audio = engine->GetAudioEngine();
  IAudioDriver* driver = audio->Driver();
  if (!driver || !driver->IsRunning()) return;
  const auto microseconds = static_cast<std::uint64_t>(audio->BlockTimer().ElapsedMs() * 1000.0);
  const PackedMidiEvent time = (microseconds & 0xFFFFFFFFu) << 32;
  AudioPlugin* plugin = engine->FindPlugin(id_);
  if (!plugin) return;
  plugin->PushMidi(time + static_cast<std::uint32_t>(firstMessage_));
  if (secondMessage_ != 0) plugin->PushMidi(time + static_cast<std::uint32_t>(secondMessage_));
}

}  // namespace Ombix::Kelvane::Commands
