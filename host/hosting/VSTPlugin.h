#pragma once

#include <memory>
#include <string>

#include "common/system/Library.h"
#include "common/system/threading/CriticalSection.h"
#include "host/hosting/IAudioProcessor.h"
#include "host/hosting/VstRecords.h"

namespace Ombix::Kelvane {

// A VST 2.4 plug-in behind IAudioProcessor: owns the loaded library and knows the plug-in's folder;
// answers the plug-in's own calls to the host.
class VSTPlugin : public IAudioProcessor {
 public:
  // folder: the text the plug-in was given for its directory while its entry ran; it keeps its
  // place in memory until the plug-in is closed, since a plug-in may keep the pointer.
  VSTPlugin(std::unique_ptr<const std::string> folder, std::unique_ptr<Common::System::Library> library)
      : folder_(std::move(folder)), library_(std::move(library)) {}
  VSTPlugin(const VSTPlugin&) = delete;
  VSTPlugin& operator=(const VSTPlugin&) = delete;

  // The plug-in's own answer to one of its host calls; 0 lets the host's common answer stand.
  virtual VstIntPtr HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt) = 0;

  // The plug-in's folder, with a trailing backslash.
  const std::string& Folder() const { return *folder_; }

 protected:
  Common::System::Threading::CriticalSection lock_;  // serialises opening, the editor and closing

 private:
  std::unique_ptr<const std::string> folder_;
  // Declared last of the members here, so the library unloads after the plug-in has closed.
  std::unique_ptr<Common::System::Library> library_;
};

}  // namespace Ombix::Kelvane
