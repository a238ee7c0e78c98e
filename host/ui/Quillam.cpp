#include "host/ui/Quillam.h"

#include "common/config/Configuration.h"
#include "common/logging/Logger.h"
#include "common/logging/TextLogger.h"
#include "host/core/Logic.h"
#include "host/hosting/ProcessLevelRegistry.h"
#include "host/ui/MessageBoxes.h"
#include "host/ui/PluginWindow.h"
#include "host/ui/UiGlobals.h"

#include <windows.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/stdpaths.h>

namespace Ombix::Kelvane {

namespace {

using Common::Logging::theLogger;

std::string ConfigurationPath() {
  return Quillam::ExecutableFolder() + "Quillam" + ".cfg";
}

}  // namespace

std::string Quillam::ExecutableFolder() {
  wxString folder;
  wxFileName::SplitPath(wxStandardPaths::Get().GetExecutablePath(), &folder, nullptr, nullptr);
  return folder.ToStdString() + "\\";
}

std::string Quillam::ExecutableBaseName() {
  wxString name;
  wxFileName::SplitPath(wxStandardPaths::Get().GetExecutablePath(), nullptr, &name, nullptr);
  return name.ToStdString();
}

void Quillam::CreateTextLog() {
  Common::Logging::TextLogger* device = nullptr;
  try {
    device = new Common::Logging::TextLogger(ExecutableFolder() + "Quillam.log");
    theLogger.AddDevice(device, Common::Logging::Logger::AllLevels);
  } catch (...) {
    delete device;
    ShowMessage("Text logger could not be created!", "Warning!", wxOK | wxICON_EXCLAMATION | wxCENTRE);
  }
  theLogger.Info("Startup\n");
}

bool Quillam::OnInit() {
  theApplication = this;
  CreateTextLog();
  wxImage::AddHandler(new wxPNGHandler);
  wxImage::AddHandler(new wxICOHandler);

  SYSTEM_INFO system;
  GetSystemInfo(&system);
  theLogger.Info("Number of cores: %d\n", static_cast<int>(system.dwNumberOfProcessors));
  GetSystemInfo(&system);
  const auto span = reinterpret_cast<std::uintptr_t>(system.lpMaximumApplicationAddress) -
                    reinterpret_cast<std::uintptr_t>(system.lpMinimumApplicationAddress);
  theLogger.Info("Available memory: %dMB\n", static_cast<int>(span >> 20));

  theConfiguration = new Common::Config::Configuration(ConfigurationPath());
  processLevelRegistry.RegisterCurrentThread(ProcessLevelRegistry::GuiThread);

  mainFrame = new PluginWindow(theConfiguration, nullptr, "Quillam");
  mainFrame->Show();
  SetTopWindow(mainFrame);
  logic_ = new Logic(mainFrame->GetHWND(), theConfiguration, "Ombix Labs", "Quillam", 900);
  mainFrame->ConnectLogic(logic_);
  ChoosePlugin();
  return true;
}

void Quillam::ChoosePlugin() {
  if (argc > 1) {
    const std::string named = argv[1].ToStdString();
    if (wxFileExists(named)) {
      logic_->CreatePlugin(named);
      return;
    }
    // Another plug-in may load in its place: the user learns that the one named was not there.
    theLogger.Warning("Plugin %s not found\n", named.c_str());
    ShowMessage("Plugin " + named + " not found!", "Plugin not found", wxOK | wxICON_EXCLAMATION | wxCENTRE);
  }
  const std::string ownDll = ExecutableFolder() + ExecutableBaseName() + ".dll";
  if (wxFileExists(ownDll)) {
    logic_->CreatePlugin(ownDll);
    return;
  }
  mainFrame->AskForPlugin();
}

int Quillam::OnExit() {
  theConfiguration->Save();  // logs when the file could not be written or must be left as it is
  delete theConfiguration;
  theConfiguration = nullptr;
  return 0;
}

}  // namespace Ombix::Kelvane
