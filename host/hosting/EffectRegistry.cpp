#include "host/hosting/EffectRegistry.h"

#include <map>

#include "common/system/threading/CriticalSection.h"
#include "common/system/threading/ScopedLock.h"

namespace Ombix::Kelvane::EffectRegistry {

namespace {

using Common::System::Threading::CriticalSection;
using Common::System::Threading::ScopedLock;

struct Registry {
  CriticalSection lock;
  std::map<AEffect*, VSTPlugin*> plugins;
};

Registry& registry() {
  static Registry instance;
  return instance;
}

}  // namespace

void Add(AEffect* effect, VSTPlugin* plugin) {
  ScopedLock hold(&registry().lock);
  registry().plugins[effect] = plugin;
}

void Remove(AEffect* effect) {
  ScopedLock hold(&registry().lock);
  registry().plugins.erase(effect);
}

VSTPlugin* Find(AEffect* effect) {
  ScopedLock hold(&registry().lock);
  const auto entry = registry().plugins.find(effect);
  return entry == registry().plugins.end() ? nullptr : entry->second;
}

}  // namespace Ombix::Kelvane::EffectRegistry
