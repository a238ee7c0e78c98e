#include "host/core/Plugin.h"

#include "host/core/ILogic.h"
#include "host/core/PluginStatus.h"
#include "host/core/commands/DisposePlugin.h"
#include "host/core/commands/PluginInjectMidi.h"
#include "host/core/commands/PluginKeyDown.h"
#include "host/core/commands/PluginKeyUp.h"
#include "host/core/commands/PluginSetPatch.h"
#include "host/core/commands/PluginWindowClose.h"
#include "host/core/commands/PluginWindowIdle.h"
#include "host/core/commands/PluginWindowOpen.h"

namespace Ombix::Kelvane {

Plugin::Plugin(ILogic* owner, int id, const std::string& name) : name_(name), id_(id), owner_(owner) {}

Plugin::~Plugin() {
  Disposed(this);
}

void Plugin::OpenWindow(void* parentWindow) {
  owner_->PostCommand(new Commands::PluginWindowOpen(parentWindow, id_));
}

void Plugin::IdleWindow() {
  owner_->PostCommand(new Commands::PluginWindowIdle(id_));
}

void Plugin::CloseWindow() {
  owner_->PostCommand(new Commands::PluginWindowClose(id_));
}

void Plugin::Dispose() {
  owner_->PostCommand(new Commands::DisposePlugin(id_));
}

void Plugin::KeyDown(const PluginKeyEvent& key) {
  owner_->PostCommand(new Commands::PluginKeyDown(id_, key));
}

void Plugin::KeyUp(const PluginKeyEvent& key) {
  owner_->PostCommand(new Commands::PluginKeyUp(id_, key));
}

void Plugin::InjectMidi(int firstMessage, int secondMessage) {
  owner_->PostCommand(new Commands::PluginInjectMidi(id_, firstMessage, secondMessage));
}

bool Plugin::IsActive() {
  return (status_ & PluginActive) != 0;
}

void Plugin::SetPatch(int program) {
  owner_->PostCommand(new Commands::PluginSetPatch(id_, program));
}

void Plugin::SetStatus(int status) {
  const int old = status_;
  status_ = status;
  const int raised = status & ~old;
  if (raised & PluginLoading) Loading(this);
  if (raised & PluginFailed) Failed(this);
  if ((status ^ old) & PluginActive) {
    if (status & PluginActive) {
      Activated(this);
    } else {
      Deactivated(this);
    }
  }
}

void Plugin::SetName(const std::string& name) {
  name_ = name;
  NameChanged(this);
}

void Plugin::SetSize(int width, int height) {
  width_ = width;
  height_ = height;
  SizeChanged(this);
}

void Plugin::SetPatches(const std::vector<PatchInfo>& patches) {
  patches_ = patches;
  PatchesChanged(this);
}

}  // namespace Ombix::Kelvane
