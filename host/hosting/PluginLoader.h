#pragma once

#include <string>

namespace Ombix::Kelvane {

class PluginContainer;
class PluginFactory;

// Loads (or, for a disposed container, unloads) one container's plug-in: takes its path, loads the
// library and hands the result to the container.
class PluginLoader {
 public:
  explicit PluginLoader(PluginFactory* factory) : factory_(factory) {}
  virtual ~PluginLoader() = default;
  PluginLoader(const PluginLoader&) = delete;
  PluginLoader& operator=(const PluginLoader&) = delete;

  void Load(PluginContainer* container);

 private:
  // Makes sure no other loader is loading the same library; false re-queues the container.
  bool AcquireModule(PluginContainer* container, const std::string& path);

  void* module_ = nullptr;  // the library this loader is loading, none between loads
  PluginFactory* const factory_;
};

}  // namespace Ombix::Kelvane
