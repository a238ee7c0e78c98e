#include "host/core/events/PluginPatchesChanged.h"

#include "common/logging/Logger.h"
#include "host/core/Logic.h"
#include "host/core/Plugin.h"

namespace Ombix::Kelvane::Events {

PluginPatchesChanged::PluginPatchesChanged(int id, const std::vector<PatchInfo>& patches)
    : id_(id), patches_(patches) {}

void PluginPatchesChanged::Apply(Logic* logic) {
  Common::Logging::theLogger.Info("<= PluginPatchesChanged\n");
  if (Plugin* record = logic->FindRecord(id_)) record->SetPatches(patches_);
}

}  // namespace Ombix::Kelvane::Events
