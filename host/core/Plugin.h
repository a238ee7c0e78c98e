#pragma once

#include "host/core/IPlugin.h"

namespace Ombix::Kelvane {

class ILogic;

// The record of one hosted plug-in, owned by the Logic and changed only on the GUI thread.
class Plugin : public IPlugin {
 public:
  Plugin(ILogic* owner, int id, const std::string& name);
  // Fires Disposed with the record.
  ~Plugin() override;
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  void OpenWindow(void* parentWindow) override;
  void IdleWindow() override;
  void CloseWindow() override;
  void Dispose() override;
  void KeyDown(const PluginKeyEvent& key) override;
  void KeyUp(const PluginKeyEvent& key) override;
  void InjectMidi(int firstMessage, int secondMessage) override;
  int GetStatus() override { return status_; }
  bool IsActive() override;
  int GetId() override { return id_; }
  std::string GetName() override { return name_; }
  int GetWidth() override { return width_; }
  int GetHeight() override { return height_; }
  std::vector<PatchInfo> GetPatches() override { return patches_; }
  void SetPatch(int program) override;

  // The setters the events use; each fires its signal.
  void SetStatus(int status);
  void SetName(const std::string& name);
  void SetSize(int width, int height);
  void SetPatches(const std::vector<PatchInfo>& patches);

 private:
  std::string name_;
  int status_ = 0;
  const int id_;
  int width_ = 0;
  int height_ = 0;
  ILogic* const owner_;
  std::vector<PatchInfo> patches_;
};

}  // namespace Ombix::Kelvane
